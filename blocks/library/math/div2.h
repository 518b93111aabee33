// CBEDiv2 ("Деление"): the quotient A / B of two signals.
#pragma once

#include "blocks/library/math/two_operand_block.h"

class CBEDiv2 : public CBETwoOperandBlock {
public:
  // 80 x 40, inputs "A" and "B", one unnamed output, char; an unlinked
  // operand is 1.
  CBEDiv2();
  static CBEBlock* Create();

protected:
  // A / B. Integer division truncates toward zero, a zero divisor gives 0
  // and the one quotient beyond the range (the smallest integer by -1)
  // wraps to itself; float and double divide as IEEE says (a zero divisor
  // gives an infinity or not-a-number).
  uint32_t CombineIntegers(int32_t a, int32_t b) const override;
  double Combine(double x, double y) const override;
};
