#include "blocks/dialogs/control/control_dialogs.h"

#include <new>

#include "blocks/dialogs/control/const_divider_dlg.h"
#include "blocks/dialogs/control/diff_dlg.h"
#include "blocks/dialogs/control/prop_dlg.h"
#include "blocks/dialogs/control/realisation_rows.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/control/diff.h"
#include "blocks/library/control/inertial.h"
#include "blocks/library/control/integral.h"
#include "blocks/library/control/integral_with_reload.h"
#include "blocks/library/control/vibro.h"
#include "blocks/library/math/const_divider.h"
#include "blocks/library/math/proportional.h"
#include "blocks/library/typed_block.h"

namespace {
const int kIntegralWidth = 260, kIntegralHeight = 300;
const int kPlainWidth = 260, kPlainHeight = 200, kVibroHeight = 250;
const double kTableLimit = 512.0;

// Builds the dialog form, runs it and writes the block on "OK".
template <class Dialog, class Block>
bool RunLinkDialog(CBEBlock* block) {
  auto* link = dynamic_cast<Block*>(block);
  if (!link) return false;
  auto* form = new (std::nothrow) Dialog;
  if (!form) return false;
  if (!form->Build(link)) {
    delete form;
    return false;
  }
  BePropertyFormScope scope(form);
  if (!form->Confirm()) return false;
  form->Write(link);
  return true;
}

// The largest value of an integer type; any other type has none here.
bool TypeLimit(BeSignalType type, double* limit) {
  if (type == kBeSignalChar) *limit = 127.0;
  else if (type == kBeSignalShort) *limit = 32767.0;
  else if (type == kBeSignalInt) *limit = 2147483647.0;
  else return false;
  return true;
}
}  // namespace

bool ShowProportionalDialog(CBEBlock* block) { return RunLinkDialog<CPropDlg, CBEProportional>(block); }

bool ShowConstDividerDialog(CBEBlock* block) { return RunLinkDialog<CConstDividerDlg, CBEConstDivider>(block); }

bool ShowDiffDialog(CBEBlock* block) { return RunLinkDialog<CDiffDlg, CBEDiff>(block); }

bool ShowIntegralDialog(CBEBlock* block) {
  auto* integral = dynamic_cast<CBEIntegral*>(block);
  if (!integral) return false;
  CBEPropertyForm* form = OpenPropertyForm(integral, kIntegralWidth, kIntegralHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  BeSignalType current = integral->GetOutputType();
  CKestEdit* gain = AddNumberRow(form, L"Коэффициент усиления:", kBeLinkEditWidth, integral->gain);
  CKestEdit* initial = AddNumberRow(form, L"Нач.значение на выходе:", kBeLinkEditWidth, integral->initialOutput);
  CKestEdit* limit = AddNumberRow(form, L"Ограничение на выходе:", kBeLinkEditWidth, integral->limit);
  CKestComboBox* types = form->AddTypeRow(L"Тип данных:", kBeSignalChar, kBeSignalDouble, current);
  CKestComboBox* realisation = AddRealisationList(form, integral->realisation);
  form->SetInitialFocus(gain);
  form->AddButtons();
  if (!form->Confirm()) return false;
  BeSignalType type = SelectedListType(types, kBeSignalChar, current);
  integral->gain = ReadDoubleEdit(gain, kBeLinkReadChars, integral->gain);
  integral->initialOutput = ReadDoubleEdit(initial, kBeLinkReadChars, integral->initialOutput);
  double newLimit = ReadDoubleEdit(limit, kBeLinkReadChars, integral->limit);
  if (newLimit < 0) newLimit = 0;
  int index = realisation ? realisation->GetSelectedIndex() : -1;
  int chosen = index >= 0 ? index : integral->realisation;
  if (IsRealSignalType(type)) chosen = kBeRealisationFloat;
  if (chosen == kBeRealisationTable && newLimit > kTableLimit) newLimit = kTableLimit;
  double typeLimit = 0;
  if (TypeLimit(type, &typeLimit) && newLimit > typeLimit) newLimit = typeLimit;
  integral->limit = newLimit;
  integral->realisation = chosen;
  ChangeInputType(integral->Input(0), type);
  ChangeOutputType(integral->Output(0), type);
  integral->UpdateCosts();
  return true;
}

bool ShowIntegralWithReloadDialog(CBEBlock* block) {
  auto* integral = dynamic_cast<CBEIntegralWithReload*>(block);
  if (!integral || integral->inputCount < 2) return false;
  CBEPropertyForm* form = OpenPropertyForm(integral, kPlainWidth, kPlainHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  BeSignalType current = integral->GetOutputType();
  CKestEdit* gain = AddNumberRow(form, L"Коэффициент усиления:", kBeLinkEditWidth, integral->gain);
  CKestEdit* initial = AddNumberRow(form, L"Нач.значение на выходе:", kBeLinkEditWidth, integral->initialOutput);
  CKestComboBox* types = form->AddTypeRow(L"Тип данных:", kBeSignalChar, kBeSignalDouble, current);
  form->SetInitialFocus(gain);
  form->AddButtons();
  if (!form->Confirm()) return false;
  integral->gain = ReadDoubleEdit(gain, kBeLinkReadChars, integral->gain);
  integral->initialOutput = ReadDoubleEdit(initial, kBeLinkReadChars, integral->initialOutput);
  BeSignalType type = SelectedListType(types, kBeSignalChar, current);
  ChangeInputType(integral->Input(0), type);
  ChangeInputType(integral->Input(1), type);
  ChangeOutputType(integral->Output(0), type);
  return true;
}

bool ShowInertialDialog(CBEBlock* block) {
  auto* inertial = dynamic_cast<CBEInertial*>(block);
  if (!inertial) return false;
  CBEPropertyForm* form = OpenPropertyForm(inertial, kPlainWidth, kPlainHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  BeSignalType current = inertial->GetOutputType();
  CKestEdit* time = AddNumberRow(form, L"Постоянная времени [сек]:", kBeLinkEditWidth, inertial->timeConstant);
  CKestEdit* gain = AddNumberRow(form, L"Коэффициент усиления:", kBeLinkEditWidth, inertial->gain);
  CKestComboBox* types = form->AddTypeRow(L"Тип данных:", kBeSignalChar, kBeSignalDouble, current);
  form->SetInitialFocus(time);
  form->AddButtons();
  if (!form->Confirm()) return false;
  inertial->timeConstant = ReadDoubleEdit(time, kBeLinkReadChars, inertial->timeConstant);
  inertial->gain = ReadDoubleEdit(gain, kBeLinkReadChars, inertial->gain);
  BeSignalType type = SelectedListType(types, kBeSignalChar, current);
  ChangeInputType(inertial->Input(0), type);
  ChangeOutputType(inertial->Output(0), type);
  return true;
}

bool ShowVibroDialog(CBEBlock* block) {
  auto* vibro = dynamic_cast<CBEVibro*>(block);
  if (!vibro) return false;
  CBEPropertyForm* form = OpenPropertyForm(vibro, kPlainWidth, kVibroHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  BeSignalType current = vibro->GetOutputType();
  CKestEdit* time = AddNumberRow(form, L"Постоянная времени T [сек]:", kBeLinkEditWidth, vibro->timeConstant);
  CKestEdit* damping = AddNumberRow(form, L"Коэф.демпфирования ξ:", kBeLinkEditWidth, vibro->damping);
  CKestEdit* gain = AddNumberRow(form, L"Коэффициент усиления K:", kBeLinkEditWidth, vibro->gain);
  CKestComboBox* types = form->AddTypeRow(L"Тип данных:", kBeSignalChar, kBeSignalDouble, current);
  form->SetInitialFocus(time);
  form->AddButtons();
  if (!form->Confirm()) return false;
  vibro->timeConstant = ReadDoubleEdit(time, kBeLinkReadChars, vibro->timeConstant);
  vibro->damping = ReadDoubleEdit(damping, kBeLinkReadChars, vibro->damping);
  vibro->gain = ReadDoubleEdit(gain, kBeLinkReadChars, vibro->gain);
  BeSignalType type = SelectedListType(types, kBeSignalChar, current);
  ChangeInputType(vibro->Input(0), type);
  ChangeOutputType(vibro->Output(0), type);
  return true;
}
