// The pin operations of CSCHBlock and the mixing of data-line states. Every
// write changes its net's sums by the difference from the pin's stored
// contribution, so reading and writing a pin cost a constant.
#include <cmath>

#include "scheme/model/block.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/packet_set.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"
#include "scheme/simulation/signal_source.h"
#include "scheme/simulation/sim_log.h"

namespace {

float RaiseResistance(float R) { return R < kSchMinResistance ? kSchMinResistance : R; }

// A quotient rounded to float before it is used: the x87 unit would keep
// extra precision in a register, so the amount added to a net's sum would
// differ from the contribution stored in the pin and the sums would drift.
float FloatQuotient(float a, float b) {
  volatile float q = a / b;
  return q;
}

// U and R of the rest of a net seen through one pair of sums: the net's
// sums without the pin's own contribution. A rest without conductance (the
// pin alone on its net, or rounding left a difference at or below 0) has no
// Thevenin equivalent; it reads as an unconnected pin does.
void RestOf(double sumI, double sumG, float pinI, float pinG, float* U, float* R) {
  double d = sumG - pinG;
  if (!(d > 0)) {
    *U = 0;
    *R = kSchOpenResistance;
    return;
  }
  *U = static_cast<float>((sumI - pinI) / d);
  *R = static_cast<float>(1.0 / d);
}

// The same, the rest's conductance raised to the floor a reader assumes: no
// net is seen through more than the 5 megohms of an undriven pin.
void BoundedRestOf(double sumI, double sumG, float pinI, float pinG, float* U, float* R) {
  double d = sumG - pinG;
  if (!(d >= kSchMinRestConductance)) d = kSchMinRestConductance;
  *U = static_cast<float>((sumI - pinI) / d);
  *R = static_cast<float>(1.0 / d);
}

// The pin's own drive, from its contribution to the first sums.
void OwnDrive(const SchPin& p, float* U, float* R) {
  if (p.G > 0) {
    *U = p.I / p.G;
    *R = 1.0f / p.G;
  } else {  // cannot be written by the pin operations; an open circuit
    *U = 0;
    *R = kSchOpenResistance;
  }
}

void TakeNet(SchPin& p, SchNet* net, int kind, SchSignalSource* source) {
  p.sourceKind = kind;
  p.source = source;
  net->sourceKind = kind;
  net->source = source;
}

void ReleaseNetSource(SchNet* net) {
  net->sourceKind = 0;
  net->source = nullptr;
}

}  // namespace

void CSCHBlock::SetPinSource(int pin, float U, float R) {
  if (pin < 0 || pin >= pinCount) return;
  SchPin& p = pins[pin];
  SchNet* net = p.net;
  if (!net) return;
  R = RaiseResistance(R);
  float I = FloatQuotient(U, R);
  float G = FloatQuotient(1.0f, R);
  net->sumI += static_cast<double>(I) - p.I;
  net->sumG += static_cast<double>(G) - p.G;
  p.I = I;
  p.G = G;
  // The second pair gets the same source.
  net->sumI2 += static_cast<double>(I) - p.I2;
  net->sumG2 += static_cast<double>(G) - p.G2;
  p.I2 = I;
  p.G2 = G;
  if (net->source == p.source) ReleaseNetSource(net);
  p.sourceKind = 0;
  p.source = nullptr;
}

void CSCHBlock::GetPinState(int pin, SchPinState* s) const {
  if (!s) return;
  const SchPin* p = pin >= 0 && pin < pinCount ? &pins[pin] : nullptr;
  if (!p || !p->net) {
    s->U = 0;
    s->R = kSchOpenResistance;
    s->U2 = 0;
    s->R2 = kSchOpenResistance;
    s->sourceKind = 0;
    s->source = nullptr;
    return;
  }
  const SchNet* net = p->net;
  RestOf(net->sumI, net->sumG, p->I, p->G, &s->U, &s->R);
  if (net->source && net->source != p->source) {
    RestOf(net->sumI2, net->sumG2, p->I2, p->G2, &s->U2, &s->R2);
    OwnDrive(*p, &s->ownU, &s->ownR);
    s->sourceKind = net->sourceKind;
    s->source = net->source;
  } else {
    s->U2 = s->U;
    s->R2 = s->R;
    s->sourceKind = 0;
    s->source = nullptr;
  }
}

void CSCHBlock::GetPinInput(int pin, float* U, float* R) const {
  float u = 0, r = kSchOpenResistance;
  const SchPin* p = pin >= 0 && pin < pinCount ? &pins[pin] : nullptr;
  if (p && p->net) {
    const SchNet* net = p->net;
    BoundedRestOf(net->sumI, net->sumG, p->I, p->G, &u, &r);
    if (net->source && net->source != p->source) {
      float u2, r2, ownU, ownR;
      RestOf(net->sumI2, net->sumG2, p->I2, p->G2, &u2, &r2);
      OwnDrive(*p, &ownU, &ownR);
      CombineSourceState(u, r, u2, r2, ownU, ownR, net->sourceKind, net->source, &u, &r);
    }
  }
  if (U) *U = u;
  if (R) *R = r;
}

void CSCHBlock::SetPinState(int pin, const SchPinState& state) {
  if (pin < 0 || pin >= pinCount) return;
  SchPin& p = pins[pin];
  SchNet* net = p.net;
  if (!net) return;
  SchPinState s = state;
  if (!s.source) {
    s.U2 = s.U;
    s.R2 = s.R;
  }
  s.R = RaiseResistance(s.R);
  s.R2 = RaiseResistance(s.R2);
  // First pair.
  float I = FloatQuotient(s.U, s.R);
  float G = FloatQuotient(1.0f, s.R);
  net->sumI += static_cast<double>(I) - p.I;
  net->sumG += static_cast<double>(G) - p.G;
  p.I = I;
  p.G = G;
  // Second pair; what the rest of the net drives into it decides contests.
  volatile float restStored = static_cast<float>(net->sumI2 - p.I2);
  float rest = restStored;
  float I2 = FloatQuotient(s.U2, s.R2);
  float G2 = FloatQuotient(1.0f, s.R2);
  net->sumI2 += static_cast<double>(I2) - p.I2;
  net->sumG2 += static_cast<double>(G2) - p.G2;
  p.I2 = I2;
  p.G2 = G2;
  if (net->source == p.source) ReleaseNetSource(net);
  if (!s.source) return;
  // Both levels alike: the line carries no data.
  if (std::fabs(s.U - s.U2) < 0.1f && std::fabs(s.ownR / s.R - 1.0f) < 0.1f) {
    ReleaseNetSource(net);
    return;
  }
  if (net->source && net->source->packets) {
    int kind = s.sourceKind;
    if ((kind == kSchSourceSerial || kind == kSchSourceUsb || kind == kSchSourceData13) &&
        kind == net->sourceKind) {
      net->source->packets->Merge(s.source->packets);
      return;
    }
    if (G2 > 4 * rest) TakeNet(p, net, s.sourceKind, s.source);
    else if (rest > 4 * G2) {
      net->sourceKind = kSchSourceContested;
      net->source = nullptr;
    }
    return;
  }
  TakeNet(p, net, s.sourceKind, s.source);
}

float GetSourceWeight(int kind, const SchSignalSource* source) {
  if (!source) return 1.0f;
  switch (kind) {
    case kSchSourceOwnWeight: return source->weight;
    case kSchSourcePower7:
    case kSchSourcePower8: return 0.03f;
    case kSchSourceSerial: return 0.75f;
    default: return 0.5f;
  }
}

void CombineSourceState(float U, float R, float U2, float R2, float ownU, float ownR, int kind,
                        const SchSignalSource* source, float* outU, float* outR) {
  float w = GetSourceWeight(kind, source);
  float u = U2 + (U - U2) * w;
  float r;
  if (ownR > 1000) {
    // A high-impedance reader sees the two states in parallel by weight.
    float den = (R2 != 0 ? (1 - w) / R2 : 0) + (R != 0 ? w / R : 0);
    r = den != 0 ? 1.0f / den : 1e6f;
  } else {
    float a = R2 + ownR, b = R + ownR;
    float D = (a != 0 ? (U2 - ownU) * (w - 1) / a : 0) - (b != 0 ? (U - ownU) * w / b : 0);
    if (std::fabs(D) < 1e-10f) r = 1e6f;
    else r = (ownU - u) / D - ownR;
  }
  if (r < kSchMinResistance) r = kSchMinResistance;
  if (outU) *outU = u;
  if (outR) *outR = r;
}

void ResolvePinState(const SchPinState& s, float* U, float* R) {
  if (s.source) {
    CombineSourceState(s.U, s.R, s.U2, s.R2, s.ownU, s.ownR, s.sourceKind, s.source, U, R);
  } else {
    if (U) *U = s.U;
    if (R) *R = s.R;
  }
}

float SmoothBurnValue(float x, float target, float dt, float tau) {
  if (!(tau > 0)) return target;
  return x + (target - x) * dt / tau;
}

bool BurnIfOver(CSCHBlock* block, float value, float limit, const wchar_t* format) {
  if (!block || !(value > limit)) return false;
  block->burnt = 1;
  if (format)
    SimMessageLog::Global().AppendFormat(format, block->instanceName ? block->instanceName : L"");
  return true;
}

void DriveBurntPins(CSCHBlock* block) {
  if (!block) return;
  for (int i = 0; i < block->pinCount; i++) block->SetPinSource(i, 0, kSchOpenResistance);
}
