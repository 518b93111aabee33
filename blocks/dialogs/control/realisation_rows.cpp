#include "blocks/dialogs/control/realisation_rows.h"

#include "foundation/numbers.h"

namespace {
const int kGroupWidth = 220, kGroupHeight = 70;
const int kRadioWidth = 200, kRadioHeight = 18;
const wchar_t* const kGroupItems[] = {L"Числа с плав.точкой", L"По таблице"};
const wchar_t* const kListItems[] = {L"Числа с плавающей точкой", L"Целочисл. по таблице"};
const int kItemCount = 2;
}  // namespace

bool IsIntegerSignalType(BeSignalType type) { return type >= kBeSignalChar && type <= kBeSignalInt; }

bool IsRealSignalType(BeSignalType type) { return type == kBeSignalFloat || type == kBeSignalDouble; }

CKestRadioGroupBox* AddRealisationGroup(CBEPropertyForm* form, int checked) {
  CKestRadioGroupBox* group = form->AddRadioRow(L"Способ реализации", kGroupWidth, kGroupHeight, kGroupItems,
                                                kItemCount, -1, kBeRealisationGroupId);
  if (!group) return nullptr;
  // The items' texts are wider than a radio's standard width.
  for (int i = 0; i < kItemCount; ++i)
    if (CKestRadio* item = group->GetItem(i)) item->SetSize(kRadioWidth, kRadioHeight);
  CheckRealisation(group, checked);
  return group;
}

void CheckRealisation(CKestRadioGroupBox* group, int item) {
  if (!group) return;
  for (int i = 0; i < group->GetItemCount(); ++i)
    if (CKestRadio* radio = group->GetItem(i)) radio->SetChecked(i == item);
}

void EnableGroup(CKestRadioGroupBox* group, bool enable) {
  if (!group) return;
  group->Enable(enable);
  for (int i = 0; i < group->GetItemCount(); ++i)
    if (CKestRadio* radio = group->GetItem(i)) radio->Enable(enable);
}

CKestComboBox* AddRealisationList(CBEPropertyForm* form, int realisation) {
  return form->AddListRow(L"Способ реализации:", kListItems, kItemCount,
                          realisation == kBeRealisationFloat ? 0 : 1, kBeRealisationListWidth);
}

CKestEdit* AddNumberRow(CBEPropertyForm* form, const wchar_t* caption, int width, double value) {
  wchar_t text[kFoundationFormatDoubleChars];
  FormatDouble(value, text, 0);
  return form->AddTextRow(caption, width, 0, text);
}

CKestEdit* AddWholeRow(CBEPropertyForm* form, const wchar_t* caption, int width, int value) {
  wchar_t text[kFoundationFormatIntChars];
  FormatInt(value, text);
  return form->AddTextRow(caption, width, 0, text);
}

double ReadDoubleEdit(CKestEdit* edit, int chars, double fallback) {
  wchar_t text[kBeLinkWideReadChars + 1];
  if (!edit) return fallback;
  ReadEditText(edit, text, chars < kBeLinkWideReadChars ? chars : kBeLinkWideReadChars);
  if (!TextHasDigit(text)) return 0;
  return ParseDouble(text, fallback, nullptr);
}

float ReadFloatEdit(CKestEdit* edit, int chars, float fallback) {
  wchar_t text[kBeLinkWideReadChars + 1];
  if (!edit) return fallback;
  ReadEditText(edit, text, chars < kBeLinkWideReadChars ? chars : kBeLinkWideReadChars);
  if (!TextHasDigit(text)) return 0;
  return ParseFloat(text, fallback, nullptr);
}

int ReadIntEdit(CKestEdit* edit, int chars, int fallback) {
  wchar_t text[kBeLinkWideReadChars + 1];
  if (!edit) return fallback;
  ReadEditText(edit, text, chars < kBeLinkWideReadChars ? chars : kBeLinkWideReadChars);
  if (!TextHasDigit(text)) return 0;
  return ParseInt(text, fallback, nullptr);
}
