#include "blocks/library/navigation/normalize_angle.h"

#include <cmath>

namespace {
const double kPi = 3.14159265358979323846;
const double kTwoPi = 2 * kPi;
}  // namespace

double NormalizeAngle(double a) {
  if (!std::isfinite(a)) return a;
  if (a >= -kPi && a <= kPi) return a;
  // remainder gives a - n*2pi with n the nearest whole number, in [-pi, pi];
  // a half turn that lands on the wrong end goes to the end that repeated
  // subtraction (or addition) of whole turns would reach.
  double r = std::remainder(a, kTwoPi);
  if (a > kPi && r <= -kPi) r += kTwoPi;
  if (a < -kPi && r >= kPi) r -= kTwoPi;
  return r;
}
