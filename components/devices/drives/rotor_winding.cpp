#include "components/devices/drives/rotor_winding.h"

#include <cmath>

#include "foundation/numbers.h"
#include "scheme/model/block.h"

namespace {

const float kTinyCurrent = 1e-20f;
const double kEffectiveScale = 100000;

}  // namespace

float GuardedQuotient(float a, float b) {
  if (b == 0) return 0;
  float q = RoundToFloat(static_cast<double>(a) / b);
  return std::isfinite(q) ? q : 0;
}

RotorWindingNets ReadWindingNets(const CSCHBlock* block) {
  RotorWindingNets nets = {0, 0, 0, 0};
  block->GetPinInput(0, &nets.U0, &nets.R0);
  block->GetPinInput(1, &nets.U1, &nets.R1);
  return nets;
}

bool AdvanceWinding(const RotorWindingModel& model, const RotorWindingNets& nets, float E, float dt,
                    RotorWindingState* state) {
  if (dt > 0) {
    double sum = static_cast<double>(model.resistance) + nets.R0 + nets.R1;
    double target = sum > 0 ? (static_cast<double>(nets.U1) - nets.U0 - E) / sum : 0;
    double tau = sum > 0 ? model.inductance / sum : 0;
    if (!(tau > 0) || dt > tau / 3) tau = dt;
    float current = RoundToFloat(state->current + dt * (target - state->current) / tau);
    if (!std::isfinite(current)) current = 0;
    if (model.flushTiny && std::fabs(current) < kTinyCurrent) current = 0;
    state->current = current;
    state->heating = RoundToFloat(state->heating + dt * (std::fabs(current) - state->heating) / model.heatingTime);
  }
  // A heating current that is no number has passed every limit.
  return !(state->heating <= model.burnCurrent);
}

void DriveWinding(CSCHBlock* block, const RotorWindingModel& model, const RotorWindingNets& nets, float E,
                  float current) {
  float drive = nets.U1 - nets.U0 - E;
  float Reff = RoundToFloat((std::fabs(static_cast<double>(drive)) * kEffectiveScale + model.resistance) /
                            (std::fabs(static_cast<double>(current)) * kEffectiveScale + 1));
  block->SetPinSource(0, nets.U1 - E, nets.R1 + Reff);
  block->SetPinSource(1, nets.U0 + E, nets.R0 + Reff);
}
