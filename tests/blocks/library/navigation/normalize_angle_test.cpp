// NormalizeAngle: whole turns taken off until the angle lies in [-pi, pi],
// ending where repeated subtraction (or addition) of 2 pi ends, in bounded
// time for any value; infinities and not-a-number pass through.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "blocks/library/navigation/normalize_angle.h"

namespace {

const double kPi = 3.141592653589793;
const double kInf = std::numeric_limits<double>::infinity();

struct Case {
  double a;
  double expected;
  double tolerance;  // 0: exactly
};

TEST(NormalizeAngle, TakesWholeTurnsOff) {
  // Expected: a - n * 2pi for the n that brings a into the interval, the
  // exact remainder for the double nearest 2pi (6.283185307179586). Far
  // from 0 the repeated subtraction of the Part rounds at every turn; the
  // whole turns taken at once do not.
  const Case cases[] = {
      {0.0, 0.0, 0},
      {1.0, 1.0, 0},
      {-2.5, -2.5, 0},
      {kPi, kPi, 0},      // the upper end stays
      {-kPi, -kPi, 0},    // the lower end stays
      {3.5, 3.5 - 2 * kPi, 1e-15},
      {-3.5, -3.5 + 2 * kPi, 1e-15},
      {7.0, 0.7168146928204138, 1e-15},
      {-7.0, -0.7168146928204138, 1e-15},
      {3 * kPi, kPi, 1e-15},    // from above, a half turn ends at +pi ...
      {-3 * kPi, -kPi, 1e-15},  // ... and from below at -pi
      {1000.5, 1.4735361584457891, 1e-12},
      {-1000.5, -1.4735361584457891, 1e-12},
      // 1e17 = 15915494309189534 turns + 1.2396830954246951 (exact
      // rational arithmetic on the two doubles).
      {1e17, 1.2396830954246951, 1e-12},
      {-1e17, -1.2396830954246951, 1e-12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.a);
    const double r = NormalizeAngle(c.a);
    if (c.tolerance == 0)
      EXPECT_EQ(c.expected, r);
    else
      EXPECT_NEAR(c.expected, r, c.tolerance);
    EXPECT_LE(r, kPi);
    EXPECT_GE(r, -kPi);
  }
}

TEST(NormalizeAngle, PassesNonFiniteValuesThrough) {
  EXPECT_EQ(kInf, NormalizeAngle(kInf));
  EXPECT_EQ(-kInf, NormalizeAngle(-kInf));
  EXPECT_TRUE(std::isnan(NormalizeAngle(std::numeric_limits<double>::quiet_NaN())));
}

TEST(NormalizeAngle, LargestFiniteValuesTakeNoLonger) {
  const double big = std::numeric_limits<double>::max();
  const double r = NormalizeAngle(big);
  EXPECT_LE(std::fabs(r), kPi);
  EXPECT_LE(std::fabs(NormalizeAngle(-big)), kPi);
  EXPECT_EQ(-r, NormalizeAngle(-big));
}

}  // namespace
