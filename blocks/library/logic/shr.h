// CBEShr ("Правый сдвиг"): an integer signal shifted right by a fixed count,
// logically, arithmetically or cyclically (shift_rule.h).
#pragma once

#include "blocks/library/logic/shift_block.h"

class CBEShr : public CBEShiftBlock {
public:
  // 80 x 20, one unnamed input and output, char, count 1, logical.
  CBEShr();
  static CBEBlock* Create();
};
