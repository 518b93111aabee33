// CBEIntervalDetector ("Измеритель интервалов"): how many measuring pulses
// of a fixed period fit into a number of periods of its input, signed by
// the direction; fed by the two channels of an incremental encoder, it
// measures the shaft's speed as a microcontroller routine would.
#pragma once

#include <cstdint>

#include "blocks/engine/block.h"

// The picture the block draws, from the scheme icons folder.
extern const wchar_t kIntervalDetectorPicture[];

class CBEIntervalDetector : public CBEBlock {
public:
  // 120 x 60, white; inputs "A" and "B", one unnamed short output; interval
  // 200 µs, 1 period, filter on; 95 ROM bytes and the cycles of
  // UpdateCosts.
  CBEIntervalDetector();
  static CBEBlock* Create();

  // Accumulator 0, output 32767.
  void Start() override;
  // A unlinked: nothing. A an encoder channel (7 or 8): with f = A's float
  // in bytes 4-7 / 4 and y = interval f / (dt 10^6), n = 32767 when |y| is
  // below 1/3600, else periods / y truncated; the sign follows B (its level,
  // or which channel feeds A when A and B are the two channels). A of
  // another type: at each pass with A's first byte on, n = accumulator /
  // interval (negative while B is on) and the accumulator restarts; the
  // accumulator counts the microseconds. n is held within -32767..32767; a
  // pass time of 0 or not finite, or an interval of 0 or less, leaves the
  // output.
  void Step(float dt) override;
  // Body, the picture, the interval in microseconds and the caption below.
  void Draw(HDC dc) override;
  // Interval, periods (32 bits each), filter (a byte), then the base
  // record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record or an interval of 0
  // or less; then the costs.
  bool Load(CStream* stream) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Cycles = (2000 / interval, whole division) x 57 with the filter on, x 45
  // with it off; nothing for an interval of 0 or less.
  void UpdateCosts();

  // Fields, in this order.
  int32_t interval = 200;  // µs, the period of the measuring pulses
  int32_t periods = 1;     // input periods measured
  unsigned char filter = 1;  // input filtering: changes the costs only
  float accumulator = 0;   // µs, run-time
};
