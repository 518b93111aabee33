#include "components/electronic/voltage_label.h"

#include <cmath>
#include <cstdio>

namespace {

// The largest magnitude printed through an int; larger whole values are
// printed as truncated floats, which reads the same.
const float kLargestInt = 2147483520.0f;

void FormatWhole(wchar_t* buffer, const wchar_t* sign, float value) {
  if (value < kLargestInt)
    swprintf(buffer, kElecVoltageLabelSize, L"%ls%dV", sign, static_cast<int>(value));
  else
    swprintf(buffer, kElecVoltageLabelSize, L"%ls%.0fV", sign, static_cast<double>(std::trunc(value)));
}

}  // namespace

void FormatVoltageLabel(wchar_t* buffer, float volts, bool ac) {
  if (!buffer) return;
  buffer[0] = 0;
  float a = std::fabs(volts);
  bool whole = a - std::floor(a) < 0.01f;
  if (ac) {
    // The AC label keeps the value's own sign.
    if (whole) {
      if (a < kLargestInt)
        swprintf(buffer, kElecVoltageLabelSize, L"~%dV", static_cast<int>(volts));
      else
        swprintf(buffer, kElecVoltageLabelSize, L"~%.0fV", static_cast<double>(std::trunc(volts)));
    } else {
      swprintf(buffer, kElecVoltageLabelSize, L"~%0.1fV", static_cast<double>(volts));
    }
  } else if (volts > 0) {
    if (whole)
      FormatWhole(buffer, L"+", volts);
    else
      swprintf(buffer, kElecVoltageLabelSize, L"+%0.1fV", static_cast<double>(volts));
  } else {
    if (whole)
      FormatWhole(buffer, L"-", a);
    else
      swprintf(buffer, kElecVoltageLabelSize, L"-%0.1fV", static_cast<double>(a));
  }
  buffer[kElecVoltageLabelSize - 1] = 0;
}
