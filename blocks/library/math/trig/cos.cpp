#include "blocks/library/math/trig/cos.h"

#include <cmath>
#include <new>

namespace {
double Evaluate(double x) { return std::cos(x); }
}  // namespace

CBECos::CBECos() : CBEMathFunc(kBeCosClassId) {}

CBEBlock* CBECos::Create() { return CreateMathFunc<CBECos>(); }

void CBECos::Step(float) { StepFunction(Evaluate, Evaluate); }

void CBECos::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"cos");
}
