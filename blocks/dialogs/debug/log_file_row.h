// What the monitor's and the graph builder's dialogs share: the "Выбор"
// button beside the log-file edit and the save dialog it opens.
#pragma once

#include <windows.h>

#include "kestui/buttons/kest_button.h"
#include "kestui/edits/kest_edit.h"

// The command id of the "Выбор" button.
const int kBeBrowseLogFileId = 1000;
const int kBeBrowseButtonWidth = 80, kBeBrowseButtonHeight = 24;
extern const wchar_t* const kBeLogFileFilter;

// "Выбор" at (x, y) of the form's client area, with the hint "Обзор
// файлов" and no modal result.
CKestButton* AddBrowseButton(CKestContainer* form, int x, int y);
// Whether a WM_COMMAND is the button's (id 1000, code 0 or 1).
inline bool IsBrowseCommand(WPARAM wParam) {
  return LOWORD(wParam) == kBeBrowseLogFileId && (HIWORD(wParam) == 0 || HIWORD(wParam) == 1);
}
// The save dialog, owned by owner, starting at the edit's text; a chosen
// path replaces that text, a cancelled dialog changes nothing.
void BrowseLogFile(CKestControl* owner, CKestEdit* edit);
// The edit's text as a new heap block (FreeBuffer), or null when the edit
// is empty. *failed is set when memory ran out.
wchar_t* CopyPathText(CKestEdit* edit, bool* failed);
