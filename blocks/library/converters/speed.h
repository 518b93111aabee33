// CBESpeed ("Положение в скорость"): the change of a position over one
// measuring period, the speed in units per period.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBESpeed : public CBEBlock {
public:
  // 80 x 45, white; an unnamed short input ("Положение") and output
  // ("Скорость (изменение положение за указанный период)"); period 100 ms.
  CBESpeed();
  static CBEBlock* Create();

  // First pass ahead, previous value 8 zero bytes, accumulated time 0, the
  // period in seconds from the stored milliseconds.
  void Start() override;
  // Nothing while unlinked. The first pass takes the source's bytes as the
  // previous value. A pass of at least one period scales its change to the
  // period: P·(cur - prev)/dt; shorter passes add up their time and, when
  // it exceeds the period, output cur - prev once (the period taken off the
  // sum). Integers: the difference in 32 bits, truncated toward zero and
  // stored in the type's width; float and double in their own precision.
  // Output types other than char to double do nothing.
  void Step(float dt) override;
  // Output type byte, period (float, ms), base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record, a type outside
  // char..double or a period that is not a positive number.
  bool Load(CStream* stream) override;
  // "положение", a downward arrow, "скорость".
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // The shared-routine flag cleared, then cycles, ROM and the flag by the
  // output's type (char 8/12, short 10/14, int 14/18, float 154/32 shared,
  // double 234/40 shared; other types keep cycles and ROM).
  void UpdateCosts();
  BeSignalType GetType() const;

  // Fields, in this order.
  float period = 100.0f;  // ms, saved
  unsigned char firstPass = 1;
  unsigned char previous[8] = {};
  float accumulated = 0;    // s
  float periodSeconds = 0;  // s, from period at Start

private:
  // The output for the change from previous to cur, times scale / dt
  // (scale null: the change itself); cur then becomes the previous value.
  void WriteChange(const unsigned char* cur, const double* scale, float dt);
};
