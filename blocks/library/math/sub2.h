// CBESub2 ("Разность"): the difference A - B of two signals.
#pragma once

#include "blocks/library/math/two_operand_block.h"

class CBESub2 : public CBETwoOperandBlock {
public:
  // 50 x 40, inputs "A" and "B", one unnamed output, char; an unlinked
  // operand is 0.
  CBESub2();
  static CBEBlock* Create();

protected:
  // A - B: integers wrap.
  uint32_t CombineIntegers(int32_t a, int32_t b) const override;
  double Combine(double x, double y) const override;
};
