#include "blocks/library/math/trig/tan.h"

#include <cmath>
#include <new>

namespace {
double Evaluate(double x) { return std::tan(x); }
}  // namespace

CBETan::CBETan() : CBEMathFunc(kBeTanClassId) {}

CBEBlock* CBETan::Create() { return CreateMathFunc<CBETan>(); }

void CBETan::Step(float) { StepFunction(Evaluate, Evaluate); }

void CBETan::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"tg");
}
