// CBEDegToRad ("Градусы в радианы"): an angle in degrees in radians.
#pragma once

#include "blocks/library/math/trig/math_func.h"

class CBEDegToRad : public CBEMathFunc {
public:
  // As CBEMathFunc.
  CBEDegToRad();
  // Null when the block or its pins could not be made.
  static CBEBlock* Create();

  // Without a link nothing; otherwise x pi / 180, in that order,
  // with the pi of the block's precision (kFloatPi, kDoublePi).
  void Step(float dt) override;
  // "°→rad" centred in the body.
  void Draw(HDC dc) override;
};
