// CBENeg ("Смена знака"): the sign change of one signal.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBENeg : public CBEBlock {
public:
  // 50 x 22, one unnamed input and output, char.
  CBENeg();
  static CBEBlock* Create();

  // Without a link nothing. By the linked output's type: char, short and
  // int are negated as 32-bit integers and the four bytes of the result
  // stored (the low byte or word is the negation in the narrow type, so
  // -128 stays -128 in char); float and double change sign; other types
  // write nothing.
  void Step(float dt) override;
  // The type byte, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record or a type outside
  // char..double.
  bool Load(CStream* stream) override;
  // "-1" centred in the body.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Cycles and ROM by type; the shared-routine flag is never set.
  void UpdateCosts();
  BeSignalType GetType() const;
};
