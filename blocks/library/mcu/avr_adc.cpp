#include "blocks/library/mcu/avr_adc.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/mcu/io_port.h"
#include "blocks/library/mcu/port_binding.h"
#include "blocks/library/base_record.h"
#include "foundation/stream.h"

namespace {
const COLORREF kFill = 0xCCCCCC;
const int kHeight = 30;
const int kChannelPitch = 40;
// The names of the channels' pins.
const wchar_t* const kChannelNames[CBEAvrADC::kChannels] = {L"0", L"1", L"2", L"3", L"4", L"5", L"6", L"7"};
// The pin block goes to (x - 90, y - 6) of the input, its link's route x1
// at x - 40; released, it is moved 25 left and 5 down.
const McuPinBinding kAdcBinding = {-90, -6, CBEIOPort::kModeAnalog, -40, kBeSignalAnalog, -1, true};
const int kReleaseX = -25;
const int kReleaseY = 5;
const double kUnpoweredScale = 0.01;
const double kNoiseVolts = 0.01;

int BitCount(unsigned char mask) {
  int n = 0;
  for (; mask; mask &= mask - 1) ++n;
  return n;
}
}  // namespace

AvrAnalogReference& AvrAnalogReference::Program() {
  static AvrAnalogReference voltages;
  return voltages;
}

CBEAvrADC::CBEAvrADC() {
  flags |= kBeBlockDevice;
  rect = RECT{0, 0, 120, kHeight};
  fillColor = kFill;
}

CBEBlock* CBEAvrADC::Create() { return new (std::nothrow) CBEAvrADC; }

bool CBEAvrADC::BuildPins() {
  const int k = BitCount(channelMask);
  rect.bottom = rect.top + (kChannelPitch * k > kHeight ? kChannelPitch * k : kHeight);
  if (!SetInputCount(k) || !SetOutputCount(k)) return false;
  int j = 0;
  for (int m = 0; m < kChannels; ++m) {
    if (!(channelMask & (1 << m))) continue;
    inputs[j]->name = kChannelNames[m];
    inputs[j]->type = kBeSignalAnalog;
    outputs[j]->name = kChannelNames[m];
    outputs[j]->type = kBeSignalShort;
    memset(outputs[j]->value, 0, sizeof outputs[j]->value);
    ++j;
  }
  return true;
}

void CBEAvrADC::BindPins() {
  for (int i = 0; i < inputCount; ++i) ReleaseInputPort(inputs[i], false, false, kReleaseX, kReleaseY);
  int j = 0;
  for (int m = 0; m < kChannels && j < inputCount; ++m) {
    if (!(channelMask & (1 << m))) continue;
    wchar_t name[8] = L"ADC";
    name[3] = static_cast<wchar_t>(L'0' + m);
    name[4] = 0;
    BindPortToInput(CBEIOPort::Find(scheme, name), inputs[j], kAdcBinding);
    ++j;
  }
}

double CBEAvrADC::FullScale(const AvrAnalogReference& v, int noise) const {
  if (v.avcc < v.supply / 2) return kUnpoweredScale;
  double r;
  switch (reference) {
    case kRefAref: r = v.aref; break;
    case kRefAvcc: r = v.avcc; break;
    case kRefInternal: r = static_cast<double>(v.supply) * 2.65 / 5; break;
    default: r = 1.0; break;
  }
  if (!(r > 0) || !std::isfinite(r)) return 0;
  const int p = prescaler > kLastPrescaler ? kLastPrescaler : prescaler;
  return r + noise * ((128 - (1 << p)) * kNoiseVolts / 128) / 32768;
}

unsigned short CBEAvrADC::Convert(float volts, double fs, bool left) {
  if (!(fs > 0)) return 0;
  double v = volts * static_cast<double>(kFullCode) / fs;
  if (!(v > 0)) v = 0;  // a negative input and what is not a number
  if (v > kFullCode) v = kFullCode;
  unsigned int code = static_cast<unsigned int>(v);
  return static_cast<unsigned short>(left ? code << 6 : code);
}

void CBEAvrADC::Step(float) {
  if (inputCount == 0) return;
  // The noise is drawn once per pass; at prescaler 7 there is none and no
  // number is drawn.
  const int noise = prescaler >= kLastPrescaler ? 0 : (rand() & 0x7FFF);
  const double fs = FullScale(AvrAnalogReference::Program(), noise);
  for (int i = 0; i < inputCount && i < outputCount; ++i) {
    const BeOutputPin* source = inputs[i]->source;
    if (!source) continue;
    float volts;
    memcpy(&volts, source->value, 4);
    unsigned short code = Convert(volts, fs, leftAdjust != 0);
    outputs[i]->value[0] = static_cast<unsigned char>(code & 0xFF);
    outputs[i]->value[1] = static_cast<unsigned char>(code >> 8);
  }
}

void CBEAvrADC::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"АЦП");
}

void CBEAvrADC::Save(CStream* stream) {
  stream->WriteByte(channelMask);
  stream->WriteByte(reference);
  stream->WriteByte(leftAdjust);
  stream->WriteByte(prescaler);
  CBEBlock::Save(stream);
}

bool CBEAvrADC::Load(CStream* stream) {
  unsigned char mask, ref, left, scale;
  if (!ReadByteChecked(stream, &mask) || !ReadByteChecked(stream, &ref) || ref > kRefInternal ||
      !ReadByteChecked(stream, &left) || !ReadByteChecked(stream, &scale) || scale > kLastPrescaler ||
      !BaseRecordFollows(stream, BitCount(mask), BitCount(mask)))
    return false;
  channelMask = mask;
  reference = ref;
  leftAdjust = left;
  prescaler = scale;
  if (!BuildPins()) return false;
  return CBEBlock::Load(stream);
}

bool CBEAvrADC::ShowProperties() { return ShowBlockDialog(this, kBeAvrADCClassId); }
