#include "foundation/vecmath.h"

#include <cmath>
#include <cstring>

Mat4f* MakeIdentityMatrix(Mat4f* m) {
  memset(m->m, 0, sizeof m->m);
  m->m[0] = m->m[5] = m->m[10] = m->m[15] = 1.0f;
  return m;
}

namespace {
Mat4f* SetRows(Mat4f* m, const float (&rot)[9], float x, float y, float z) {
  memset(m->m, 0, sizeof m->m);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) m->at(r, c) = rot[3 * r + c];
  m->at(3, 0) = x;
  m->at(3, 1) = y;
  m->at(3, 2) = z;
  m->at(3, 3) = 1.0f;
  return m;
}
}  // namespace

Mat4f* MakeMatrixSwapYZ(Mat4f* m, float x, float y, float z) {
  static const float rot[9] = {1, 0, 0, 0, 0, -1, 0, 1, 0};
  return SetRows(m, rot, x, y, z);
}

Mat4f* MakeMatrixSwapXZ(Mat4f* m, float x, float y, float z) {
  static const float rot[9] = {0, 0, -1, 0, 1, 0, 1, 0, 0};
  return SetRows(m, rot, x, y, z);
}

// The product is built aside, so out may be a or b as well.
Mat4f* MultiplyMatrices(Mat4f* out, const Mat4f* a, const Mat4f* b) {
  Mat4f p;
  for (int r = 0; r < 3; ++r) {
    for (int j = 0; j < 3; ++j) {
      float s = 0.0f;
      for (int k = 0; k < 3; ++k) s += a->at(r, k) * b->at(k, j);
      p.at(r, j) = s;
    }
    p.at(r, 3) = 0.0f;
  }
  for (int j = 0; j < 3; ++j)
    p.at(3, j) = a->at(3, 0) * b->at(0, j) + a->at(3, 1) * b->at(1, j) +
                 a->at(3, 2) * b->at(2, j) + b->at(3, j);
  p.at(3, 3) = 1.0f;
  *out = p;
  return out;
}

float ComputeDeterminant3x3(const Mat4f* m) {
  const float* a = m->m;
  return a[0] * a[5] * a[10] + a[1] * a[6] * a[8] + a[2] * a[4] * a[9] - a[8] * a[5] * a[2] -
         a[10] * a[1] * a[4] - a[9] * a[0] * a[6];
}

Mat4f* InvertMatrix(Mat4f* out, const Mat4f* m) {
  float d = ComputeDeterminant3x3(m);
  if (std::fabs(d) < 1e-9f) return MakeIdentityMatrix(out);
  Mat4f r;
  const float* a = m->m;
  // a(r, c) = a[4r + c]
  r.at(0, 0) = (a[5] * a[10] - a[6] * a[9]) / d;
  r.at(0, 1) = -(a[1] * a[10] - a[2] * a[9]) / d;
  r.at(0, 2) = (a[1] * a[6] - a[2] * a[5]) / d;
  r.at(1, 0) = -(a[4] * a[10] - a[6] * a[8]) / d;
  r.at(1, 1) = (a[0] * a[10] - a[2] * a[8]) / d;
  r.at(1, 2) = -(a[0] * a[6] - a[2] * a[4]) / d;
  r.at(2, 0) = (a[4] * a[9] - a[5] * a[8]) / d;
  r.at(2, 1) = -(a[0] * a[9] - a[1] * a[8]) / d;
  r.at(2, 2) = (a[0] * a[5] - a[1] * a[4]) / d;
  for (int j = 0; j < 3; ++j)
    r.at(3, j) = -(a[12] * r.at(0, j) + a[13] * r.at(1, j) + a[14] * r.at(2, j));
  for (int i = 0; i < 3; ++i) r.at(i, 3) = 0.0f;
  r.at(3, 3) = 1.0f;
  *out = r;
  return out;
}

float DotMatrixXAxis(const Mat4f* m, const Vec3f* v) {
  return m->m[0] * v->x + m->m[1] * v->y + m->m[2] * v->z;
}

Vec3f* SetVec3(Vec3f* v, float x, float y, float z) {
  v->x = x;
  v->y = y;
  v->z = z;
  return v;
}

void SubtractVec3(Vec3f* out, const Vec3f* a, const Vec3f* b) {
  out->x = a->x - b->x;
  out->y = a->y - b->y;
  out->z = a->z - b->z;
}

float GetLengthSquared(const Vec3f* v) { return v->x * v->x + v->y * v->y + v->z * v->z; }

float GetDistance(const Vec3f* a, const Vec3f* b) {
  float dx = b->x - a->x, dy = b->y - a->y, dz = b->z - a->z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

void RotatePoint2D(float* x, float* y, float angle) {
  float c = std::cos(angle), s = std::sin(angle);
  float nx = *x * c - *y * s;
  float ny = *x * s + *y * c;
  *x = nx;
  *y = ny;
}

float Square(float x) { return x * x; }
