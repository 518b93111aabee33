// CBEOr2 ("Элемент ИЛИ"): the OR element of 2 to 127 inputs. Of bits it
// also passes a PWM signal through (gate_step.h); of char, short and int it
// is the bitwise OR.
#pragma once

#include "blocks/library/logic/gate_block.h"

class CBEOr2 : public CBEGateBlock {
public:
  // 80 x 40, two unnamed inputs and one output, bit.
  CBEOr2();
  // Null when the block or its pins could not be made.
  static CBEBlock* Create();

  // By the block's type, as the input pins carry it on this step: bit, the
  // scan of gate_step.h (the output may take a passed signal's type); char,
  // short, int, the OR of the linked integers (0 with none); float and
  // double, whose inputs contribute nothing, 0 into the first four bytes.
  void Step(float dt) override;
  // The input count byte, the type byte, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record, a count outside
  // 2..127 or a type outside bit..double.
  bool Load(CStream* stream) override;
  // "A || B" for bit, else "A | B", centred in the body.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Costs by type and input count n (none for float and double); then the
  // body becomes 20 n high, the pins are spread again over it (inputs at 10,
  // 30, 50 ...) and every input takes the type of the first.
  void UpdatePinsAndCosts() override;
};
