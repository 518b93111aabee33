#include "components/electronic/chips/max485.h"

#include <cmath>
#include <cwchar>
#include <initializer_list>
#include <utility>
#include <new>

#include "components/electronic/chips/chip_text.h"
#include "foundation/stream.h"
#include "scheme/board/pcb_painter.h"
#include "scheme/database/compdb_record.h"
#include "scheme/simulation/packet_set.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"
#include "scheme/simulation/signal_source.h"
#include "scheme/simulation/sim_log.h"

namespace {

const wchar_t kBurntMessage[] = L"Микросхема MAX485 (\"%s\") вышла из строя!";

const float kSupplyResistance = 5.0f / 0.00012f;  // the chip between its rails
const float kDriverResistance = 5.0f / 0.25f;
const float kReceiverResistance = 5.0f / 0.095f;
const float kLineLoad = 12000.0f;          // what the receiver adds to the pair
const float kEnableOpen = 100000.0f;       // an enable input behind more is open
const float kPoweredVoltage = 4.0f;
const float kDifferentialThreshold = 0.2f;

struct PinText {
  const wchar_t* name;
  const wchar_t* description;
};
const PinText kPins[8] = {
    {L"RO", L"Выход данных приемника"},
    {L"~RE", L"Разрешение работы приемника (инверсный вход)"},
    {L"DE", L"Вход разрешения работы передатчика"},
    {L"DI", L"Вход данных передатчика"},
    {L"GND", L"\"Земля\""},
    {L"A", L"Выходная линия A"},
    {L"B", L"Выходная линия B"},
    {L"Vcc", L"Питание"},
};

bool Inside(float v, float low, float high) { return v >= low && v <= high; }

// Whether a source kind's first word is a packet set: serial, USB and
// Ethernet data. Kind 0 holds a period there; other kinds are not known.
bool CarriesPackets(int kind) {
  return kind == kSchSourceSerial || kind == kSchSourceUsb || kind == kSchSourceData13 || kind == kSchSourcePacket ||
         kind == kSchSourceEthernet;
}

// Whether two net sources carry the same packets.
bool SamePackets(const SchPinState& a, const SchPinState& b) {
  if (a.sourceKind != b.sourceKind || !a.source || !b.source) return false;
  if (a.source == b.source) return true;
  if (!CarriesPackets(a.sourceKind)) return false;
  return a.source->packets && a.source->packets->Equals(b.source->packets);
}

SchPinState Pairs(float U1, float R1, float U2, float R2, int kind, SchSignalSource* source) {
  SchPinState s = {};
  s.U = U1;
  s.R = R1;
  s.U2 = U2;
  s.R2 = R2;
  s.ownU = U1;
  s.ownR = R1;
  s.sourceKind = kind;
  s.source = source;
  return s;
}

}  // namespace

CMAX485::CMAX485() {
  namePrefix = L"DD";
  SetPinCount(8);
  rect.right = rect.left + 100;
  if (pinCount == 8) {
    for (int i = 0; i < 8; i++) {
      pins[i].name = kPins[i].name;
      pins[i].description = kPins[i].description;
    }
  }
  UpdateBodySize();
}

void CMAX485::UpdateBodySize() {
  if (package == kElecMax485Dip) LayoutPinsDip();
  else if (package == kElecMax485So) LayoutPinsNarrowSo();
}

void CMAX485::ApplyDbRecord(CompDbRecord* record) {
  CSCHBlock::ApplyDbRecord(record);
  if (!record) return;
  package = static_cast<unsigned char>(record->GetIntByName("corps"));
  inputImpedance = record->GetFloatByName("inputImp");
  UpdateBodySize();
}

void CMAX485::Burn() {
  burnt = 1;
  SimMessageLog::Global().AppendFormat(kBurntMessage, instanceName ? instanceName : L"");
}

void CMAX485::Release(int pin) { SetPinSource(pin, 0, kSchOpenResistance); }

void CMAX485::Step(float) {
  if (burnt) {
    DriveBurntPins(this);
    return;
  }
  float Uv = 0, Rv = kSchOpenResistance, Ug = 0, Rg = kSchOpenResistance;
  GetPinInput(kElecMax485Vcc, &Uv, &Rv);
  GetPinInput(kElecMax485GND, &Ug, &Rg);
  const float Rs = kSupplyResistance, Rd = kDriverResistance, Rr = kReceiverResistance;
  const float Vc = (Uv - Ug) * Rs / (Rs + Rv + Rg);
  if (!Inside(Vc, -0.5f, 12.0f)) {
    Burn();
    return;
  }
  double G = 1.0 / (Rs + Rg);
  if (Vc <= kPoweredVoltage) {
    Release(kElecMax485RO);
    Release(kElecMax485A);
    Release(kElecMax485B);
  } else {
    const float m = Ug + Vc / 2;
    float U = 0, R = kSchOpenResistance;
    GetPinInput(kElecMax485RE, &U, &R);
    const bool receiverOn = R < kEnableOpen && U < m;
    GetPinInput(kElecMax485DE, &U, &R);
    const bool driverOn = R < kEnableOpen && U > m;
    SchPinState sA = {}, sB = {}, sD = {};
    GetPinState(kElecMax485A, &sA);
    GetPinState(kElecMax485B, &sB);
    if (!Inside(sA.U, -8, 12.5f) || !Inside(sA.U2, -8, 12.5f) || !Inside(sB.U, -8, 12.5f) ||
        !Inside(sB.U2, -8, 12.5f)) {
      Burn();
      return;
    }
    GetPinState(kElecMax485DI, &sD);
    if (!Inside(sD.U, Ug - 0.5f, Uv + 0.5f) || !Inside(sD.U2, Ug - 0.5f, Uv + 0.5f)) {
      Burn();
      return;
    }
    // A steady level on DI (no data) goes out as that level: high drives A
    // above B, low B above A.
    const bool diLow = !sD.source && sD.U <= m;
    if (driverOn) {
      SchPinState a = Pairs(Uv, Rv + Rd, Ug, Rg + Rd, sD.sourceKind, sD.source);
      SchPinState b = Pairs(Ug, Rg + Rd, Uv, Rv + Rd, sD.sourceKind, sD.source);
      if (diLow) std::swap(a, b);
      SetPinState(kElecMax485A, a);
      SetPinState(kElecMax485B, b);
      for (float r : {sA.R, sA.R2, sB.R, sB.R2}) G += 0.5 / (static_cast<double>(r) + Rd);
    } else if (!receiverOn) {
      Release(kElecMax485A);
      Release(kElecMax485B);
    }
    if (receiverOn) {
      SchPinState sR = {};
      GetPinState(kElecMax485RO, &sR);
      SchPinState out = Pairs(Uv, Rv + Rr, Ug, Rg + Rr, sR.sourceKind, sR.source);
      if (driverOn) {
        out.sourceKind = sD.sourceKind;
        out.source = sD.source;
        if (diLow) {
          out.U = Ug;
          out.R = Rg + Rr;
        }
      } else {
        const float Z = inputImpedance;
        const float dA = (sA.U - sB.U) * Z / (Z + sA.R + sB.R);
        const float dB = (sA.U2 - sB.U2) * Z / (Z + sA.R2 + sB.R2);
        const float t = kDifferentialThreshold;
        if (dA > t && dB < t) {
          if (SamePackets(sA, sB)) {
            out.sourceKind = sA.sourceKind;
            out.source = sA.source;
          } else {
            out.sourceKind = kSchSourceContested;
          }
        } else if (dA > t) {
          out.sourceKind = kSchSourceOwnWeight;
        } else if (dB > t) {
          out.sourceKind = kSchSourceContested;
        } else {
          out.U = Ug;
          out.R = Rg + Rr;
        }
        // The receiver's input resistance loads the pair.
        SchPinState a = sB, b = sA;
        a.R += kLineLoad;
        a.R2 += kLineLoad;
        b.R += kLineLoad;
        b.R2 += kLineLoad;
        SetPinState(kElecMax485A, a);
        SetPinState(kElecMax485B, b);
      }
      SetPinState(kElecMax485RO, out);
      for (float r : {sR.R, sR.R2}) G += 0.5 / (static_cast<double>(r) + Rr);
    } else {
      SetPinState(kElecMax485RO, Pairs(0, kSchOpenResistance, 0, kSchOpenResistance, kSchSourceOwnWeight, nullptr));
    }
  }
  // The chip's load on its supply: the ground pin returns it.
  SetPinSource(kElecMax485GND, Uv, Rs + Rv);
  SetPinSource(kElecMax485Vcc, Ug, static_cast<float>(1.0 / G));
}

void CMAX485::Save(CStream* s) {
  s->WriteByte(package);
  s->Write(&inputImpedance, 4);
  CSCHBlock::Save(s);
}

void CMAX485::Load(CStream* s) {
  package = static_cast<unsigned char>(s->ReadByte());
  inputImpedance = s->ReadFloat();
  UpdateBodySize();
  CSCHBlock::Load(s);
}

void CMAX485::Paint(HDC dc) {
  PaintBody(dc, RGB(238, 238, 238));
  PaintChipLabels(this, dc);
}

void CMAX485::PaintFootprint(PcbPainter* painter) {
  if (!painter) return;
  wchar_t text[kElecChipFootprintTextChars + 1];
  ChipTextToWide(model, text, kElecChipFootprintTextChars + 1);
  const int cut = ChipTextDigitsEnd(text);
  wchar_t main[kElecChipFootprintTextChars + 1];
  wcsncpy(main, text, cut);
  main[cut] = 0;
  const wchar_t* rest = text + cut;
  painter->SetPlacement(boardX, boardY, orientation);
  const COLORREF grey = RGB(0x99, 0x99, 0x99);
  if (package == kElecMax485Dip) {
    painter->DrawDipPackage(8);
    DrawFootprintText(painter, 1.4f, 0, 2, L"MAXIM", 1, grey);
    DrawFootprintText(painter, -0.3f, 0, 1.5f, main, 1, grey);
    DrawFootprintText(painter, -1.5f, 0, 1.5f, rest, 1, grey);
  } else if (package == kElecMax485So) {
    painter->DrawNarrowSoPackage(8);
    DrawFootprintText(painter, 0.5f, 0, 1, main, 1, grey);
    DrawFootprintText(painter, -0.5f, 0, 1, rest, 1, grey);
  }
  DrawFootprintName(painter, this);
}

CSCHBlock* CreateCMAX485() { return new (std::nothrow) CMAX485; }
