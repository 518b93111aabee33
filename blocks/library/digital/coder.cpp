#include "blocks/library/digital/coder.h"

#include <cwchar>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/digital/digital_drawing.h"
#include "blocks/library/pin_levels.h"
#include "blocks/library/typed_block.h"
#include "foundation/stream.h"

namespace {
const int kDefaultInputs = 2;
const int kNameChars = 4;          // "127"
const int kDescriptionChars = 10;  // "Вход 127"

// The names and descriptions of the coder's inputs: constant texts shared
// by every coder, made on first use.
struct CoderPinTexts {
  wchar_t names[kCoderMaxInputs][kNameChars];
  wchar_t descriptions[kCoderMaxInputs][kDescriptionChars];
};

const CoderPinTexts& PinTexts() {
  static CoderPinTexts texts;
  static bool made = false;
  if (!made) {
    for (int j = 0; j < kCoderMaxInputs; ++j) {
      _snwprintf(texts.names[j], kNameChars, L"%d", j + 1);
      texts.names[j][kNameChars - 1] = 0;
      _snwprintf(texts.descriptions[j], kDescriptionChars, L"Вход %d", j + 1);
      texts.descriptions[j][kDescriptionChars - 1] = 0;
    }
    made = true;
  }
  return texts;
}
}  // namespace

CBECoder::CBECoder() {
  rect = RECT{0, 0, 50, kCoderInputPitch * kDefaultInputs};
  fillColor = kDigitalFill;
  SetInputCount(kDefaultInputs);
  if (outputCount == 1) {
    outputs[0]->type = kBeSignalChar;
    outputs[0]->description = L"Выходной код";
  }
}

CBECoder::~CBECoder() { SetInputCount(0); }

CBEBlock* CBECoder::Create() { return KeepIfPinsMade(new (std::nothrow) CBECoder, kDefaultInputs, 1); }

bool CBECoder::SetInputCount(int n) {
  if (n < 0 || n > kCoderMaxInputs) return false;
  RECT was = rect;
  rect.bottom = rect.top + kCoderInputPitch * n;
  if (!CBEBlock::SetInputCount(n)) {
    rect = was;
    return false;
  }
  if (!SetOutputCount(1)) {
    // Only a block without its output gets here; it keeps the new inputs.
    return false;
  }
  const CoderPinTexts& texts = PinTexts();
  for (int j = 0; j < inputCount; ++j) {
    inputs[j]->name = texts.names[j];
    inputs[j]->description = texts.descriptions[j];
  }
  cycles = 3 * n;
  rom = 4 * n;
  return true;
}

void CBECoder::Start() { WriteInt32Value(outputs[0]->value, 0); }

void CBECoder::Step(float) {
  uint32_t code = 0;
  for (int i = 0; i < inputCount; ++i) {
    const unsigned char* v = SourceValue(inputs[i]);
    if (v && AnyOfFirstFourBytes(v)) {
      code = static_cast<uint32_t>(i + 1);
      break;
    }
  }
  WriteInt32Value(outputs[0]->value, code);
}

void CBECoder::Save(CStream* stream) {
  stream->WriteByte(inputCount);
  CBEBlock::Save(stream);
}

bool CBECoder::Load(CStream* stream) {
  unsigned char n;
  if (!ReadByteChecked(stream, &n) || n < kCoderMinInputs || n > kCoderMaxInputs ||
      !BaseRecordFollows(stream, n, outputCount))
    return false;
  int wasCount = inputCount;
  RECT wasRect = rect;
  if (!SetInputCount(n)) return false;
  if (CBEBlock::Load(stream)) return true;
  rect = wasRect;
  SetInputCount(wasCount);
  return false;
}

void CBECoder::Draw(HDC dc) {
  DrawBody(dc);
  DrawDigitalLetter(dc, rect, L"Ш");
}

bool CBECoder::ShowProperties() { return ShowBlockDialog(this, kBeCoderClassId); }
