#include "blocks/library/generators/single_impuls.h"

#include <cwchar>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/block_text.h"
#include "blocks/library/generators/generator_time.h"
#include "blocks/library/typed_block.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"

namespace {
const int kTextChars = 40;
const int kTextX = 5;
const int kTextY = 18;
// The pulse, relative to the top-left corner.
const POINT kPulse[6] = {{15, 15}, {23, 15}, {23, 5}, {25, 5}, {25, 15}, {70, 15}};
}  // namespace

CBESingleImpuls::CBESingleImpuls() {
  rect = RECT{0, 0, 80, 30};
  SetOutputCount(1);
  cycles = 7;
  rom = 20;
}

CBEBlock* CBESingleImpuls::Create() {
  CBESingleImpuls* block = new (std::nothrow) CBESingleImpuls;
  if (block && block->outputCount != 1) {
    delete block;
    return nullptr;
  }
  return block;
}

void CBESingleImpuls::Start() {
  remaining = initialDelay;
  finished = 0;
}

void CBESingleImpuls::Step(float dt) {
  unsigned char* out = outputs[0]->value;
  if (finished) {
    out[0] = 0;
    return;
  }
  remaining = SubtractMilliseconds(remaining, StepMilliseconds(dt));
  if (remaining < 0) {
    remaining = AddMilliseconds(remaining, period);
    out[0] = 1;
    if (period < 0) finished = 1;
  } else {
    out[0] = 0;
  }
}

void CBESingleImpuls::Save(CStream* stream) {
  CBEBlock::Save(stream);
  stream->Write(&period, 4);
  stream->Write(&initialDelay, 4);
}

bool CBESingleImpuls::Load(CStream* stream) {
  int base = stream->GetPosition();
  if (!SkipBaseRecord(stream, inputCount, outputCount)) return false;
  float p, delay;
  if (!ReadFloatChecked(stream, &p) || !ReadFloatChecked(stream, &delay)) return false;
  if (!LoadBaseRecordAt(this, stream, base)) return false;
  period = p;
  initialDelay = delay;
  return true;
}

void CBESingleImpuls::SetTiming(float newPeriod, float newInitialDelay) {
  if (newPeriod < 0) {
    period = -1.0f;
  } else {
    period = RaisePeriodToPassFloor(newPeriod, scheme ? scheme->frequency : kBeDefaultProcessorFrequency);
  }
  initialDelay = newInitialDelay;
}

void CBESingleImpuls::Draw(HDC dc) {
  DrawBody(dc);
  POINT pulse[6];
  for (int i = 0; i < 6; ++i) pulse[i] = POINT{rect.left + kPulse[i].x, rect.top + kPulse[i].y};
  {
    CKestOwnedPen pen(CreatePen(PS_SOLID, 1, kGeneratorWaveColor));
    CKestDcSelection selection(dc);
    selection.Select(pen.Get());
    Polyline(dc, pulse, 6);
  }
  wchar_t text[kTextChars];
  if (period < 0) {
    wcscpy(text, L"одиноч. имп.");
  } else {
    _snwprintf(text, kTextChars - 1, L"%0.1f мс", static_cast<double>(period));
    text[kTextChars - 1] = 0;
  }
  DrawBlockText(dc, rect.left + kTextX, rect.top + kTextY, text);
}

bool CBESingleImpuls::ShowProperties() { return ShowBlockDialog(this, kBeSingleImpulsClassId); }
