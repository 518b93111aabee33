#include "blocks/library/generators/duration.h"

#include <cwchar>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/generators/generator_time.h"
#include "blocks/library/pin_levels.h"
#include "blocks/library/typed_block.h"
#include "foundation/stream.h"

namespace {
const int kTextChars = 40;
const int kTextDrop = 5;
}  // namespace

CBEDuration::CBEDuration() {
  rect = RECT{0, 0, 90, 35};
  fillColor = kPulseBlockFill;
  SetInputCount(1);
  SetOutputCount(1);
  if (inputCount == 1 && outputCount == 1) {
    inputs[0]->description = L"Продлеваемый импульс";
    outputs[0]->description = L"Продленный импульс";
  }
  cycles = 10;
  rom = 14;
}

CBEBlock* CBEDuration::Create() { return KeepIfPinsMade(new (std::nothrow) CBEDuration, 1, 1); }

void CBEDuration::Start() {
  elapsed = -1.0f;
  outputs[0]->value[0] = 0;
}

void CBEDuration::Step(float dt) {
  unsigned char* out = outputs[0]->value;
  if (IsInputActive(inputs[0])) {
    out[0] = 1;
    elapsed = 0;
  }
  if (elapsed >= 0) {
    elapsed = AddMilliseconds(elapsed, StepMilliseconds(dt));
    if (static_cast<double>(elapsed) > static_cast<double>(extension)) {
      elapsed = -1.0f;
      out[0] = 0;
    }
  }
}

void CBEDuration::Save(CStream* stream) {
  CBEBlock::Save(stream);
  stream->WriteInt32(extension);
}

bool CBEDuration::Load(CStream* stream) {
  int base = stream->GetPosition();
  int value;
  if (!SkipBaseRecord(stream, inputCount, outputCount) || !ReadInt32Checked(stream, &value) ||
      !LoadBaseRecordAt(this, stream, base))
    return false;
  extension = value;
  return true;
}

void CBEDuration::Draw(HDC dc) {
  wchar_t text[kTextChars];
  _snwprintf(text, kTextChars - 1, L"Продлеватель\n%dмс", static_cast<int>(extension));
  text[kTextChars - 1] = 0;
  DrawBody(dc);
  RECT area = rect;
  area.top += kTextDrop;
  COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
  int oldMode = SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, text, -1, &area, DT_CENTER | DT_NOPREFIX);
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
}

bool CBEDuration::ShowProperties() { return ShowBlockDialog(this, kBeDurationClassId); }
