#include "blocks/library/math/trig/deg_to_rad.h"

#include <cmath>
#include <new>

namespace {
double EvaluateFloat(double x) { return x * kFloatPi / 180.0; }
double EvaluateDouble(double x) { return x * kDoublePi / 180.0; }
}  // namespace

CBEDegToRad::CBEDegToRad() : CBEMathFunc(kBeDegToRadClassId) {}

CBEBlock* CBEDegToRad::Create() { return CreateMathFunc<CBEDegToRad>(); }

void CBEDegToRad::Step(float) { StepFunction(EvaluateFloat, EvaluateDouble); }

void CBEDegToRad::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"\u00B0\u2192rad");
}
