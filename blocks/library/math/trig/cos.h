// CBECos ("Косинус"): the cosine of a signal in radians.
#pragma once

#include "blocks/library/math/trig/math_func.h"

class CBECos : public CBEMathFunc {
public:
  // As CBEMathFunc.
  CBECos();
  // Null when the block or its pins could not be made.
  static CBEBlock* Create();

  // Without a link nothing; otherwise the cosine of x (radians).
  void Step(float dt) override;
  // "cos" centred in the body.
  void Draw(HDC dc) override;
};
