// CBEPItoPI ("Привести угол в диапазон от -π до π"): an angle reduced to
// -pi <= y < pi.
#pragma once

#include "blocks/library/math/trig/math_func.h"

// The drawn text's font: "Symbol" (where "p" is pi), 18 pixels high.
const int kPiFontHeight = -18;

class CBEPItoPI : public CBEMathFunc {
public:
  // As CBEMathFunc.
  CBEPItoPI();
  // Null when the block or its pins could not be made.
  static CBEBlock* Create();

  // Without a link nothing; otherwise 2 pi is taken off while the angle is
  // pi or more, then added while it is below -pi, each result rounded to
  // the block's type (the constants kFloatPi and kFloatTwoPi or kDoublePi
  // and kDoubleTwoPi): pi becomes -pi. Computed in a bounded number of
  // operations (angle_reduction.h): where the steps would no longer change
  // a huge angle, the exact remainder by 2 pi; infinities and not a number
  // pass unchanged.
  void Step(float dt) override;
  // "-p..p" in the "Symbol" font centred in the body, the font made for the
  // drawing and freed after it; on a system without that font, "-π..π" in
  // a font that has the letter.
  void Draw(HDC dc) override;
};
