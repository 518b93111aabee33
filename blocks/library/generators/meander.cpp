#include "blocks/library/generators/meander.h"

#include <cwchar>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/block_text.h"
#include "blocks/library/generators/generator_time.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"

namespace {
const float kPwmDuty = 0.5f;
const int kTextChars = 40;
// The wave: from x 15 to 70 in steps of 5, between the levels 15 and 5.
const int kWaveLeft = 15;
const int kWaveRight = 70;
const int kWaveStep = 5;
const int kLowLevel = 15;
const int kHighLevel = 5;
const int kTextX = 5;
const int kTextY = 18;
}  // namespace

CBEMeander::CBEMeander() {
  rect = RECT{0, 0, 80, 30};
  SetOutputCount(1);
  cycles = 7;
  rom = 20;
}

CBEBlock* CBEMeander::Create() {
  CBEMeander* block = new (std::nothrow) CBEMeander;
  if (block && block->outputCount != 1) {
    delete block;
    return nullptr;
  }
  return block;
}

void CBEMeander::Start() { phase = initialPhase; }

void CBEMeander::Step(float dt) {
  BeOutputPin* out = outputs[0];
  float ms = StepMilliseconds(dt);
  if (ms > period) {
    out->type = kBeSignalPwm;
    WriteFloatValue(out->value, RoundToFloat(static_cast<double>(period) / 1000.0));
    WriteFloatValue(out->value + 4, kPwmDuty);
    return;
  }
  out->type = kBeSignalBit;
  out->SetInt(phase <= period / 2 ? 1 : 0);
  phase = WrapPhase(AddMilliseconds(phase, ms), period);
}

void CBEMeander::Save(CStream* stream) {
  stream->Write(&period, 4);
  stream->Write(&initialPhase, 4);
  CBEBlock::Save(stream);
}

bool CBEMeander::Load(CStream* stream) {
  float p, start;
  if (!ReadFloatChecked(stream, &p) || !ReadFloatChecked(stream, &start) ||
      !BaseRecordCanFollow(stream, inputCount, outputCount))
    return false;
  float wasPeriod = period, wasInitial = initialPhase;
  period = p;
  initialPhase = start;
  if (CBEBlock::Load(stream)) return true;
  period = wasPeriod;
  initialPhase = wasInitial;
  return false;
}

void CBEMeander::SetTiming(float newPeriod, float newInitialPhase) {
  float frequency = scheme ? scheme->frequency : kBeDefaultProcessorFrequency;
  period = RaisePeriodToPassFloor(newPeriod, frequency);
  initialPhase = newInitialPhase;
}

void CBEMeander::Draw(HDC dc) {
  DrawBody(dc);
  POINT wave[2 * ((kWaveRight - kWaveLeft) / kWaveStep) + 2];
  int n = 0;
  int level = kLowLevel;
  wave[n++] = POINT{rect.left + kWaveLeft, rect.top + level};
  for (int x = kWaveLeft + kWaveStep; x <= kWaveRight; x += kWaveStep) {
    wave[n++] = POINT{rect.left + x, rect.top + level};
    if (x == kWaveRight) break;
    level = level == kLowLevel ? kHighLevel : kLowLevel;
    wave[n++] = POINT{rect.left + x, rect.top + level};
  }
  {
    CKestOwnedPen pen(CreatePen(PS_SOLID, 1, kGeneratorWaveColor));
    CKestDcSelection selection(dc);
    selection.Select(pen.Get());
    Polyline(dc, wave, n);
  }
  wchar_t text[kTextChars];
  if (period < 1.0f) {
    _snwprintf(text, kTextChars - 1, L"%0.1f мкс", static_cast<double>(period) * 1000.0);
  } else {
    _snwprintf(text, kTextChars - 1, L"%0.1f мс", static_cast<double>(period));
  }
  text[kTextChars - 1] = 0;
  DrawBlockText(dc, rect.left + kTextX, rect.top + kTextY, text);
}

bool CBEMeander::ShowProperties() { return ShowBlockDialog(this, kBeMeanderClassId); }
