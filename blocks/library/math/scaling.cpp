#include "blocks/library/math/scaling.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "blocks/library/scalar_value.h"
#include "foundation/numbers.h"

void WriteScaledResult(unsigned char* value, BeSignalType type, double y, bool saturate) {
  switch (type) {
    case kBeSignalChar:
    case kBeSignalShort:
    case kBeSignalInt: {
      int32_t v = TruncateToInt32(y);
      if (saturate && type == kBeSignalChar) v = SaturateInt32(v, -128, 127);
      if (saturate && type == kBeSignalShort) v = SaturateInt32(v, -32768, 32767);
      WriteIntegerValue(value, type, static_cast<uint32_t>(v));
      break;
    }
    case kBeSignalFloat: WriteFloatValue(value, RoundToFloat(y)); break;
    case kBeSignalDouble: WriteDoubleValue(value, y); break;
    default: break;
  }
}

int InputCostFactor(BeSignalType inputType) { return inputType == kBeSignalChar ? 1 : 2; }

int OutputCostFactor(BeSignalType outputType) { return GetSignalTransferSize(outputType); }

void FormatScalingConstant(float constant, const wchar_t* suffix, wchar_t* text, size_t chars) {
  if (!text || chars == 0) return;
  // The edges are compared in the constant's own precision: 0.01f is not
  // below 0.01.
  float magnitude = std::fabs(constant);
  const wchar_t* format = magnitude < 0.01f ? L"%3.3g%ls" : magnitude < 10.0f ? L"%0.3f%ls" : L"%0.1f%ls";
  _snwprintf(text, chars - 1, format, static_cast<double>(constant), suffix ? suffix : L"");
  text[chars - 1] = 0;
}
