#include "blocks/library/logic/gate_block.h"

#include "blocks/engine/input_pin.h"
#include "blocks/library/logic/gate_step.h"
#include "blocks/library/logic/logic_colors.h"
#include "blocks/library/typed_block.h"
#include "blocks/library/typed_load_undo.h"

CBEGateBlock::CBEGateBlock() {
  rect = RECT{0, 0, 80, kGateInputPitch * kGateMinInputs};
  fillColor = kLogicFill;
  SetInputCount(kGateMinInputs);
  SetOutputCount(1);
  SetPinTypes(this, kBeSignalBit);
}

BeSignalType CBEGateBlock::GetType() const { return inputCount > 0 ? inputs[0]->type : kBeSignalBit; }

void CBEGateBlock::Start() {
  CBEBlock::Start();
  RestoreGateOutput(this);
}

void CBEGateBlock::Stop() {
  CBEBlock::Stop();
  RestoreGateOutput(this);
}

bool CBEGateBlock::LoadCountTypeAndBase(CStream* stream, int count, BeSignalType type) {
  if (!BaseRecordCanFollow(stream, count, outputCount)) return false;
  BeTypedLoadUndo was(this, GetType());
  if (!SetInputCount(count)) return false;
  SetPinTypes(this, type);
  if (CBEBlock::Load(stream)) {
    UpdatePinsAndCosts();
    return true;
  }
  was.Restore(this);
  UpdatePinsAndCosts();
  return false;
}
