// CBENorm ("Нормировка вектора"): a vector of 2 to 127 components divided by
// its length, one input and one output per component.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBENorm : public CBEBlock {
public:
  // 80 x 40, two unnamed inputs and two outputs, float.
  CBENorm();
  // Null when the block or its pins could not be made.
  static CBEBlock* Create();

  // In the block's type (float, double), an unlinked component counting 0:
  // s the sum of the squares, m its square root; output j is component j
  // divided by m, or by 1 when m is below kNormSmallestLength (compared in
  // the type), so a zero vector gives a zero vector. A float block rounds
  // every operation to float.
  void Step(float dt) override;
  // The component count byte, the type byte, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record, a count outside
  // 2..127 or a type other than float and double.
  bool Load(CStream* stream) override;
  // "||x||" centred in the body.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Costs by type (float 380 cycles and 10 ROM bytes, double 490 and 20,
  // with the shared-routine flag; another type leaves them); the body
  // becomes 20 n high for n inputs, the pins are spread over it again and
  // every pin takes the block's type.
  void UpdatePinsAndCosts();
  BeSignalType GetType() const;
};
