// CBEAnd ("Побитовая операция "И" с константой"): a signal AND a constant
// mask.
#pragma once

#include "blocks/library/logic/mask_gate.h"

class CBEAnd : public CBEMaskGate {
public:
  // 120 x 20, one unnamed input and output, char, mask 0x7F.
  CBEAnd();
  static CBEBlock* Create();
};
