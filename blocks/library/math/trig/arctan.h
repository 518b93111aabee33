// CBEArctan ("Арктангенс"): the arc tangent of a signal, in radians.
#pragma once

#include "blocks/library/math/trig/math_func.h"

class CBEArctan : public CBEMathFunc {
public:
  // As CBEMathFunc.
  CBEArctan();
  // Null when the block or its pins could not be made.
  static CBEBlock* Create();

  // Without a link nothing; otherwise the arc tangent of x in radians.
  void Step(float dt) override;
  // "arctan" centred in the body.
  void Draw(HDC dc) override;
};
