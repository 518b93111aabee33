// CBEMul2 ("Умножение"): the product A x B of two signals. The catalogue's
// square-root entry makes one as well: such a block keeps that entry, shows
// its caption and multiplies.
#pragma once

#include "blocks/library/math/two_operand_block.h"

class CBEMul2 : public CBETwoOperandBlock {
public:
  // 80 x 40, inputs "A" and "B", one unnamed output, char; an unlinked
  // operand is 1.
  CBEMul2();
  static CBEBlock* Create();

protected:
  // A x B: integers wrap.
  uint32_t CombineIntegers(int32_t a, int32_t b) const override;
  double Combine(double x, double y) const override;
};
