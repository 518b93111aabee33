#include "blocks/library/math/sub.h"

#include <cstring>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/math/constant_cell.h"
#include "blocks/library/math/math_colors.h"
#include "blocks/library/typed_block.h"
#include "foundation/stream.h"

namespace {
const BeTypeCost kCosts[5] = {{2, 4, false}, {3, 6, false}, {5, 10, false}, {100, 10, true}, {200, 20, true}};
const int kCaptionChars = 48;
}  // namespace

CBESub::CBESub() {
  rect = RECT{0, 0, 100, 20};
  fillColor = kArithmeticFill;
  SetInputCount(1);
  SetOutputCount(1);
  SetPinTypes(this, kBeSignalChar);
  UpdateCosts();
}

CBEBlock* CBESub::Create() { return new (std::nothrow) CBESub; }

BeSignalType CBESub::GetType() const { return outputCount > 0 ? outputs[0]->type : kBeSignalChar; }

void CBESub::UpdateCosts() { ApplyTypeCost(this, kCosts, GetType(), true); }

int32_t CBESub::GetConstantInt() const { return ConstantCellInt(constant, GetType()); }
float CBESub::GetConstantFloat() const { return ConstantCellFloat(constant); }
void CBESub::SetConstantInt(int32_t value) { memcpy(&constant, &value, 4); }
void CBESub::SetConstantFloat(float value) { constant = FloatConstantCell(value); }

void CBESub::Step(float) {
  if (inputCount < 1 || outputCount < 1) return;
  const BeOutputPin* source = inputs[0]->source;
  if (!source) return;
  ApplyConstantCell(source->value, outputs[0]->value, GetType(), constant, -1);
}

void CBESub::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  unsigned char cell[4];
  for (int i = 0; i < 4; ++i) cell[i] = static_cast<unsigned char>(constant >> (8 * i));
  stream->Write(cell, 4);
  CBEBlock::Save(stream);
}

bool CBESub::Load(CStream* stream) {
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

void CBESub::Draw(HDC dc) {
  wchar_t text[kCaptionChars];
  FormatConstantCaption(L"SUB", constant, GetType(), text, kCaptionChars);
  DrawBody(dc);
  DrawCaptionCentered(dc, text);
}

bool CBESub::ShowProperties() { return ShowBlockDialog(this, kBeSubClassId); }
