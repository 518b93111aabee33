#include "blocks/library/digital/counter.h"

#include <cstdint>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/digital/counter_type.h"
#include "blocks/library/digital/digital_drawing.h"
#include "blocks/library/pin_levels.h"
#include "blocks/library/typed_block.h"
#include "foundation/stream.h"

namespace {
// char, short, int.
const int kCycles[3] = {8, 9, 11};
const int kRom[3] = {20, 22, 24};

// What one counting input adds this pass (before its sign): the number a
// pulse-channel source reports, or 1 on a rising edge of any other source
// read as a level; previous is that input's byte of the pass before.
uint32_t CountOf(const BeInputPin* input, unsigned char* previous) {
  const BeOutputPin* source = input->source;
  if (!source) return 0;
  if (source->type == kBeSignalPulseA || source->type == kBeSignalPulseB)
    return static_cast<uint32_t>(ReadInt32Value(source->value));
  unsigned char level = source->value[0];
  uint32_t edge = level != 0 && *previous == 0 ? 1 : 0;
  *previous = level;
  return edge;
}
}  // namespace

CBECounter::CBECounter() {
  rect = RECT{0, 0, 50, 50};
  fillColor = kDigitalFill;
  SetInputCount(3);
  SetOutputCount(1);
  if (inputCount == 3 && outputCount == 1) {
    inputs[0]->name = L"+";
    inputs[0]->description = L"Импульс, увеличивающий сумму на 1";
    inputs[1]->name = L"-";
    inputs[1]->description = L"Импульс, уменьшающий сумму на 1";
    inputs[2]->name = L"R";
    inputs[2]->description = L"Сигнал сброса";
    outputs[0]->type = kBeSignalShort;
    outputs[0]->description = L"Выходная сумма";
  }
  cycles = 8;
  rom = 20;
}

CBEBlock* CBECounter::Create() { return KeepIfPinsMade(new (std::nothrow) CBECounter, 3, 1); }

BeSignalType CBECounter::GetType() const { return outputs[0]->type; }

void CBECounter::UpdateCosts() {
  BeSignalType type = GetType();
  if (!IsCounterType(type)) return;
  cycles = kCycles[type - kBeSignalChar];
  rom = kRom[type - kBeSignalChar];
}

void CBECounter::Start() {
  previousUp = 0;
  previousDown = 0;
  WriteInt32Value(outputs[0]->value, 0);
}

void CBECounter::Step(float) {
  unsigned char* out = outputs[0]->value;
  uint32_t count = static_cast<uint32_t>(ReadInt32Value(out));
  count += CountOf(inputs[0], &previousUp);
  count -= CountOf(inputs[1], &previousDown);
  if (IsInputActive(inputs[2])) count = 0;
  WriteInt32Value(out, count);
}

void CBECounter::Save(CStream* stream) {
  CBEBlock::Save(stream);
  stream->WriteByte(static_cast<unsigned char>(GetType()));
}

bool CBECounter::Load(CStream* stream) {
  int base = stream->GetPosition();
  BeSignalType type;
  if (!SkipBaseRecord(stream, inputCount, outputCount) || !ReadCounterTypeByte(stream, &type) ||
      !LoadBaseRecordAt(this, stream, base))
    return false;
  outputs[0]->type = type;
  UpdateCosts();
  return true;
}

void CBECounter::Draw(HDC dc) {
  DrawBody(dc);
  DrawCounterSigma(dc, rect);
}

bool CBECounter::ShowProperties() { return ShowBlockDialog(this, kBeCounterClassId); }
