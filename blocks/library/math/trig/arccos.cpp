#include "blocks/library/math/trig/arccos.h"

#include <cmath>
#include <new>

namespace {
double Evaluate(double x) { return std::acos(x); }
}  // namespace

CBEArccos::CBEArccos() : CBEMathFunc(kBeArccosClassId) {}

CBEBlock* CBEArccos::Create() { return CreateMathFunc<CBEArccos>(); }

void CBEArccos::Step(float) { StepFunction(Evaluate, Evaluate); }

void CBEArccos::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"arccos");
}
