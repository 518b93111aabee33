#include "blocks/library/math/trig/arctan.h"

#include <cmath>
#include <new>

namespace {
double Evaluate(double x) { return std::atan(x); }
}  // namespace

CBEArctan::CBEArctan() : CBEMathFunc(kBeArctanClassId) {}

CBEBlock* CBEArctan::Create() { return CreateMathFunc<CBEArctan>(); }

void CBEArctan::Step(float) { StepFunction(Evaluate, Evaluate); }

void CBEArctan::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"arctan");
}
