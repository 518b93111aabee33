// CBEShl ("Левый сдвиг"): an integer signal shifted left by a fixed count,
// logically, arithmetically or cyclically (shift_rule.h).
#pragma once

#include "blocks/library/logic/shift_block.h"

class CBEShl : public CBEShiftBlock {
public:
  // 80 x 20, one unnamed input and output, char, count 1, logical.
  CBEShl();
  static CBEBlock* Create();
};
