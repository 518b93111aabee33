// CBESub ("Вычитание константы"): a signal minus a constant.
#pragma once

#include "blocks/library/math/constant_operand.h"

class CBESub : public CBEConstantOperand {
public:
  // 100 x 20, one unnamed input and output, char, constant 1.
  CBESub();
  static CBEBlock* Create();
};
