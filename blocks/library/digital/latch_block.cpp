#include "blocks/library/digital/latch_block.h"

#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/base_record.h"
#include "blocks/library/digital/digital_drawing.h"
#include "foundation/stream.h"

namespace {
// bit, char, short, int, float, double.
const int kCycles[6] = {8, 8, 9, 11, 11, 15};
const int kRom[6] = {22, 22, 24, 28, 28, 36};
}  // namespace

CBELatchBlock::CBELatchBlock(const wchar_t* gateName, const wchar_t* gateDescription) {
  rect = RECT{0, 0, 50, 40};
  fillColor = kDigitalFill;
  SetInputCount(2);
  SetOutputCount(1);
  if (inputCount == 2 && outputCount == 1) {
    inputs[0]->name = L"D";
    inputs[0]->description = L"Данные";
    inputs[1]->name = gateName;
    inputs[1]->description = gateDescription;
    outputs[0]->name = L"Q";
    outputs[0]->description = L"Выходные данные";
  }
}

bool CBELatchBlock::IsLatchType(int code) { return code >= kBeSignalBit && code <= kBeSignalDouble; }

BeSignalType CBELatchBlock::GetType() const { return outputs[0]->type; }

void CBELatchBlock::UpdateCosts() {
  BeSignalType type = GetType();
  if (!IsLatchType(type)) return;
  cycles = kCycles[type - kBeSignalBit];
  rom = kRom[type - kBeSignalBit];
}

bool CBELatchBlock::SetDataType(BeSignalType type) {
  if (!IsLatchType(type)) return false;
  outputs[0]->Disconnect();
  outputs[0]->type = type;
  inputs[0]->source = nullptr;
  inputs[0]->type = type;
  UpdateCosts();
  return true;
}

void CBELatchBlock::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  CBEBlock::Save(stream);
}

bool CBELatchBlock::Load(CStream* stream) {
  unsigned char code;
  if (!ReadByteChecked(stream, &code) || !IsLatchType(code)) return false;
  if (!BaseRecordFollows(stream, inputCount, outputCount)) return false;
  BeSignalType wasOutput = outputs[0]->type, wasData = inputs[0]->type;
  int wasCycles = cycles, wasRom = rom;
  outputs[0]->type = code;
  inputs[0]->type = code;
  UpdateCosts();
  if (CBEBlock::Load(stream)) return true;
  outputs[0]->type = wasOutput;
  inputs[0]->type = wasData;
  cycles = wasCycles;
  rom = wasRom;
  return false;
}
