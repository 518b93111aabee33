// CBEArcsin ("Арксинус"): the arc sine of a signal, in radians.
#pragma once

#include "blocks/library/math/trig/math_func.h"

class CBEArcsin : public CBEMathFunc {
public:
  // As CBEMathFunc.
  CBEArcsin();
  // Null when the block or its pins could not be made.
  static CBEBlock* Create();

  // Without a link nothing; otherwise the arc sine of x in radians;
  // beyond +-1 not a number.
  void Step(float dt) override;
  // "arcsin" centred in the body.
  void Draw(HDC dc) override;
};
