// CBEPulsCounter ("Счетчик для инкрементного датчика"): counts the steps
// of an incremental (quadrature) encoder from its channels A and B.
#pragma once

#include <cstdint>

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

// The reserved byte of a new block's record.
const unsigned char kPulsCounterReservedByte = 2;

class CBEPulsCounter : public CBEBlock {
public:
  // 50 x 50, light green; bit inputs "A", "B", "R" and a short output;
  // 1000 cycles, 60 bytes of ROM; the maximum step for the default
  // processor frequency.
  CBEPulsCounter();
  static CBEBlock* Create();

  // Count 0 (the previous A/B state stays); the maximum step from the
  // scheme's frequency.
  void Start() override;
  // With A and B linked, by the type of A's source:
  // - bit with B bit: the state A | B << 1 against the state before counts
  //   +1 or -1 for the quadrature transitions and nothing otherwise; with B
  //   of another type the count becomes the number of high channels;
  // - pulse channel A (7) with B of type 8 reporting the same number v:
  //   the count moves by v, held to the maximum step with v's sign; pulse
  //   channel B (8) with B of type 7: the same backwards; otherwise the
  //   number of high (type 7) or low (type 8) channels;
  // - other types: no change.
  // Then R active: count 0. The count is the signed 32-bit number in the
  // first four output bytes, wrapping.
  void Step(float dt) override;
  // The base record, the reserved byte, the output type (1 byte).
  void Save(CStream* stream) override;
  // Runs UpdateCosts after reading. False, with the block as it was, for a
  // cut record or a type byte outside char ... int.
  bool Load(CStream* stream) override;
  // The body and a sigma.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // 600 cycles (ROM stays) and the maximum step from the scheme's
  // frequency when the block is in a scheme.
  void UpdateCosts();
  // What the dialog does with a new type (char ... int): the output is
  // disconnected when the type changes and takes it, then UpdateCosts.
  // False, with nothing changed, for another type.
  bool SetDataType(BeSignalType type);
  BeSignalType GetType() const;
  // trunc(2 x f x 140 / 3 000 000) for a processor of f Hz; 0 for a
  // frequency of 0 or below or not a number.
  static int32_t MaximumStepFor(double frequency);

  // Fields, in this order.
  int32_t maximumStep = 0;  // pulses per pass
  unsigned char reserved = kPulsCounterReservedByte;
  int32_t previousState = 0;  // A | B << 1 of the pass before
};
