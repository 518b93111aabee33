#include "blocks/library/logic/cmp.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/logic/logic_colors.h"
#include "blocks/library/logic/logic_costs.h"
#include "blocks/library/logic/relation.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "foundation/stream.h"

namespace {
// bit has no row.
const BeLogicCost kCosts[6] = {{false, 0, 0, false}, {true, 2, 4, false},     {true, 3, 6, false},
                               {true, 5, 10, false}, {true, 100, 10, true}, {true, 200, 20, true}};
const int kCaptionChars = 48;
const int kConstantBytes = 8;
}  // namespace

CBECmp::CBECmp() {
  rect = RECT{0, 0, 115, 30};
  fillColor = kLogicFill;
  SetInputCount(1);
  SetOutputCount(1);
  if (inputCount == 1) inputs[0]->type = kBeSignalChar;
  if (outputCount == 1) outputs[0]->type = kBeSignalBit;
  UpdateCosts();
}

CBEBlock* CBECmp::Create() { return KeepIfPinsMade(new (std::nothrow) CBECmp, 1, 1); }

BeSignalType CBECmp::GetType() const { return inputCount > 0 ? inputs[0]->type : kBeSignalChar; }

void CBECmp::UpdateCosts() { ApplyLogicCost(this, kCosts, GetType()); }

void CBECmp::SetConstantInt(int32_t value) {
  memset(constant, 0, sizeof constant);
  WriteIntegerValue(constant, kBeSignalInt, static_cast<uint32_t>(value));
}

void CBECmp::SetConstantFloat(float value) {
  memset(constant, 0, sizeof constant);
  WriteFloatValue(constant, value);
}

void CBECmp::SetConstantDouble(double value) { WriteDoubleValue(constant, value); }

void CBECmp::Step(float) {
  if (inputCount < 1 || outputCount < 1) return;
  const BeOutputPin* source = inputs[0]->source;
  if (!source) return;
  int holds = CompareCells(source->value, constant, GetType(), relation);
  if (holds >= 0) outputs[0]->value[0] = static_cast<unsigned char>(holds);
}

void CBECmp::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  stream->Write(constant, kConstantBytes);
  stream->WriteByte(relation);
  CBEBlock::Save(stream);
}

bool CBECmp::Load(CStream* stream) {
  BeSignalType type;
  unsigned char cell[kConstantBytes];
  unsigned char storedRelation;
  if (!ReadComparisonType(stream, &type) || !ReadExact(stream, cell, kConstantBytes) ||
      !ReadByteChecked(stream, &storedRelation) || !BaseRecordCanFollow(stream, inputCount, outputCount))
    return false;
  BeSignalType wasType = GetType();
  unsigned char wasConstant[kConstantBytes];
  memcpy(wasConstant, constant, kConstantBytes);
  unsigned char wasRelation = relation;
  inputs[0]->type = type;
  memcpy(constant, cell, kConstantBytes);
  relation = storedRelation;
  if (CBEBlock::Load(stream)) {
    UpdateCosts();
    return true;
  }
  inputs[0]->type = wasType;
  memcpy(constant, wasConstant, kConstantBytes);
  relation = wasRelation;
  return false;
}

void CBECmp::Draw(HDC dc) {
  wchar_t text[kCaptionChars];
  const wchar_t* symbol = RelationSymbol(relation);
  BeSignalType type = GetType();
  switch (type) {
    case kBeSignalFloat:
      _snwprintf(text, kCaptionChars - 1, L"%ls %0.2f", symbol, static_cast<double>(ReadFloatValue(constant)));
      break;
    case kBeSignalDouble:
      _snwprintf(text, kCaptionChars - 1, L"%ls %0.2f", symbol, ReadDoubleValue(constant));
      break;
    default: {
      // bit and char show the first byte as a signed number.
      BeSignalType shown = type == kBeSignalBit ? kBeSignalChar : type;
      _snwprintf(text, kCaptionChars - 1, L"%ls %d", symbol, static_cast<int>(ReadIntegerValue(constant, shown)));
      break;
    }
  }
  text[kCaptionChars - 1] = 0;
  DrawArrowBody(this, dc);
  DrawCaptionCentered(dc, text);
}

bool CBECmp::ShowProperties() { return ShowBlockDialog(this, kBeCmpClassId); }
