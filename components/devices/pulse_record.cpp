#include "components/devices/pulse_record.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "foundation/numbers.h"

namespace {

// Whole parts within this magnitude convert to 64 bits exactly.
const double kWholeLimit = 9.2e18;

// The whole part of x (floor or truncation) wrapped to 32 bits, in unsigned
// arithmetic; false when x is no finite number or too large.
bool WrappedWhole(double x, bool truncate, uint32_t* out) {
  if (!std::isfinite(x)) return false;
  double whole = truncate ? std::trunc(x) : std::floor(x);
  if (!(std::fabs(whole) < kWholeLimit)) return false;
  *out = static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(whole)));
  return true;
}

int32_t AsInt32(uint32_t u) {
  int32_t v;
  std::memcpy(&v, &u, sizeof v);
  return v;
}

}  // namespace

void SetPulseRecord(SchSignalSource* record, int edges, float ticks) {
  if (!record) return;
  record->packets = nullptr;
  static_assert(sizeof(record->packets) >= sizeof(int32_t), "the edge count fits the first word");
  int32_t stored = edges;
  std::memcpy(&record->packets, &stored, sizeof stored);
  record->weight = ticks;
}

int GetPulseEdges(const SchSignalSource* record) {
  if (!record) return 0;
  int32_t edges = 0;
  std::memcpy(&edges, &record->packets, sizeof edges);
  return edges;
}

float GetPulseTicks(const SchSignalSource* record) { return record ? record->weight : 0.0f; }

void ResetPulseTicks(PulseTickMemory* memory, double t, bool truncate) {
  if (!memory) return;
  uint32_t whole = 0;
  if (!WrappedWhole(t, truncate, &whole)) {
    memory->lastCount = 0;
    memory->lastValue = 0;
    return;
  }
  memory->lastCount = AsInt32(whole);
  memory->lastValue = RoundToFloat(t);
}

void CountPulseTicks(PulseTickMemory* memory, double t, bool withSign, SchSignalSource* record) {
  if (!memory) return;
  uint32_t whole = 0;
  if (!WrappedWhole(t, false, &whole)) {
    SetPulseRecord(record, 0, 0);
    return;
  }
  // The difference of two wrapped counts, itself wrapped.
  int32_t edges = AsInt32(whole - static_cast<uint32_t>(memory->lastCount));
  float ticks = RoundToFloat(t - static_cast<double>(memory->lastValue));
  if (!withSign) {
    // |INT_MIN| does not fit: the largest count stands for it.
    edges = edges == INT32_MIN ? INT32_MAX : (edges < 0 ? -edges : edges);
    ticks = std::fabs(ticks);
  }
  SetPulseRecord(record, edges, ticks);
  memory->lastCount = AsInt32(whole);
  memory->lastValue = RoundToFloat(t);
}
