#include "blocks/library/drivers/distance_control.h"

#include <new>

#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/base_record.h"
#include "blocks/library/scalar_value.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"
#include "kestui/core/kest_host.h"

namespace {
const BeSignalType kSignalRangeCommand = 32;
const BeSignalType kSignalRangeAnswer = 33;
const int kOutputCommand = 0;
const int kOutputDistance = 1;
const int kOutputTemperature = 2;
// Timer edges in seconds, compared in the timer's single precision.
const float kMeasureTime = 0.04f;
const float kDistanceTimeout = 0.05f;
const float kHoldTime = 0.008f;
const float kTemperatureTimeout = 0.02f;
const wchar_t kCaption[] = L"Драйвер управления дальномером";

// timer + dt, in the timer's precision.
float Advance(float timer, float dt) { return RoundToFloat(static_cast<double>(timer) + dt); }
}  // namespace

CBEDistanceControl::CBEDistanceControl() {
  rect = RECT{0, 0, 100, 100};
  SetCaption(kCaption);
  SetInputCount(1);
  inputs[0]->type = kSignalRangeAnswer;
  inputs[0]->name = L"in";
  inputs[0]->description = L"Вход с UART";
  if (UpdateOutputs()) {
    outputs[kOutputCommand]->type = kSignalRangeCommand;
    outputs[kOutputCommand]->name = L"out";
    outputs[kOutputCommand]->description = L"Выход на UART";
    outputs[kOutputDistance]->type = kBeSignalShort;
    outputs[kOutputDistance]->name = L"dist";
    outputs[kOutputDistance]->description = L"Расстояние в сантиметрах, если =0xFFFF - вне диапазона";
  }
  cycles = 20;
  rom = 50;
}

CBEBlock* CBEDistanceControl::Create() {
  auto* block = new (std::nothrow) CBEDistanceControl;
  // A block whose pins could not be made is of no use.
  if (block && block->outputCount < 2) {
    delete block;
    return nullptr;
  }
  return block;
}

bool CBEDistanceControl::UpdateOutputs() {
  int wanted = temperatureOption ? 3 : 2;
  if (!SetOutputCount(wanted)) return false;
  if (temperatureOption) {
    BeOutputPin* t = outputs[kOutputTemperature];
    t->type = kBeSignalShort;
    t->name = L"t";
    t->description = L"Темпиратура в 0.1°С, 0x7FFF - не определено";
  }
  return true;
}

void CBEDistanceControl::Start() {
  state = kRangeIdle;
  timer = 0;
  lastAnswer = 0;
  if (outputCount > kOutputCommand) outputs[kOutputCommand]->value[0] = 0;
}

void CBEDistanceControl::Send(unsigned char command, const unsigned char* answer) {
  outputs[kOutputCommand]->value[0] = command;
  // What stands on "in" now answered an earlier request, or none.
  lastAnswer = answer[0];
  timer = 0;
}

bool CBEDistanceControl::TakeAnswer(const unsigned char* answer, unsigned char kind, int out) {
  if (answer[0] == lastAnswer) return false;
  lastAnswer = answer[0];
  if (answer[1] != kind) return false;
  if (out < outputCount) WriteIntegerValue(outputs[out]->value, kBeSignalShort, answer[2] | (answer[3] << 8));
  return true;
}

void CBEDistanceControl::Step(float dt) {
  if (inputCount < 1 || outputCount < 2) return;
  const BeOutputPin* source = inputs[0]->source;
  if (!source) return;
  const unsigned char* answer = source->value;
  switch (state) {
    case kRangeIdle:
      Send(kRangeCommandMeasure, answer);
      state = kRangeMeasuring;
      break;
    case kRangeMeasuring:
      timer = Advance(timer, dt);
      if (timer > kMeasureTime) {
        Send(kRangeCommandDistance, answer);
        state = kRangeAwaitDistance;
      }
      break;
    case kRangeAwaitDistance:
      if (TakeAnswer(answer, kRangeAnswerDistance, kOutputDistance)) {
        state = kRangeHoldDistance;
        timer = 0;
        break;
      }
      timer = Advance(timer, dt);
      if (timer > kDistanceTimeout) state = kRangeIdle;
      break;
    case kRangeHoldDistance:
      timer = Advance(timer, dt);
      if (timer > kHoldTime) state = temperatureOption ? kRangeAskTemperature : kRangeIdle;
      break;
    case kRangeAskTemperature:
      Send(kRangeCommandTemperature, answer);
      state = kRangeAwaitTemperature;
      break;
    case kRangeAwaitTemperature:
      if (TakeAnswer(answer, kRangeAnswerTemperature, kOutputTemperature)) {
        state = kRangeHoldTemperature;
        timer = 0;
        break;
      }
      timer = Advance(timer, dt);
      if (timer > kTemperatureTimeout) state = kRangeIdle;
      break;
    case kRangeHoldTemperature:
      timer = Advance(timer, dt);
      if (timer > kHoldTime) state = kRangeIdle;
      break;
    default:
      // A state no cycle has: start over.
      state = kRangeIdle;
      break;
  }
}

void CBEDistanceControl::Save(CStream* stream) {
  stream->WriteByte(temperatureOption);
  CBEBlock::Save(stream);
}

bool CBEDistanceControl::Load(CStream* stream) {
  unsigned char option;
  if (!ReadByteChecked(stream, &option) || option > 1 || !BaseRecordFollows(stream, inputCount, option ? 3 : 2))
    return false;
  unsigned char was = temperatureOption;
  temperatureOption = option;
  if (!UpdateOutputs() || !LoadBaseRecord(this, stream)) {
    temperatureOption = was;
    UpdateOutputs();
    return false;
  }
  return true;
}

bool CBEDistanceControl::ShowProperties() {
  UINT flags = MB_YESNO | (temperatureOption ? MB_DEFBUTTON1 : MB_DEFBUTTON2);
  int answer = GetKestHost()->ShowMessage(flags, GetCaption(), L"Запрашивать температуру?");
  unsigned char chosen;
  if (answer == IDYES) {
    chosen = 1;
  } else if (answer == IDNO) {
    chosen = 0;
  } else {
    return false;
  }
  if (chosen == temperatureOption) return false;
  unsigned char was = temperatureOption;
  temperatureOption = chosen;
  if (UpdateOutputs()) return true;
  temperatureOption = was;
  return false;
}
