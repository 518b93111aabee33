// CBEMul2 ("Умножение"): the product A x B of two signals. The catalogue's
// square-root entry makes one as well: such a block keeps that entry, shows
// its caption and multiplies.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBEMul2 : public CBEBlock {
public:
  // 80 x 40, inputs "A" and "B", one unnamed output, char.
  CBEMul2();
  static CBEBlock* Create();

  // In the block's type, A x B of the operands (operand_cell.h; an
  // unlinked operand is 1): integers wrap, float is rounded to float.
  void Step(float dt) override;
  // The type byte, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record or a type outside
  // char..double.
  bool Load(CStream* stream) override;
  // "A x B" centred in the body.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Cycles, ROM and the shared-routine flag by type.
  void UpdateCosts();
  BeSignalType GetType() const;
};
