#include "blocks/library/math/trig/sin.h"

#include <cmath>
#include <new>

namespace {
double Evaluate(double x) { return std::sin(x); }
}  // namespace

CBESin::CBESin() : CBEMathFunc(kBeSinClassId) {}

CBEBlock* CBESin::Create() { return CreateMathFunc<CBESin>(); }

void CBESin::Step(float) { StepFunction(Evaluate, Evaluate); }

void CBESin::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"sin");
}
