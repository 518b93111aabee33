#include "script/editor/search_form.h"

#include "foundation/buffers.h"
#include "kestui/buttons/kest_button.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/core/kest_messages.h"
#include "kestui/edits/kest_edit.h"
#include "kestui/edits/kest_memo.h"
#include "kestui/forms/kest_dialogs.h"
#include "script/editor/script_editor.h"
#include "script/editor/script_text_search.h"

CSearchForm* OpenSearchForm = nullptr;
wchar_t* LastSearchText = nullptr;

namespace {
const int kFormWidth = 400, kFormHeight = 125;
const int kEditWidth = 375, kEditHeight = 21;
const int kWideButton = 140, kButton = 80, kButtonHeight = 25;
}  // namespace

CSearchForm::CSearchForm(CVMScriptEditor* editor) : editor_(editor) {
  if (!Create(editor, L"Поиск", KEST_POS_CENTER, kFormWidth, kFormHeight, nullptr, false, false, true, true))
    return;
  SetReady(false);
  new CKestLabel(this, L"Найти:", KEST_POS_FLOW, true, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  edit_ = new CKestEdit(this, 0, KEST_POS_FLOW, kEditWidth, kEditHeight, false, 0, true);
  if (LastSearchText) edit_->SetText(LastSearchText);
  NewFlowRow();
  BeginCenteredRows();
  new CKestButton(this, L"<< Искать назад", false, kScriptSearchBackwardId, KEST_POS_FLOW, kWideButton, kButtonHeight,
                  nullptr, 0);
  new CKestButton(this, L"Закрыть", false, IDCANCEL, KEST_POS_FLOW, kButton, kButtonHeight, nullptr, 2);
  new CKestButton(this, L"Исказать далее >>", true, kScriptSearchForwardId, KEST_POS_FLOW, kWideButton, kButtonHeight,
                  nullptr, 0);
  CenterFlowRows();
  edit_->SetFocus();
  SetReady(true);
}

CSearchForm::~CSearchForm() {
  if (OpenSearchForm == this) OpenSearchForm = nullptr;
}

LRESULT CSearchForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsReady() && message == WM_COMMAND) {
    if (LOWORD(wParam) == kScriptSearchBackwardId) FindNext(true);
    if (LOWORD(wParam) == kScriptSearchForwardId) FindNext(false);
  }
  return CKestForm::WindowProc(message, wParam, lParam);
}

void CSearchForm::FindNext(bool backward) {
  if (!editor_ || !edit_) return;
  wchar_t* pattern = edit_->GetText();
  if (!pattern) return;
  FreeBuffer(LastSearchText);
  LastSearchText = pattern;
  CKestMemo* text = editor_->GetProgramText();
  wchar_t* program = text->GetText();
  int length = program ? static_cast<int>(wcslen(program)) : 0;
  int caret = text->GetSelStart();
  int found = FindScriptText(program ? program : L"", length, caret, LastSearchText, backward);
  FreeBuffer(program);
  if (found >= 0) {
    text->SetSelection(found, found);
    text->SetFocus();
    editor_->UpdateCaretStatus();
    return;
  }
  ShowMessageText(this, MB_OK, L"Поиск", L"Больше не найдено!");
}
