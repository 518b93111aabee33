// What the control-link dialogs share: the realisation group of the
// proportional and divider dialogs (id 1000, "Числа с плав.точкой" or "По
// таблице"), the realisation list of the differentiator and the integral,
// and the limits the links' edits are read with.
#pragma once

#include "blocks/dialogs/frame/property_form.h"

const int kBeRealisationGroupId = 1000;
const int kBeRealisationFloat = 0, kBeRealisationTable = 1;
// Characters the proportional and divider edits are read to, and the
// other links' edits.
const int kBeLinkWideReadChars = 63;
const int kBeLinkReadChars = 31;
const int kBeLinkEditWidth = 180;
const int kBeRealisationListWidth = 230;

bool IsIntegerSignalType(BeSignalType type);
bool IsRealSignalType(BeSignalType type);

// The group box row, 220 x 70, checked the item given.
CKestRadioGroupBox* AddRealisationGroup(CBEPropertyForm* form, int checked);
// Checks an item without the click a user makes (nothing is posted).
void CheckRealisation(CKestRadioGroupBox* group, int item);
// Enables or disables the group with its items.
void EnableGroup(CKestRadioGroupBox* group, bool enable);
// "Способ реализации:" over the list of the two realisations, 230 x 21.
CKestComboBox* AddRealisationList(CBEPropertyForm* form, int realisation);
// An edit row of the links: width x 21, no text limit.
CKestEdit* AddNumberRow(CBEPropertyForm* form, const wchar_t* caption, int width, double value);
CKestEdit* AddWholeRow(CBEPropertyForm* form, const wchar_t* caption, int width, int value);
// The edit's first chars characters read as a number: 0 for a text without
// digits, fallback for one that does not convert or is out of range.
double ReadDoubleEdit(CKestEdit* edit, int chars, double fallback);
float ReadFloatEdit(CKestEdit* edit, int chars, float fallback);
int ReadIntEdit(CKestEdit* edit, int chars, int fallback);
