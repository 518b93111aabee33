#include "blocks/library/math/trig/arcsin.h"

#include <cmath>
#include <new>

namespace {
double Evaluate(double x) { return std::asin(x); }
}  // namespace

CBEArcsin::CBEArcsin() : CBEMathFunc(kBeArcsinClassId) {}

CBEBlock* CBEArcsin::Create() { return CreateMathFunc<CBEArcsin>(); }

void CBEArcsin::Step(float) { StepFunction(Evaluate, Evaluate); }

void CBEArcsin::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"arcsin");
}
