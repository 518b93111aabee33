#include "blocks/dialogs/frame/data_type_dialog.h"

#include "blocks/dialogs/frame/property_form.h"
#include "blocks/engine/block.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/digital/counter.h"
#include "blocks/library/digital/d_flip_flop.h"
#include "blocks/library/digital/register.h"
#include "blocks/library/logic/not.h"
#include "blocks/library/math/abs.h"
#include "blocks/library/math/div2.h"
#include "blocks/library/math/mul2.h"
#include "blocks/library/math/neg.h"
#include "blocks/library/math/sub2.h"
#include "blocks/library/math/trig/math_func.h"
#include "blocks/library/math/vectors/arctan2.h"
#include "blocks/library/typed_block.h"

namespace {
const int kPickerWidth = 260, kPickerHeight = 120;

// The type picked for output 1 of the block; false when the user kept it.
bool PickOutputType(CBEBlock* block, BeSignalType first, BeSignalType last, BeSignalType* type) {
  if (!block || block->outputCount < 1) return false;
  int32_t code = block->Output(0)->type;
  if (!ShowDataTypeDialog(block->GetCaption(), &code, first, last)) return false;
  *type = static_cast<BeSignalType>(code);
  return true;
}

// One type for the first dataInputs inputs and output 1.
bool RetypeDataPins(CBEBlock* block, int dataInputs, BeSignalType first, BeSignalType last) {
  BeSignalType type;
  if (block->inputCount < dataInputs || !PickOutputType(block, first, last, &type)) return false;
  for (int i = 0; i < dataInputs; ++i) ChangeInputType(block->Input(i), type);
  ChangeOutputType(block->Output(0), type);
  return true;
}
}  // namespace

bool ShowDataTypeDialog(const wchar_t* caption, int32_t* type, int first, int last) {
  if (!type || first > last || first < 0 || last >= kBeSignalTypeNameCount) return false;
  CBEPropertyForm* form = OpenPropertyForm(caption, kPickerWidth, kPickerHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  CKestComboBox* list = form->AddTypeRow(L"Тип данных:", first, last, *type);
  form->AddButtons();
  form->SetInitialFocus(list);
  if (!form->Confirm()) return false;
  BeSignalType chosen = SelectedListType(list, first, *type);
  if (chosen == *type) return false;
  *type = chosen;
  return true;
}

bool ShowArctan2Dialog(CBEBlock* block) {
  return dynamic_cast<CBEArctan2*>(block) && RetypeDataPins(block, 2, kBeSignalFloat, kBeSignalDouble);
}

bool ShowAbsDialog(CBEBlock* block) {
  return dynamic_cast<CBEAbs*>(block) && RetypeDataPins(block, 1, kBeSignalChar, kBeSignalDouble);
}

bool ShowMathFuncDialog(CBEBlock* block) {
  return dynamic_cast<CBEMathFunc*>(block) && RetypeDataPins(block, 1, kBeSignalFloat, kBeSignalDouble);
}

bool ShowDiv2Dialog(CBEBlock* block) {
  return dynamic_cast<CBEDiv2*>(block) && RetypeDataPins(block, 2, kBeSignalChar, kBeSignalDouble);
}

bool ShowMul2Dialog(CBEBlock* block) {
  return dynamic_cast<CBEMul2*>(block) && RetypeDataPins(block, 2, kBeSignalChar, kBeSignalDouble);
}

bool ShowNotDialog(CBEBlock* block) {
  return dynamic_cast<CBENot*>(block) && RetypeDataPins(block, 1, kBeSignalBit, kBeSignalDouble);
}

bool ShowSub2Dialog(CBEBlock* block) {
  return dynamic_cast<CBESub2*>(block) && RetypeDataPins(block, 2, kBeSignalChar, kBeSignalDouble);
}

bool ShowNegDialog(CBEBlock* block) {
  auto* neg = dynamic_cast<CBENeg*>(block);
  BeSignalType type;
  if (!neg || neg->inputCount < 1 || !PickOutputType(neg, kBeSignalChar, kBeSignalDouble, &type)) return false;
  ChangeInputType(neg->Input(0), type);
  ChangeOutputType(neg->Output(0), type);
  neg->UpdateCosts();
  return true;
}

bool ShowCounterDialog(CBEBlock* block) {
  auto* counter = dynamic_cast<CBECounter*>(block);
  BeSignalType type;
  if (!counter || !PickOutputType(counter, kBeSignalChar, kBeSignalInt, &type)) return false;
  // The inputs count pulses whatever the output's width: they keep theirs.
  ChangeOutputType(counter->Output(0), type);
  counter->UpdateCosts();
  return true;
}

namespace {
// Register and D flip-flop: the output and input "D" take the type.
template <class Latch>
bool RetypeLatch(CBEBlock* block) {
  auto* latch = dynamic_cast<Latch*>(block);
  BeSignalType type;
  if (!latch || latch->inputCount < 1 || !PickOutputType(latch, kBeSignalBit, kBeSignalDouble, &type))
    return false;
  ChangeOutputType(latch->Output(0), type);
  ChangeInputType(latch->Input(0), type);
  latch->UpdateCosts();
  return true;
}
}  // namespace

bool ShowRegisterDialog(CBEBlock* block) { return RetypeLatch<CBERegister>(block); }

bool ShowDFlipFlopDialog(CBEBlock* block) { return RetypeLatch<CBEDFlipFlop>(block); }
