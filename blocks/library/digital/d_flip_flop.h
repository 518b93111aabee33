// CBEDFlipFlop ("D-триггер"): takes its data input on a rising clock edge.
#pragma once

#include "blocks/library/digital/latch_block.h"

class CBEDFlipFlop : public CBELatchBlock {
public:
  // 50 x 40, light green; inputs "D" and "C", output "Q", all bit; 8
  // cycles, 22 bytes of ROM.
  CBEDFlipFlop();
  static CBEBlock* Create();

  // Previous clock 0; output value eight zero bytes.
  void Start() override;
  // With "D" and "C" both linked: on a rising edge of the first byte of
  // C's source the output takes the eight bytes of D's source (its type
  // stays); the clock byte is kept for the next pass. Otherwise nothing.
  void Step(float dt) override;
  // The body and "T".
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Fields, in this order.
  unsigned char previousClock = 0;
};
