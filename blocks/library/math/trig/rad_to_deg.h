// CBERadToDeg ("Радианы в градусы"): an angle in radians in degrees.
#pragma once

#include "blocks/library/math/trig/math_func.h"

class CBERadToDeg : public CBEMathFunc {
public:
  // As CBEMathFunc.
  CBERadToDeg();
  // Null when the block or its pins could not be made.
  static CBEBlock* Create();

  // Without a link nothing; otherwise x 180 / pi, in that order,
  // with the pi of the block's precision (kFloatPi, kDoublePi).
  void Step(float dt) override;
  // "rad→°" centred in the body.
  void Draw(HDC dc) override;
};
