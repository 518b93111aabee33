// CBEAvrTimer ("Timer/Counter"): a timer/counter of the microcontroller used
// as a PWM generator. Each compare channel (A, B, C) has a control input;
// each channel whose compare mode is not off has a PWM output, bound to the
// chip's pin block "OC<n><letter>" ("OC<n>" for a timer of one channel).
// The output's period is top x prescaler divider / processor frequency, its
// duty the control value / top (inverted in mode 2).
#pragma once

#include "blocks/engine/block.h"

// Clock dividers by prescaler index; 0 stops the timer.
const int kBeTimerPrescalerCount = 8;
extern const int BeTimerPrescalerTable[kBeTimerPrescalerCount];

class CBEAvrTimer : public CBEBlock {
public:
  static const int kMaxChannels = 3;
  // Compare modes.
  static const unsigned char kCompareOff = 0;
  static const unsigned char kDirectPwm = 1;
  static const unsigned char kInvertedPwm = 2;

  // 16-bit, no channel, timer 0, top 127, stopped; a device block 200 x 60,
  // fill 0xCCCCCC.
  CBEAvrTimer();
  static CBEBlock* Create();

  // Nothing when top or the prescaler is 0. Otherwise each enabled channel
  // whose control input is linked sets its output's period and duty.
  void Step(float dt) override;
  // Body and the caption centred.
  void Draw(HDC dc) override;
  // Number, wide, channel count, the compare modes (3), top (2), the
  // compare modes again (3), prescaler (a byte each but top), then the
  // base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record, more than 3
  // channels or a prescaler above 7. Of the compare modes the second copy
  // counts. The pins are built (without binding) before the base record.
  bool Load(CStream* stream) override;
  bool ShowProperties() override;

  // Caption "Timer/Counter<n>", the control inputs (char when top is at
  // most 127 or the timer is 8-bit, else short) and the PWM outputs; with
  // bind each output takes its pin block over. False when memory ran out.
  bool BuildPins(bool bind);
  // The pin name of channel m ("OC<n><letter>", or "OC<n>" with one
  // channel). size counts wide characters.
  void PinName(int m, wchar_t* name, int size) const;
  // The output of channel m; null when the channel is off.
  BeOutputPin* ChannelOutput(int m) const;

  // Fields, in this order.
  unsigned char wide = 1;
  unsigned char channelCount = 0;
  int number = 0;
  unsigned char compareModes[kMaxChannels] = {};
  unsigned short top = 127;
  unsigned char prescaler = 0;
};
