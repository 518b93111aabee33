#include "blocks/library/math/vectors/rot.h"

#include <cmath>
#include <new>

#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/math/math_colors.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "foundation/numbers.h"

namespace {
double ReadLinkedFloat(const BeInputPin* input) {
  return input->source ? ReadFloatValue(input->source->value) : 0.0;
}
}  // namespace

CBERot::CBERot() {
  rect = RECT{0, 0, 80, 60};
  fillColor = kTrigonometryFill;
  SetInputCount(3);
  SetOutputCount(2);
  if (inputCount == 3 && outputCount == 2) {
    inputs[0]->name = L"x";
    inputs[0]->description = L"Координата x";
    inputs[1]->name = L"y";
    inputs[1]->description = L"Координата y";
    inputs[2]->name = L"a";
    inputs[2]->description = L"Угол поворота (рад)";
    outputs[0]->name = L"x";
    outputs[0]->description = L"Координата x после поворота на a";
    outputs[1]->name = L"y";
    outputs[1]->description = L"Координата y после поворота на a";
  }
  SetPinTypes(this, kBeSignalFloat);
  cycles = 0;
  rom = 0;
  sharedRoutine = 0;
}

CBEBlock* CBERot::Create() { return KeepIfPinsMade(new (std::nothrow) CBERot, 3, 2); }

void CBERot::Step(float) {
  if (inputCount < 3 || outputCount < 2) return;
  double x = ReadLinkedFloat(inputs[0]);
  double y = ReadLinkedFloat(inputs[1]);
  double a = ReadLinkedFloat(inputs[2]);
  double c = RoundToFloat(std::cos(a));
  double s = RoundToFloat(std::sin(a));
  double xc = RoundToFloat(x * c), ys = RoundToFloat(y * s);
  double xs = RoundToFloat(x * s), yc = RoundToFloat(y * c);
  WriteFloatValue(outputs[0]->value, RoundToFloat(xc - ys));
  WriteFloatValue(outputs[1]->value, RoundToFloat(xs + yc));
}

void CBERot::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"rot");
}
