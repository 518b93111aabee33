// The AVR microcontroller's run: the chip as a load between its supply and
// ground nodes, its pins read into the program's pin blocks and driven from
// them, and the program stepped in between.
#include <cmath>
#include <cstring>

#include "blocks/engine/block_scheme.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/signal_type.h"
#include "blocks/library/mcu/avr_adc.h"
#include "blocks/library/mcu/io_port.h"
#include "blocks/library/mcu/line_value.h"
#include "components/devices/pulse_record.h"
#include "foundation/numbers.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/packet_set.h"
#include "scheme/simulation/pin_state.h"
#include "scheme/simulation/sim_log.h"
#include "units/avr/avr.h"

namespace {

const wchar_t* const kNotFlashed = L"Программа в микропроцессор \"%s\" не может быть прошита";
const wchar_t* const kSupplyBurnt = L"Процессор \"%s\" сгорел";
const wchar_t* const kPinBurnt = L"Микропроцессор \"%s\" вышел из строя.";

// 1 / R, or 0 for a resistance that is no positive finite number: that
// branch is open.
double Conductance(double R) { return R > 0 && std::isfinite(R) ? 1.0 / R : 0.0; }

// I / G as a voltage and 1 / G as a resistance; a node without conductance
// is open at 0 V.
void NodeOf(double I, double G, double* V, double* R) {
  if (G > 0 && std::isfinite(G) && std::isfinite(I)) {
    *V = I / G;
    *R = 1.0 / G;
  } else {
    *V = 0;
    *R = kUnitAvrFloatingResistance;
  }
}

float FloatAt(const unsigned char* p) {
  float v;
  memcpy(&v, p, 4);
  return v;
}

bool IsPulseKind(int kind) { return kind == kBeSignalPulseA || kind == kBeSignalPulseB; }

bool IsLineType(int type) {
  return type == kMcuLineRs232 || type == kMcuLineSda || type == kMcuLineScl || type == kMcuLineSpi ||
         type == kMcuLineSck;
}

// The source a driven value hands its net: a peripheral's line source as
// it is; an encoder pulse as a pulse record (edges in bytes 0-3, ticks in
// 4-7); any other value as a source without packets whose weight is the
// float in bytes 4-7 (the duty of a PWM value).
SchSignalSource* SourceOfValue(int type, const unsigned char* value, SchSignalSource* own) {
  if (IsLineType(type)) {
    if (SchSignalSource* line = LineSourceOf(value)) return line;
  }
  if (IsPulseKind(type)) {
    int edges;
    memcpy(&edges, value, 4);
    SetPulseRecord(own, edges, FloatAt(value + 4));
    return own;
  }
  own->packets = nullptr;
  own->weight = FloatAt(value + 4);
  return own;
}

// The value a source read from a net gives a pin block: the reverse of
// SourceOfValue; a source with packets is published as a line value.
void ValueOfSource(int kind, SchSignalSource* source, unsigned char* value, const CBEIOPort* owner,
                   BePayloadHandle* handle) {
  memset(value, 0, 8);
  if (!source) return;
  if (IsPulseKind(kind)) {
    const int edges = GetPulseEdges(source);
    const float ticks = GetPulseTicks(source);
    memcpy(value, &edges, 4);
    memcpy(value + 4, &ticks, 4);
    return;
  }
  if (source->packets) {
    PutLineSource(value, source, owner, handle);
    return;
  }
  memcpy(value + 4, &source->weight, 4);
}

void SetBit(CBEIOPort* port, bool on) {
  port->storedType = kBeSignalBit;
  memset(port->storedValue, 0, sizeof port->storedValue);
  port->storedValue[0] = on ? 1 : 0;
}

}  // namespace

int CAVR::ElectricMode(const CBEIOPort* port) {
  if (port->mode != CBEIOPort::kModeSwitchable) return port->mode;
  if (port->ddr) return CBEIOPort::kModeOutput;
  return port->port ? CBEIOPort::kModePullUp : CBEIOPort::kModeInput;
}

int CAVR::NetPinOf(const CBEIOPort* port) const {
  const int pin = port->pinId;
  return pin < pinCount && pin < kUnitAvrMaxPins && pins[pin].net ? pin : -1;
}

void CAVR::BurnOut(const wchar_t* format) {
  burnt = 1;
  SimMessageLog::Global().AppendFormat(format, instanceName ? instanceName : L"");
}

void CAVR::Start() {
  burnt = 0;
  CSCHBlock::Start();
  running_ = 0;
  program_->Start();
  SetAllPinsFloating();
  if (program_->halted) SimMessageLog::Global().AppendFormat(kNotFlashed, instanceName ? instanceName : L"");
}

void CAVR::Stop() {
  if (running_) program_->Stop();
}

void CAVR::AddPinLoads(NodeSums* s) const {
  for (CBEIOPort* port = static_cast<CBEIOPort*>(program_->portBlocks); port; port = port->nextPort) {
    const int pin = NetPinOf(port);
    if (pin < 0) continue;
    const int mode = ElectricMode(port);
    if (mode == CBEIOPort::kModePullUp) {
      SchPinState st = {};
      GetPinState(pin, &st);
      const double Rp = (static_cast<double>(st.R) + st.R2) / 2 + kUnitAvrPullUpResistance;
      const double Up = (static_cast<double>(st.U) + st.U2) / 2;
      s->IB += Up * Conductance(Rp);
      s->GB += Conductance(Rp);
    } else if (mode == CBEIOPort::kModeOutput || mode == CBEIOPort::kModeAltOutput) {
      float U, R;
      GetPinInput(pin, &U, &R);
      const double g = Conductance(R + kUnitAvrOutputResistance);
      double d;
      if (port->storedType == kBeSignalPwm) d = FloatAt(port->storedValue + 4);
      else if (port->storedType == kBeSignalBit) d = port->storedValue[0] != 0 ? 1.0 : 0.0;
      else d = kUnitAvrOtherValueShare;
      // A duty that is no number loads neither node.
      if (!std::isfinite(d)) continue;
      s->IB += d * U * g;
      s->GB += d * g;
      s->IA += (1 - d) * U * g;
      s->GA += (1 - d) * g;
    }
  }
}

bool CAVR::CheckAndRead(CBEIOPort* port, float U, float U2, int kind, SchSignalSource* source, float low,
                        float high, float middle) {
  if (U < low || U > high || U2 < low || U2 > high) {
    BurnOut(kPinBurnt);
    return false;
  }
  if (!source) {
    SetBit(port, U > middle);
    return true;
  }
  const int pin = port->pinId;
  if (U > middle && U2 < middle) {
    port->storedType = kind;
    ValueOfSource(kind, source, port->storedValue, port, &lineHandles_[pin]);
  } else if (U > middle) {
    SetBit(port, true);
  } else if (U2 > middle && IsPulseKind(kind)) {
    const int swapped = kind == kBeSignalPulseA ? kBeSignalPulseB : kBeSignalPulseA;
    port->storedType = swapped;
    ValueOfSource(kind, source, port->storedValue, port, &lineHandles_[pin]);
  } else {
    SetBit(port, false);
  }
  return true;
}

bool CAVR::ReadPins(const NodeSums& s, double VA, double RA, double VB) {
  const float middle = RoundToFloat((VB + VA) / 2);
  const float low = RoundToFloat(VA - 1);
  const float high = RoundToFloat(VA + Umax);
  for (CBEIOPort* port = static_cast<CBEIOPort*>(program_->portBlocks); port; port = port->nextPort) {
    const int pin = NetPinOf(port);
    if (pin < 0) continue;
    switch (ElectricMode(port)) {
      case CBEIOPort::kModeInput:
      case CBEIOPort::kModeAltInput: {
        SchPinState st = {};
        GetPinState(pin, &st);
        SetPinSource(pin, middle, kUnitAvrFloatingResistance);
        if (!CheckAndRead(port, st.U, st.U2, st.sourceKind, st.source, low, high, middle)) return false;
        break;
      }
      case CBEIOPort::kModePullUp: {
        SchPinState st = {};
        GetPinState(pin, &st);
        const double Rp = (static_cast<double>(st.R) + st.R2) / 2 + kUnitAvrPullUpResistance;
        const double G = s.GB - Conductance(Rp);
        double Vp, Rv;
        NodeOf(s.IB - (static_cast<double>(st.U) + st.U2) / 2 * Conductance(Rp), G, &Vp, &Rv);
        const double r = kUnitAvrPullUpResistance;
        const float U = RoundToFloat(st.U + (Vp - st.U) * st.R / (st.R + r));
        const float U2 = RoundToFloat(st.U2 + (Vp - st.U2) * st.R2 / (st.R2 + r));
        SetPinSource(pin, static_cast<float>(Vp), static_cast<float>(Rv + r));
        if (!CheckAndRead(port, U, U2, st.sourceKind, st.source, low, high, middle)) return false;
        break;
      }
      case CBEIOPort::kModeAnalog: {
        float U, R;
        GetPinInput(pin, &U, &R);
        SetPinSource(pin, middle, kUnitAvrFloatingResistance);
        if (U < low || U > high) {
          BurnOut(kPinBurnt);
          return false;
        }
        port->storedType = kBeSignalAnalog;
        memset(port->storedValue, 0, sizeof port->storedValue);
        const float v = RoundToFloat(U - VA);
        memcpy(port->storedValue, &v, 4);
        break;
      }
      case CBEIOPort::kModeBus: {
        SchPinState st = {};
        GetPinState(pin, &st);
        if (st.U < low || st.U > high || st.U2 < low || st.U2 > high) {
          BurnOut(kPinBurnt);
          return false;
        }
        BeOutputPin* out = port->outputCount > 0 ? port->outputs[0] : nullptr;
        if (out && st.U > middle && st.U2 < middle && st.source && st.sourceKind == out->type) {
          SchPacketSet* mine = LinePacketsOf(out->value);
          if (mine && st.source->packets && mine != st.source->packets) mine->Merge(st.source->packets);
        }
        SchPinState drive = st;
        drive.U = 0;
        drive.R = kUnitAvrFloatingResistance;
        drive.U2 = static_cast<float>(VA);
        drive.R2 = static_cast<float>(RA + kUnitAvrOutputResistance);
        SetPinState(pin, drive);
        break;
      }
      default:
        break;
    }
  }
  return true;
}

void CAVR::DriveOutputs(const NodeSums& s) {
  for (CBEIOPort* port = static_cast<CBEIOPort*>(program_->portBlocks); port; port = port->nextPort) {
    const int pin = NetPinOf(port);
    if (pin < 0) continue;
    const int mode = ElectricMode(port);
    if (mode != CBEIOPort::kModeOutput && mode != CBEIOPort::kModeAltOutput) continue;
    float U, R;
    GetPinInput(pin, &U, &R);
    const double g = Conductance(R + kUnitAvrOutputResistance);
    double U1, R1, U0, R0;
    NodeOf(s.IB - U * g, s.GB - g, &U1, &R1);
    NodeOf(s.IA - U * g, s.GA - g, &U0, &R0);
    if (port->storedType == kBeSignalBit) {
      if (port->storedValue[0] != 0)
        SetPinSource(pin, static_cast<float>(U1), static_cast<float>(R1 + kUnitAvrOutputResistance));
      else
        SetPinSource(pin, static_cast<float>(U0), static_cast<float>(R0 + kUnitAvrOutputResistance));
      continue;
    }
    SchPinState st = {};
    st.U = st.ownU = static_cast<float>(U1);
    st.R = st.ownR = static_cast<float>(R1);
    st.U2 = static_cast<float>(U0);
    st.R2 = static_cast<float>(R0);
    st.sourceKind = port->storedType;
    st.source = SourceOfValue(port->storedType, port->storedValue, &pinSources_[pin]);
    SetPinState(pin, st);
  }
}

void CAVR::Step(float dt) {
  if (burnt) {
    SetAllPinsFloating();
    return;
  }
  float Us, Rs, Ug, Rg;
  GetPinInput(supplyPin_, &Us, &Rs);
  GetPinInput(groundPin_, &Ug, &Rg);
  NodeSums s = {Us * Conductance(Rs), Conductance(Rs), Ug * Conductance(Rg), Conductance(Rg)};
  AddPinLoads(&s);

  // The chip's own consumption between the nodes; a maximum current that
  // is no positive number consumes nothing (the supply pins stay open).
  double VB, RB, VA, RA;
  NodeOf(s.IB, s.GB, &VB, &RB);
  NodeOf(s.IA, s.GA, &VA, &RA);
  const double Gint = Imax > 0 && std::isfinite(Imax) ? Imax / 5.0 : 0.0;
  if (Gint > 0) {
    const double Rint = 1 / Gint;
    SetPinSource(supplyPin_, static_cast<float>(VA), static_cast<float>(RA + Rint));
    SetPinSource(groundPin_, static_cast<float>(VB), static_cast<float>(RB + Rint));
    s.IB += VA * Gint;
    s.GB += Gint;
    s.IA += VB * Gint;
    s.GA += Gint;
    NodeOf(s.IB, s.GB, &VB, &RB);
    NodeOf(s.IA, s.GA, &VA, &RA);
  } else {
    SetPinSource(supplyPin_, 0, kUnitAvrFloatingResistance);
    SetPinSource(groundPin_, 0, kUnitAvrFloatingResistance);
  }
  const float supply = RoundToFloat(VB - VA);
  if (supply > Umax || supply < kUnitAvrReverseSupply) {
    BurnOut(kSupplyBurnt);
    return;
  }

  AvrAnalogReference& reference = AvrAnalogReference::Program();
  float U, R;
  reference.supply = supply;
  GetPinInput(arefPin_, &U, &R);
  reference.aref = RoundToFloat(U - VA);
  GetPinInput(avccPin_, &U, &R);
  reference.avcc = RoundToFloat(U - VA);

  if (!(supply > Umin)) {
    // Held in reset: the program starts afresh when the supply returns.
    if (running_) {
      program_->Stop();
      program_->Start();
      running_ = 0;
    }
    for (CBEIOPort* port = static_cast<CBEIOPort*>(program_->portBlocks); port; port = port->nextPort) {
      const int pin = NetPinOf(port);
      if (pin >= 0) SetPinSource(pin, static_cast<float>(VA), kUnitAvrFloatingResistance);
    }
    return;
  }

  if (!ReadPins(s, VA, RA, VB)) return;
  running_ = 1;
  program_->Step(dt);
  DriveOutputs(s);
}
