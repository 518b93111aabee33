#include "blocks/library/logic/mask_gate.h"

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/logic/logic_colors.h"
#include "blocks/library/logic/logic_costs.h"
#include "blocks/library/logic/mask_cell.h"
#include "blocks/library/typed_block.h"
#include "foundation/stream.h"

namespace {
// bit has no row, nor have float and double.
const BeLogicCost kCosts[6] = {{false, 0, 0, false}, {true, 1, 2, false}, {true, 2, 4, false},
                               {true, 4, 8, false},  {false, 0, 0, false}, {false, 0, 0, false}};
const int kCaptionChars = 32;
}  // namespace

CBEMaskGate::CBEMaskGate(bool isOr, const wchar_t* word, unsigned int classId, uint32_t defaultMask)
    : mask(defaultMask), isOr_(isOr), word_(word), classId_(classId) {
  rect = RECT{0, 0, 120, 20};
  fillColor = kLogicFill;
  SetInputCount(1);
  SetOutputCount(1);
  SetPinTypes(this, kBeSignalChar);
  UpdateCosts();
}

BeSignalType CBEMaskGate::GetType() const { return inputCount > 0 ? inputs[0]->type : kBeSignalChar; }

void CBEMaskGate::UpdateCosts() { ApplyLogicCost(this, kCosts, GetType()); }

void CBEMaskGate::Step(float) {
  if (inputCount < 1 || outputCount < 1) return;
  const BeOutputPin* source = inputs[0]->source;
  if (!source) return;
  ApplyMask(source->value, outputs[0]->value, GetType(), mask, isOr_);
}

void CBEMaskGate::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  unsigned char cell[4];
  for (int i = 0; i < 4; ++i) cell[i] = static_cast<unsigned char>(mask >> (8 * i));
  stream->Write(cell, 4);
  CBEBlock::Save(stream);
}

bool CBEMaskGate::Load(CStream* stream) {
  unsigned char type;
  unsigned int cell;
  if (!ReadByteChecked(stream, &type) || !IsIntegerDataType(type) || !ReadUInt32Checked(stream, &cell) ||
      !BaseRecordCanFollow(stream, inputCount, outputCount))
    return false;
  BeSignalType wasType = GetType();
  uint32_t wasMask = mask;
  SetPinTypes(this, type);
  mask = cell;
  if (CBEBlock::Load(stream)) {
    UpdateCosts();
    return true;
  }
  SetPinTypes(this, wasType);
  mask = wasMask;
  return false;
}

void CBEMaskGate::Draw(HDC dc) {
  wchar_t text[kCaptionChars];
  FormatMaskCaption(word_, mask, GetType(), text, kCaptionChars);
  DrawBody(dc);
  DrawCaptionCentered(dc, text);
}

bool CBEMaskGate::ShowProperties() { return ShowBlockDialog(this, classId_); }
