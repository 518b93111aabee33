#include "blocks/library/generators/monostable.h"

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
}  // namespace

CBEMonostable::CBEMonostable() {
  rect = RECT{0, 0, 90, 35};
  fillColor = kPulseBlockFill;
  SetInputCount(1);
  SetOutputCount(1);
  if (inputCount == 1 && outputCount == 1) {
    inputs[0]->name = L"c";
    inputs[0]->description = L"Импульс, передний фронт которого запускает одновибратор";
    outputs[0]->description = L"1, если запущен, иначе 0";
  }
  cycles = 10;
  rom = 14;
}

CBEBlock* CBEMonostable::Create() { return KeepIfPinsMade(new (std::nothrow) CBEMonostable, 1, 1); }

void CBEMonostable::Start() {
  elapsed = -1.0f;
  previousLevel = 0;
  outputs[0]->value[0] = 0;
}

void CBEMonostable::Step(float dt) {
  unsigned char* out = outputs[0]->value;
  unsigned char level = IsInputActive(inputs[0]) ? 1 : 0;
  if (level && !previousLevel) {
    out[0] = 1;
    elapsed = 0;
  }
  previousLevel = level;
  if (elapsed >= 0) {
    elapsed = AddMilliseconds(elapsed, StepMilliseconds(dt));
    if (static_cast<double>(elapsed) > static_cast<double>(duration)) {
      elapsed = -1.0f;
      out[0] = 0;
    }
  }
}

void CBEMonostable::Save(CStream* stream) {
  CBEBlock::Save(stream);
  stream->WriteInt32(duration);
}

bool CBEMonostable::Load(CStream* stream) {
  int base = stream->GetPosition();
  int value;
  if (!SkipBaseRecord(stream, inputCount, outputCount) || !ReadInt32Checked(stream, &value) ||
      !LoadBaseRecordAt(this, stream, base))
    return false;
  duration = value;
  return true;
}

void CBEMonostable::Draw(HDC dc) {
  wchar_t text[kTextChars];
  _snwprintf(text, kTextChars - 1, L"ЖМ\n%dмс", static_cast<int>(duration));
  text[kTextChars - 1] = 0;
  DrawBody(dc);
  DrawCaptionCentered(dc, text);
}

bool CBEMonostable::ShowProperties() { return ShowBlockDialog(this, kBeMonostableClassId); }
