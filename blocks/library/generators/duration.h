// CBEDuration ("Продлеватель импульсов"): holds its output at 1 while the
// input is 1 and for a set time after it falls.
#pragma once

#include <cstdint>

#include "blocks/engine/block.h"

class CBEDuration : public CBEBlock {
public:
  // 90 x 35, light green; a bit input and a bit output; 1000 ms;
  // 10 cycles, 14 bytes of ROM.
  CBEDuration();
  static CBEBlock* Create();

  // Idle (elapsed -1), output byte 0.
  void Start() override;
  // Every pass with the input active (linked, first byte nonzero) sets the
  // output byte to 1 and elapsed to 0. Then, while running, elapsed grows
  // by dt x 1000 and, once above the extension time, the block goes idle
  // with output 0 (in the same pass when the extension is shorter than it).
  void Step(float dt) override;
  // The base record, then the extension time (int32).
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record.
  bool Load(CStream* stream) override;
  // The body and "Продлеватель\n%dмс" centred in the body lowered by 5.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Fields, in this order.
  int32_t extension = 1000;  // ms
  float elapsed = -1.0f;     // ms; -1 idle
};
