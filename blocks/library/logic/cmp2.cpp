#include "blocks/library/logic/cmp2.h"

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
const BeLogicCost kCosts[6] = {{true, 6, 6, false},  {true, 2, 4, false},     {true, 3, 6, false},
                               {true, 5, 10, false}, {true, 100, 10, true}, {true, 200, 20, true}};
const int kCaptionChars = 16;

// Zeros, over which a linked input copies its source's value in the
// source's width.
void ReadOperand(const BeInputPin* input, unsigned char* cell) {
  memset(cell, 0, 8);
  const BeOutputPin* source = input->source;
  if (source) memcpy(cell, source->value, ScalarWidth(source->type));
}
}  // namespace

CBECmp2::CBECmp2() {
  rect = RECT{0, 0, 100, 40};
  fillColor = kLogicFill;
  SetInputCount(2);
  SetOutputCount(1);
  if (inputCount == 2) {
    inputs[0]->name = L"A";
    inputs[1]->name = L"B";
    inputs[0]->type = kBeSignalChar;
    inputs[1]->type = kBeSignalChar;
  }
  if (outputCount == 1) outputs[0]->type = kBeSignalBit;
  UpdateCosts();
}

CBEBlock* CBECmp2::Create() { return KeepIfPinsMade(new (std::nothrow) CBECmp2, 2, 1); }

BeSignalType CBECmp2::GetType() const { return inputCount > 0 ? inputs[0]->type : kBeSignalChar; }

void CBECmp2::UpdateCosts() { ApplyLogicCost(this, kCosts, GetType()); }

void CBECmp2::Step(float) {
  if (inputCount < 2 || outputCount < 1) return;
  BeSignalType type = GetType();
  if (type == kBeSignalBit && relation != kRelationEqual && relation != kRelationNotEqual) return;
  unsigned char a[8], b[8];
  ReadOperand(inputs[0], a);
  ReadOperand(inputs[1], b);
  int holds = CompareCells(a, b, type, relation);
  if (holds >= 0) outputs[0]->value[0] = static_cast<unsigned char>(holds);
}

void CBECmp2::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  stream->WriteByte(relation);
  CBEBlock::Save(stream);
}

bool CBECmp2::Load(CStream* stream) {
  BeSignalType type;
  unsigned char storedRelation;
  if (!ReadComparisonType(stream, &type) || !ReadByteChecked(stream, &storedRelation) ||
      !BaseRecordCanFollow(stream, inputCount, outputCount))
    return false;
  BeSignalType wasType = GetType();
  unsigned char wasRelation = relation;
  inputs[0]->type = type;
  inputs[1]->type = type;
  relation = storedRelation;
  if (CBEBlock::Load(stream)) {
    UpdateCosts();
    return true;
  }
  inputs[0]->type = wasType;
  inputs[1]->type = wasType;
  relation = wasRelation;
  return false;
}

void CBECmp2::Draw(HDC dc) {
  wchar_t text[kCaptionChars];
  _snwprintf(text, kCaptionChars - 1, L"A %ls B", RelationSymbol(relation));
  text[kCaptionChars - 1] = 0;
  DrawArrowBody(this, dc);
  DrawCaptionCentered(dc, text);
}

bool CBECmp2::ShowProperties() { return ShowBlockDialog(this, kBeCmp2ClassId); }
