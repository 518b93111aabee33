// Vector and matrix helpers.
#include "foundation/vecmath.h"

#include <cmath>

#include "support/test_support.h"

namespace {

const float kPi = 3.14159265f;

Vec3f Transform(const Mat4f& m, Vec3f p) {
  Vec3f r;
  r.x = p.x * m.at(0, 0) + p.y * m.at(1, 0) + p.z * m.at(2, 0) + m.at(3, 0);
  r.y = p.x * m.at(0, 1) + p.y * m.at(1, 1) + p.z * m.at(2, 1) + m.at(3, 1);
  r.z = p.x * m.at(0, 2) + p.y * m.at(1, 2) + p.z * m.at(2, 2) + m.at(3, 2);
  return r;
}

Mat4f FromRows(std::initializer_list<float> values) {
  Mat4f m;
  int i = 0;
  for (float v : values) m.m[i++] = v;
  return m;
}

// A pose: rotation about Z by a, then about X by b, then a translation.
Mat4f Pose(float a, float b, float tx, float ty, float tz) {
  float ca = std::cos(a), sa = std::sin(a), cb = std::cos(b), sb = std::sin(b);
  Mat4f rz = FromRows({ca, sa, 0, 0, -sa, ca, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
  Mat4f rx = FromRows({1, 0, 0, 0, 0, cb, sb, 0, 0, -sb, cb, 0, tx, ty, tz, 1});
  Mat4f out;
  MultiplyMatrices(&out, &rz, &rx);
  return out;
}

::testing::AssertionResult NearMatrix(const Mat4f& expected, const Mat4f& actual, float tolerance) {
  for (int i = 0; i < 16; ++i) {
    if (std::fabs(expected.m[i] - actual.m[i]) > tolerance)
      return ::testing::AssertionFailure() << "element (" << i / 4 << ", " << i % 4 << "): expected "
                                           << expected.m[i] << ", got " << actual.m[i];
  }
  return ::testing::AssertionSuccess();
}

#define EXPECT_VEC_NEAR(ex, ey, ez, v, tol) \
  do {                                      \
    EXPECT_NEAR(ex, (v).x, tol);            \
    EXPECT_NEAR(ey, (v).y, tol);            \
    EXPECT_NEAR(ez, (v).z, tol);            \
  } while (0)

}  // namespace

TEST(Matrices, Identity) {
  Mat4f m;
  for (float& v : m.m) v = 9.0f;
  EXPECT_EQ(&m, MakeIdentityMatrix(&m));
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_EQ(r == c ? 1.0f : 0.0f, m.at(r, c));
}

TEST(Matrices, SwapYZ) {
  Mat4f m;
  EXPECT_EQ(&m, MakeMatrixSwapYZ(&m, 10, 20, 30));
  EXPECT_TRUE(NearMatrix(FromRows({1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 10, 20, 30, 1}), m, 0));
  Vec3f p = Transform(m, {1, 2, 3});  // (a, b, c) -> (a, c, -b), then moved
  EXPECT_VEC_NEAR(11, 23, 28, p, 0);
}

TEST(Matrices, SwapXZ) {
  Mat4f m;
  EXPECT_EQ(&m, MakeMatrixSwapXZ(&m, 10, 20, 30));
  EXPECT_TRUE(NearMatrix(FromRows({0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 10, 20, 30, 1}), m, 0));
  Vec3f p = Transform(m, {1, 2, 3});  // (a, b, c) -> (c, b, -a), then moved
  EXPECT_VEC_NEAR(13, 22, 29, p, 0);
}

TEST(Matrices, MultiplyAppliesAThenB) {
  Mat4f yz, out;
  MakeMatrixSwapYZ(&yz, 0, 0, 0);
  EXPECT_EQ(&out, MultiplyMatrices(&out, &yz, &yz));
  Vec3f p = Transform(out, {1, 2, 3});  // (a, b, c) -> (a, -b, -c)
  EXPECT_VEC_NEAR(1, -2, -3, p, 0);

  Mat4f a = Pose(0.3f, -1.1f, 1, 2, 3), b = Pose(2.0f, 0.4f, -5, 0.5f, 7);
  MultiplyMatrices(&out, &a, &b);
  const Vec3f points[] = {{0, 0, 0}, {1, -2, 3}, {100, 5, -0.25f}};
  for (Vec3f q : points) {
    Vec3f once = Transform(out, q), twice = Transform(b, Transform(a, q));
    EXPECT_VEC_NEAR(twice.x, twice.y, twice.z, once, 1e-3f);
  }
  EXPECT_EQ(0.0f, out.at(0, 3));
  EXPECT_EQ(0.0f, out.at(1, 3));
  EXPECT_EQ(0.0f, out.at(2, 3));
  EXPECT_EQ(1.0f, out.at(3, 3));
}

TEST(Matrices, MultiplyIntoOneOfItsInputs) {
  Mat4f a = Pose(0.3f, -1.1f, 1, 2, 3), b = Pose(2.0f, 0.4f, -5, 0.5f, 7), expected;
  MultiplyMatrices(&expected, &a, &b);
  Mat4f intoA = a;
  MultiplyMatrices(&intoA, &intoA, &b);
  EXPECT_TRUE(NearMatrix(expected, intoA, 0));
  Mat4f intoB = b;
  MultiplyMatrices(&intoB, &a, &intoB);
  EXPECT_TRUE(NearMatrix(expected, intoB, 0));
}

TEST(Matrices, Determinant) {
  Mat4f m;
  EXPECT_EQ(1.0f, ComputeDeterminant3x3(MakeIdentityMatrix(&m)));
  EXPECT_EQ(1.0f, ComputeDeterminant3x3(MakeMatrixSwapYZ(&m, 4, 5, 6)));
  EXPECT_EQ(1.0f, ComputeDeterminant3x3(MakeMatrixSwapXZ(&m, 4, 5, 6)));
  // translation and column 3 do not count
  m = FromRows({2, 0, 0, 7, 0, 3, 0, 7, 0, 0, 4, 7, 9, 9, 9, 9});
  EXPECT_EQ(24.0f, ComputeDeterminant3x3(&m));
  // every term of the rule
  m = FromRows({1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 10, 0, 0, 0, 0, 1});
  EXPECT_FLOAT_EQ(-3.0f, ComputeDeterminant3x3(&m));
  m = FromRows({2, -1, 0, 0, 1, 3, 2, 0, 0, 1, 4, 0, 0, 0, 0, 1});
  EXPECT_FLOAT_EQ(24.0f, ComputeDeterminant3x3(&m));
}

TEST(Matrices, InverseOfSwapXZTakesThePointHome) {
  Mat4f m, inv;
  MakeMatrixSwapXZ(&m, 1, 2, 3);
  EXPECT_EQ(&inv, InvertMatrix(&inv, &m));
  Vec3f p = Transform(inv, {1, 2, 3});
  EXPECT_VEC_NEAR(0, 0, 0, p, 1e-6f);
  EXPECT_EQ(0.0f, inv.at(0, 3));
  EXPECT_EQ(1.0f, inv.at(3, 3));
}

TEST(Matrices, InverseTimesMatrixIsIdentity) {
  Mat4f scaled = FromRows({2, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, -4, 0, 3, -3, 1, 1});
  Mat4f sheared = FromRows({1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 10, 0, -1, 0.5f, 2, 1});
  Mat4f swapped;
  MakeMatrixSwapYZ(&swapped, -7, 8, 0.25f);
  const Mat4f poses[] = {Pose(0.3f, -1.1f, 1, 2, 3), Pose(2.0f, 0.4f, -5, 0.5f, 7), Pose(kPi, kPi / 2, 0, 0, 0),
                         Pose(-0.7f, 3.0f, 100, -200, 50), scaled, sheared, swapped};
  Mat4f identity;
  MakeIdentityMatrix(&identity);
  for (const Mat4f& m : poses) {
    Mat4f inv, product, back;
    InvertMatrix(&inv, &m);
    MultiplyMatrices(&product, &m, &inv);
    EXPECT_TRUE(NearMatrix(identity, product, 1e-4f));
    MultiplyMatrices(&back, &inv, &m);
    EXPECT_TRUE(NearMatrix(identity, back, 1e-4f));
  }
}

TEST(Matrices, InvertInPlace) {
  Mat4f m = Pose(0.3f, -1.1f, 1, 2, 3), expected;
  InvertMatrix(&expected, &m);
  Mat4f same = m;
  InvertMatrix(&same, &same);
  EXPECT_TRUE(NearMatrix(expected, same, 0));
}

TEST(Matrices, SingularMatrixInvertsToIdentity) {
  Mat4f identity;
  MakeIdentityMatrix(&identity);
  const Mat4f singular[] = {
      FromRows({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 6, 7, 1}),     // all-zero block
      FromRows({1, 2, 3, 0, 2, 4, 6, 0, 0, 1, 0, 0, 1, 1, 1, 1}),     // dependent rows
      FromRows({1e-4f, 0, 0, 0, 0, 1e-3f, 0, 0, 0, 0, 1e-3f, 0, 0, 0, 0, 1}),  // |d| = 1e-10
  };
  for (const Mat4f& m : singular) {
    Mat4f out;
    for (float& v : out.m) v = 42.0f;
    InvertMatrix(&out, &m);
    EXPECT_TRUE(NearMatrix(identity, out, 0));
  }
  // just above the limit it inverts
  Mat4f small = FromRows({1e-3f, 0, 0, 0, 0, 1e-3f, 0, 0, 0, 0, 1e-2f, 0, 0, 0, 0, 1});  // d = 1e-8
  Mat4f inv;
  InvertMatrix(&inv, &small);
  EXPECT_NEAR(1000.0f, inv.at(0, 0), 0.1f);
  EXPECT_NEAR(100.0f, inv.at(2, 2), 0.01f);
}

TEST(Vectors, SetSubtractLength) {
  Vec3f a, b, d;
  EXPECT_EQ(&a, SetVec3(&a, 1, 2, 3));
  EXPECT_EQ(1.0f, a.x);
  EXPECT_EQ(2.0f, a.y);
  EXPECT_EQ(3.0f, a.z);
  SetVec3(&b, 4, -2, 3.5f);
  SubtractVec3(&d, &a, &b);
  EXPECT_VEC_NEAR(-3, 4, -0.5f, d, 0);
  EXPECT_FLOAT_EQ(25.25f, GetLengthSquared(&d));
  SubtractVec3(&a, &a, &b);  // out may be an input
  EXPECT_VEC_NEAR(-3, 4, -0.5f, a, 0);
}

TEST(Vectors, Distance) {
  Vec3f a, b;
  SetVec3(&a, 1.5f, -2, 7);
  EXPECT_EQ(0.0f, GetDistance(&a, &a));
  SetVec3(&b, 4.5f, 2, 7);
  EXPECT_FLOAT_EQ(5.0f, GetDistance(&a, &b));
  EXPECT_FLOAT_EQ(5.0f, GetDistance(&b, &a));
  SetVec3(&b, 1.5f + 2, -2 + 3, 7 + 6);
  EXPECT_FLOAT_EQ(7.0f, GetDistance(&a, &b));
}

TEST(Vectors, DotMatrixXAxis) {
  Mat4f m;
  Vec3f v;
  SetVec3(&v, 2, 3, 4);
  EXPECT_EQ(2.0f, DotMatrixXAxis(MakeIdentityMatrix(&m), &v));
  EXPECT_EQ(-4.0f, DotMatrixXAxis(MakeMatrixSwapXZ(&m, 9, 9, 9), &v));  // row 0 is (0, 0, -1)
  m = FromRows({0.5f, -1, 2, 100, 0, 0, 0, 0, 0, 0, 0, 0, 7, 7, 7, 1});
  EXPECT_EQ(6.0f, DotMatrixXAxis(&m, &v));
}

TEST(Vectors, RotatePoint2D) {
  struct Case {
    float x, y, angle, ex, ey;
  };
  const Case cases[] = {
      {1, 0, kPi / 2, 0, 1},
      {0, 1, kPi / 2, -1, 0},
      {1, 0, kPi, -1, 0},
      {2, 3, 0, 2, 3},
      {1, 1, -kPi / 4, std::sqrt(2.0f), 0},
      {3, -4, 2 * kPi, 3, -4},
  };
  for (const Case& c : cases) {
    float x = c.x, y = c.y;
    RotatePoint2D(&x, &y, c.angle);
    EXPECT_NEAR(c.ex, x, 1e-6f * 8) << c.x << "," << c.y << " by " << c.angle;
    EXPECT_NEAR(c.ey, y, 1e-6f * 8) << c.x << "," << c.y << " by " << c.angle;
  }
}

TEST(Vectors, Square) {
  EXPECT_EQ(9.0f, Square(3));
  EXPECT_EQ(9.0f, Square(-3));
  EXPECT_EQ(0.25f, Square(0.5f));
  EXPECT_EQ(0.0f, Square(0));
}
