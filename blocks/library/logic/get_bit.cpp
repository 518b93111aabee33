#include "blocks/library/logic/get_bit.h"

#include <cstdint>
#include <cstdio>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/logic/logic_colors.h"
#include "blocks/library/logic/mask_cell.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "foundation/stream.h"

namespace {
const int kCycles = 6;
const int kRom = 4;
const unsigned char kLastBitNumber = 31;
const int kCaptionChars = 24;
}  // namespace

CBEGetBit::CBEGetBit() {
  rect = RECT{0, 0, 100, 20};
  fillColor = kLogicFill;
  SetInputCount(1);
  SetOutputCount(1);
  if (inputCount == 1) inputs[0]->type = kBeSignalChar;
  if (outputCount == 1) outputs[0]->type = kBeSignalBit;
  cycles = kCycles;
  rom = kRom;
}

CBEBlock* CBEGetBit::Create() { return KeepIfPinsMade(new (std::nothrow) CBEGetBit, 1, 1); }

BeSignalType CBEGetBit::GetType() const { return inputCount > 0 ? inputs[0]->type : kBeSignalChar; }

void CBEGetBit::Step(float) {
  if (inputCount < 1 || outputCount < 1) return;
  const BeOutputPin* source = inputs[0]->source;
  if (!source) return;
  uint32_t bits = static_cast<uint32_t>(ReadIntegerValue(source->value, kBeSignalInt));
  outputs[0]->value[0] = static_cast<unsigned char>((bits >> (bitNumber % 32)) & 1u);
}

void CBEGetBit::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  stream->WriteByte(bitNumber);
  CBEBlock::Save(stream);
}

bool CBEGetBit::Load(CStream* stream) {
  unsigned char type, number;
  if (!ReadByteChecked(stream, &type) || !IsIntegerDataType(type) || !ReadByteChecked(stream, &number) ||
      number > kLastBitNumber || !BaseRecordCanFollow(stream, inputCount, outputCount))
    return false;
  BeSignalType wasType = GetType();
  unsigned char wasNumber = bitNumber;
  inputs[0]->type = type;
  bitNumber = number;
  if (CBEBlock::Load(stream)) return true;
  inputs[0]->type = wasType;
  bitNumber = wasNumber;
  return false;
}

void CBEGetBit::Draw(HDC dc) {
  wchar_t text[kCaptionChars];
  _snwprintf(text, kCaptionChars - 1, L"GetBit %d", static_cast<int>(bitNumber));
  text[kCaptionChars - 1] = 0;
  DrawBody(dc);
  DrawCaptionCentered(dc, text);
}

bool CBEGetBit::ShowProperties() { return ShowBlockDialog(this, kBeGetBitClassId); }
