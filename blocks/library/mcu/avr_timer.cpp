#include "blocks/library/mcu/avr_timer.h"

#include <cmath>
#include <cstring>
#include <cwchar>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/mcu/io_port.h"
#include "blocks/library/mcu/port_binding.h"
#include "blocks/library/mcu/pulse_clock.h"
#include "blocks/library/base_record.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"

const int BeTimerPrescalerTable[kBeTimerPrescalerCount] = {0, 1, 8, 32, 64, 128, 256, 1024};

namespace {
const COLORREF kFill = 0xCCCCCC;
const unsigned short kNarrowTop = 255;
const unsigned short kCharTop = 127;
const wchar_t* const kLetters[CBEAvrTimer::kMaxChannels] = {L"A", L"B", L"C"};
// The pin block goes to (x + 120, y - 6) of the output, its link's route
// x1 at x + 90.
const McuPinBinding kOcBinding = {120, -6, CBEIOPort::kModeAltOutput, 90, -1, -1, false};

int EnabledChannels(int count, const unsigned char* modes) {
  int n = 0;
  for (int m = 0; m < count; ++m)
    if (modes[m] != CBEAvrTimer::kCompareOff) ++n;
  return n;
}
}  // namespace

CBEAvrTimer::CBEAvrTimer() {
  flags |= kBeBlockDevice;
  rect = RECT{0, 0, 200, 60};
  fillColor = kFill;
}

CBEBlock* CBEAvrTimer::Create() { return new (std::nothrow) CBEAvrTimer; }

void CBEAvrTimer::PinName(int m, wchar_t* name, int size) const {
  if (channelCount > 1) swprintf(name, size, L"OC%d%ls", number, kLetters[m < 0 ? 0 : m % kMaxChannels]);
  else swprintf(name, size, L"OC%d", number);
}

BeOutputPin* CBEAvrTimer::ChannelOutput(int m) const {
  if (m < 0 || m >= channelCount || compareModes[m] == kCompareOff) return nullptr;
  return Output(EnabledChannels(m, compareModes));
}

bool CBEAvrTimer::BuildPins(bool bind) {
  if (!wide) top = kNarrowTop;
  wchar_t text[32];
  swprintf(text, 32, L"Timer/Counter%d", number);
  SetCaption(text);
  const int channels = channelCount > kMaxChannels ? kMaxChannels : channelCount;
  if (!SetInputCount(channels) || !SetOutputCount(EnabledChannels(channels, compareModes))) return false;
  const BeSignalType controlType = top <= kCharTop || !wide ? kBeSignalChar : kBeSignalShort;
  int out = 0;
  for (int m = 0; m < channels; ++m) {
    BeInputPin* input = inputs[m];
    if (input->type != controlType) {
      input->source = nullptr;
      input->type = controlType;
    }
    input->name = kLetters[m];
    input->description = L"Вход управления ШИМ";
    if (compareModes[m] == kCompareOff) continue;
    BeOutputPin* output = outputs[out++];
    output->name = kLetters[m];
    output->description = L"Выход ШИМ";
    output->hardware = 1;
    output->type = kBeSignalPwm;
    if (!bind) continue;
    output->Disconnect();
    wchar_t pin[16];
    PinName(m, pin, 16);
    BindPortToOutput(CBEIOPort::Find(scheme, pin), output, kOcBinding);
  }
  return true;
}

void CBEAvrTimer::Step(float) {
  if (top == 0 || prescaler == 0 || prescaler >= kBeTimerPrescalerCount) return;
  const int channels = channelCount > kMaxChannels ? kMaxChannels : channelCount;
  const double frequency = ProcessorFrequency(this);
  // A scheme without a positive frequency gives no time to count in.
  const float period =
      frequency > 0 ? RoundToFloat(static_cast<double>(top) * BeTimerPrescalerTable[prescaler] / frequency) : 0.0f;
  int out = 0;
  for (int m = 0; m < channels && m < inputCount; ++m) {
    if (compareModes[m] == kCompareOff) continue;
    BeOutputPin* output = Output(out++);
    const BeOutputPin* source = inputs[m]->source;
    if (!output || !source) continue;
    unsigned int v = source->type == kBeSignalChar ? source->value[0] : source->value[0] | (source->value[1] << 8);
    double x = v > top ? 0.0 : static_cast<double>(v) / top;
    float duty = RoundToFloat(compareModes[m] == kInvertedPwm ? 1.0 - x : x);
    output->type = kBeSignalPwm;
    memcpy(output->value, &period, 4);
    memcpy(output->value + 4, &duty, 4);
  }
}

void CBEAvrTimer::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, GetCaption());
}

void CBEAvrTimer::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(number & 0xFF));
  stream->WriteByte(wide);
  stream->WriteByte(channelCount);
  stream->Write(compareModes, kMaxChannels);
  stream->WriteInt16(top);
  stream->Write(compareModes, kMaxChannels);
  stream->WriteByte(prescaler);
  CBEBlock::Save(stream);
}

bool CBEAvrTimer::Load(CStream* stream) {
  unsigned char n, w, channels, first[kMaxChannels], modes[kMaxChannels], low, high, scale;
  if (!ReadByteChecked(stream, &n) || !ReadByteChecked(stream, &w) || !ReadByteChecked(stream, &channels) ||
      channels > kMaxChannels || !ReadExact(stream, first, kMaxChannels) || !ReadByteChecked(stream, &low) ||
      !ReadByteChecked(stream, &high) || !ReadExact(stream, modes, kMaxChannels) ||
      !ReadByteChecked(stream, &scale) || scale >= kBeTimerPrescalerCount ||
      !BaseRecordFollows(stream, channels, EnabledChannels(channels, modes)))
    return false;
  number = n;
  wide = w;
  channelCount = channels;
  memcpy(compareModes, modes, kMaxChannels);
  top = static_cast<unsigned short>(low | (high << 8));
  prescaler = scale;
  if (!BuildPins(false)) return false;
  return CBEBlock::Load(stream);
}

bool CBEAvrTimer::ShowProperties() { return ShowBlockDialog(this, kBeAvrTimerClassId); }
