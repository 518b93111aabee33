// CBEArctan2 ("Арктангенс от двух аргументов"): the angle of the point
// (x, y), atan2(y, x).
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBEArctan2 : public CBEBlock {
public:
  // 80 x 40, inputs "y" and "x", one unnamed output holding 0, float.
  CBEArctan2();
  // Null when the block or its pins could not be made.
  static CBEBlock* Create();

  // y and x each by the type of its linked output (float widened, double;
  // another type or no link 0); the output by the block's type: atan2(y, x)
  // computed in double, rounded to float in a float block. atan2(0, 0) is 0.
  void Step(float dt) override;
  // The type byte, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record or a type other than
  // float and double; the type goes on every pin, then the costs.
  bool Load(CStream* stream) override;
  // "atan2" centred in the body.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // float 380 cycles and 10 ROM bytes, double 490 and 20; both set the
  // shared-routine flag. Another type leaves the costs as they were.
  void UpdateCosts();
  BeSignalType GetType() const;
};
