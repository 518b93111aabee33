#include "blocks/library/mcu/software_pwm.h"

#include <cmath>
#include <cstring>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/base_record.h"
#include "blocks/library/mcu/pulse_clock.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"

namespace {
const int kRom = 84;
const double kFewestClocksPerStep = 100.0;
const double kCycleSeconds = 0.072;  // the routine's cycles a second of steps
}  // namespace

CBESoftwarePWM::CBESoftwarePWM() {
  rect = RECT{0, 0, 150, 40};
  fillColor = RGB(255, 255, 255);
  SetInputCount(1);
  SetOutputCount(1);
  inputs[0]->type = kBeSignalChar;
  inputs[0]->description = L"Уставка на ШИМ";
  outputs[0]->type = kBeSignalPwm;
  outputs[0]->description = L"ШИМ";
}

CBEBlock* CBESoftwarePWM::Create() { return new (std::nothrow) CBESoftwarePWM; }

void CBESoftwarePWM::UpdateCosts() {
  if (steps < 1) return;
  float fastest = RoundToFloat(kFewestClocksPerStep / ProcessorFrequency(this));
  float even = RoundToFloat(static_cast<double>(period) / steps);
  float t = std::isnan(fastest) || even > fastest ? even : fastest;
  if (!(t > 0) || !std::isfinite(t)) return;
  period = RoundToFloat(static_cast<double>(steps) * t);
  rom = kRom;
  double c = std::trunc(RoundToFloat(kCycleSeconds / t));
  cycles = c > 2147483647.0 ? 2147483647 : static_cast<int>(c);
}

void CBESoftwarePWM::AttachToScheme(BeScheme* newScheme) {
  CBEBlock::AttachToScheme(newScheme);
  UpdateCosts();
}

void CBESoftwarePWM::Step(float) {
  if (inputCount < 1 || outputCount < 1) return;
  const BeOutputPin* source = inputs[0]->source;
  if (!source) return;
  int s = static_cast<signed char>(source->value[0]);
  if (s < 0) s = 0;
  if (s > steps) s = steps;
  float duty = steps > 0 ? RoundToFloat(static_cast<double>(s) / steps) : 0.0f;
  BeOutputPin* out = outputs[0];
  out->type = kBeSignalPwm;
  memcpy(out->value, &period, 4);
  memcpy(out->value + 4, &duty, 4);
}

void CBESoftwarePWM::Save(CStream* stream) {
  CBEBlock::Save(stream);
  stream->Write(&period, 4);
  stream->WriteByte(static_cast<unsigned char>(steps));
}

bool CBESoftwarePWM::Load(CStream* stream) {
  int base = stream->GetPosition();
  if (!SkipBaseRecord(stream, inputCount, outputCount)) return false;
  float p;
  unsigned char n;
  if (!ReadFloatChecked(stream, &p) || !ReadByteChecked(stream, &n)) return false;
  if (!LoadBaseRecordAt(this, stream, base)) return false;
  int s = static_cast<signed char>(n);
  period = p;
  steps = static_cast<signed char>(s < kFewestPwmSteps ? kFewestPwmSteps : s > kMostPwmSteps ? kMostPwmSteps : s);
  UpdateCosts();
  return true;
}

bool CBESoftwarePWM::ShowProperties() { return ShowBlockDialog(this, kBeSoftwarePWMClassId); }
