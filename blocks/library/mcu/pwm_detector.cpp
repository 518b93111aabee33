#include "blocks/library/mcu/pwm_detector.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/mcu/pulse_clock.h"
#include "blocks/library/scalar_value.h"
#include "kestui/core/kest_host.h"

namespace {
const int kOutputHigh = 0;
const int kOutputPeriod = 1;
const double kClocksPerUnit = 256.0;

void WriteShort(BeOutputPin* output, uint16_t v) { WriteIntegerValue(output->value, kBeSignalShort, v); }
}  // namespace

CBEPWMDetector::CBEPWMDetector() {
  rect = RECT{0, 0, 90, 40};
  fillColor = RGB(255, 255, 255);
  SetInputCount(1);
  inputs[0]->type = kBeSignalBit;
  inputs[0]->description = L"Вход ШИМ";
  if (SetOutputCount(2)) {
    outputs[kOutputHigh]->type = kBeSignalShort;
    outputs[kOutputHigh]->name = L"t1";
    outputs[kOutputHigh]->description = L"Продолжительность единичного сигнала в усл.ед.";
    outputs[kOutputPeriod]->type = kBeSignalShort;
    outputs[kOutputPeriod]->name = L"T";
    outputs[kOutputPeriod]->description = L"Период ШИМ в усл.ед.";
  }
  cycles = 400;
  rom = 60;
}

CBEBlock* CBEPWMDetector::Create() {
  auto* block = new (std::nothrow) CBEPWMDetector;
  // A block whose pins could not be made is of no use.
  if (block && block->outputCount != 2) {
    delete block;
    return nullptr;
  }
  return block;
}

void CBEPWMDetector::Start() {
  highCount = 0;
  periodCount = 0;
  lowSeen = 0;
}

void CBEPWMDetector::Step(float dt) {
  if (inputCount < 1 || outputCount < 2) return;
  const BeOutputPin* source = inputs[0]->source;
  if (!source) return;
  double frequency = ProcessorFrequency(this);
  switch (source->type) {
    case kBeSignalPwm: {
      float period, duty;
      memcpy(&period, source->value, 4);
      memcpy(&duty, source->value + 4, 4);
      double units = frequency / kClocksPerUnit * period;
      WriteShort(outputs[kOutputHigh], Low16(duty * units));
      WriteShort(outputs[kOutputPeriod], Low16(units));
      break;
    }
    case kBeSignalBit: {
      uint16_t k = static_cast<uint16_t>(static_cast<uint64_t>(TruncateCount(dt * frequency / kClocksPerUnit)));
      if (source->value[0] != 0) {
        if (lowSeen) {
          WriteShort(outputs[kOutputHigh], highCount);
          WriteShort(outputs[kOutputPeriod], periodCount);
          highCount = 0;
          periodCount = 0;
        }
        highCount = static_cast<uint16_t>(highCount + k);
        lowSeen = 0;
      } else {
        lowSeen = 1;
      }
      periodCount = static_cast<uint16_t>(periodCount + k);
      break;
    }
    default: {
      int r1 = rand();
      int r2 = rand();
      int high = r1 / 2;
      WriteShort(outputs[kOutputHigh], static_cast<uint16_t>(high));
      WriteShort(outputs[kOutputPeriod], static_cast<uint16_t>(r2 / 2 + high));
      break;
    }
  }
}

bool CBEPWMDetector::ShowProperties() {
  GetKestHost()->ShowMessage(MB_OK, GetCaption(),
                             L"Измеряет ШИМ в у.е. 1 у.е. = 256/fпроц.\r\nГде: fпроц - частота процессора в Гц.");
  return false;
}
