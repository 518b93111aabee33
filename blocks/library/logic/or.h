// CBEOr ("Побитовая операция ИЛИ с константой"): a signal OR a constant
// mask.
#pragma once

#include "blocks/library/logic/mask_gate.h"

class CBEOr : public CBEMaskGate {
public:
  // 120 x 20, one unnamed input and output, char, mask 0x0F.
  CBEOr();
  static CBEBlock* Create();
};
