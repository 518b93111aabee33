#include "blocks/library/digital/demux.h"

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
const int kDataInput = 1;
const wchar_t kOutputDescription[] = L"Выход";
}  // namespace

CBEDEMUX::CBEDEMUX() {
  rect = RECT{0, 0, 50, 2 * kSwitchChannelPitch};
  SetInputCount(2);
  SetOutputCount(2);
  if (inputCount == 2 && outputCount == 2) {
    inputs[0]->name = L"n";
    inputs[0]->type = kBeSignalAnyInteger;
    inputs[0]->description = L"Номер выхода, на который следует передавать входной сигнал";
    inputs[kDataInput]->type = kBeSignalChar;
    inputs[kDataInput]->description = L"Вход";
    for (int i = 0; i < outputCount; ++i) {
      outputs[i]->type = kBeSignalChar;
      outputs[i]->description = kOutputDescription;
    }
  }
  cycles = 12;
  rom = 24;
}

CBEBlock* CBEDEMUX::Create() { return KeepIfPinsMade(new (std::nothrow) CBEDEMUX, 2, 2); }

BeSignalType CBEDEMUX::GetType() const { return inputs[kDataInput]->type; }

bool CBEDEMUX::Resize(int m) {
  RECT was = rect;
  rect.bottom = rect.top + kSwitchChannelPitch * m;
  if (!SetOutputCount(m)) {
    rect = was;
    return false;
  }
  SpreadInputs();
  for (int i = 0; i < outputCount; ++i) outputs[i]->description = kOutputDescription;
  return true;
}

bool CBEDEMUX::ApplyProperties(int m, BeSignalType type) {
  if (m < kSwitchMinChannels || m > kSwitchMaxChannels || !IsSwitchDataType(type)) return false;
  if (!Resize(m)) return false;
  ChangeInputType(inputs[kDataInput], type);
  for (int i = 0; i < outputCount; ++i) ChangeOutputType(outputs[i], type);
  return true;
}

void CBEDEMUX::Step(float) {
  const BeOutputPin* data = inputs[kDataInput]->source;
  if (!data) return;
  int k = SwitchSelector(inputs[0], outputCount);
  // The data may come from one of these outputs: read it first.
  unsigned char value[8];
  memcpy(value, data->value, 8);
  BeSignalType type = data->type;
  for (int i = 0; i < outputCount; ++i) {
    if (i == k) {
      outputs[i]->type = type;
      memcpy(outputs[i]->value, value, 8);
    } else {
      memset(outputs[i]->value, 0, 8);
    }
  }
}

void CBEDEMUX::Save(CStream* stream) {
  stream->WriteByte(outputCount);
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  CBEBlock::Save(stream);
}

bool CBEDEMUX::Load(CStream* stream) {
  unsigned char m, type;
  if (!ReadByteChecked(stream, &m) || m < kSwitchMinChannels || m > kSwitchMaxChannels ||
      !ReadByteChecked(stream, &type) || !IsSwitchDataType(type) || !BaseRecordFollows(stream, inputCount, m))
    return false;
  int wasCount = outputCount;
  BeSignalType wasType = GetType();
  BeSignalType wasOutputType = outputs[0]->type;
  RECT wasRect = rect;
  if (!Resize(m)) return false;
  inputs[kDataInput]->type = type;
  for (int i = 0; i < outputCount; ++i) outputs[i]->type = type;
  if (CBEBlock::Load(stream)) return true;
  rect = wasRect;
  Resize(wasCount);
  rect = wasRect;
  inputs[kDataInput]->type = wasType;
  for (int i = 0; i < outputCount; ++i) outputs[i]->type = wasOutputType;
  return false;
}

void CBEDEMUX::Draw(HDC dc) {
  DrawBody(dc);
  int yIn = rect.top + inputs[kDataInput]->yOffset;
  POINT arm[5] = {{rect.left, yIn},
                  {rect.left + 15, yIn},
                  {rect.left + 15, rect.top + 8},
                  {rect.left + 25, rect.top + 8},
                  {rect.left + 25, rect.bottom - 8}};
  Polyline(dc, arm, 5);
  int y0 = rect.top + outputs[0]->yOffset;
  MoveToEx(dc, rect.left + 20, y0, nullptr);
  LineTo(dc, rect.left + 30, y0);
  wchar_t number[kFoundationFormatIntChars];
  for (int i = 0; i < outputCount; ++i) {
    int y = rect.top + outputs[i]->yOffset;
    MoveToEx(dc, rect.left + 33, y, nullptr);
    LineTo(dc, rect.right, y);
    DrawBlockText(dc, rect.right - 20, y - 13, FormatInt(i, number));
  }
}

bool CBEDEMUX::ShowProperties() { return ShowBlockDialog(this, kBeDEMUXClassId); }
