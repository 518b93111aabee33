#include "app/export/export_resolution_form.h"

#include "kestui/buttons/kest_label.h"
#include "kestui/core/kest_messages.h"

namespace {
const int kFormWidth = 250, kFormHeight = 110;
const int kEditWidth = 100, kEditHeight = 22;
const int kButtonWidth = 100, kButtonHeight = 25;
}  // namespace

CExportResolutionForm::CExportResolutionForm(CKestControl* owner, double resolution) {
  if (!Create(owner, L"Экспорт", KEST_POS_CENTER, kFormWidth, kFormHeight, nullptr, false, false, true, true)) return;
  new CKestLabel(this, L"DPI:", KEST_POS_FLOW, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  edit_ = new CKestSpinEdit(this, 0, false, kVelkExportMinResolution, kVelkExportMaxResolution, kVelkExportResolutionStep,
                            KEST_POS_FLOW, kEditWidth, kEditHeight);
  edit_->SetValue(resolution);
  NewFlowRow();
  BeginCenteredRows();
  ok_ = new CKestButton(this, L"OK", true, IDOK, KEST_POS_FLOW, kButtonWidth, kButtonHeight, nullptr, 1);
  cancel_ = new CKestButton(this, L"Отмена", true, IDCANCEL, KEST_POS_FLOW, kButtonWidth, kButtonHeight, nullptr, 2);
  CenterFlowRows();
}
