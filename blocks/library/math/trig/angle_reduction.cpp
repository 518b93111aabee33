#include "blocks/library/math/trig/angle_reduction.h"

#include <cmath>

// How it works. Take y > 0 and c = 2pi, and let g be the spacing of the
// values of the precision in the binade [2^e', 2^(e'+1)) where y - c falls.
// When y is a multiple of g (it is, lying in that binade or above), the
// rounded difference is y - k g with k = floor(c / g) or one more, chosen by
// the part of c below g (ties go to the even multiple). Inside one binade
// of y the spacing stays, so after at most one step (which settles the
// parity a tie looks at) every step takes off the same k g: a whole run of
// them is one multiplication. A binade then costs a few operations, and
// each operation below is exact in double arithmetic, so the x87 unit of
// the 32-bit build and SSE give the same bits.

namespace {

// Far more than the binades of a double need (a few rounds each); reaching
// it would mean the loop does not end.
const int kMaxRounds = 4096;

// Whether a whole number below 2^54 is odd (each operation exact).
bool IsOdd(double integer) { return std::floor(integer / 2) * 2 != integer; }

// The multiple k of g that rounding y - c takes off: y a multiple of g.
double RoundedSteps(double y, double c, double g) {
  double m = std::floor(c / g);
  double f = c - m * g;
  double half = g / 2;
  if (f < half) return m;
  if (f > half) return m + 1;
  // A tie: the result y - k g must be an even multiple of g.
  return IsOdd(y / g) == IsOdd(m) ? m : m + 1;
}

// One step of the loop: y - c rounded to the precision (y >= c / 2).
double SubtractOnce(double y, double c, int bits) {
  // Sterbenz: from c / 2 to 2c the difference is a value of the precision.
  if (y <= 2 * c) return y - c;
  int e = std::ilogb(y);
  double low = std::ldexp(1.0, e);
  double spacing = std::ldexp(1.0, e - (bits - 1));
  // y - c stays in y's binade, or falls into the one below (y > 2c).
  double g = y - low >= c ? spacing : spacing / 2;
  return y - RoundedSteps(y, c, g) * g;
}

// As many steps as stay inside y's binade, at once (y > 2c); y itself when
// none can be taken together.
double SubtractRun(double y, double c, int bits) {
  int e = std::ilogb(y);
  double low = std::ldexp(1.0, e);
  double g = std::ldexp(1.0, e - (bits - 1));
  double above = y - low;
  if (above < c) return y;
  double m = std::floor(c / g);
  double f = c - m * g;
  // On a tie the step depends on the parity of y / g; from an even
  // multiple it is the even one of m, m + 1 and keeps the parity.
  if (f == g / 2 && IsOdd(y / g)) return y;
  double k = RoundedSteps(y, c, g);
  if (k == 0) return y;
  double step = k * g;
  // Step j (from 0) stays in the binade when above - j step >= c.
  double n = std::floor((above - c) / step) + 1;
  while (n > 0 && above - (n - 1) * step < c) n -= 1;
  return n > 0 ? y - n * step : y;
}

// z = z - c (rounded) while z >= pi (inclusive) or z > pi. False when a
// step leaves z as it was: the loop would never end.
bool SubtractWhileAbove(double* z, double pi, double c, int bits, bool inclusive) {
  for (int round = 0; round < kMaxRounds; ++round) {
    double y = *z;
    if (inclusive ? !(y >= pi) : !(y > pi)) return true;
    if (y > 2 * c) {
      double run = SubtractRun(y, c, bits);
      if (run != y) {
        *z = run;
        continue;
      }
    }
    double next = SubtractOnce(y, c, bits);
    if (next == y) return false;
    *z = next;
  }
  return false;
}

// a modulo c exactly (a >= 0 finite, c > 0): long division, each step taking
// off the largest c 2^k that fits, which is exact (Sterbenz: c 2^k is at
// least half of what is left). At most one step per binade between a and c.
// The run-time library's remainder is not used: some compute it as
// x - n y in floating point, which is not exact for large x.
double ExactModulo(double a, double c) {
  int ec = std::ilogb(c);
  while (a >= c) {
    double part = std::ldexp(c, std::ilogb(a) - ec);
    if (part > a) part /= 2;
    a -= part;
  }
  return a;
}

}  // namespace

double ReduceAngleToPi(double x, double pi, double twoPi, int mantissaBits) {
  if (!std::isfinite(x)) return x;
  double y = x;
  bool ended = true;
  if (y >= pi) ended = SubtractWhileAbove(&y, pi, twoPi, mantissaBits, true);
  // Adding c to a negative y is subtracting it from -y: rounding to
  // nearest is symmetric.
  if (ended && y < -pi) {
    double z = -y;
    ended = SubtractWhileAbove(&z, pi, twoPi, mantissaBits, false);
    y = -z;
  }
  if (ended) return y;
  // The one value of -pi <= r < pi that differs from x by a whole multiple
  // of twoPi; it is a value of the precision, and each step here is exact.
  double r = ExactModulo(std::fabs(x), twoPi);
  if (x < 0) r = -r;
  if (r >= pi) r -= twoPi;
  if (r < -pi) r += twoPi;
  return r;
}
