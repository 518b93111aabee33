#include "blocks/library/math/mul2.h"

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
const BeTypeCost kCosts[5] = {{2, 4, false}, {10, 16, false}, {36, 34, false}, {280, 10, true}, {390, 20, true}};
const int kNeutral = 1;
}  // namespace

CBEMul2::CBEMul2() {
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

CBEBlock* CBEMul2::Create() {
  CBEMul2* block = new (std::nothrow) CBEMul2;
  if (block && (block->inputCount != 2 || block->outputCount != 1)) {
    delete block;
    return nullptr;
  }
  return block;
}

BeSignalType CBEMul2::GetType() const { return outputCount > 0 ? outputs[0]->type : kBeSignalChar; }

void CBEMul2::UpdateCosts() { ApplyTypeCost(this, kCosts, GetType(), true); }

void CBEMul2::Step(float) {
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
      WriteIntegerValue(out, type, static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
      break;
    }
    case kBeSignalFloat: {
      double x = ReadFloatValue(cellA);
      double y = ReadFloatValue(cellB);
      WriteFloatValue(out, RoundToFloat(x * y));
      break;
    }
    case kBeSignalDouble: {
      double x = ReadDoubleValue(cellA);
      double y = ReadDoubleValue(cellB);
      WriteDoubleValue(out, x * y);
      break;
    }
    default: break;
  }
}

void CBEMul2::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  CBEBlock::Save(stream);
}

bool CBEMul2::Load(CStream* stream) {
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

void CBEMul2::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"A x B");
}

bool CBEMul2::ShowProperties() { return ShowBlockDialog(this, kBeMul2ClassId); }
