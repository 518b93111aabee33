// CBENot ("Элемент НЕ"): the NOT element of a bit, or the bitwise complement
// of an integer.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBENot : public CBEBlock {
public:
  // 80 x 20, one unnamed input and output, bit.
  CBENot();
  static CBEBlock* Create();

  // Without a link nothing. bit: the output byte is 1 when the linked byte
  // is 0, else 0; char, short, int: the complement of the linked value in
  // the width of the type. float and double write nothing.
  void Step(float dt) override;
  // The type byte, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record or a type outside
  // bit..double.
  bool Load(CStream* stream) override;
  // "NOT" centred in the body.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Cycles and ROM by type (none for float and double); the shared-routine
  // flag is cleared.
  void UpdateCosts();
  // The type the input pin carries.
  BeSignalType GetType() const;
};
