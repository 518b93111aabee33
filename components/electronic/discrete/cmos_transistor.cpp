#include "components/electronic/discrete/cmos_transistor.h"

#include <cmath>
#include <new>

#include "components/electronic/discrete/discrete_common.h"
#include "components/electronic/part_common.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "scheme/database/compdb_record.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"

namespace {

const wchar_t kBurntMessage[] = L"Транзистор \"%s\" вышел из строя.";

}  // namespace

CSCHCMOSTransistor::CSCHCMOSTransistor() {
  SetPinCount(3);
  if (pinCount == 3) {
    pins[kElecCmosGate].description = L"Затвор";
    pins[kElecCmosGate].side = kSchSideLeft;
    pins[kElecCmosGate].offset = 23;
    pins[kElecCmosSource].description = L"Исток";
    pins[kElecCmosSource].side = kSchSideRight;
    pins[kElecCmosSource].offset = 8;
    pins[kElecCmosDrain].description = L"Сток";
    pins[kElecCmosDrain].side = kSchSideRight;
    pins[kElecCmosDrain].offset = 24;
  }
}

void CSCHCMOSTransistor::ApplyDbRecord(CompDbRecord* record) {
  CSCHCustomTransistor::ApplyDbRecord(record);
  if (!record) return;
  const char* channel = record->GetTextByName("channel");
  pChannel = channel && channel[0] == 'P' ? 1 : 0;
  Id = record->GetFloatByName("Id");
  Idm = record->GetFloatByName("Idm");
  Ugsmax = record->GetFloatByName("Ugsmax");
  bodyDiode = record->GetIntByName("diod") != 0 ? 1 : 0;
  float low = record->GetFloatByName("Ugsthmin"), high = record->GetFloatByName("Ugsthmax");
  threshold = low + static_cast<float>(DrawSpreadNumber()) * (high - low) / kElecSpreadNumberMax;
}

void CSCHCMOSTransistor::Paint(HDC dc) {
  const int left = rect.left, top = rect.top;
  {
    CKestDcSelection selection(dc);
    selection.Select(GetStockObject(NULL_BRUSH));
    Ellipse(dc, rect.left, rect.top, rect.right, rect.bottom);
  }
  MoveToEx(dc, left, top + 23, nullptr);
  LineTo(dc, left + 10, top + 23);
  LineTo(dc, left + 10, top + 5);
  DrawLine(dc, left + 15, top + 27, left + 15, top + 2);
  DrawLine(dc, left + 31, top + 7, left + 15, top + 7);
  DrawLine(dc, left + 31, top + 23, left + 15, top + 23);
  MoveToEx(dc, left + 23, top + 23, nullptr);
  LineTo(dc, left + 23, top + 15);
  LineTo(dc, left + 15, top + 15);
  if (!pChannel) {
    DrawLine(dc, left + 15, top + 15, left + 21, top + 17);
    DrawLine(dc, left + 15, top + 15, left + 21, top + 13);
  } else {
    DrawLine(dc, left + 22, top + 15, left + 17, top + 17);
    DrawLine(dc, left + 22, top + 15, left + 17, top + 13);
  }
  PaintTransistorName(this, dc);
}

void CSCHCMOSTransistor::Start() {
  CSCHCustomTransistor::Start();
  smoothedDrainCurrent = 0;
}

float CSCHCMOSTransistor::ChannelResistance(float Uds, float Ugs) const {
  if (Uds < 0) return bodyDiode && Uds < -kElecCmosBodyDiodeDrop ? kElecCmosOnResistance : kSchOpenResistance;
  return Ugs > threshold ? kElecCmosOnResistance : kSchOpenResistance;
}

void CSCHCMOSTransistor::Step(float dt) {
  if (burnt) {
    // The gate is never driven; source and drain are opened.
    SetPinSource(kElecCmosSource, 0, kSchOpenResistance);
    SetPinSource(kElecCmosDrain, 0, kSchOpenResistance);
    return;
  }
  SchPinState G = {}, S = {}, D = {};
  GetPinState(kElecCmosGate, &G);
  GetPinState(kElecCmosSource, &S);
  GetPinState(kElecCmosDrain, &D);
  const float w = HandOverSource(TransistorPins{&G, &S, &D}, threshold, false, false);

  // One pair: limits, then the exchange of the source and drain sides
  // through the channel.
  float current[2] = {0, 0};
  auto step = [&](float Ug, float& Us, float& Rs, float& Ud, float& Rd, float share, float* I) -> bool {
    float Uds = pChannel ? Us - Ud : Ud - Us;
    float Ugs = pChannel ? Us - Ug : Ug - Us;
    if (BurnOnViolation(this, std::fabs(Ugs), Ugsmax, kBurntMessage)) return false;
    float Ron = ChannelResistance(Uds, Ugs);
    *I = Uds * share / (Rd + Rs + Ron);
    if (BurnOnViolation(this, std::fabs(*I), Idm, kBurntMessage)) return false;
    float oldUs = Us, oldRs = Rs;
    Us = Ud;
    Rs = Rd + Ron;
    Ud = oldUs;
    Rd = oldRs + Ron;
    return true;
  };
  if (!step(G.U, S.U, S.R, D.U, D.R, w, &current[0])) return;
  if (!step(G.U2, S.U2, S.R2, D.U2, D.R2, 1 - w, &current[1])) return;
  // The smoothed current follows the whole drain current, once a step
  // (time constant 1 s).
  smoothedDrainCurrent =
      SmoothBurnValue(smoothedDrainCurrent, std::fabs(current[0]) + std::fabs(current[1]), dt, 1);
  if (BurnOnViolation(this, smoothedDrainCurrent, Id, kBurntMessage)) return;
  SetPinState(kElecCmosSource, S);
  SetPinState(kElecCmosDrain, D);
}

void CSCHCMOSTransistor::Save(CStream* s) {
  CSCHCustomTransistor::Save(s);
  s->WriteByte(pChannel);
  s->Write(&Id, 4);
  s->Write(&Idm, 4);
  s->Write(&Ugsmax, 4);
  s->Write(&threshold, 4);
  s->WriteByte(bodyDiode);
}

void CSCHCMOSTransistor::Load(CStream* s) {
  CSCHCustomTransistor::Load(s);
  pChannel = s->ReadByte() ? 1 : 0;
  Id = s->ReadFloat();
  Idm = s->ReadFloat();
  Ugsmax = s->ReadFloat();
  threshold = s->ReadFloat();
  bodyDiode = s->ReadByte() ? 1 : 0;
}

CSCHBlock* CreateCSCHCMOSTransistor() { return new (std::nothrow) CSCHCMOSTransistor; }
