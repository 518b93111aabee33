// CBEMonostable ("Ждущий мультивибратор"): a retriggerable one-shot.
#pragma once

#include <cstdint>

#include "blocks/engine/block.h"

class CBEMonostable : public CBEBlock {
public:
  // 90 x 35, light green; bit input "c" and a bit output; 1000 ms;
  // 10 cycles, 14 bytes of ROM.
  CBEMonostable();
  static CBEBlock* Create();

  // Idle (elapsed -1), previous level 0, output byte 0.
  void Start() override;
  // A rising edge of the input (linked, first byte nonzero) sets the
  // output byte to 1 and elapsed to 0, also while running. Then, while
  // running, elapsed grows by dt x 1000 and, once above the duration, the
  // block goes idle with output 0. An unlinked input is level 0.
  void Step(float dt) override;
  // The base record, then the duration (int32).
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record.
  bool Load(CStream* stream) override;
  // The body and "ЖМ\n%dмс" of the duration centred.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Fields, in this order.
  int32_t duration = 1000;            // ms
  float elapsed = -1.0f;              // ms; -1 idle
  unsigned char previousLevel = 0;
};
