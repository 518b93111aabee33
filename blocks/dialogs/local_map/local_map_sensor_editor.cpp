#include "blocks/dialogs/local_map/local_map_sensor_editor.h"

#include <cwchar>

#include "blocks/dialogs/frame/property_form.h"
#include "kestui/buttons/kest_label.h"

namespace {
const int kWidth = 410, kHeight = 240;
const int kRowHeight = 22, kListHeight = 21;
const int kButtonWidth = 100;
const int8_t kRightAligned = 1;
}  // namespace

CKestSpinEdit* CLocalMapSensorEditor::AddField(const wchar_t* caption, int labelWidth, double minimum,
                                               double maximum, int editWidth, double value) {
  new CKestLabel(this, caption, KEST_POS_FLOW, false, labelWidth, kRowHeight, kRightAligned);
  auto* edit = new CKestSpinEdit(this, 0, false, minimum, maximum, 1, KEST_POS_FLOW, editWidth, kRowHeight);
  edit->SetValue(value);
  return edit;
}

bool CLocalMapSensorEditor::Build(CKestControl* owner, int number, bool sector, const double values[kFieldCount]) {
  wchar_t caption[40];
  swprintf(caption, 40, L"Сенсор %d", number);
  if (!Create(owner, caption, KEST_POS_CENTER, kWidth, kHeight, nullptr, false, false, true, true)) return false;
  SetReady(false);
  new CKestLabel(this, L"Тип:", KEST_POS_FLOW, false, 50, kListHeight, kRightAligned);
  kind_ = new CKestComboBox(this, 0, false, KEST_POS_FLOW, 200, kListHeight, 0);
  kind_->AddItem(L"Дальномер", 0);
  kind_->AddItem(L"Сектор сканирования", 0);
  kind_->SetSelectedIndex(sector ? 1 : 0);
  NewFlowRow();
  edits_[kX] = AddField(L"X, см:", 50, -10000, 10000, 100, values[kX]);
  edits_[kY] = AddField(L"Y, см:", 50, -10000, 10000, 100, values[kY]);
  NewFlowRow();
  edits_[kAngle] = AddField(L"Угол поворота,°:", 216, -180, 180, 100, values[kAngle]);
  NewFlowRow();
  edits_[kFov] = AddField(L"Угол обзора,°:", 216, 0.01, 179, 100, values[kFov]);
  NewFlowRow();
  edits_[kZMin] = AddField(L"Zmin, см:", 80, 0.1, 10000, 90, values[kZMin]);
  edits_[kZMax] = AddField(L"Zmax, см:", 80, 0.1, 10000, 90, values[kZMax]);
  NewFlowRow();
  AddDialogButtons(this, kButtonWidth, &ok_, &cancel_);
  SetReady(true);
  return true;
}

bool CLocalMapSensorEditor::Confirm() { return ConfirmDialogForm(this); }
