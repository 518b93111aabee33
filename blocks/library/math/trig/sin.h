// CBESin ("Синус"): the sine of a signal in radians.
#pragma once

#include "blocks/library/math/trig/math_func.h"

class CBESin : public CBEMathFunc {
public:
  // As CBEMathFunc.
  CBESin();
  // Null when the block or its pins could not be made.
  static CBEBlock* Create();

  // Without a link nothing; otherwise the sine of x (radians).
  void Step(float dt) override;
  // "sin" centred in the body.
  void Draw(HDC dc) override;
};
