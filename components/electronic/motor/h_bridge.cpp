#include "components/electronic/motor/h_bridge.h"

#include <cmath>
#include <cstring>

#include "scheme/model/block.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"
#include "scheme/simulation/signal_source.h"

namespace {

const float kSwitchResistance = 0.3f;
const float kInputLow = -0.8f, kInputHigh = 7.0f;
const float kLogicHigh = 2.0f;
const float kDataDuty = 0.3f;
const double kLeastConductance = 2e-7;

bool Outside(float v) { return !(v >= kInputLow && v <= kInputHigh); }

float Clamp01(float d) {
  if (!(d >= 0)) return 0;  // NaN too
  return d > 1 ? 1 : d;
}

// Drives a pin with the remaining sums of a node, or releases it.
void DriveRest(CSCHBlock* block, int pin, double G, double I) {
  if (!(G >= kLeastConductance) || !std::isfinite(G) || !std::isfinite(I)) {
    block->SetPinSource(pin, 0, kSchOpenResistance);
    return;
  }
  block->SetPinSource(pin, static_cast<float>(I / G), static_cast<float>(1 / G));
}

}  // namespace

void SetPwmSource(SchSignalSource* source, float period, float duty) {
  if (!source) return;
  source->packets = nullptr;
  static_assert(sizeof(source->packets) >= sizeof(float), "the period fits the first word");
  std::memcpy(&source->packets, &period, sizeof period);
  source->weight = duty;
}

float GetPwmPeriod(const SchSignalSource* source) {
  if (!source) return 0;
  float p = 0;
  std::memcpy(&p, &source->packets, sizeof p);
  return p;
}

bool ReadPwmInput(const CSCHBlock* block, int pin, float Ug, float steadyHighPeriod, float dataPeriod,
                  PwmReading* out) {
  SchPinState s = {};
  block->GetPinState(pin, &s);
  const float a = s.U - Ug, b = s.U2 - Ug;
  if (Outside(a) || Outside(b)) return false;
  const float hi = a > b ? a : b, lo = a > b ? b : a;
  const bool inverted = b > a;
  PwmReading r = {0, kElecSteadyPeriod};
  if (hi <= kLogicHigh) {
    r = {0, kElecSteadyPeriod};
  } else if (!s.source || lo >= kLogicHigh) {
    r = {1, steadyHighPeriod};
  } else {
    if (s.sourceKind != kSchSourceOwnWeight) {
      r = {kDataDuty, dataPeriod};
    } else {
      const float p = GetPwmPeriod(s.source);
      if (!(p >= kElecLeastPwmPeriod) || !std::isfinite(p)) r = {0, kElecSteadyPeriod};
      else r = {Clamp01(s.source->weight), p};
    }
    if (inverted) r.duty = 1 - r.duty;
  }
  if (out) *out = r;
  return true;
}

bool StepBridge(CSCHBlock* block, const BridgePins& pins, const BridgeDrive& drive, SchSignalSource* source1,
                SchSignalSource* source2, BridgeResult* result) {
  float Us, Rs, Ug, Rg, Un, Rn, Uo[2], Ro[2];
  block->GetPinInput(pins.supply, &Us, &Rs);
  block->GetPinInput(pins.ground, &Ug, &Rg);
  block->GetPinInput(pins.sense, &Un, &Rn);
  block->GetPinInput(pins.out1, &Uo[0], &Ro[0]);
  block->GetPinInput(pins.out2, &Uo[1], &Ro[1]);
  // Node sums (the pin model's resistances are at least 1e-5 ohms).
  double Gt = 1.0 / Rs + 1.0 / (drive.Rz + Rg), It = Us / Rs + Ug / (drive.Rz + Rg);
  double Gb = 1.0 / Rn, Ib = Un / Rn;
  double gk[2];
  for (int k = 0; k < 2; k++) {
    gk[k] = 1.0 / (kSwitchResistance + Ro[k]);
    Gt += drive.high[k] * gk[k];
    It += drive.high[k] * Uo[k] * gk[k];
    Gb += drive.low[k] * gk[k];
    Ib += drive.low[k] * Uo[k] * gk[k];
  }
  const double Ut = It / Gt, Rt = 1 / Gt;
  const double Uz = (Ug / Rg + Ut / (Rt + drive.Rz)) / (1 / Rg + 1 / (Rt + drive.Rz));
  const float V = static_cast<float>(Ut - Uz);
  if (!(V <= drive.maximum)) return false;
  const int outs[2] = {pins.out1, pins.out2};
  SchSignalSource* sources[2] = {source1, source2};
  for (int k = 0; k < 2; k++) {
    if (!(V > drive.working)) {
      block->SetPinSource(outs[k], 0, kSchOpenResistance);
      continue;
    }
    const double gTop = Gt - drive.high[k] * gk[k], gBottom = Gb - drive.low[k] * gk[k];
    SchPinState s = {};
    s.U = static_cast<float>((It - drive.high[k] * Uo[k] * gk[k]) / gTop);
    s.U2 = static_cast<float>((Ib - drive.low[k] * Uo[k] * gk[k]) / gBottom);
    if (drive.resistanceScale > 0) {
      s.R = static_cast<float>(drive.resistanceScale / gTop);
      s.R2 = static_cast<float>(drive.resistanceScale / gBottom);
    } else {
      s.R = s.R2 = kSchOpenResistance;
    }
    s.sourceKind = kSchSourceOwnWeight;
    s.source = sources[k];
    block->SetPinState(outs[k], s);
  }
  DriveRest(block, pins.supply, Gt - 1.0 / Rs, It - Us / Rs);
  BridgeResult r = {0, kSchOpenResistance, true};
  const double G = Gb - 1.0 / Rn, I = Ib - Un / Rn;
  if (G >= kLeastConductance && std::isfinite(G) && std::isfinite(I)) {
    r.senseU = static_cast<float>(I / G);
    r.senseR = static_cast<float>(1 / G);
    r.senseReleased = false;
  }
  if (drive.driveSense) block->SetPinSource(pins.sense, r.senseReleased ? 0 : r.senseU, r.senseR);
  if (result) *result = r;
  return true;
}
