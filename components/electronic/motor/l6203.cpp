#include "components/electronic/motor/l6203.h"

#include <cmath>
#include <new>

#include "components/electronic/discrete/capacitor.h"
#include "components/electronic/motor/h_bridge.h"
#include "components/electronic/part_common.h"
#include "components/electronic/usb/circuit_parts.h"
#include "scheme/board/pcb_painter.h"
#include "scheme/database/compdb_record.h"
#include "scheme/model/scheme.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/sim_log.h"

namespace {

const wchar_t kBurntMessage[] = L"Ключ \"%s\" (L6203) вышел из строя!";

const float kEnableDataPeriod = 0.007f;
const float kInputDataPeriod = 0.7f;
const float kMaximumVolts = 52.0f;
const float kWorkingVolts = 9.0f;
const float kLeastEnable = 1e-8f;
const float kSenseLimit = 20.0f;         // amperes at once
const float kSmoothedSenseLimit = 5.0f;  // amperes, smoothed
const float kSenseTimeConstant = 3000.0f;
const float kReferenceVolts = 13.6f, kReferenceResistance = 6800.0f;

struct PinText {
  const wchar_t* name;
  const wchar_t* description;
  int side;
  int offset;
};
const PinText kPins[11] = {
    {L"OUT2", L"Выход 2 для подключения ДПТ (до 10А)", kSchSideRight, 90},
    {L"Vs", L"Вход силового питания (до 52В)", kSchSideTop, 90},
    {L"OUT1", L"Выход 1 для подключения ДПТ (до 10А)", kSchSideRight, 50},
    {L"BOOT1", L"Опционально для подключения конденсатора 15пФ к OUT1", kSchSideRight, 30},
    {L"IN1", L"Цифровой вход 1", kSchSideLeft, 40},
    {L"GND", L"Вход для \"земли\"", kSchSideBottom, 60},
    {L"IN2", L"Цифровой вход 2", kSchSideLeft, 100},
    {L"BOOT2", L"Опционально для подключения конденсатора 15пФ к OUT2", kSchSideRight, 110},
    {L"Vref", L"Внутреннее опорное напряжение. Опционально требуется конденсатор на \"землю\"", kSchSideTop, 40},
    {L"SENSE", L"\"Земля\" или датчик тока", kSchSideLeft, 120},
    {L"ENABLE", L"Разрешение работы. Необходимо подать \"1\".", kSchSideLeft, 70},
};

}  // namespace

CSCH_L6203::CSCH_L6203() {
  namePrefix = L"DA";
  footprintWidth = 20.2f;
  footprintLength = 10.16f;
  rect.right = rect.left + 120;
  rect.bottom = rect.top + 140;
  SetPinCount(11);
  if (pinCount != 11) return;
  for (int i = 0; i < 11; i++) {
    pins[i].name = kPins[i].name;
    pins[i].description = kPins[i].description;
    pins[i].number = i + 1;
    pins[i].side = kPins[i].side;
    pins[i].offset = kPins[i].offset;
  }
}

void CSCH_L6203::ApplyDbRecord(CompDbRecord* record) {
  CSCHBlock::ApplyDbRecord(record);
  if (!scheme) return;
  DeleteCircuit(this);
  const float x = boardX, y = boardY;
  const int right = rect.right, top = rect.top, bottom = rect.bottom;
  const float by = y - 7.62f - 1.27f;
  CSCHBlock* c1 = AddCircuitCapacitor(this, 1.5e-8f, kElecCapacitorChip, x + 2.54f, by, right + 46, top + 10);
  CSCHBlock* c2 = AddCircuitCapacitor(this, 1.5e-8f, kElecCapacitorChip, x - 2.54f, by, right + 46, bottom - 30);
  CSCHBlock* c3 = AddCircuitCapacitor(this, 2.2e-7f, kElecCapacitorChip, x + 7.62f, by, right - 52, top - 50);
  if (c1 && c1->pinCount > 1) c1->pins[1].description = L"Подключить к OUT2";
  if (c2 && c2->pinCount > 1) c2->pins[0].description = L"Подключить к OUT1";
  CSCHBlock* g = AddCircuitPart(this, "GND", kSchBoardPart);
  if (g) g->MoveTo(right, top - 50);
  if (c2) AddCircuitWire(scheme, this, kElecL6203BOOT1, c2, 1, {right + 15, bottom + 10});
  if (c1) AddCircuitWire(scheme, this, kElecL6203BOOT2, c1, 0, {right + 15, top - 10});
  if (c3) {
    AddCircuitWire(scheme, this, kElecL6203Vref, c3, 1, {top - 8});
    if (g) AddCircuitWire(scheme, c3, 0, g, 0, {top - 60});
  }
}

void CSCH_L6203::PaintFootprint(PcbPainter* painter) {
  if (!painter) return;
  painter->SetPlacement(boardX, boardY, orientation);
  painter->DrawStaggeredLeadPackage(11);
}

void CSCH_L6203::Start() {
  burnt = 0;
  senseCurrent = 0;
  CSCHBlock::Start();
}

void CSCH_L6203::Burn() {
  burnt = 1;
  SimMessageLog::Global().AppendFormat(kBurntMessage, instanceName ? instanceName : L"");
}

void CSCH_L6203::Step(float dt) {
  if (burnt) {
    DriveBurntPins(this);
    return;
  }
  float Ug = 0, Rg = kSchOpenResistance;
  GetPinInput(kElecL6203GND, &Ug, &Rg);
  PwmReading en = {}, in1 = {}, in2 = {};
  if (!ReadPwmInput(this, kElecL6203ENABLE, Ug, kElecSteadyPeriod, kEnableDataPeriod, &en)) return Burn();
  if (!ReadPwmInput(this, kElecL6203IN1, Ug, kElecSteadyPeriod, kInputDataPeriod, &in1)) return Burn();
  if (!ReadPwmInput(this, kElecL6203IN2, Ug, kElecSteadyPeriod, kInputDataPeriod, &in2)) return Burn();
  const float e = en.duty;
  if (en.period < in1.period) in1.period = en.period;
  if (en.period < in2.period) in2.period = en.period;
  BridgeDrive drive = {};
  drive.Rz = 4500 - 900 * e;
  drive.high[0] = e * in1.duty;
  drive.high[1] = e * in2.duty;
  drive.low[0] = e * (1 - in1.duty);
  drive.low[1] = e * (1 - in2.duty);
  drive.maximum = kMaximumVolts;
  drive.working = kWorkingVolts;
  // A disabled bridge lets its outputs go (high impedance).
  drive.resistanceScale = e > 0 ? (e > kLeastEnable ? e : kLeastEnable) : 0;
  drive.driveSense = false;
  SetPwmSource(&out1, in1.period, in1.duty * e);
  SetPwmSource(&out2, in2.period, in2.duty * e);
  const BridgePins pins = {kElecL6203Vs, kElecL6203GND, kElecL6203SENSE, kElecL6203OUT1, kElecL6203OUT2};
  BridgeResult r = {};
  if (!StepBridge(this, pins, drive, &out1, &out2, &r)) return Burn();
  const float I = r.senseReleased ? 0.0f : r.senseU / r.senseR;
  if (LimitViolated(I, kSenseLimit)) return Burn();
  senseCurrent += (I - senseCurrent) * dt / kSenseTimeConstant;
  if (LimitViolated(static_cast<float>(senseCurrent), kSmoothedSenseLimit)) return Burn();
  SetPinSource(kElecL6203SENSE, r.senseReleased ? 0 : r.senseU, r.senseR);
  SetPinSource(kElecL6203Vref, Ug + kReferenceVolts, Rg + kReferenceResistance);
}

CSCHBlock* CreateCSCH_L6203() { return new (std::nothrow) CSCH_L6203; }
