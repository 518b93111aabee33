// CBERSFlipFlop ("RS-триггер"): set and reset, reset winning.
#pragma once

#include "blocks/engine/block.h"

class CBERSFlipFlop : public CBEBlock {
public:
  // 50 x 40, light green; inputs "R" and "S", output "Q" (bit); 8 cycles,
  // 20 bytes of ROM.
  CBERSFlipFlop();
  static CBEBlock* Create();

  // The first four output bytes 0.
  void Start() override;
  // R active (linked, first byte nonzero): 0; else S active: 1; else the
  // output stays.
  void Step(float dt) override;
  // The body and "T".
  void Draw(HDC dc) override;
};
