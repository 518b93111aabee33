#include "blocks/library/logic/shift_block.h"

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/logic/logic_colors.h"
#include "blocks/library/logic/mask_cell.h"
#include "blocks/library/logic/shift_rule.h"
#include "blocks/library/typed_block.h"
#include "foundation/stream.h"

namespace {
const int kCaptionChars = 16;
}  // namespace

CBEShiftBlock::CBEShiftBlock(bool right, unsigned int classId) : right_(right), classId_(classId) {
  rect = RECT{0, 0, 80, 20};
  fillColor = kLogicFill;
  SetInputCount(1);
  SetOutputCount(1);
  SetPinTypes(this, kBeSignalChar);
  UpdateCosts();
}

BeSignalType CBEShiftBlock::GetType() const { return inputCount > 0 ? inputs[0]->type : kBeSignalChar; }

void CBEShiftBlock::UpdateCosts() { ApplyShiftCosts(this, GetType(), count, kind); }

void CBEShiftBlock::Step(float) {
  if (inputCount < 1 || outputCount < 1) return;
  const BeOutputPin* source = inputs[0]->source;
  if (!source) return;
  ShiftValue(source->value, outputs[0]->value, GetType(), kind, count, right_);
}

void CBEShiftBlock::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  stream->WriteByte(count);
  stream->WriteByte(kind);
  CBEBlock::Save(stream);
}

bool CBEShiftBlock::Load(CStream* stream) {
  unsigned char type, storedCount, storedKind;
  if (!ReadByteChecked(stream, &type) || !IsIntegerDataType(type) || !ReadByteChecked(stream, &storedCount) ||
      storedCount < kMinShiftCount || storedCount > kMaxShiftCount || !ReadByteChecked(stream, &storedKind) ||
      storedKind > kLastShiftKind || !BaseRecordCanFollow(stream, inputCount, outputCount))
    return false;
  BeSignalType wasType = GetType();
  unsigned char wasCount = count, wasKind = kind;
  SetPinTypes(this, type);
  count = storedCount;
  kind = storedKind;
  if (CBEBlock::Load(stream)) {
    UpdateCosts();
    return true;
  }
  SetPinTypes(this, wasType);
  count = wasCount;
  kind = wasKind;
  return false;
}

void CBEShiftBlock::Draw(HDC dc) {
  wchar_t text[kCaptionChars];
  FormatShiftCaption(right_, count, text, kCaptionChars);
  DrawBody(dc);
  DrawCaptionCentered(dc, text);
}

bool CBEShiftBlock::ShowProperties() { return ShowBlockDialog(this, classId_); }
