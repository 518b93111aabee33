#include "blocks/library/logic/or2.h"

#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/logic/gate_step.h"
#include "blocks/library/logic/logic_costs.h"
#include "blocks/library/typed_block.h"
#include "foundation/stream.h"

CBEOr2::CBEOr2() { UpdatePinsAndCosts(); }

CBEBlock* CBEOr2::Create() { return KeepIfPinsMade(new (std::nothrow) CBEOr2, kGateMinInputs, 1); }

void CBEOr2::UpdatePinsAndCosts() {
  // n - 1 operations of the type's width.
  int m = inputCount - 1;
  const BeLogicCost costs[6] = {{true, m, 2 * m, false},     {true, m, 2 * m, false},
                                {true, 2 * m, 4 * m, false}, {true, 4 * m, 8 * m, false},
                                {false, 0, 0, false},        {false, 0, 0, false}};
  ApplyLogicCost(this, costs, GetType());
  SizeGatePins(this);
}

void CBEOr2::Step(float) {
  BeSignalType type = GetType();
  if (type == kBeSignalBit) {
    StepGateBits(this, true);
  } else if (type >= kBeSignalChar && type <= kBeSignalDouble) {
    StepGateIntegers(this, true);
  }
}

void CBEOr2::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(inputCount));
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  CBEBlock::Save(stream);
}

bool CBEOr2::Load(CStream* stream) {
  unsigned char count, type;
  if (!ReadByteChecked(stream, &count) || count < kGateMinInputs || count > kGateMaxInputs ||
      !ReadByteChecked(stream, &type) || type < kBeSignalBit || type > kBeSignalDouble)
    return false;
  return LoadCountTypeAndBase(stream, count, type);
}

void CBEOr2::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, GetType() == kBeSignalBit ? L"A || B" : L"A | B");
}

bool CBEOr2::ShowProperties() { return ShowBlockDialog(this, kBeOr2ClassId); }
