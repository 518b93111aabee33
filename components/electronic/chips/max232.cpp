#include "components/electronic/chips/max232.h"

#include <cmath>
#include <initializer_list>
#include <new>

#include "components/electronic/chips/chip_text.h"
#include "components/electronic/discrete/capacitor.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"
#include "scheme/board/pcb_painter.h"
#include "scheme/database/compdb_record.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"
#include "scheme/simulation/sim_log.h"

namespace {

const wchar_t kBurntMessage[] = L"Драйвер RS-232 \"%s\" вышел из строя!";
const wchar_t kConnectTo5V[] = L"Подключить к +5V";

const float kRs232Level = 10.0f;        // volts either side of ground
const float kTransmitterResistance = 250.0f;
const float kReceiverResistance = 166.0f;
const float kTtlHigh = 2.4f;            // a transmitter input above reads high
const float kRs232Threshold = 3.3f;     // a receiver input below minus this reads high
const float kReceiverInputLimit = 30.0f;
const float kTransmitterInputLow = -0.3f;
const float kCapacitorRating = 16.0f;   // volts
const unsigned char kChildFlags = kSchBoardSelected | kSchBoardPart | kSchAuxiliary;
const unsigned char kWireFlags = kSchBoardPart | kSchAuxiliary;

struct PinText {
  const wchar_t* name;
  const wchar_t* description;
};
const PinText kPins[16] = {
    {L"C1+", nullptr},  {L"+10V", nullptr},          {L"C1-", nullptr},        {L"C2+", nullptr},
    {L"C2-", nullptr},  {L"-10V", nullptr},          {L"T2out", L"Выход RS-232"}, {L"R2in", L"Вход RS-232"},
    {L"R2out", L"Выход UART"}, {L"T2in", L"Вход UART"}, {L"T1in", nullptr},   {L"R1out", nullptr},
    {L"R1in", nullptr}, {L"T1out", nullptr},         {L"GND", nullptr},        {L"VCC", kConnectTo5V},
};

bool Inside(float v, float low, float high) { return v >= low && v <= high; }

// A wire of the chip's scheme from one pin to another: end 0 joined first,
// then the polyline coordinates given, then end 1 (which adds a last turn
// where the polyline does not arrive along the pin's side; without the
// polyline when it arrives against it). Flagged as part of the chip's
// circuit.
SchWire* AddWire(SchScheme* scheme, CSCHBlock* a, int pa, CSCHBlock* b, int pb, std::initializer_list<int> coords) {
  if (!scheme || !a || !b) return nullptr;
  SchWire* w = new (std::nothrow) SchWire(scheme);
  if (!w) return nullptr;
  bool joined = w->AttachToPin(0, a, pa);
  if (joined && coords.size() > 0 && w->SetCoordinateCount(static_cast<int>(coords.size()))) {
    int i = 0;
    for (int c : coords) w->coords[i++] = c;
  }
  if (joined && !w->AttachToPin(1, b, pb)) joined = w->SetCoordinateCount(0) && w->AttachToPin(1, b, pb);
  if (!joined) {
    delete w;
    return nullptr;
  }
  w->flags |= kWireFlags;
  return w;
}

}  // namespace

CSCHMAX232::CSCHMAX232() {
  rect.right = rect.left + 150;
  namePrefix = L"DD";
  SetPinCount(16);
  if (pinCount == 16) {
    for (int i = 0; i < 16; i++) {
      pins[i].name = kPins[i].name;
      pins[i].description = kPins[i].description;
    }
  }
}

void CSCHMAX232::UpdateBodySize() {
  switch (package) {
    case kElecMax232Dip: LayoutPinsDip(); break;
    case kElecMax232NarrowSo: LayoutPinsNarrowSo(); break;
    case kElecMax232WideSo: LayoutPinsWideSo(); break;
    default: break;
  }
}

void CSCHMAX232::ApplyDbRecord(CompDbRecord* record) {
  CSCHBlock::ApplyDbRecord(record);
  if (!record) return;
  const float c1 = record->GetFloatByName("C1");
  const float c2 = record->GetFloatByName("C2");
  package = static_cast<unsigned char>(record->GetIntByName("corps"));
  supplyCurrent = record->GetFloatByName("I") / 1000;
  minimumSupply = record->GetFloatByName("Umin");
  maximumSupply = record->GetFloatByName("Umax");
  UpdateBodySize();
  AddApplicationCircuit(c1, c2);
}

void CSCHMAX232::DeleteApplicationCircuit() {
  // Each child's destructor removes it from the children and deletes the
  // wires at its pins.
  while (childCount > 0) {
    CSCHBlock* child = children[childCount - 1];
    if (!child) {
      childCount--;
      continue;
    }
    delete child;
  }
}

CSCHBlock* CSCHMAX232::AddCapacitor(float microfarads, int orientation, float x, float y, POINT at) {
  CSCHBlock* c = scheme->CreateBlock("Capacitor");
  if (!c) return nullptr;
  int kind = kElecCapacitorCeramic;
  if (microfarads >= 1) kind = kElecCapacitorElectrolytic;
  else if (package == kElecMax232NarrowSo || package == kElecMax232WideSo) kind = kElecCapacitorChip;
  // A class of another kind registered under the name keeps its own values.
  if (CCapacitor* cap = dynamic_cast<CCapacitor*>(c)) {
    cap->capacitance = microfarads / 1e6f;
    cap->ratedVoltage = kCapacitorRating;
    cap->symbolOrientation = orientation;
    cap->kind = kind;
    cap->UpdateBodySize();
  }
  c->boardX = x;
  c->boardY = y;
  c->MoveTo(at.x, at.y);
  c->flags |= kChildFlags;
  if (!AddChild(c)) {  // out of memory: the part is not left unowned
    delete c;
    return nullptr;
  }
  return c;
}

void CSCHMAX232::AddApplicationCircuit(float c1, float c2) {
  if (!scheme) return;
  if (childCount > 0) {
    DeleteApplicationCircuit();
  } else {
    // Room on the left for the capacitors.
    rect.left += 200;
    rect.right += 200;
  }
  float dx = 0, dy = 0;
  if (package == kElecMax232NarrowSo) dy = 2.54f;
  else if (package == kElecMax232WideSo) {
    dx = -1.27f;
    dy = 2.54f;
  }
  const float e = c1 >= 1 ? 2.54f : 0;
  const float x = boardX, y = boardY;
  auto at = [this](int pin, int ox, int oy) {
    POINT p = GetPinAnchor(pin);
    p.x += ox;
    p.y += oy;
    return p;
  };
  CSCHBlock* cap1 = AddCapacitor(c1, 0, x - 7.62f - 1.27f + dx, y - 7.62f + dy, at(kElecMax232C1Plus, -110, -30));
  CSCHBlock* cap2 = AddCapacitor(c1, 2, x - 12.7f + dx - e, y - 7.62f + dy, at(kElecMax232C1Plus, -200, -30));
  CSCHBlock* cap3 = AddCapacitor(c2, 0, x - 7.62f - 1.27f + dx, y + dy, at(kElecMax232C2Plus, -200, 0));
  CSCHBlock* cap4 = AddCapacitor(c2, 2, x - 12.7f + dx - e, y + dy, at(kElecMax232Minus10V, -40, 70));
  if (cap2 && cap2->pinCount > 1) cap2->pins[1].description = kConnectTo5V;
  const int left = rect.left, top = rect.top;
  AddWire(scheme, this, kElecMax232C1Plus, cap1, 0, {left - 10, top - 25});
  AddWire(scheme, this, kElecMax232C1Minus, cap1, 1, {});
  AddWire(scheme, this, kElecMax232Plus10V, cap2, 0, {});
  AddWire(scheme, this, kElecMax232C2Plus, cap3, 0, {left - 120, top + 60});
  AddWire(scheme, this, kElecMax232C2Minus, cap3, 1, {left - 120, top + 110});
  AddWire(scheme, this, kElecMax232Minus10V, cap4, 1, {});
  CSCHBlock* gnd = scheme->CreateBlock("GND");
  if (gnd && !AddChild(gnd)) {  // out of memory: the part is not left unowned
    delete gnd;
    gnd = nullptr;
  }
  if (gnd) {
    gnd->flags |= kWireFlags;
    if (cap4) {
      gnd->MoveTo(cap4->rect.left + 6, cap4->rect.bottom + 15);
      AddWire(scheme, cap4, 0, gnd, 0, {static_cast<int>(cap4->rect.bottom + 4)});
    }
  }
  CSCHBlock* gnd2 = scheme->CreateBlock("GND");
  if (gnd2 && !AddChild(gnd2)) {  // out of memory: the part is not left unowned
    delete gnd2;
    gnd2 = nullptr;
  }
  if (gnd2) {
    gnd2->flags |= kWireFlags;
    gnd2->MoveTo(rect.right + 10, (cap4 ? cap4->rect.bottom : rect.bottom) + 15);
    AddWire(scheme, this, kElecMax232GND, gnd2, 0, {});
  }
}

// ------------------------------------------------------------ simulation

void CSCHMAX232::Burn() {
  burnt = 1;
  SimMessageLog::Global().AppendFormat(kBurntMessage, instanceName ? instanceName : L"");
}

bool CSCHMAX232::Transmit(int in, int out, float Ug, float Rg) {
  SchPinState s = {};
  GetPinState(in, &s);
  const float d1 = s.U - Ug, d2 = s.U2 - Ug;
  if (!Inside(d1, kTransmitterInputLow, maximumSupply) || !Inside(d2, kTransmitterInputLow, maximumSupply)) {
    Burn();
    return false;
  }
  const float R = Rg + kTransmitterResistance;
  const bool high = d1 > kTtlHigh;
  s.U = high ? Ug - kRs232Level : Ug + kRs232Level;
  s.R = R;
  s.U2 = Ug + kRs232Level;
  s.R2 = R;
  s.ownU = s.U;
  s.ownR = s.R;
  if (!(high && d2 <= kTtlHigh)) {
    s.sourceKind = kSchSourceOwnWeight;
    s.source = nullptr;
  }
  SetPinState(out, s);
  return true;
}

bool CSCHMAX232::Receive(int in, int out, float Ug, float Rg, float Vc) {
  SchPinState s = {};
  GetPinState(in, &s);
  const float d1 = s.U - Ug, d2 = s.U2 - Ug;
  if (!Inside(d1, -kReceiverInputLimit, kReceiverInputLimit) ||
      !Inside(d2, -kReceiverInputLimit, kReceiverInputLimit)) {
    Burn();
    return false;
  }
  const float R = Rg + kReceiverResistance;
  const bool high = d1 < -kRs232Threshold;
  s.U = high ? Ug + Vc : Ug;
  s.R = R;
  s.U2 = Ug;
  s.R2 = R;
  s.ownU = s.U;
  s.ownR = s.R;
  if (!(high && d2 >= kRs232Threshold)) {
    s.sourceKind = kSchSourceOwnWeight;
    s.source = nullptr;
  }
  SetPinState(out, s);
  return true;
}

void CSCHMAX232::Step(float) {
  if (burnt) {
    DriveBurntPins(this);
    return;
  }
  const float Rs = 5 / supplyCurrent;
  float Uv = 0, Rv = kSchOpenResistance, Ug = 0, Rg = kSchOpenResistance;
  GetPinInput(kElecMax232VCC, &Uv, &Rv);
  GetPinInput(kElecMax232GND, &Ug, &Rg);
  // The chip voltage is a float, as the supply window's fields are: worked
  // out in double and rounded once, so that a supply exactly at an edge of
  // the window gives the same voltage at both widths (x87 and SSE).
  const float Vc = RoundToFloat((static_cast<double>(Uv) - Ug) * Rs / (static_cast<double>(Rv) + Rg + Rs));
  if (!(Rs > 0) || !std::isfinite(Rs) || !Inside(Vc, -0.3f, maximumSupply)) {
    Burn();
    return;
  }
  SetPinSource(kElecMax232VCC, Ug, Rg + Rs);
  SetPinSource(kElecMax232GND, Uv, Rv + Rs);
  if (!(Vc >= minimumSupply)) {
    for (int pin : {kElecMax232T2Out, kElecMax232R2Out, kElecMax232R1Out, kElecMax232T1Out}) SetPinSource(pin, Ug, Rg);
    return;
  }
  if (!Transmit(kElecMax232T2In, kElecMax232T2Out, Ug, Rg)) return;
  if (!Transmit(kElecMax232T1In, kElecMax232T1Out, Ug, Rg)) return;
  if (!Receive(kElecMax232R2In, kElecMax232R2Out, Ug, Rg, Vc)) return;
  Receive(kElecMax232R1In, kElecMax232R1Out, Ug, Rg, Vc);
}

// ------------------------------------------------------------ record

void CSCHMAX232::Save(CStream* s) {
  s->WriteByte(package);
  s->Write(&supplyCurrent, 4);
  s->Write(&minimumSupply, 4);
  s->Write(&maximumSupply, 4);
  CSCHBlock::Save(s);
}

void CSCHMAX232::Load(CStream* s) {
  package = static_cast<unsigned char>(s->ReadByte());
  supplyCurrent = s->ReadFloat();
  minimumSupply = s->ReadFloat();
  maximumSupply = s->ReadFloat();
  UpdateBodySize();
  CSCHBlock::Load(s);
}

// ------------------------------------------------------------ drawing

void CSCHMAX232::Paint(HDC dc) {
  PaintBody(dc, RGB(238, 238, 238));
  PaintChipLabels(this, dc);
}

void CSCHMAX232::PaintFootprint(PcbPainter* painter) {
  if (!painter) return;
  painter->SetPlacement(boardX, boardY, orientation);
  wchar_t text[kElecChipFootprintTextChars + 1];
  ChipTextToWide(model, text, kElecChipFootprintTextChars + 1);
  const COLORREF grey = RGB(0x99, 0x99, 0x99);
  switch (package) {
    case kElecMax232Dip:
      painter->DrawDipPackage(16);
      DrawFootprintText(painter, 0.5f, 0, 2, L"MAXIM", 1, grey);
      DrawFootprintText(painter, -1, 0, 1.5f, text, 1, grey);
      break;
    case kElecMax232NarrowSo:
      painter->DrawNarrowSoPackage(16);
      DrawFootprintText(painter, 0.5f, 0, 1, text, 1, grey);
      break;
    case kElecMax232WideSo:
      painter->DrawWideSoPackage(16);
      DrawFootprintText(painter, 0.5f, 0, 2, L"MAXIM", 1, grey);
      DrawFootprintText(painter, -1, 0, 1, text, 1, grey);
      break;
    default: break;
  }
  DrawFootprintName(painter, this);
}

CSCHBlock* CreateCSCHMAX232() { return new (std::nothrow) CSCHMAX232; }
