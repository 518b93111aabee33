#include "blocks/library/math/add.h"

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
const BeTypeCost kCosts[5] = {{1, 2, false}, {2, 4, false}, {4, 8, false}, {100, 10, true}, {200, 20, true}};
const int kCaptionChars = 48;
}  // namespace

CBEAdd::CBEAdd() {
  rect = RECT{0, 0, 100, 20};
  fillColor = kArithmeticFill;
  SetInputCount(1);
  SetOutputCount(1);
  SetPinTypes(this, kBeSignalChar);
  UpdateCosts();
}

CBEBlock* CBEAdd::Create() { return new (std::nothrow) CBEAdd; }

BeSignalType CBEAdd::GetType() const { return outputCount > 0 ? outputs[0]->type : kBeSignalChar; }

void CBEAdd::UpdateCosts() { ApplyTypeCost(this, kCosts, GetType(), true); }

int32_t CBEAdd::GetConstantInt() const { return ConstantCellInt(constant, GetType()); }
float CBEAdd::GetConstantFloat() const { return ConstantCellFloat(constant); }
void CBEAdd::SetConstantInt(int32_t value) { memcpy(&constant, &value, 4); }
void CBEAdd::SetConstantFloat(float value) { constant = FloatConstantCell(value); }

void CBEAdd::Step(float) {
  if (inputCount < 1 || outputCount < 1) return;
  const BeOutputPin* source = inputs[0]->source;
  if (!source) return;
  ApplyConstantCell(source->value, outputs[0]->value, GetType(), constant, 1);
}

void CBEAdd::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  unsigned char cell[4];
  for (int i = 0; i < 4; ++i) cell[i] = static_cast<unsigned char>(constant >> (8 * i));
  stream->Write(cell, 4);
  CBEBlock::Save(stream);
}

bool CBEAdd::Load(CStream* stream) {
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

void CBEAdd::Draw(HDC dc) {
  wchar_t text[kCaptionChars];
  FormatConstantCaption(L"ADD", constant, GetType(), text, kCaptionChars);
  DrawBody(dc);
  DrawCaptionCentered(dc, text);
}

bool CBEAdd::ShowProperties() { return ShowBlockDialog(this, kBeAddClassId); }
