#include "blocks/library/math/constant_operand.h"

#include <cstring>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/math/constant_cell.h"
#include "blocks/library/math/math_colors.h"
#include "blocks/library/typed_block.h"
#include "foundation/stream.h"

namespace {
const int kCaptionChars = 48;
}  // namespace

CBEConstantOperand::CBEConstantOperand(const Traits& traits) : traits_(traits) {
  rect = RECT{0, 0, 100, 20};
  fillColor = kArithmeticFill;
  SetInputCount(1);
  SetOutputCount(1);
  SetPinTypes(this, kBeSignalChar);
  UpdateCosts();
}

BeSignalType CBEConstantOperand::GetType() const { return outputCount > 0 ? outputs[0]->type : kBeSignalChar; }

void CBEConstantOperand::UpdateCosts() { ApplyTypeCost(this, traits_.costs, GetType(), true); }

int32_t CBEConstantOperand::GetConstantInt() const { return ConstantCellInt(constant, GetType()); }
float CBEConstantOperand::GetConstantFloat() const { return ConstantCellFloat(constant); }
void CBEConstantOperand::SetConstantInt(int32_t value) { memcpy(&constant, &value, 4); }
void CBEConstantOperand::SetConstantFloat(float value) { constant = FloatConstantCell(value); }

void CBEConstantOperand::Step(float) {
  if (inputCount < 1 || outputCount < 1) return;
  const BeOutputPin* source = inputs[0]->source;
  if (!source) return;
  ApplyConstantCell(source->value, outputs[0]->value, GetType(), constant, traits_.sign);
}

void CBEConstantOperand::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  unsigned char cell[4];
  for (int i = 0; i < 4; ++i) cell[i] = static_cast<unsigned char>(constant >> (8 * i));
  stream->Write(cell, 4);
  CBEBlock::Save(stream);
}

bool CBEConstantOperand::Load(CStream* stream) {
  BeSignalType type;
  unsigned int cell;
  if (!ReadDataTypeByte(stream, &type) || !ReadUInt32Checked(stream, &cell) ||
      !BaseRecordCanFollow(stream, inputCount, outputCount))
    return false;
  BeSignalType wasType = GetType();
  uint32_t wasConstant = constant;
  SetPinTypes(this, type);
  constant = cell;
  if (CBEBlock::Load(stream)) {
    UpdateCosts();
    return true;
  }
  SetPinTypes(this, wasType);
  constant = wasConstant;
  return false;
}

void CBEConstantOperand::Draw(HDC dc) {
  wchar_t text[kCaptionChars];
  FormatConstantCaption(traits_.word, constant, GetType(), text, kCaptionChars);
  DrawBody(dc);
  DrawCaptionCentered(dc, text);
}

bool CBEConstantOperand::ShowProperties() { return ShowBlockDialog(this, traits_.classId); }
