#include "blocks/library/generators/generator_time.h"

#include <cmath>

#include "foundation/numbers.h"

float StepMilliseconds(float dt) { return RoundToFloat(static_cast<double>(dt) * 1000.0); }

float AddMilliseconds(float a, float b) { return RoundToFloat(static_cast<double>(a) + b); }

float SubtractMilliseconds(float a, float b) { return RoundToFloat(static_cast<double>(a) - b); }

float WrapPhase(float phase, float period) {
  if (!(period > 0) || !(phase > period) || !std::isfinite(phase) || !std::isfinite(period)) return phase;
  // fmod of two floats is exact and a float; where the subtraction loop
  // would land on 0 it stops at the period itself.
  double rest = std::fmod(static_cast<double>(phase), static_cast<double>(period));
  return rest == 0 ? period : static_cast<float>(rest);
}

float RaisePeriodToPassFloor(float period, float frequency) {
  if (!(frequency > 0)) return period;
  float floor = RoundToFloat(10.0 / frequency);
  return period < floor ? floor : period;
}
