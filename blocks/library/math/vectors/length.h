// CBELength ("Длина вектора"): the length of a vector of 2 to 127
// components, one input each.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBELength : public CBEBlock {
public:
  // 80 x 40, two unnamed inputs and one output, float.
  CBELength();
  // Null when the block or its pins could not be made.
  static CBEBlock* Create();

  // By the block's type, an unlinked component counting 0. char, short and
  // int: the squares summed in 32 bits (wrapping), the sum converted to
  // float, its square root in float truncated toward zero (not a number
  // gives -2147483648) and stored in the width of the type. float: squares,
  // sum and root in float. double: in double.
  void Step(float dt) override;
  // The component count byte, the type byte, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record, a count outside
  // 2..127 or a type outside char..double.
  bool Load(CStream* stream) override;
  // "длина" centred in the body.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Costs by type (char to float 380 cycles and 10 ROM bytes, double 490
  // and 20, with the shared-routine flag); the body becomes 20 n high for n
  // inputs, the pins are spread over it again (inputs at 10, 30, 50 ...)
  // and every input takes the block's type.
  void UpdatePinsAndCosts();
  BeSignalType GetType() const;
};
