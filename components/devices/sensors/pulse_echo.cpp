#include "components/devices/sensors/pulse_echo.h"

#include "components/electronic/motor/h_bridge.h"
#include "foundation/numbers.h"
#include "scheme/model/block.h"
#include "scheme/simulation/pin_model.h"

namespace {

void StartCycle(PulseEchoCycle* c) {
  c->triggerArmed = 0;
  c->measured = 0;
  c->cycleTimer = kPulseEchoCycle;
}

float Sum(float a, float b) { return RoundToFloat(static_cast<double>(a) + b); }

}  // namespace

void InitPulseEchoCycle(PulseEchoCycle* c) {
  SetPwmSource(&c->echo, kPulseEchoInitialPeriod, 0);
  c->measured = 0;
  ResetPulseEchoCycle(c);
}

void ResetPulseEchoCycle(PulseEchoCycle* c) {
  c->cycleTimer = 0;
  c->triggerArmed = 0;
  c->pulseTime = 0;
}

float PulseEchoPeriod(const PulseEchoCycle& c) { return GetPwmPeriod(&c.echo); }
float PulseEchoDuty(const PulseEchoCycle& c) { return c.echo.weight; }

bool DetectPulseEchoTrigger(CSCHBlock* finder, int pin, const RangeFinderSupply& s, float dt, PulseEchoCycle* c) {
  SchPinState in = {};
  finder->GetPinState(pin, &in);
  if (!WithinRails(s, in.U) || !WithinRails(s, in.U2)) {
    BurnRangeFinder(finder);
    return false;
  }
  if (c->cycleTimer > 0) return true;
  if (!in.source) {
    if (in.U > s.Vmid) {
      c->triggerArmed = 1;
    } else if (c->triggerArmed) {
      StartCycle(c);
    }
  } else if (in.sourceKind == kSchSourceOwnWeight) {
    // One cycle a period of the trigger source.
    c->pulseTime = Sum(c->pulseTime, dt);
    if (GetPwmPeriod(in.source) < c->pulseTime) {
      c->pulseTime = 0;
      if (in.source->weight > 0) StartCycle(c);
    }
  } else if ((in.U > s.Vmid && in.U2 < s.Vmid) || (in.U < s.Vmid && in.U2 > s.Vmid)) {
    StartCycle(c);
  }
  return true;
}

void FillPulseEcho(PulseEchoCycle* c, float distance) {
  if (c->measured || !(c->cycleTimer < kPulseEchoPhase)) return;
  c->measured = 1;
  const float d = distance < kPulseEchoFullRange ? distance : kPulseEchoFullRange;
  SetPwmSource(&c->echo, kPulseEchoPeriod, RoundToFloat(static_cast<double>(d) / kPulseEchoFullRange));
}

void DrivePulseEchoLow(CSCHBlock* finder, int pin, const RangeFinderSupply& s) {
  finder->SetPinSource(pin, Sum(s.Ug, kPulseEchoOutputOffset), Sum(s.Rg, kPulseEchoOutputResistance));
}

namespace {

void DriveEcho(CSCHBlock* finder, int pin, const RangeFinderSupply& s, PulseEchoCycle* c) {
  SchPinState state = {};
  state.U = RoundToFloat(static_cast<double>(s.Uv) - kPulseEchoOutputOffset);
  state.R = Sum(s.Rv, kPulseEchoOutputResistance);
  state.U2 = Sum(s.Ug, kPulseEchoOutputOffset);
  state.R2 = Sum(s.Rg, kPulseEchoOutputResistance);
  state.sourceKind = kSchSourceOwnWeight;
  state.source = &c->echo;
  finder->SetPinState(pin, state);
}

}  // namespace

void DrivePulseEchoLine(CSCHBlock* finder, int pin, const RangeFinderSupply& s, PulseEchoCycle* c) {
  if (!(c->cycleTimer > 0)) ReleaseRangeFinderPin(finder, pin);
  else if (c->cycleTimer > kPulseEchoPhase) DrivePulseEchoLow(finder, pin, s);
  else DriveEcho(finder, pin, s, c);
}

void DrivePulseEchoOutput(CSCHBlock* finder, int pin, const RangeFinderSupply& s, PulseEchoCycle* c) {
  if (!(c->cycleTimer > 0) || c->cycleTimer > kPulseEchoPhase) DrivePulseEchoLow(finder, pin, s);
  else DriveEcho(finder, pin, s, c);
}

void CountPulseEchoCycle(PulseEchoCycle* c, float dt) {
  if (c->cycleTimer > 0) c->cycleTimer = RoundToFloat(static_cast<double>(c->cycleTimer) - dt);
}
