#include "blocks/library/math/trig/rad_to_deg.h"

#include <cmath>
#include <new>

namespace {
double EvaluateFloat(double x) { return x * 180.0 / kFloatPi; }
double EvaluateDouble(double x) { return x * 180.0 / kDoublePi; }
}  // namespace

CBERadToDeg::CBERadToDeg() : CBEMathFunc(kBeRadToDegClassId) {}

CBEBlock* CBERadToDeg::Create() { return CreateMathFunc<CBERadToDeg>(); }

void CBERadToDeg::Step(float) { StepFunction(EvaluateFloat, EvaluateDouble); }

void CBERadToDeg::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"rad\u2192\u00B0");
}
