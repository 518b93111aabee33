// CBESummator ("Сумматор"): the sum of 2 to 127 signals.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

const int kSummatorMinInputs = 2;
const int kSummatorMaxInputs = 127;
// Height of the body per input.
const int kSummatorInputPitch = 20;

class CBESummator : public CBEBlock {
public:
  // 50 x 40, two unnamed inputs and one output, short.
  CBESummator();
  // Null when the block or its pins could not be made.
  static CBEBlock* Create();

  // In the block's type, the sum over the inputs that have a link, from 0:
  // char and short wrap in 8 and 16 bits, int in 32; a float sum is rounded
  // to float after each addition; a double sum is exact in double.
  void Step(float dt) override;
  // The input count byte, the type byte, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record, an input count
  // outside 2..127 or a type outside char..double.
  bool Load(CStream* stream) override;
  // In black, a capital sigma 32 pixels high ("S" in the "Symbol" font, or
  // "Σ" in a font of the system that has it when "Symbol" is missing), 30
  // pixels left of the right edge and 5 below the top; no centred text.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Costs by type and input count n; then the body becomes 20 n high, the
  // pins are spread again over it (inputs at 10, 30, 50 ...) and every
  // input takes the block's type.
  void UpdatePinsAndCosts();
  BeSignalType GetType() const;
};
