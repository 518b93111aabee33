// CBEMeander ("Генератор меандра"): a square wave of a set period.
#pragma once

#include "blocks/engine/block.h"

class CBEMeander : public CBEBlock {
public:
  // 80 x 30, one unnamed bit output; period 1000 ms, initial phase 0;
  // 7 cycles, 20 bytes of ROM.
  CBEMeander();
  static CBEBlock* Create();

  // phase = initial phase.
  void Start() override;
  // A pass longer than the period (dt x 1000 > period) makes the output a
  // PWM value (type 0: period / 1000 s, duty 0.5) and leaves the phase.
  // Otherwise the output is bit, its first four bytes 1 while phase <=
  // period / 2 and 0 after, and the phase moves on by the pass, wrapped
  // into (0, period] (WrapPhase).
  void Step(float dt) override;
  // Period, initial phase (floats), then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record.
  bool Load(CStream* stream) override;
  // The body, a square wave in blue and the period ("%0.1f мкс" of
  // period x 1000 below 1 ms, else "%0.1f мс").
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // What the dialog stores: the period raised to at least 10 / the
  // scheme's frequency (the default frequency outside a scheme), and the
  // initial phase.
  void SetTiming(float newPeriod, float newInitialPhase);

  // Fields, in this order.
  float period = 1000.0f;     // ms
  float initialPhase = 0.0f;  // ms
  float phase = 0.0f;         // ms, run-time
};
