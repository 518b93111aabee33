// CBECotan ("Котангенс"): the cotangent of a signal in radians.
#pragma once

#include "blocks/library/math/trig/math_func.h"

class CBECotan : public CBEMathFunc {
public:
  // As CBEMathFunc.
  CBECotan();
  // Null when the block or its pins could not be made.
  static CBEBlock* Create();

  // Without a link nothing; otherwise 1 / tan x: a float block narrows
  // the tangent to float first. The cotangent of 0 is an infinity.
  void Step(float dt) override;
  // "ctg" centred in the body.
  void Draw(HDC dc) override;
};
