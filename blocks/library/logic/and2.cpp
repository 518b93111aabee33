#include "blocks/library/logic/and2.h"

#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/logic/gate_step.h"
#include "blocks/library/logic/logic_costs.h"
#include "blocks/library/logic/mask_cell.h"
#include "blocks/library/typed_block.h"
#include "foundation/stream.h"

namespace {
const BeLogicCost kCosts[6] = {{true, 1, 2, false}, {true, 1, 2, false},  {true, 2, 4, false},
                               {true, 4, 8, false}, {false, 0, 0, false}, {false, 0, 0, false}};
// The record's first byte: bit 7 says an input count byte follows.
const unsigned char kCountFollows = 0x80;
const unsigned char kTypeBits = 0x7F;
}  // namespace

CBEAnd2::CBEAnd2() { UpdatePinsAndCosts(); }

CBEBlock* CBEAnd2::Create() { return KeepIfPinsMade(new (std::nothrow) CBEAnd2, kGateMinInputs, 1); }

void CBEAnd2::UpdatePinsAndCosts() {
  ApplyLogicCost(this, kCosts, GetType());
  SizeGatePins(this);
}

void CBEAnd2::Step(float) {
  BeSignalType type = GetType();
  if (type == kBeSignalBit) {
    StepGateBits(this, false);
  } else if (IsIntegerDataType(type)) {
    StepGateIntegers(this, false);
  }
}

void CBEAnd2::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(kCountFollows | (GetType() & kTypeBits)));
  stream->WriteByte(static_cast<unsigned char>(inputCount));
  CBEBlock::Save(stream);
}

bool CBEAnd2::Load(CStream* stream) {
  unsigned char first;
  unsigned char count = kGateMinInputs;
  if (!ReadByteChecked(stream, &first)) return false;
  BeSignalType type = first & kTypeBits;
  if (type < kBeSignalBit || type > kBeSignalInt) return false;
  if ((first & kCountFollows) && !ReadByteChecked(stream, &count)) return false;
  if (count < kGateMinInputs || count > kGateMaxInputs) return false;
  return LoadCountTypeAndBase(stream, count, type);
}

void CBEAnd2::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, GetType() == kBeSignalBit ? L"A && B" : L"A & B");
}

bool CBEAnd2::ShowProperties() { return ShowBlockDialog(this, kBeAnd2ClassId); }
