// CBEAnd ("Побитовая операция "И" с константой"): a signal AND a constant
// mask.
#pragma once

#include <cstdint>

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBEAnd : public CBEBlock {
public:
  // 120 x 20, one unnamed input and output, char, mask 0x7F.
  CBEAnd();
  static CBEBlock* Create();

  // Without a link nothing. Otherwise, in the width of the block's type
  // (char, short, int), the linked value AND the mask.
  void Step(float dt) override;
  // The type byte, the four bytes of the mask cell, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record or a type outside
  // char..int.
  bool Load(CStream* stream) override;
  // "AND 0x%02X", "AND 0x%04X" or "AND 0x%08X" with the mask in the width
  // of the type, centred in the body.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Cycles and ROM by type; the shared-routine flag is cleared.
  void UpdateCosts();
  BeSignalType GetType() const;

  // Fields, in this order.
  uint32_t mask = 0x7F;  // the 32-bit cell; the type uses its low 8, 16 or 32 bits
};
