// CBEAvrADC ("АЦП"): the microcontroller's analog-to-digital converter.
// Each channel k of the channel mask has an analog input "k", bound to the
// chip's pin block "ADC<k>", and a 10-bit result "k" (short), measured
// against the reference the REFS bits choose from the voltages the
// microcontroller publishes (AvrAnalogReference).
#pragma once

#include "blocks/engine/block.h"

// The voltages of the microcontroller that its converter measures against,
// relative to its ground. The microcontroller component writes them in
// each of its steps; the converter reads them.
struct AvrAnalogReference {
  float aref = 0;    // the AREF pin
  float avcc = 0;    // the AVCC pin
  float supply = 0;  // the supply
  // The program's voltages.
  static AvrAnalogReference& Program();
};

class CBEAvrADC : public CBEBlock {
public:
  static const int kChannels = 8;
  static const int kFullCode = 1023;
  static const unsigned char kLastPrescaler = 7;
  // References.
  static const unsigned char kRefAref = 0;
  static const unsigned char kRefAvcc = 1;
  static const unsigned char kRefReserved = 2;
  static const unsigned char kRefInternal = 3;

  // Reference AREF, right adjusted, prescaler 0, no channel; a device block
  // 120 x 30, fill 0xCCCCCC, no pins.
  CBEAvrADC();
  static CBEBlock* Create();

  // Converts each linked input (AvrAnalogReference::Program()).
  void Step(float dt) override;
  // Body and "АЦП" centred.
  void Draw(HDC dc) override;
  // Channel mask, reference, left adjust, prescaler (a byte each), then the
  // base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record, a reference above 3
  // or a prescaler above 7. The pins are built before the base record.
  bool Load(CStream* stream) override;
  bool ShowProperties() override;

  // One analog input and one short output per set bit of the mask, both
  // named by the channel's number; height max(30, 40 x channels). False
  // when memory ran out.
  bool BuildPins();
  // Gives back the pin blocks bound before, then binds each channel's
  // "ADC<k>" pin block to its input.
  void BindPins();
  // The result of a reading of volts at full scale fs: volts x 1023 / fs
  // truncated and held within 0..1023 (0 for what is not a number), x 64
  // with left adjust.
  static unsigned short Convert(float volts, double fs, bool leftAdjust);
  // The full scale of this pass: 0.01 when the converter is unpowered
  // (AVCC below half the supply), otherwise the reference plus its noise
  // (none at prescaler 7); 0 when the reference is not a positive number.
  double FullScale(const AvrAnalogReference& voltages, int noise) const;

  // Fields, in this order.
  unsigned char reference = kRefAref;
  unsigned char leftAdjust = 0;
  unsigned char prescaler = 0;
  unsigned char channelMask = 0;
};
