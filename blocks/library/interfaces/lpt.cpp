#include "blocks/library/interfaces/lpt.h"

#include <new>

#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/device_owner.h"
#include "blocks/library/interfaces/gpio.h"
#include "blocks/library/base_record.h"
#include "blocks/library/record_scan.h"
#include "blocks/library/typed_block.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"
#include "scheme/model/block.h"
#include "scheme/simulation/pin_model.h"

namespace {
const float kHighVolts = 5.0f;
const float kHighOhms = 500.0f;
const float kLowOhms = 20.0f;
const double kReceiverOhms = 500.0;
const float kThresholdVolts = 2.5f;
// Outputs from this one on are status lines, pulled up by the port.
const int kFirstStatusOutput = 4;

struct LptPin {
  const wchar_t* name;
  const wchar_t* description;
};

const LptPin kInputPins[kLptInputs] = {
    {L"D0", L"Бит 0 данных (пин 2)"},
    {L"D1", L"Бит 1 данных (пин 3)"},
    {L"D2", L"Бит 2 данных (пин 4)"},
    {L"D3", L"Бит 3 данных (пин 5)"},
    {L"D4", L"Бит 4 данных (пин 6)"},
    {L"D5", L"Бит 5 данных (пин 7)"},
    {L"D6", L"Бит 6 данных (пин 8)"},
    {L"D7", L"Бит 7 данных (пин 9)"},
    {L"/STROBE", L"Инверсный строб (пин 1)"},
    {L"/AutoLF", L"Инверсный AutoLF (пин 14)"},
    {L"Init", L"Сигнал Initiate printer (пин 16)"},
    {L"/SelectPrn", L"Инверсный сигнал Select printer (пин 17)"},
};

const LptPin kOutputPins[kLptOutputs] = {
    {L"/STROBE", L"Инверсный строб (пин 1)"},
    {L"/AutoLF", L"Инверсный AutoLF (пин 14)"},
    {L"Init", L"Сигнал Initiate printer (пин 16)"},
    {L"/SelectPrn", L"Инверсный сигнал Select printer (пин 17)"},
    {L"Error", L"Сигнал Error (пин 15)"},
    {L"Select", L"Сигнал Select status (пин 13)"},
    {L"PaperEnd", L"Сигнал PaperEnd (пин 12)"},
    {L"/Busy", L"Инверсный сигнал Busy (пин 11)"},
    {L"Ack", L"Сигнал Ack (пин 10)"},
};
}  // namespace

const int kLptInputConnectorPin[kLptInputs] = {2, 3, 4, 5, 6, 7, 8, 9, 1, 14, 16, 17};
const int kLptOutputConnectorPin[kLptOutputs] = {1, 14, 16, 17, 15, 13, 12, 11, 10};

CBELPT::CBELPT() {
  flags |= kBeBlockDevice;
  fillColor = kHardwareFill;
  rect = RECT{0, 0, 150, 250};
  SetInputCount(kLptInputs);
  SetOutputCount(kLptOutputs);
  for (int i = 0; i < inputCount; ++i) {
    inputs[i]->name = kInputPins[i].name;
    inputs[i]->description = kInputPins[i].description;
  }
  for (int i = 0; i < outputCount; ++i) {
    outputs[i]->name = kOutputPins[i].name;
    outputs[i]->description = kOutputPins[i].description;
  }
}

CBEBlock* CBELPT::Create() { return KeepIfPinsMade(new (std::nothrow) CBELPT, kLptInputs, kLptOutputs); }

void CBELPT::Step(float) {
  CSCHBlock* owner = GetOwnerComponent(this);
  float Ug, Rg;
  GetOwnerGround(this, &Ug, &Rg);
  for (int i = 0; i < inputCount && i < kLptInputs; ++i) {
    const BeOutputPin* source = inputs[i]->source;
    bool high = !source || source->value[0] != 0;
    int pin = firstPin + kLptInputConnectorPin[i] - 1;
    if (!owner) continue;
    if (high) owner->SetPinSource(pin, Ug + kHighVolts, Rg + kHighOhms);
    else owner->SetPinSource(pin, Ug, Rg + kLowOhms);
  }
  for (int r = 0; r < outputCount && r < kLptOutputs; ++r) {
    int pin = firstPin + kLptOutputConnectorPin[r] - 1;
    float U = 0, R = kSchOpenResistance;
    if (owner) {
      if (r >= kFirstStatusOutput) owner->SetPinSource(pin, Ug + kHighVolts, Rg + kHighOhms);
      owner->GetPinInput(pin, &U, &R);
    }
    float v = RoundToFloat((static_cast<double>(U) - Ug) * kReceiverOhms /
                           (static_cast<double>(Rg) + kReceiverOhms + R));
    outputs[r]->value[0] = v > kThresholdVolts ? 1 : 0;
  }
}

void CBELPT::Save(CStream* stream) {
  stream->WriteInt16(firstPin & 0xFFFF);
  stream->WriteByte(0);
  CBEBlock::Save(stream);
}

bool CBELPT::Load(CStream* stream) {
  unsigned char low, high, zero;
  if (!ReadByteChecked(stream, &low) || !ReadByteChecked(stream, &high) || !ReadByteChecked(stream, &zero) ||
      !BaseRecordFollows(stream, inputCount, outputCount))
    return false;
  firstPin = low | (high << 8);
  return CBEBlock::Load(stream);
}
