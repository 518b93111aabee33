#include "components/electronic/motor/l6205.h"

#include <new>

#include "components/electronic/chips/chip_text.h"
#include "components/electronic/discrete/diod.h"
#include "components/electronic/motor/h_bridge.h"
#include "components/electronic/resister.h"
#include "components/electronic/usb/circuit_parts.h"
#include "scheme/board/pcb_painter.h"
#include "scheme/database/compdb_record.h"
#include "scheme/model/junction.h"
#include "scheme/model/scheme.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/sim_log.h"

namespace {

const wchar_t kBurntMessage[] = L"Ключ \"%s\" (L6205) вышел из строя!";

const float kDataPeriod = 0.7f;
const float kMaximumVolts = 60.0f;
const float kWorkingVolts = 7.0f;
const float kQuiescentResistance = 12000.0f;
const float kEnableLow = -0.8f, kEnableHigh = 7.0f, kLogicHigh = 2.0f;

struct PinText {
  const wchar_t* name;
  const wchar_t* description;
};
const PinText kPins[20] = {
    {L"IN1.A", L"Вход 1 моста A"},
    {L"IN2.A", L"Вход 2 моста A"},
    {L"SENSE.A", L"Вход SENSE моста A (земля или резистор для измерения тока)"},
    {L"OUT1.A", L"Выход 1 моста A"},
    {L"GND", L"\"Земля\""},
    {L"GND", L"\"Земля\""},
    {L"OUT1.B", L"Выход 1 моста B"},
    {L"SENSE.B", L"Вход SENSE моста B (земля или резистор для измерения тока)"},
    {L"IN1.B", L"Вход 1 моста B"},
    {L"IN2.B", L"Вход 2 моста B"},
    {L"EN.B", L"Вход разрешения моста B"},
    {L"VBOOT", L"Вход разрешения моста B"},
    {L"OUT2.B", L"Выход 2 моста B"},
    {L"VS.B", L"Вход силового питания моста B"},
    {L"GND", L"\"Земля\""},
    {L"GND", L"\"Земля\""},
    {L"VS.A", L"Вход силового питания моста A"},
    {L"OUT2.A", L"Выход 2 моста A"},
    {L"VCP", L"Подключение зарядового конденсатора"},
    {L"EN.A", L"Разрешение работы моста A"},
};

// The 8-bit database text of a wide text.
void SetModelText(CSCHBlock* block, const wchar_t* text) {
  char bytes[64] = {};
  if (WideCharToMultiByte(1251, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr) > 0) block->SetModel(bytes);
}

// A plain level against the ground: false when outside [-0.8 V, 7 V].
bool ReadEnable(const CSCHBlock* block, int pin, float Ug, bool* enabled) {
  float U = 0, R = kSchOpenResistance;
  block->GetPinInput(pin, &U, &R);
  const float a = U - Ug;
  if (!(a >= kEnableLow && a <= kEnableHigh)) return false;
  *enabled = a > kLogicHigh;
  return true;
}

BridgeDrive Drive(bool enabled, const PwmReading& in1, const PwmReading& in2) {
  BridgeDrive d = {};
  d.Rz = kQuiescentResistance;
  if (enabled) {
    d.high[0] = in1.duty;
    d.high[1] = in2.duty;
    d.low[0] = 1 - in1.duty;
    d.low[1] = 1 - in2.duty;
  }
  d.maximum = kMaximumVolts;
  d.working = kWorkingVolts;
  d.resistanceScale = enabled ? 1.0f : 0.0f;
  d.driveSense = true;
  return d;
}

}  // namespace

CSCH_L6205::CSCH_L6205() {
  namePrefix = L"DA";
  rect.right = rect.left + 150;
  SetPinCount(20);
  if (pinCount != 20) return;
  LayoutPinsDip();
  for (int i = 0; i < 20; i++) {
    pins[i].name = kPins[i].name;
    pins[i].description = kPins[i].description;
    pins[i].number = i + 1;
  }
}

void CSCH_L6205::ApplyDbRecord(CompDbRecord* record) {
  CSCHBlock::ApplyDbRecord(record);
  if (!scheme) return;
  DeleteCircuit(this);
  const float x = boardX, y = boardY;
  const int left = rect.left, right = rect.right, top = rect.top, bottom = rect.bottom;
  const float bx = x + 10.16f - 1.27f;
  CSCHBlock* c1 = AddCircuitCapacitor(this, 1e-8f, -1, bx, y - 10.16f - 2.54f, right + 46, top - 40);
  CSCHBlock* c2 = AddCircuitCapacitor(this, 2.2e-7f, -1, bx, y + 10.16f + 2.54f, right + 180, top - 120);
  if (c2 && c2->pinCount > 0) c2->pins[0].description = L"К плюсу силового питания";
  CSCHBlock* r = AddCircuitPart(this, "Resister", kElecCircuitPartFlags);
  if (r) {
    if (CSCHResister* res = dynamic_cast<CSCHResister*>(r)) {
      res->actualResistance = res->nominalResistance = 100;
      res->powerRating = 0.25f;
      res->packageClass = kElecResisterBanded;
      res->bodyLength = 6;
      res->bodyWidth = 2.3f;
      res->leadSize = 0.6f;
      res->bodyColor = 2;
      res->colorCodeShown = 1;
      SetModelText(res, L"Выводные, 0.25Вт, 5%");
      res->UpdateBodySize();
    }
    r->boardX = bx;
    r->boardY = y - 5.08f;
    r->MoveTo(right + 54, top - 120);
  }
  CSCHBlock* d1 = AddCircuitPart(this, "diod", kElecCircuitPartFlags);
  if (d1) {
    d1->SetModel("1N4148");
    d1->boardX = x + 10.16f + 2.54f - 1.27f;
    d1->boardY = y - 5.08f;
    d1->MoveTo(right + 50, top - 200);
    if (d1->pinCount > 0) d1->pins[0].description = L"К плюсу силового питания";
  }
  CSCHBlock* d2 = AddCircuitPart(this, "diod", kElecCircuitPartFlags);
  if (d2) {
    d2->SetModel("1N4148");
    d2->boardX = bx;
    d2->boardY = y + 5.08f;
    d2->MoveTo(right + 120, top - 120);
  }
  CSCHBlock* gRight = AddCircuitPart(this, "GND", kSchBoardPart);
  if (gRight) gRight->MoveTo(right + 40, bottom + 24);
  CSCHBlock* gLeft = AddCircuitPart(this, "GND", kSchBoardPart);
  if (gLeft) gLeft->MoveTo(left - 50, bottom + 24);
  POINT a14 = GetPinAnchor(kElecL6205GND3), a5 = GetPinAnchor(kElecL6205GND2);
  SchJunction* ja = AddCircuitJunction(scheme, a14.x + 40, a14.y, kSchBoardPart);
  SchJunction* jb = AddCircuitJunction(scheme, a5.x - 37, a5.y, kSchBoardPart);
  SchJunction* jc = AddCircuitJunction(scheme, right + 58, top - 145, kSchBoardPart);
  SchJunction* jd = AddCircuitJunction(scheme, right + 128, top - 55, kSchBoardPart);
  if (jb) {
    AddJunctionWire(scheme, this, kElecL6205GND1, jb, {});
    if (gLeft) AddJunctionWire(scheme, gLeft, 0, jb, {jb->y + 20});
    AddJunctionWire(scheme, this, kElecL6205GND2, jb, {jb->x + 20});
  }
  if (ja) {
    AddJunctionWire(scheme, this, kElecL6205GND4, ja, {});
    if (gRight) AddJunctionWire(scheme, gRight, 0, ja, {ja->y + 20});
    AddJunctionWire(scheme, this, kElecL6205GND3, ja, {ja->x - 20});
  }
  if (c1) {
    AddCircuitWire(scheme, this, kElecL6205VCP, c1, 1, {});
    if (r) AddCircuitWire(scheme, c1, 0, r, 1, {static_cast<int>(c1->rect.top - 15)});
  }
  if (jc) {
    if (r) AddJunctionWire(scheme, r, 0, jc, {static_cast<int>(r->rect.top - 15)});
    if (d1) AddJunctionWire(scheme, d1, 1, jc, {jc->y - 15});
    if (d2) AddJunctionWire(scheme, d2, 0, jc, {});
  }
  if (jd) {
    if (d2) AddJunctionWire(scheme, d2, 1, jd, {jd->y - 10});
    AddJunctionWire(scheme, this, kElecL6205VBOOT, jd, {});
    if (c2) AddJunctionWire(scheme, c2, 1, jd, {});
  }
}

void CSCH_L6205::JoinInternalNets() {
  SchNet* joined = nullptr;
  for (int pin : {kElecL6205GND1, kElecL6205GND2, kElecL6205GND3, kElecL6205GND4}) {
    SchNet* n = pins[pin].net;
    if (!n) continue;
    if (joined && joined != n) n->Merge(joined);
    joined = n;
  }
}

void CSCH_L6205::PaintFootprint(PcbPainter* painter) {
  if (!painter) return;
  painter->SetPlacement(boardX, boardY, orientation);
  painter->DrawDipPackage(20);
  const COLORREF grey = RGB(0x99, 0x99, 0x99);
  DrawFootprintText(painter, 1.8f, 6, 2, L"L6205N", 1, grey);
  DrawFootprintText(painter, -0.2f, 4, 2, L"N91018150", 1, grey);
  DrawFootprintText(painter, -1.9f, 4.2f, 2, L"MALAYSIA", 1, grey);
  DrawFootprintName(painter, this);
}

void CSCH_L6205::Start() {
  burnt = 0;
  CSCHBlock::Start();
}

void CSCH_L6205::Burn() {
  burnt = 1;
  SimMessageLog::Global().AppendFormat(kBurntMessage, instanceName ? instanceName : L"");
}

void CSCH_L6205::Step(float) {
  if (burnt) {
    DriveBurntPins(this);
    return;
  }
  float UgA = 0, UgB = 0, R = 0;
  GetPinInput(kElecL6205GND1, &UgA, &R);
  GetPinInput(kElecL6205GND2, &UgB, &R);
  bool enA = false, enB = false;
  if (!ReadEnable(this, kElecL6205ENA, UgA, &enA) || !ReadEnable(this, kElecL6205ENB, UgB, &enB)) return Burn();
  PwmReading in1A = {}, in2A = {}, in1B = {}, in2B = {};
  if (!ReadPwmInput(this, kElecL6205IN1A, UgA, kElecSteadyPeriod, kDataPeriod, &in1A) ||
      !ReadPwmInput(this, kElecL6205IN2A, UgA, 0, kDataPeriod, &in2A) ||
      !ReadPwmInput(this, kElecL6205IN1B, UgB, 0, kDataPeriod, &in1B) ||
      !ReadPwmInput(this, kElecL6205IN2B, UgB, kElecSteadyPeriod, kDataPeriod, &in2B))
    return Burn();
  SetPwmSource(&out1A, in1A.period, in1A.duty);
  SetPwmSource(&out2A, in2A.period, in2A.duty);
  const BridgePins a = {kElecL6205VSA, kElecL6205GND1, kElecL6205SENSEA, kElecL6205OUT1A, kElecL6205OUT2A};
  if (!StepBridge(this, a, Drive(enA, in1A, in2A), &out1A, &out2A, nullptr)) return Burn();
  SetPwmSource(&out1B, in1B.period, in1B.duty);
  SetPwmSource(&out2B, in2B.period, in2B.duty);
  const BridgePins b = {kElecL6205VSB, kElecL6205GND2, kElecL6205SENSEB, kElecL6205OUT1B, kElecL6205OUT2B};
  if (!StepBridge(this, b, Drive(enB, in1B, in2B), &out1B, &out2B, nullptr)) return Burn();
}

CSCHBlock* CreateCSCH_L6205() { return new (std::nothrow) CSCH_L6205; }
