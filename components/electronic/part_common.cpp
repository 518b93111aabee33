#include "components/electronic/part_common.h"

#include <cmath>

#include "scheme/model/block.h"
#include "scheme/simulation/sim_log.h"

namespace {

// A linear congruential sequence; its bits 16 to 30 are the number.
unsigned int g_spreadState = 1;

}  // namespace

int DrawSpreadNumber() {
  g_spreadState = g_spreadState * 214013u + 2531011u;
  return static_cast<int>((g_spreadState >> 16) & kElecSpreadNumberMax);
}

bool LimitViolated(float value, float limit) {
  if (!std::isfinite(value)) return true;
  return !(value <= limit);
}

bool BurnOnViolation(CSCHBlock* block, float value, float limit, const wchar_t* format) {
  if (!block || !LimitViolated(value, limit)) return false;
  block->burnt = 1;
  if (format)
    SimMessageLog::Global().AppendFormat(format, block->instanceName ? block->instanceName : L"");
  return true;
}
