#include "blocks/library/converters/joy_to_lr.h"

#include <new>

#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/base_record.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "foundation/numbers.h"

namespace {
const float kFullCommand = 127.0f;

float ReadAxis(const BeInputPin* input) {
  const BeOutputPin* source = input->source;
  if (!source) return 0;
  if (source->type == kBeSignalFloat) return ReadFloatValue(source->value);
  return RoundToFloat(ReadScalarValue(source->value, source->type));
}

float Clamp(float v) {
  if (v > 1) return 1;
  if (v < -1) return -1;
  return v;
}

unsigned char Command(float v) {
  int32_t c = TruncateToInt32(RoundToFloat(static_cast<double>(v) * kFullCommand));
  return static_cast<unsigned char>(static_cast<uint32_t>(c) & 0xFF);
}
}  // namespace

CBEJoyToLR::CBEJoyToLR() {
  rect = RECT{0, 0, 120, 40};
  fillColor = RGB(255, 255, 255);
  cycles = 650;
  rom = 80;
  sharedRoutine = 1;
  if (!SetInputCount(2) || !SetOutputCount(2)) return;
  inputs[0]->type = kBeSignalFloat;
  inputs[0]->name = L"x";
  inputs[0]->description = L"Ось X джойстика (от -1 до 1)";
  inputs[1]->type = kBeSignalFloat;
  inputs[1]->name = L"y";
  inputs[1]->description = L"Ось Y джойстика (от -1 до 1)";
  outputs[0]->type = kBeSignalChar;
  outputs[0]->name = L"L";
  outputs[0]->description = L"Сигнал на левый привод (от -127 до 127)";
  outputs[1]->type = kBeSignalChar;
  outputs[1]->name = L"R";
  outputs[1]->description = L"Сигнал на правый привод (от -127 до 127)";
}

CBEBlock* CBEJoyToLR::Create() { return KeepIfPinsMade(new (std::nothrow) CBEJoyToLR, 2, 2); }

void CBEJoyToLR::Step(float) {
  if (inputCount < 2 || outputCount < 2) return;
  const float x = ReadAxis(inputs[0]);
  const float y = ReadAxis(inputs[1]);
  const float l = Clamp(RoundToFloat(static_cast<double>(y) + x));
  const float r = Clamp(RoundToFloat(static_cast<double>(y) - x));
  outputs[0]->value[0] = Command(l);
  outputs[1]->value[0] = Command(r);
}

void CBEJoyToLR::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"Joy->Лев.Пр.");
}

bool CBEJoyToLR::Load(CStream* stream) {
  return BaseRecordFollows(stream, inputCount, outputCount) && LoadBaseRecord(this, stream);
}
