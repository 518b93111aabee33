// CBEArccos ("Арккосинус"): the arc cosine of a signal, in radians.
#pragma once

#include "blocks/library/math/trig/math_func.h"

class CBEArccos : public CBEMathFunc {
public:
  // As CBEMathFunc.
  CBEArccos();
  // Null when the block or its pins could not be made.
  static CBEBlock* Create();

  // Without a link nothing; otherwise the arc cosine of x in radians;
  // beyond +-1 not a number.
  void Step(float dt) override;
  // "arccos" centred in the body.
  void Draw(HDC dc) override;
};
