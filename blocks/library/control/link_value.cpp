#include "blocks/library/control/link_value.h"

#include <cmath>

#include "blocks/library/scalar_value.h"
#include "foundation/numbers.h"

int32_t TruncateLinkValue(double y) {
  // Truncation toward zero keeps the values above -2147483649 and below
  // 2147483648; the comparisons are false for not a number.
  if (y > -2147483649.0 && y < 2147483648.0) return static_cast<int32_t>(y);
  return INT32_MIN;
}

double ClampLinkValue(double y, double lo, double hi) {
  if (y > hi) return hi;
  if (y < lo) return lo;
  return y;
}

void WriteLinkValue(unsigned char* value, BeSignalType type, double y) {
  switch (type) {
    case kBeSignalChar:
    case kBeSignalShort:
    case kBeSignalInt: WriteIntegerValue(value, type, static_cast<uint32_t>(TruncateLinkValue(y))); break;
    case kBeSignalFloat: WriteFloatValue(value, RoundToFloat(y)); break;
    case kBeSignalDouble: WriteDoubleValue(value, y); break;
    default: break;
  }
}

bool IsUsableDivisor(double d) { return d != 0 && std::isfinite(d); }
