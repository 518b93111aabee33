#include "blocks/dialogs/scan_sector/scan_slice_editor.h"

#include "blocks/dialogs/frame/property_form.h"
#include "kestui/buttons/kest_label.h"

namespace {
const int kWidth = 250, kHeight = 150;
const int kLabelWidth = 70, kEditWidth = 150, kRowHeight = 22;
const int kButtonWidth = 100;
}  // namespace

CKestSpinEdit* CScanSliceEditor::AddField(const wchar_t* caption, double value) {
  new CKestLabel(this, caption, KEST_POS_FLOW, false, kLabelWidth, kRowHeight, 1);
  auto* edit = new CKestSpinEdit(this, 0, false, -100000, 100000, 1, KEST_POS_FLOW, kEditWidth, kRowHeight);
  edit->SetValue(value);
  NewFlowRow();
  return edit;
}

bool CScanSliceEditor::Build(CKestControl* owner, const wchar_t* caption, double yMin, double yMax) {
  if (!Create(owner, caption ? caption : L"", KEST_POS_CENTER, kWidth, kHeight, nullptr, false, false, true, true))
    return false;
  SetReady(false);
  yMin_ = AddField(L"yMin, см:", yMin);
  yMax_ = AddField(L"yMax, см:", yMax);
  AddDialogButtons(this, kButtonWidth, &ok_, &cancel_);
  SetReady(true);
  return true;
}

bool CScanSliceEditor::Confirm() { return ConfirmDialogForm(this); }
