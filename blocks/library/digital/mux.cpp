#include "blocks/library/digital/mux.h"

#include <cstring>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/block_text.h"
#include "blocks/library/digital/digital_drawing.h"
#include "blocks/library/digital/switch_selector.h"
#include "blocks/library/typed_block.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"

namespace {
const int kDefaultDataInputs = 2;
const wchar_t kInputDescription[] = L"Вход";
}  // namespace

CBEMUX::CBEMUX() {
  rect = RECT{0, 0, 50, kSwitchChannelPitch * (kDefaultDataInputs + 1)};
  SetInputCount(kDefaultDataInputs + 1);
  SetOutputCount(1);
  if (inputCount == kDefaultDataInputs + 1 && outputCount == 1) {
    inputs[0]->name = L"n";
    inputs[0]->type = kBeSignalAnyInteger;
    inputs[0]->description = L"Номер выхода, с которого следует снимать входной сигнал";
    for (int i = 1; i < inputCount; ++i) {
      inputs[i]->type = kBeSignalChar;
      inputs[i]->description = kInputDescription;
    }
    outputs[0]->type = kBeSignalChar;
    outputs[0]->description = L"Выход";
  }
  cycles = 12;
  rom = 24;
}

CBEBlock* CBEMUX::Create() {
  CBEMUX* block = new (std::nothrow) CBEMUX;
  if (block && (block->inputCount != kDefaultDataInputs + 1 || block->outputCount != 1)) {
    delete block;
    return nullptr;
  }
  return block;
}

BeSignalType CBEMUX::GetType() const { return outputs[0]->type; }

bool CBEMUX::Resize(int n) {
  RECT was = rect;
  int wasInputs = inputCount;
  rect.bottom = rect.top + kSwitchChannelPitch * n + kSwitchChannelPitch;
  if (!SetInputCount(n + 1)) {
    rect = was;
    return false;
  }
  SpreadOutputs();
  // New data inputs take the data type of the others.
  for (int i = wasInputs; i < inputCount; ++i) inputs[i]->type = GetType();
  for (int i = 1; i < inputCount; ++i) inputs[i]->description = kInputDescription;
  return true;
}

bool CBEMUX::ApplyProperties(int n, BeSignalType type) {
  if (n < kSwitchMinChannels || n > kSwitchMaxChannels || !IsSwitchDataType(type)) return false;
  if (!Resize(n)) return false;
  ChangeOutputType(outputs[0], type);
  for (int i = 1; i < inputCount; ++i) ChangeInputType(inputs[i], type);
  return true;
}

void CBEMUX::Step(float) {
  int k = SwitchSelector(inputs[0], DataInputCount());
  const BeOutputPin* data = inputs[1 + k]->source;
  BeOutputPin* out = outputs[0];
  if (data) {
    unsigned char value[8];
    memcpy(value, data->value, 8);
    out->type = data->type;
    memcpy(out->value, value, 8);
  } else {
    memset(out->value, 0, 8);
  }
}

void CBEMUX::Save(CStream* stream) {
  stream->WriteByte(DataInputCount());
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  CBEBlock::Save(stream);
}

bool CBEMUX::Load(CStream* stream) {
  unsigned char n, type;
  if (!ReadByteChecked(stream, &n) || n < kSwitchMinChannels || n > kSwitchMaxChannels ||
      !ReadByteChecked(stream, &type) || !IsSwitchDataType(type) ||
      !BaseRecordFollows(stream, n + 1, outputCount))
    return false;
  int wasCount = DataInputCount();
  BeSignalType wasType = GetType();
  BeSignalType wasDataType = inputs[1]->type;
  RECT wasRect = rect;
  if (!Resize(n)) return false;
  outputs[0]->type = type;
  for (int i = 1; i < inputCount; ++i) inputs[i]->type = type;
  if (CBEBlock::Load(stream)) return true;
  rect = wasRect;
  Resize(wasCount);
  rect = wasRect;
  outputs[0]->type = wasType;
  for (int i = 1; i < inputCount; ++i) inputs[i]->type = wasDataType;
  return false;
}

void CBEMUX::Draw(HDC dc) {
  DrawBody(dc);
  int yOut = rect.top + outputs[0]->yOffset;
  POINT arm[5] = {{rect.right, yOut},
                  {rect.right - 15, yOut},
                  {rect.right - 15, rect.top + 8},
                  {rect.right - 25, rect.top + 8},
                  {rect.right - 25, rect.bottom - 8}};
  Polyline(dc, arm, 5);
  int y0 = rect.top + inputs[1]->yOffset;
  MoveToEx(dc, rect.right - 20, y0, nullptr);
  LineTo(dc, rect.right - 30, y0);
  wchar_t number[kFoundationFormatIntChars];
  for (int i = 0; i < DataInputCount(); ++i) {
    int y = rect.top + inputs[1 + i]->yOffset;
    MoveToEx(dc, rect.right - 33, y, nullptr);
    LineTo(dc, rect.left, y);
    DrawBlockText(dc, rect.left + 2, y - 13, FormatInt(i, number));
  }
}

bool CBEMUX::ShowProperties() { return ShowBlockDialog(this, kBeMUXClassId); }
