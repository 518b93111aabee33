#include "blocks/library/digital/puls_counter.h"

#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/digital/counter_type.h"
#include "blocks/library/digital/digital_drawing.h"
#include "blocks/library/pin_levels.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "foundation/stream.h"

namespace {
const int kLoadedCycles = 600;

// The quadrature step from state p to s: +1, -1 or 0.
int QuadratureStep(int32_t p, int32_t s) {
  static const int kForward[4] = {1, 3, 0, 2};   // s giving +1 after p = 0, 1, 2, 3
  static const int kBackward[4] = {2, 0, 3, 1};  // s giving -1
  if (p < 0 || p > 3) return 0;
  if (s == kForward[p]) return 1;
  if (s == kBackward[p]) return -1;
  return 0;
}

// v held to the maximum step, keeping its sign, as an unsigned delta.
uint32_t ClampedStep(int32_t v, int32_t maximum) {
  int64_t magnitude = v < 0 ? -static_cast<int64_t>(v) : v;
  if (magnitude < maximum) return static_cast<uint32_t>(v);
  uint32_t m = static_cast<uint32_t>(maximum);
  return v < 0 ? 0u - m : m;
}
}  // namespace

CBEPulsCounter::CBEPulsCounter() {
  rect = RECT{0, 0, 50, 50};
  fillColor = kDigitalFill;
  SetInputCount(3);
  SetOutputCount(1);
  if (inputCount == 3 && outputCount == 1) {
    inputs[0]->name = L"A";
    inputs[0]->description = L"Канал A инкрементного датчика";
    inputs[1]->name = L"B";
    inputs[1]->description = L"Канал B инкрементного датчика";
    inputs[2]->name = L"R";
    inputs[2]->description = L"Сигнал сброса";
    outputs[0]->type = kBeSignalShort;
    outputs[0]->description = L"Выходная сумма";
  }
  cycles = 1000;
  rom = 60;
  maximumStep = MaximumStepFor(kBeDefaultProcessorFrequency);
}

CBEBlock* CBEPulsCounter::Create() { return KeepIfPinsMade(new (std::nothrow) CBEPulsCounter, 3, 1); }

int32_t CBEPulsCounter::MaximumStepFor(double frequency) {
  if (!(frequency > 0)) return 0;
  return TruncateToInt32(2.0 * frequency * 140.0 / 3000000.0);
}

BeSignalType CBEPulsCounter::GetType() const { return outputs[0]->type; }

void CBEPulsCounter::UpdateCosts() {
  cycles = kLoadedCycles;
  if (scheme) maximumStep = MaximumStepFor(scheme->frequency);
}

bool CBEPulsCounter::SetDataType(BeSignalType type) {
  if (!IsCounterType(type)) return false;
  ChangeOutputType(outputs[0], type);
  UpdateCosts();
  return true;
}

void CBEPulsCounter::Start() {
  WriteInt32Value(outputs[0]->value, 0);
  if (scheme) maximumStep = MaximumStepFor(scheme->frequency);
}

void CBEPulsCounter::Step(float) {
  const BeOutputPin* a = inputs[0]->source;
  const BeOutputPin* b = inputs[1]->source;
  if (!a || !b) return;
  unsigned char* out = outputs[0]->value;
  uint32_t count = static_cast<uint32_t>(ReadInt32Value(out));
  int32_t av = ReadInt32Value(a->value), bv = ReadInt32Value(b->value);
  uint32_t highA = static_cast<uint32_t>(av) & 1, highB = static_cast<uint32_t>(bv) & 1;
  switch (a->type) {
    case kBeSignalBit:
      if (b->type == kBeSignalBit) {
        int32_t s = a->value[0] | (b->value[0] << 1);
        count += static_cast<uint32_t>(QuadratureStep(previousState, s));
        previousState = s;
      } else {
        count = highA + highB;
      }
      break;
    case kBeSignalPulseA:
      if (b->type == kBeSignalPulseB && av == bv) {
        count += ClampedStep(av, maximumStep);
      } else {
        count = highA + highB;
      }
      break;
    case kBeSignalPulseB:
      if (b->type == kBeSignalPulseA && av == bv) {
        count -= ClampedStep(av, maximumStep);
      } else {
        count = (1 - highA) + (1 - highB);
      }
      break;
    default: break;
  }
  if (IsInputActive(inputs[2])) count = 0;
  WriteInt32Value(out, count);
}

void CBEPulsCounter::Save(CStream* stream) {
  CBEBlock::Save(stream);
  stream->WriteByte(reserved);
  stream->WriteByte(static_cast<unsigned char>(GetType()));
}

bool CBEPulsCounter::Load(CStream* stream) {
  int base = stream->GetPosition();
  unsigned char kept;
  BeSignalType type;
  if (!SkipBaseRecord(stream, inputCount, outputCount) || !ReadByteChecked(stream, &kept) ||
      !ReadCounterTypeByte(stream, &type) || !LoadBaseRecordAt(this, stream, base))
    return false;
  reserved = kept;
  outputs[0]->type = type;
  previousState = 0;
  UpdateCosts();
  return true;
}

void CBEPulsCounter::Draw(HDC dc) {
  DrawBody(dc);
  DrawCounterSigma(dc, rect);
}

bool CBEPulsCounter::ShowProperties() { return ShowBlockDialog(this, kBePulsCounterClassId); }
