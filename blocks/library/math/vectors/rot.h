// CBERot ("Плоский поворот вектора на угол a"): the vector (x, y) turned in
// its plane by the angle a (radians).
#pragma once

#include "blocks/engine/block.h"

class CBERot : public CBEBlock {
public:
  // 80 x 60, float inputs "x", "y", "a" and outputs "x", "y" with their
  // descriptions; it costs nothing. Its record is the base record and it
  // has no dialog.
  CBERot();
  // Null when the block or its pins could not be made.
  static CBEBlock* Create();

  // x, y and a are the linked floats (0 without a link); with the cosine
  // and the sine of a in float, output x = x cos a - y sin a and output
  // y = x sin a + y cos a, every operation rounded to float.
  void Step(float dt) override;
  // "rot" centred in the body.
  void Draw(HDC dc) override;
};
