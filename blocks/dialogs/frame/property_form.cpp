#include "blocks/dialogs/frame/property_form.h"

#include <cwchar>
#include <new>

#include "blocks/engine/block.h"

bool CBEPropertyForm::Open(const wchar_t* caption, int width, int height) {
  if (!Create(MainKestForm, caption ? caption : L"", KEST_POS_CENTER, width, height, nullptr, false, false, true,
              true))
    return false;
  SetReady(false);
  return true;
}

CKestLabel* CBEPropertyForm::BeginRow(const wchar_t* caption) {
  if (!GetHandle() || rowCount_ >= kMaxRows) return nullptr;
  CKestLabel* label =
      new CKestLabel(this, caption, KEST_POS_FLOW, !labelsBeside_, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  labels_[rowCount_] = label;
  return label;
}

void CBEPropertyForm::EndRow(CKestControl* control) {
  controls_[rowCount_++] = control;
  NewFlowRow();
}

CKestComboBox* CBEPropertyForm::AddListRow(const wchar_t* caption, const wchar_t* const* items, int count,
                                           int selected, int width) {
  if (!BeginRow(caption)) return nullptr;
  auto* list = new CKestComboBox(this, 0, false, KEST_POS_FLOW, width, kBeDialogListHeight, 0);
  for (int i = 0; i < count; ++i) list->AddItem(items[i], 0);
  list->SetSelectedIndex(selected >= 0 && selected < count ? selected : -1);
  EndRow(list);
  return list;
}

CKestComboBox* CBEPropertyForm::AddTypeRow(const wchar_t* caption, BeSignalType first, BeSignalType last,
                                           BeSignalType current) {
  if (!BeginRow(caption)) return nullptr;
  auto* list = new CKestComboBox(this, 0, false, KEST_POS_FLOW, kBeDialogListWidth, kBeDialogListHeight, 0);
  // Item i stands for code first + i: the list is read back by position,
  // never by name, so codes whose names coincide cannot be confused.
  for (BeSignalType type = first; type <= last; ++type) {
    const wchar_t* name = GetSignalTypeName(type);
    list->AddItem(name ? name : L"", 0);
  }
  list->SetSelectedIndex(current >= first && current <= last ? current - first : -1);
  EndRow(list);
  return list;
}

CKestSpinEdit* CBEPropertyForm::AddIntegerRow(const wchar_t* caption, int minimum, int maximum, int width,
                                              int value) {
  if (!BeginRow(caption)) return nullptr;
  auto* edit = new CKestSpinEdit(this, 0, true, minimum, maximum, 1, KEST_POS_FLOW, width, kBeDialogSpinHeight);
  edit->SetIntValue(value);
  EndRow(edit);
  return edit;
}

CKestSpinEdit* CBEPropertyForm::AddRealRow(const wchar_t* caption, double minimum, double maximum, double value) {
  if (!BeginRow(caption)) return nullptr;
  auto* edit = new CKestSpinEdit(this, 0, false, minimum, maximum, 1, KEST_POS_FLOW, kBeDialogRealWidth,
                                 kBeDialogSpinHeight);
  edit->SetValue(value);
  EndRow(edit);
  return edit;
}

CKestEdit* CBEPropertyForm::AddTextRow(const wchar_t* caption, int width, int limit, const wchar_t* text) {
  if (!BeginRow(caption)) return nullptr;
  auto* edit = new CKestEdit(this, 0, KEST_POS_FLOW, width, kBeDialogTextHeight, false, limit, true);
  edit->SetText(text ? text : L"");
  EndRow(edit);
  return edit;
}

CKestRadioGroupBox* CBEPropertyForm::AddRadioRow(const wchar_t* caption, int width, int height,
                                                 const wchar_t* const* items, int count, int checked,
                                                 int id) {
  if (!GetHandle() || rowCount_ >= kMaxRows) return nullptr;
  auto* group = new CKestRadioGroupBox(this, id, caption, KEST_POS_FLOW, width, height);
  for (int i = 0; i < count; ++i) group->AddItem(items[i]);
  if (checked >= 0 && checked < count) group->SetItemIndex(checked);
  labels_[rowCount_] = nullptr;
  EndRow(group);
  return group;
}

CKestLabel* CBEPropertyForm::AddTextLine(const wchar_t* text) {
  if (!GetHandle() || lineCount_ >= kMaxTextLines) return nullptr;
  BeginCenteredRows();
  auto* label = new CKestLabel(this, text ? text : L"", KEST_POS_FLOW, false, KEST_LABEL_MEASURE,
                               KEST_LABEL_MEASURE, -1);
  CenterFlowRows();
  NewFlowRow();
  lines_[lineCount_++] = label;
  return label;
}

void CBEPropertyForm::AddEmptyRow() {
  if (GetHandle()) NewFlowRow();
}

void CBEPropertyForm::AddButtons(int buttonWidth, CKestContainer* container) {
  if (!GetHandle() || ok_) return;
  AddDialogButtons(container ? container : this, buttonWidth, &ok_, &cancel_);
  SetReady(true);
}

LRESULT CBEPropertyForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND target = initialFocus_ ? initialFocus_->GetHandle() : nullptr;
  if (target && message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) {
    HWND focus = GetFocus();
    if (!focus || focus == GetHandle() || !IsChild(GetHandle(), focus)) ::SetFocus(target);
  }
  if (target && message == WM_SETFOCUS) {
    ::SetFocus(target);
    return 0;
  }
  return CKestForm::WindowProc(message, wParam, lParam);
}

bool ConfirmDialogForm(CKestForm* form) {
  HWND window = form ? form->GetHandle() : nullptr;
  if (!window) return false;
  int result = form->ShowModal(false);
  return result == kBeDialogOkResult && GetControlFromHandle(window) == form;
}

void AddDialogButtons(CKestContainer* row, int width, CKestButton** ok, CKestButton** cancel) {
  row->BeginCenteredRows();
  auto* okButton = new CKestButton(row, L"OK", true, IDOK, KEST_POS_FLOW, width, kBeDialogButtonHeight, nullptr,
                                   kBeDialogOkResult);
  auto* cancelButton = new CKestButton(row, L"Отмена", false, IDCANCEL, KEST_POS_FLOW, width,
                                       kBeDialogButtonHeight, nullptr, kBeDialogCancelResult);
  row->CenterFlowRows();
  if (ok) *ok = okButton;
  if (cancel) *cancel = cancelButton;
}

bool CBEPropertyForm::Confirm() { return ConfirmDialogForm(this); }

BePropertyFormScope::BePropertyFormScope(CBEPropertyForm* form)
    : form_(form), window_(form ? form->GetHandle() : nullptr) {}

BePropertyFormScope::~BePropertyFormScope() {
  // A form whose window went meanwhile (the program ending) went with it.
  if (form_ && window_ && GetControlFromHandle(window_) == form_) delete form_;
}

CBEPropertyForm* OpenPropertyForm(const wchar_t* caption, int width, int height) {
  auto* form = new (std::nothrow) CBEPropertyForm;
  if (!form) return nullptr;
  if (!form->Open(caption, width, height)) {
    delete form;
    return nullptr;
  }
  return form;
}

CBEPropertyForm* OpenPropertyForm(CBEBlock* block, int width, int height) {
  return block ? OpenPropertyForm(block->GetCaption(), width, height) : nullptr;
}

BeSignalType SelectedListType(CKestComboBox* list, BeSignalType first, BeSignalType fallback) {
  int index = list ? list->GetSelectedIndex() : -1;
  return index >= 0 ? first + index : fallback;
}

void ReadEditText(CKestEdit* edit, wchar_t* text, int chars) {
  text[0] = 0;
  if (!edit || chars <= 0) return;
  edit->CopyText(text, chars + 1);
  text[chars] = 0;
}

bool TextHasDigit(const wchar_t* text) {
  if (!text) return false;
  for (const wchar_t* p = text; *p; ++p)
    if (*p >= L'0' && *p <= L'9') return true;
  return false;
}
