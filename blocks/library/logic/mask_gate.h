// CBEMaskGate: a signal AND or OR a constant mask, the common part of CBEAnd
// and CBEOr.
#pragma once

#include <cstdint>

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBEMaskGate : public CBEBlock {
public:
  // Without a link nothing. Otherwise, in the width of the block's type
  // (char, short, int), the linked value AND (OR) the mask.
  void Step(float dt) override;
  // The type byte, the four bytes of the mask cell, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record or a type outside
  // char..int.
  bool Load(CStream* stream) override;
  // "AND 0x%02X", "AND 0x%04X" or "AND 0x%08X" (OR likewise) with the mask
  // in the width of the type, centred in the body.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Cycles and ROM by type; the shared-routine flag is cleared.
  void UpdateCosts();
  BeSignalType GetType() const;

  // Fields, in this order.
  uint32_t mask;  // the 32-bit cell; the type uses its low 8, 16 or 32 bits

protected:
  // 120 x 20, one unnamed input and output, char.
  CBEMaskGate(bool isOr, const wchar_t* word, unsigned int classId, uint32_t defaultMask);

private:
  bool isOr_;
  const wchar_t* word_;
  unsigned int classId_;
};
