// CBEAnd2 ("Элемент И"): the AND element of 2 to 127 inputs. Of bits it
// also gates a PWM signal (gate_step.h); of char, short and int it is the
// bitwise AND.
#pragma once

#include "blocks/library/logic/gate_block.h"

class CBEAnd2 : public CBEGateBlock {
public:
  // 80 x 40, two unnamed inputs and one output, bit.
  CBEAnd2();
  // Null when the block or its pins could not be made.
  static CBEBlock* Create();

  // By the block's type, as the input pins carry it on this step: bit, the
  // scan of gate_step.h (the output may take a passed signal's type); char,
  // short, int, the AND of the linked integers (-1 with none). Other types
  // write nothing.
  void Step(float dt) override;
  // The type byte with bit 7 set (0x80 + type), the input count byte, then
  // the base record.
  void Save(CStream* stream) override;
  // The type from the low seven bits of the first byte; the count byte
  // follows only when bit 7 is set, else the element has two inputs. False,
  // with the block as it was, for a cut record, a type outside bit..int or
  // a count outside 2..127.
  bool Load(CStream* stream) override;
  // "A && B" for bit, else "A & B", centred in the body.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Costs by type (the same for any input count); then the body becomes
  // 20 n high, the pins are spread again over it (inputs at 10, 30, 50 ...)
  // and every input takes the type of the first.
  void UpdatePinsAndCosts() override;
};
