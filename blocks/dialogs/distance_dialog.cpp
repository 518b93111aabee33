#include "blocks/dialogs/distance_dialog.h"

#include <new>

#include "blocks/dialogs/frame/property_form.h"
#include "blocks/engine/signal_type.h"
#include "blocks/library/math/vectors/distance.h"
#include "blocks/library/math/vectors/vector_dimension.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/core/kest_messages.h"

namespace {
const int kFormWidth = 200, kFormHeight = 170;
const int kEditWidth = 60, kEditHeight = 22;
const int kListWidth = 120, kListHeight = 21;
const int kButtonWidth = 80;
// The list holds the types from char to double, in code order.
const BeSignalType kFirstListedType = kBeSignalChar;
const BeSignalType kLastListedType = kBeSignalDouble;
}  // namespace

bool CBEDistanceDialog::Build(CBEDistance* block) {
  if (!Create(MainKestForm, block->GetCaption(), KEST_POS_CENTER, kFormWidth, kFormHeight, nullptr, false, false,
              true, true))
    return false;
  SetReady(false);
  new CKestLabel(this, L"Размерность вектора:", KEST_POS_FLOW, true, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  dimension_ = new CKestSpinEdit(this, 0, true, kMinVectorComponents, kMaxVectorComponents, 1, KEST_POS_FLOW,
                                 kEditWidth, kEditHeight);
  dimension_->SetIntValue(block->GetDimension());
  NewFlowRow();
  new CKestLabel(this, L"Тип данных:", KEST_POS_FLOW, true, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  types_ = new CKestComboBox(this, 0, false, KEST_POS_FLOW, kListWidth, kListHeight, 0);
  for (BeSignalType type = kFirstListedType; type <= kLastListedType; ++type)
    types_->AddItem(GetSignalTypeName(type), 0);
  BeSignalType type = block->GetType();
  types_->SetSelectedIndex(type >= kFirstListedType && type <= kLastListedType ? type - kFirstListedType : -1);
  NewFlowRow();
  AddDialogButtons(this, kButtonWidth, &ok_, &cancel_);
  SetReady(true);
  return true;
}

bool CBEDistanceDialog::Apply(CBEDistance* block) const {
  int index = types_ ? types_->GetSelectedIndex() : -1;
  BeSignalType type = index >= 0 ? kFirstListedType + index : block->GetType();
  int dimension = dimension_ ? dimension_->GetIntValue() : block->GetDimension();
  return block->ApplyProperties(dimension, type);
}

bool ShowDistanceDialog(CBEBlock* block) {
  CBEDistance* distance = dynamic_cast<CBEDistance*>(block);
  if (!distance) return false;
  auto* dialog = new (std::nothrow) CBEDistanceDialog;
  if (!dialog) return false;
  if (!dialog->Build(distance)) {
    delete dialog;
    return false;
  }
  HWND window = dialog->GetHandle();
  int result = dialog->ShowModal(false);
  bool changed = false;
  // The form may have gone with its window (the program ending meanwhile).
  if (GetControlFromHandle(window) == dialog) {
    if (result == kBeDialogOkResult) changed = dialog->Apply(distance);
    delete dialog;
  }
  return changed;
}
