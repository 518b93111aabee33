#include "blocks/library/math/two_operand_block.h"

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/math/math_colors.h"
#include "blocks/library/math/operand_cell.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"

CBETwoOperandBlock::CBETwoOperandBlock(const Traits& traits) : traits_(traits) {
  rect = RECT{0, 0, traits.width, 40};
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

BeSignalType CBETwoOperandBlock::GetType() const { return outputCount > 0 ? outputs[0]->type : kBeSignalChar; }

void CBETwoOperandBlock::UpdateCosts() { ApplyTypeCost(this, traits_.costs, GetType(), true); }

void CBETwoOperandBlock::Step(float) {
  if (inputCount < 2 || outputCount < 1) return;
  BeSignalType type = GetType();
  unsigned char cellA[8], cellB[8];
  ReadOperandCell(inputs[0], type, traits_.neutral, cellA);
  ReadOperandCell(inputs[1], type, traits_.neutral, cellB);
  unsigned char* out = outputs[0]->value;
  switch (type) {
    case kBeSignalChar:
    case kBeSignalShort:
    case kBeSignalInt: {
      int32_t a = ReadIntegerValue(cellA, type);
      int32_t b = ReadIntegerValue(cellB, type);
      WriteIntegerValue(out, type, CombineIntegers(a, b));
      break;
    }
    case kBeSignalFloat: {
      double x = ReadFloatValue(cellA);
      double y = ReadFloatValue(cellB);
      WriteFloatValue(out, RoundToFloat(Combine(x, y)));
      break;
    }
    case kBeSignalDouble: {
      double x = ReadDoubleValue(cellA);
      double y = ReadDoubleValue(cellB);
      WriteDoubleValue(out, Combine(x, y));
      break;
    }
    default: break;
  }
}

void CBETwoOperandBlock::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  CBEBlock::Save(stream);
}

bool CBETwoOperandBlock::Load(CStream* stream) {
  BeSignalType type;
  if (!ReadDataTypeByte(stream, &type) || !BaseRecordCanFollow(stream, inputCount, outputCount))
    return false;
  if (!LoadBaseWithType(this, stream, type, GetType())) return false;
  UpdateCosts();
  return true;
}

void CBETwoOperandBlock::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, traits_.caption);
}

bool CBETwoOperandBlock::ShowProperties() { return ShowBlockDialog(this, traits_.classId); }
