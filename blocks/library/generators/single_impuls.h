// CBESingleImpuls ("Одиночный импульс"): a pulse of one pass after a delay,
// once or repeated with a period.
#pragma once

#include "blocks/engine/block.h"

class CBESingleImpuls : public CBEBlock {
public:
  // 80 x 30, one unnamed bit output; period -1 (no repeat), delay 0;
  // 7 cycles, 20 bytes of ROM.
  CBESingleImpuls();
  static CBEBlock* Create();

  // remaining = initial delay; not finished.
  void Start() override;
  // Finished: output byte 0. Otherwise remaining -= dt x 1000; below 0 the
  // output byte is 1 for this pass and remaining += period (a negative
  // period finishes the block), else 0.
  void Step(float dt) override;
  // The base record, then period and initial delay (floats).
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record.
  bool Load(CStream* stream) override;
  // The body, one pulse in blue, and "одиноч. имп." (negative period) or
  // "%0.1f мс" of the period.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // What the dialog stores: a negative period becomes -1, another one is
  // raised to at least 10 / the scheme's frequency; the initial delay.
  void SetTiming(float newPeriod, float newInitialDelay);

  // Fields, in this order.
  float period = -1.0f;       // ms; negative: no repeat
  float initialDelay = 0.0f;  // ms
  float remaining = 0.0f;     // ms, run-time
  unsigned char finished = 0;  // run-time
};
