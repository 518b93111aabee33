// Single-precision 3-D helpers. Matrices are row-major and applied to row
// vectors (p' = p x M), with the translation in row 3.
#pragma once

struct Vec3f {
  float x, y, z;
};

struct Mat4f {
  float m[16];  // element (r, c) at 4r + c
  float& at(int r, int c) { return m[4 * r + c]; }
  float at(int r, int c) const { return m[4 * r + c]; }
};

Mat4f* MakeIdentityMatrix(Mat4f* m);
Mat4f* MakeMatrixSwapYZ(Mat4f* m, float x, float y, float z);
Mat4f* MakeMatrixSwapXZ(Mat4f* m, float x, float y, float z);
// out may be a or b.
Mat4f* MultiplyMatrices(Mat4f* out, const Mat4f* a, const Mat4f* b);
float ComputeDeterminant3x3(const Mat4f* m);
Mat4f* InvertMatrix(Mat4f* out, const Mat4f* m);
float DotMatrixXAxis(const Mat4f* m, const Vec3f* v);
Vec3f* SetVec3(Vec3f* v, float x, float y, float z);
void SubtractVec3(Vec3f* out, const Vec3f* a, const Vec3f* b);
float GetLengthSquared(const Vec3f* v);
float GetDistance(const Vec3f* a, const Vec3f* b);
void RotatePoint2D(float* x, float* y, float angle);
float Square(float x);
