#include "blocks/library/math/trig/cotan.h"

#include <cmath>
#include <new>

#include "foundation/numbers.h"

namespace {
double EvaluateFloat(double x) { return 1.0 / static_cast<double>(RoundToFloat(std::tan(x))); }
double EvaluateDouble(double x) { return 1.0 / std::tan(x); }
}  // namespace

CBECotan::CBECotan() : CBEMathFunc(kBeCotanClassId) {}

CBEBlock* CBECotan::Create() { return CreateMathFunc<CBECotan>(); }

void CBECotan::Step(float) { StepFunction(EvaluateFloat, EvaluateDouble); }

void CBECotan::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"ctg");
}
