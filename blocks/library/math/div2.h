// CBEDiv2 ("Деление"): the quotient A / B of two signals.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBEDiv2 : public CBEBlock {
public:
  // 80 x 40, inputs "A" and "B", one unnamed output, char.
  CBEDiv2();
  static CBEBlock* Create();

  // In the block's type, A / B of the operands (operand_cell.h; an
  // unlinked operand is 1). Integer division truncates toward zero, a zero
  // divisor gives 0 and the one quotient beyond the range (the smallest
  // integer by -1) wraps to itself; float and double divide as IEEE says
  // (a zero divisor gives an infinity or not-a-number), float rounded to
  // float.
  void Step(float dt) override;
  // The type byte, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record or a type outside
  // char..double.
  bool Load(CStream* stream) override;
  // "A / B" centred in the body.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Cycles, ROM and the shared-routine flag by type.
  void UpdateCosts();
  BeSignalType GetType() const;
};
