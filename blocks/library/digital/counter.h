// CBECounter ("Счетчик"): an up/down counter of pulses.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBECounter : public CBEBlock {
public:
  // 50 x 50, light green; bit inputs "+", "-", "R" and a short output;
  // 8 cycles, 20 bytes of ROM (the char row: the cost table applies from
  // the first load or dialog).
  CBECounter();
  static CBEBlock* Create();

  // Both previous bytes 0; count 0.
  void Start() override;
  // The count is the signed 32-bit number in the first four output bytes,
  // wrapping. "+" adds and "-" subtracts: a source of a pulse-channel type
  // (7 or 8) its first four bytes as a signed number on every pass; a
  // source of any other type, read as a level (its first byte), 1 on a
  // rising edge. Then R active: count 0.
  void Step(float dt) override;
  // The base record, then the output type (1 byte).
  void Save(CStream* stream) override;
  // Runs UpdateCosts after reading. False, with the block as it was, for a
  // cut record or a type byte outside char ... int.
  bool Load(CStream* stream) override;
  // The body and a sigma.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Cycles and ROM by the output type: char 8 / 20, short 9 / 22, int
  // 11 / 24; other types leave them.
  void UpdateCosts();
  BeSignalType GetType() const;

  // Fields, in this order.
  unsigned char previousUp = 0;
  unsigned char previousDown = 0;
};
