#include "blocks/dialogs/debug/log_file_row.h"

#include "foundation/buffers.h"
#include "kestui/forms/kest_dialogs.h"

const wchar_t* const kBeLogFileFilter = L"txt-файлы (*.txt)|*.txt|Все файлы (*.*)|*.*";

CKestButton* AddBrowseButton(CKestContainer* form, int x, int y) {
  return new CKestButton(form, L"Выбор", false, kBeBrowseLogFileId, KestPos(x, y), kBeBrowseButtonWidth,
                         kBeBrowseButtonHeight, L"Обзор файлов", 0);
}

void BrowseLogFile(CKestControl* owner, CKestEdit* edit) {
  if (!edit) return;
  wchar_t* current = edit->GetTextCopy();
  wchar_t* chosen = ShowSaveFileDialog(owner, current, L"txt", kBeLogFileFilter, nullptr, nullptr);
  FreeBuffer(current);
  if (!chosen) return;
  edit->SetText(chosen);
  FreeBuffer(chosen);
}

wchar_t* CopyPathText(CKestEdit* edit, bool* failed) {
  *failed = false;
  if (!edit || edit->GetWindowText(nullptr, 0) <= 0) return nullptr;
  wchar_t* text = edit->GetTextCopy();
  if (!text) *failed = true;
  return text;
}
