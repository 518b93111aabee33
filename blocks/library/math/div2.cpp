#include "blocks/library/math/div2.h"

#include <cstdint>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/math/math_colors.h"
#include "blocks/library/math/operand_cell.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"

namespace {
const BeTypeCost kCosts[5] = {{64, 40, false}, {128, 56, false}, {256, 108, false}, {380, 10, true}, {490, 20, true}};
const int kNeutral = 1;
}  // namespace

CBEDiv2::CBEDiv2() {
  rect = RECT{0, 0, 80, 40};
  fillColor = kArithmeticFill;
  SetInputCount(2);
  SetOutputCount(1);
  if (inputCount == 2) {
    inputs[0]->name = L"A";
    inputs[1]->name = L"B";
  }
  SetPinTypes(this, kBeSignalChar);
  UpdateCosts();
}

CBEBlock* CBEDiv2::Create() {
  CBEDiv2* block = new (std::nothrow) CBEDiv2;
  if (block && (block->inputCount != 2 || block->outputCount != 1)) {
    delete block;
    return nullptr;
  }
  return block;
}

BeSignalType CBEDiv2::GetType() const { return outputCount > 0 ? outputs[0]->type : kBeSignalChar; }

void CBEDiv2::UpdateCosts() { ApplyTypeCost(this, kCosts, GetType(), true); }

void CBEDiv2::Step(float) {
  if (inputCount < 2 || outputCount < 1) return;
  BeSignalType type = GetType();
  unsigned char cellA[8], cellB[8];
  ReadOperandCell(inputs[0], type, kNeutral, cellA);
  ReadOperandCell(inputs[1], type, kNeutral, cellB);
  unsigned char* out = outputs[0]->value;
  switch (type) {
    case kBeSignalChar:
    case kBeSignalShort:
    case kBeSignalInt: {
      int32_t a = ReadIntegerValue(cellA, type);
      int32_t b = ReadIntegerValue(cellB, type);
      uint32_t q = 0;
      if (b != 0) {
        // In 64 bits the quotient is defined for every pair; its low bits
        // are the wrapped result.
        int64_t wide = static_cast<int64_t>(a) / static_cast<int64_t>(b);
        q = static_cast<uint32_t>(static_cast<uint64_t>(wide));
      }
      WriteIntegerValue(out, type, q);
      break;
    }
    case kBeSignalFloat: {
      double x = ReadFloatValue(cellA);
      double y = ReadFloatValue(cellB);
      WriteFloatValue(out, RoundToFloat(x / y));
      break;
    }
    case kBeSignalDouble: {
      double x = ReadDoubleValue(cellA);
      double y = ReadDoubleValue(cellB);
      WriteDoubleValue(out, x / y);
      break;
    }
    default: break;
  }
}

void CBEDiv2::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  CBEBlock::Save(stream);
}

bool CBEDiv2::Load(CStream* stream) {
  BeSignalType type;
  if (!ReadDataTypeByte(stream, &type) || !BaseRecordCanFollow(stream, inputCount, outputCount))
    return false;
  BeSignalType was = GetType();
  SetPinTypes(this, type);
  if (CBEBlock::Load(stream)) {
    UpdateCosts();
    return true;
  }
  SetPinTypes(this, was);
  return false;
}

void CBEDiv2::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"A / B");
}

bool CBEDiv2::ShowProperties() { return ShowBlockDialog(this, kBeDiv2ClassId); }
