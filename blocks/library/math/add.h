// CBEAdd ("Сложение с константой"): a signal plus a constant.
#pragma once

#include "blocks/library/math/constant_operand.h"

class CBEAdd : public CBEConstantOperand {
public:
  // 100 x 20, one unnamed input and output, char, constant 1.
  CBEAdd();
  static CBEBlock* Create();
};
