// CBEPWMDetector ("Детектор ШИМ"): the high time and the period of a PWM or
// logic input, in units of 256 processor clocks, as a microcontroller
// routine would count them.
#pragma once

#include <cstdint>

#include "blocks/engine/block.h"

class CBEPWMDetector : public CBEBlock {
public:
  // 90 x 40, white; one input "Вход ШИМ" (bit); outputs "t1" and "T"
  // (short); 400 cycles, 60 ROM bytes. Its record is the base record.
  CBEPWMDetector();
  static CBEBlock* Create();

  // Both counts 0, no low level seen.
  void Start() override;
  // With k = dt F / 256 truncated (F the scheme's processor frequency):
  // unconnected, nothing; a PWM source (period, duty): "T" = F / 256 x
  // period and "t1" = duty x that, truncated to 16 bits; a logic source:
  // at a rising edge (high after a low was seen) "t1" and "T" take the high
  // and period counts, which restart; the high count grows by k while the
  // input is high, the period count every pass (both wrap at 16 bits);
  // any other source: "t1" = R1 / 2 and "T" = R2 / 2 + "t1", R1 and R2
  // pseudo-random numbers 0..32767.
  void Step(float dt) override;
  // A message box with the block's caption that tells the unit; false.
  bool ShowProperties() override;

  // Fields, in this order.
  uint16_t highCount = 0;
  uint16_t periodCount = 0;
  unsigned char lowSeen = 0;
};
