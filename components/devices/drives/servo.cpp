#include "components/devices/drives/servo.h"

#include <cmath>
#include <initializer_list>
#include <new>

#include "components/devices/device_text.h"
#include "components/devices/drives/rotor_winding.h"
#include "components/electronic/motor/h_bridge.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"
#include "kestui/graphics/image.h"
#include "scheme/database/compdb_record.h"
#include "scheme/model/scheme_icons.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"
#include "scheme/simulation/signal_source.h"

namespace {

// The picture every servo shows, loaded on the first paint.
CKestImage g_servoPicture;

const wchar_t kBurntMessage[] = L"Рулевая машинка \"%s\" вышла из строя";

const float kPi = 3.1415927f;
const float kIdleLoad = 100;              // ohm, the supply load at rest
const float kKgCmToNm = 9.8f / 100;
const float kSupplyMargin = 0.5f;         // below Umin by this much it stops
const float kOverVoltage = 2;             // above Umax by this much it burns
const float kLowSourceResistance = 90000; // control levels out of range burn below it
const float kSamplePeriod = 0.02f;        // s between two samples of the control signal
const float kPeriodTolerance = 0.005f;    // s around the 20 ms period
const float kStrongLevel = 10000;         // ohm: a level driven harder than this
const float kOpenLevel = 100000;          // ohm: a level left open
const float kShortestPulse = 0.05f;       // 1 ms of 20 ms
const float kLongestPulse = 0.1f;         // 2 ms of 20 ms
const float kCentrePulse = 0.075f;        // 1.5 ms: the centre
const float kPulseSpan = 0.05f;           // 1 ms more or less turns the target through the swing

void WriteFloat(CStream* s, float v) { s->Write(&v, 4); }

// The position step of an angle, floor(angle * 128 / range), as a float;
// a quotient that is no finite number stays what it is (never converted
// to an integer).
float PositionStep(float angle, float range) {
  return std::floor(RoundToFloat(static_cast<double>(angle) * CSCHServo::kPositionSteps / range));
}

// Edges are compared in the fields' single precision (the x87 unit would
// keep a sum in a register with more).
float Sum(float a, float b) { return RoundToFloat(static_cast<double>(a) + b); }

bool OutOfSupply(float U, float R, float Up, float Ug) {
  return (U > Sum(Up, kSupplyMargin) || U < Sum(Ug, -kSupplyMargin)) && R < kLowSourceResistance;
}

}  // namespace

CSCHServo::CSCHServo() {
  rect = RECT{0, 0, kWidth, kHeight};
  SetPinCount(3);
  if (pinCount == 3) {
    const wchar_t* descriptions[3] = {L"+ силового питания", L"Сигнал управления", L"\"Земля\""};
    const int offsets[3] = {56, 70, 85};
    for (int i = 0; i < 3; i++) {
      pins[i].description = descriptions[i];
      pins[i].side = kSchSideLeft;
      pins[i].offset = offsets[i];
    }
  }
  UpdateDerived();
}

void CSCHServo::UpdateDerived() {
  speed = GuardedQuotient(RoundToFloat(static_cast<double>(range) / 2), rotTime);
  runningCurrent = GuardedQuotient(RoundToFloat(static_cast<double>(holdTorque) * speed), Umax);
}

void CSCHServo::ApplyDbRecord(CompDbRecord* record) {
  if (record) {
    controlType = static_cast<unsigned char>(record->GetIntByName("controlType"));
    Umin = record->GetFloatByName("Umin");
    Umax = record->GetFloatByName("Umax");
    rotTime = record->GetFloatByName("rotTime");
    staterDiameter = record->GetFloatByName("staterDiameter");
    staterWidth = record->GetFloatByName("staterWidth");
    staterHeight = record->GetFloatByName("staterHeight");
    mass = record->GetFloatByName("mass");
    nominalTorque = RoundToFloat(record->GetFloatByName("nominalTorque") * static_cast<double>(kKgCmToNm));
    holdTorque = RoundToFloat(record->GetFloatByName("holdTorque") * static_cast<double>(kKgCmToNm));
    range = RoundToFloat(2.0 * record->GetFloatByName("range") * kPi / 180);
  }
  CSCHBlock::ApplyDbRecord(record);
  UpdateDerived();
}

void CSCHServo::Paint(HDC dc) {
  if (LoadSchemeIcon(&g_servoPicture, L"servo.jpg")) g_servoPicture.Draw(dc, rect.left, rect.top);
  PaintDeviceName(dc, this, (rect.left + rect.right - DeviceNameWidth(dc, this)) / 2, rect.bottom);
}

void CSCHServo::Start() {
  targetAngle = 0;
  pulseTimer = 0;
  CSCHBlock::Start();
}

void CSCHServo::Burn() {
  burnt = 1;
  ReportDevice(this, kBurntMessage);
}

void CSCHServo::Step(float dt) {
  torque = 0;
  if (burnt) return;
  float Up, Rp, Ug, Rg;
  GetPinInput(kPowerPin, &Up, &Rp);
  GetPinInput(kGroundPin, &Ug, &Rg);

  float Sa = PositionStep(shaftAngle, range), St = PositionStep(targetAngle, range);
  int direction = Sa < St ? 1 : (St < Sa ? -1 : 0);
  float Rl = kIdleLoad;
  if (direction != 0 && runningCurrent > 0) {
    // The running motor in parallel with the idle load.
    double Rm = static_cast<double>(Umax) / runningCurrent;
    if (std::isfinite(Rm) && Rm > 0) Rl = RoundToFloat(Rm * kIdleLoad / (Rm + kIdleLoad));
  }
  SetPinSource(kPowerPin, Ug, Rg + Rl);
  SetPinSource(kGroundPin, Up, Rp + Rl);

  float Us = RoundToFloat((static_cast<double>(Up) - Ug) * Rl / (static_cast<double>(Rg) + Rp + Rl));
  if (!(Us >= -kSupplyMargin && Us <= Sum(Umax, kOverVoltage))) {
    Burn();
    return;
  }
  if (Us < Sum(Umin, -kSupplyMargin)) return;
  torque = RoundToFloat(direction * static_cast<double>(holdTorque) * GuardedQuotient(Us, Umax));
  ReadControl(dt, Up, Ug);
}

void CSCHServo::ReadControl(float dt, float Up, float Ug) {
  SchPinState s = {};
  GetPinState(kControlPin, &s);
  if (OutOfSupply(s.U, s.R, Up, Ug) || OutOfSupply(s.U2, s.R2, Up, Ug)) {
    Burn();
    return;
  }
  if (!s.source) return;
  pulseTimer = RoundToFloat(static_cast<double>(pulseTimer) + dt);
  if (!(pulseTimer > kSamplePeriod)) return;
  pulseTimer = 0;
  if (s.sourceKind != kSchSourceOwnWeight) return;
  float period = GetPwmPeriod(s.source);
  if (!(RoundToFloat(std::fabs(static_cast<double>(period) - kSamplePeriod)) < kPeriodTolerance)) return;

  const float mid = RoundToFloat((static_cast<double>(Up) - Ug) / 2);
  const float duty = s.source->weight;
  float f;
  if ((s.U > mid && s.R < kStrongLevel) || s.R > kOpenLevel || (s.U2 < mid && s.R2 < kStrongLevel))
    f = duty;
  else if ((s.U2 > mid && s.R2 < kStrongLevel) || s.R2 > kOpenLevel || (s.U < mid && s.R < kStrongLevel))
    f = RoundToFloat(1.0 - duty);
  else
    return;
  if (f >= kShortestPulse && f <= kLongestPulse)
    targetAngle = RoundToFloat((static_cast<double>(kCentrePulse) - f) / kPulseSpan * range);
}

void CSCHServo::Save(CStream* s) {
  s->WriteByte(controlType);
  for (float v : {Umin, Umax, nominalTorque, rotTime, range, holdTorque, staterDiameter, staterWidth, staterHeight,
                  mass})
    WriteFloat(s, v);
  s->WriteByte(0);
  CSCHBlock::Save(s);
}

void CSCHServo::Load(CStream* s) {
  controlType = static_cast<unsigned char>(s->ReadByte());
  Umin = s->ReadFloat();
  Umax = s->ReadFloat();
  nominalTorque = s->ReadFloat();
  rotTime = s->ReadFloat();
  range = s->ReadFloat();
  holdTorque = s->ReadFloat();
  staterDiameter = s->ReadFloat();
  staterWidth = s->ReadFloat();
  staterHeight = s->ReadFloat();
  mass = s->ReadFloat();
  s->ReadByte();  // spare
  CSCHBlock::Load(s);
  UpdateDerived();
}

CSCHBlock* CreateCSCHServo() { return new (std::nothrow) CSCHServo; }
