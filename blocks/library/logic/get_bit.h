// CBEGetBit ("Получить бит числа"): one bit of an integer signal as a bit.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBEGetBit : public CBEBlock {
public:
  // 100 x 20, one unnamed char input and one bit output, bit number 7;
  // 6 cycles and 4 ROM bytes whatever the type.
  CBEGetBit();
  static CBEBlock* Create();

  // Without a link nothing. The output byte is 1 when bit (number mod 32)
  // of the first 32 bits of the linked value is set, else 0, whatever the
  // linked type.
  void Step(float dt) override;
  // The input type byte, the bit number byte, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record, an input type
  // outside char..int or a bit number above 31. The type goes to the input
  // only.
  bool Load(CStream* stream) override;
  // "GetBit %d" with the bit number, centred in the body.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // The type the input pin carries.
  BeSignalType GetType() const;

  // Fields, in this order.
  unsigned char bitNumber = 7;  // 0 to 31
};
