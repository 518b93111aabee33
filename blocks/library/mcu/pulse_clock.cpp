#include "blocks/library/mcu/pulse_clock.h"

#include <cmath>

#include "blocks/engine/block.h"
#include "blocks/engine/block_scheme.h"

float ProcessorFrequency(const CBEBlock* block) {
  return block && block->scheme ? block->scheme->frequency : kBeDefaultProcessorFrequency;
}

int64_t TruncateCount(double v) {
  const double reach = 9223372036854775807.0;  // 2^63
  if (std::isnan(v)) return 0;
  if (v >= reach) return INT64_MAX;
  if (v <= -reach) return INT64_MIN;
  return static_cast<int64_t>(v);
}

uint16_t Low16(double v) { return static_cast<uint16_t>(static_cast<uint64_t>(TruncateCount(v)) & 0xFFFF); }
