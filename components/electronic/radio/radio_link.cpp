#include "components/electronic/radio/radio_link.h"

#include <cmath>

#include "foundation/vecmath.h"

namespace {

const float kTwoPi = 6.2831855f;
const float kWifiBand = 2400.0f;
const float kLinkScale = 150000000.0f;

// The factor of one beam plane: the directivity 2 pi / w times a Gaussian
// of the off-axis angle; 1 for an omnidirectional width.
float BeamFactor(float angle, float width, float bound) {
  if (!(width > 0 && width < bound)) return 1.0f;
  return (kTwoPi / width) * std::exp(-angle * angle / (1.5f * width * width));
}

// The beam factor of one end looking along D (the vector towards the other
// end).
float EndFactor(const Mat4f& frame, float dx, float dy, float dz, float around, float along) {
  float x = frame.at(0, 0) * dx + frame.at(0, 1) * dy + frame.at(0, 2) * dz;
  float y = frame.at(1, 0) * dx + frame.at(1, 1) * dy + frame.at(1, 2) * dz;
  float z = frame.at(2, 0) * dx + frame.at(2, 1) * dy + frame.at(2, 2) * dz;
  float f = BeamFactor(std::atan2(y, x), around, kTwoPi);
  f *= BeamFactor(std::atan2(z, std::sqrt(x * x + y * y)), along, kTwoPi);
  return f;
}

}  // namespace

void MakeBeamFrame(Mat4f* frame, const Mat4f* pose, unsigned char axis) {
  Mat4f swap;
  if (axis == 0) {
    MakeMatrixSwapXZ(&swap, 0, 0, 0);
    MultiplyMatrices(frame, &swap, pose);
  } else if (axis == 1) {
    MakeMatrixSwapYZ(&swap, 0, 0, 0);
    MultiplyMatrices(frame, &swap, pose);
  } else {
    *frame = *pose;
  }
  for (int c = 0; c < 4; c++) frame->at(3, c) = pose->at(3, c);
}

float ComputeRadioLinkGain(const Mat4f* poseA, unsigned char axisA, float aroundA, float alongA,
                           float powerA, float gainA, const Mat4f* poseB, unsigned char axisB,
                           float aroundB, float alongB, float powerB, float gainB) {
  if (!poseA || !poseB) return 0;
  Mat4f fa, fb;
  MakeBeamFrame(&fa, poseA, axisA);
  MakeBeamFrame(&fb, poseB, axisB);
  float pa = powerA * gainA, pb = powerB * gainB;
  float P = pa < pb ? pa : pb;
  float dx = fb.at(3, 0) - fa.at(3, 0);
  float dy = fb.at(3, 1) - fa.at(3, 1);
  float dz = fb.at(3, 2) - fa.at(3, 2);
  float d2 = dx * dx + dy * dy + dz * dz;
  if (!(d2 >= 1)) d2 = 1;
  // Each end looks towards the other, so the strength is the same whichever
  // end is A.
  float F = EndFactor(fa, dx, dy, dz, aroundA, alongA);
  F *= EndFactor(fb, -dx, -dy, -dz, aroundB, alongB);
  return F * kLinkScale * P * P / d2;
}

float RadioOffBandFactor(float centreFrequency, float bandwidth) {
  if (!(bandwidth != 0) || !std::isfinite(bandwidth)) return 1.0f;
  float x = (centreFrequency - kWifiBand) * 3 / bandwidth;
  float f = std::exp(-x * x);
  return std::isfinite(f) ? f : 0.0f;
}
