// CBEEvent ("Детектор событий"): a pulse of one pass when its input rises,
// falls or changes.
#pragma once

#include "blocks/engine/block.h"

// Event kinds.
const unsigned char kEventIncrease = 0;
const unsigned char kEventDecrease = 1;
const unsigned char kEventChange = 2;

class CBEEvent : public CBEBlock {
public:
  // 70 x 30, an input of any scalar type and a bit output; kind "change";
  // 10 cycles, 20 bytes of ROM.
  CBEEvent();
  static CBEBlock* Create();

  // The next pass is the first.
  void Start() override;
  // Unlinked: nothing. The first pass after Start writes output byte 0;
  // later passes compare the source's value, read in the source's type,
  // with the value of the pass before (bit by its first byte; char, short,
  // int signed; float and double as numbers, where a NaN counts as a
  // change) and write 1 when the kind's condition holds, else 0; a source
  // of another type leaves the output. Every linked pass keeps a copy of
  // the source's eight bytes.
  void Step(float dt) override;
  // The base record, then the kind (1 byte).
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record.
  bool Load(CStream* stream) override;
  // A light yellow shape with a round right side, and "Событие +",
  // "Событие -" or "Событие" by kind (other kinds: no text).
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Fields, in this order.
  unsigned char kind = kEventChange;
  unsigned char firstPass = 1;
  unsigned char previous[8] = {};
};
