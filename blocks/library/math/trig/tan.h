// CBETan ("Тангенс"): the tangent of a signal in radians.
#pragma once

#include "blocks/library/math/trig/math_func.h"

class CBETan : public CBEMathFunc {
public:
  // As CBEMathFunc.
  CBETan();
  // Null when the block or its pins could not be made.
  static CBEBlock* Create();

  // Without a link nothing; otherwise the tangent of x (radians).
  void Step(float dt) override;
  // "tg" centred in the body.
  void Draw(HDC dc) override;
};
