#include "components/electronic/discrete/bi_transistor.h"

#include <cmath>
#include <cstring>
#include <new>

#include "components/electronic/discrete/discrete_common.h"
#include "components/electronic/part_common.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "scheme/database/compdb_record.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"

namespace {

const wchar_t kBurntMessage[] = L"Транзистор \"%s\" сгорел.";
const float kJunctionSlope = 4.2f;  // 1/V, of the exponential junction curve
const float kLeastCurrent = 1e-8f;  // A: below it a junction is open
const float kLeastResistance = 1e-5f;

// One of the two pairs (U, R) of the three pins, as read and as driven.
struct Pair {
  float Ub, Rb, Ue, Re, Uc, Rc;
};

// What a pair's step gives: the new drive of the three pins, the collector
// current and the dissipated power.
struct PairResult {
  Pair drive;
  float Icol, P;
};

// 1 / (1/a + 1/b) for positive resistances.
float Parallel(float a, float b) { return 1.0f / (1.0f / a + 1.0f / b); }

}  // namespace

CSCHBiTransistor::CSCHBiTransistor() {
  SetPinCount(3);
  if (pinCount == 3) {
    pins[kElecBiBase].description = L"База";
    pins[kElecBiBase].side = kSchSideLeft;
    pins[kElecBiBase].offset = 15;
    pins[kElecBiEmitter].description = L"Эмиттер";
    pins[kElecBiEmitter].side = kSchSideBottom;
    pins[kElecBiEmitter].offset = 23;
    pins[kElecBiCollector].description = L"Коллектор";
    pins[kElecBiCollector].side = kSchSideTop;
    pins[kElecBiCollector].offset = 8;
  }
}

void CSCHBiTransistor::ApplyDbRecord(CompDbRecord* record) {
  CSCHCustomTransistor::ApplyDbRecord(record);
  if (!record) return;
  const char* structure = record->GetTextByName("structure");
  pnp = structure && strcmp(structure, "PNP") == 0 ? 1 : 0;
  Uceo = record->GetFloatByName("Uceo");
  Ic = record->GetFloatByName("Ic");
  Icp = record->GetFloatByName("Icp");
  Ib = record->GetFloatByName("Ib") / 1000;
  Uce = record->GetFloatByName("Uce");
  float h21min = record->GetFloatByName("h21min"), h21max = record->GetFloatByName("h21max");
  gain = h21min + static_cast<float>(DrawSpreadNumber()) * (h21max - h21min) / kElecSpreadNumberMax;
  Uebo = record->GetFloatByName("Uebo");
  Pc = record->GetFloatByName("Pc");
  UbeSat = record->GetFloatByName("UbeSat");
}

void CSCHBiTransistor::Paint(HDC dc) {
  const int left = rect.left, top = rect.top;
  {
    CKestDcSelection selection(dc);
    selection.Select(GetStockObject(WHITE_BRUSH));
    Ellipse(dc, rect.left, rect.top, rect.right, rect.bottom);
  }
  DrawLine(dc, left, top + 15, left + 10, top + 15);
  DrawLine(dc, left + 10, top + 4, left + 10, top + 27);
  DrawLine(dc, left + 23, top, left + 10, top + 13);
  DrawLine(dc, left + 23, top + 30, left + 10, top + 17);
  if (!pnp) {
    DrawLine(dc, left + 20, top + 27, left + 17, top + 21);
    DrawLine(dc, left + 20, top + 27, left + 14, top + 24);
  } else {
    DrawLine(dc, left + 11, top + 18, left + 14, top + 24);
    DrawLine(dc, left + 11, top + 18, left + 17, top + 21);
  }
  PaintTransistorName(this, dc);
}

void CSCHBiTransistor::Start() {
  smoothedCollectorCurrent = 0;
  smoothedPower = 0;
  CSCHCustomTransistor::Start();
}

void CSCHBiTransistor::Step(float dt) {
  SchPinState Sb = {}, Se = {}, Sc = {};
  GetPinState(kElecBiBase, &Sb);
  GetPinState(kElecBiEmitter, &Se);
  GetPinState(kElecBiCollector, &Sc);
  if (burnt) {
    DriveBurntPins(this);
    return;
  }
  const float w = HandOverSource(TransistorPins{&Sb, &Se, &Sc}, UbeSat, true, true);

  // One pair: limits, the junctions and the new drive of the three pins.
  // The second pair tests the collector-emitter limit without the absolute
  // value and drives its current by the saturation voltage itself.
  auto step = [&](const Pair& s, float share, bool second, PairResult* out) -> bool {
    float Ube = pnp ? s.Ue - s.Ub : s.Ub - s.Ue;
    float Ucep = pnp ? s.Ue - s.Uc : s.Uc - s.Ue;
    if (BurnOnViolation(this, -Ube, Uebo, kBurntMessage)) return false;
    if (BurnOnViolation(this, second ? Ucep : std::fabs(Ucep), Uceo, kBurntMessage)) return false;
    if (Ube < 0) Ube = 0;
    if (Ucep < 0) Ucep = 0;
    float Vbe = (1 - std::exp(-kJunctionSlope * Ube)) * UbeSat;
    float Vsat = (1 - std::exp(-kJunctionSlope * Ucep)) * Uce;
    float Ibase = (Ube - Vbe) / (s.Rb + s.Re);
    if (Ibase < 0) Ibase = 0;
    if (BurnOnViolation(this, Ibase, Ib, kBurntMessage)) return false;
    float I0 = Ibase * gain;
    float Rce = kSchOpenResistance, Rbe = kSchOpenResistance;
    if (!(I0 < kLeastCurrent)) {
      Rce = Ucep / I0 - s.Re - s.Rc;
      if (Rce < kLeastResistance) Rce = kLeastResistance;
    }
    if (!(Ibase < kLeastCurrent)) {
      Rbe = Ube / Ibase - s.Re - s.Rb;
      if (Rbe < kLeastResistance) Rbe = kLeastResistance;
    }
    float drive = second ? Ucep - Uce : Ucep - Vsat;
    float Icol = drive * share / (s.Rc + s.Re + Rce);
    if (Icol < 0) Icol = 0;
    if (BurnOnViolation(this, Icol, Icp, kBurntMessage)) return false;
    out->Icol = Icol;
    out->P = Rce * Icol * Icol;
    if (pnp) {
      Vbe = -Vbe;
      Vsat = -Vsat;
    }
    const float Rb = s.Rb + Rbe, Rc = s.Rc + Rce;
    Pair& d = out->drive;
    d.Uc = (s.Ub / Rb + s.Ue / s.Re) / (1 / Rb + 1 / s.Re) + Vsat;
    d.Rc = Parallel(Rb, s.Re) + Rce;
    d.Ue = ((s.Ub - Vbe) / Rb + (s.Uc - Vsat) / Rc) / (1 / Rb + 1 / Rc);
    d.Re = Parallel(Rb, Rc);
    d.Ub = (s.Uc / Rc + s.Ue / s.Re) / (1 / Rc + 1 / s.Re) + Vbe;
    d.Rb = Parallel(Rc, s.Re) + Rbe;
    return true;
  };

  PairResult first = {}, second = {};
  if (!step(Pair{Sb.U, Sb.R, Se.U, Se.R, Sc.U, Sc.R}, w, false, &first)) return;
  if (!step(Pair{Sb.U2, Sb.R2, Se.U2, Se.R2, Sc.U2, Sc.R2}, 1 - w, true, &second)) return;
  // The smoothed values follow the whole current and power, once a step
  // (time constant 1 s).
  smoothedCollectorCurrent = SmoothBurnValue(smoothedCollectorCurrent, first.Icol + second.Icol, dt, 1);
  if (BurnOnViolation(this, smoothedCollectorCurrent, Ic, kBurntMessage)) return;
  smoothedPower = SmoothBurnValue(smoothedPower, first.P + second.P, dt, 1);
  if (BurnOnViolation(this, smoothedPower, Pc, kBurntMessage)) return;

  Sb.U = first.drive.Ub;
  Sb.R = first.drive.Rb;
  Se.U = first.drive.Ue;
  Se.R = first.drive.Re;
  Sc.U = first.drive.Uc;
  Sc.R = first.drive.Rc;
  Sb.U2 = second.drive.Ub;
  Sb.R2 = second.drive.Rb;
  Se.U2 = second.drive.Ue;
  Se.R2 = second.drive.Re;
  Sc.U2 = second.drive.Uc;
  Sc.R2 = second.drive.Rc;
  SetPinState(kElecBiBase, Sb);
  SetPinState(kElecBiEmitter, Se);
  SetPinState(kElecBiCollector, Sc);
}

void CSCHBiTransistor::Save(CStream* s) {
  CSCHCustomTransistor::Save(s);
  s->WriteByte(pnp);
  const float* fields[] = {&Uceo, &Uce, &Ic, &Icp, &Ib, &gain, &Uebo, &Pc, &UbeSat};
  for (const float* f : fields) s->Write(f, 4);
}

void CSCHBiTransistor::Load(CStream* s) {
  CSCHCustomTransistor::Load(s);
  pnp = s->ReadByte() ? 1 : 0;
  float* fields[] = {&Uceo, &Uce, &Ic, &Icp, &Ib, &gain, &Uebo, &Pc, &UbeSat};
  for (float* f : fields) *f = s->ReadFloat();
}

CSCHBlock* CreateCSCHBiTransistor() { return new (std::nothrow) CSCHBiTransistor; }
