// CBETypeConvertor ("Преобразователь типов данных"): one scalar signal
// converted into another scalar type (bit, char, short, int, float,
// double), so that blocks with different pin types can be joined.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBETypeConvertor : public CBEBlock {
public:
  // 120 x 22, white; an unnamed input declared bit and an unnamed output of
  // type char (5 cycles, 12 ROM bytes).
  CBETypeConvertor();
  // Null when the block or its pins could not be made.
  static CBEBlock* Create();

  // Clears the first four bytes of the output value.
  void Start() override;
  // Converts what the source output holds now, by the source's own type S
  // (PWM, bit and the pulse channels 7 and 8 read as a bit: the first byte)
  // into the output's type O, written into the leading bytes of the output
  // (1, 1, 2, 4, 4 or 8; the others stay). Integers narrow to their low
  // bits and widen sign-extended; float and double become integers by
  // truncation toward zero, with not a number and values beyond 32 bits
  // giving -2147483648; a bit output takes the byte of a bit-like source,
  // else 0 or 1 (1 for not a number); a bit-like source gives others its
  // lowest bit. Nothing without a link, for S above 8 or O outside 1..6.
  void Step(float dt) override;
  // The input type byte, the output type byte, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record, an input type
  // without a name (above 40, or 37) or an output type that no output
  // carries (above 36). Then the costs, then the base record.
  bool Load(CStream* stream) override;
  // "<input type> => <output type>" by the names of the declared types,
  // centred in the body.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Clears the shared-routine flag, then sets cycles and ROM bytes by the
  // pair (declared input type, output type) from the table of the types 1
  // to 6 (the pairs through char, int, float or double with floating-point
  // code set the flag). A float or double input with an output outside 1
  // to 6 costs 80 cycles and 8 bytes with the flag; any other pair outside
  // the table keeps cycles and ROM.
  void UpdateCosts();
  BeSignalType GetInputType() const;
  BeSignalType GetOutputType() const;
};
