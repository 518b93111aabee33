#include "components/devices/drives/actuator.h"

#include <cmath>
#include <initializer_list>
#include <cstdlib>
#include <new>

#include "components/devices/device_text.h"
#include "components/devices/encoder_supply.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"
#include "kestui/graphics/image.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "scheme/database/compdb_record.h"
#include "scheme/model/scheme_icons.h"
#include "scheme/model/scheme_stream.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"

namespace {

// The picture every actuator shows, loaded on the first paint.
CKestImage g_actuatorPicture;

const wchar_t kBurntMessage[] = L"Двигатель актуатора %s сгорел!";
const wchar_t kSensorBurntMessage[] = L"Датчик актуатора %s сгорел!";
const wchar_t kWindingPin[] = L"Обмотка ротора";

const float kHeatingTime = 5;
const float kBurnFactor = 1.5f;
const float kSwitchZone = 0.01f;       // m before either end where the switch opens
const float kEncoderLoad = 500;        // ohm
const float kSingleOutputLimit = 0.1f; // A
const float kPairOutputLimit = 0.01f;  // A, either output of the pair
const float kLevelOffset = 0.1f;
const double kRipplePitch = 0.002;     // m of travel a radian of the ripple
const double kRipplePhase = 0.01;      // rad, the largest random phase
const int kRandomTop = 32767;

const int kPinPitch = 15, kFirstPinOffset = 20;

// The pins each sensor adds.
int SensorPinCount(unsigned char sensor) {
  switch (sensor) {
    case CSCHActuator::kSensorEncoder:
    case CSCHActuator::kSensorPot: return 3;
    case CSCHActuator::kSensorEncoderAB: return 4;
    default: return 0;
  }
}

void WriteFloat(CStream* s, float v) { s->Write(&v, 4); }

// A pseudo-random integer from 0 to 32767.
int DrawRipplePhase() { return std::rand() % (kRandomTop + 1); }

}  // namespace

CSCHActuator::CSCHActuator() {
  rect = RECT{0, 0, kWidth, kHeight};
  BuildPins();
}

CSCHActuator::~CSCHActuator() { ReplaceOwnedText(&sound, nullptr); }

int CSCHActuator::ExpectedPinCount() const { return kFirstSensorPin + SensorPinCount(sensor); }

bool CSCHActuator::BuildPins() {
  int n = ExpectedPinCount();
  bool built = SetPinCount(n) && pinCount == n;
  if (built) {
    static const wchar_t* const kEncoder[] = {L"+ Питание энкодера", L"Выход энкодера", L"\"Земля\" энкодера"};
    static const wchar_t* const kEncoderAB[] = {L"+ Питание энкодера", L"Выход A энкодера", L"Выход B энкодера",
                                                L"\"Земля\" энкодера"};
    static const wchar_t* const kPot[] = {L"Конец обмотки датчика", L"Подвижный контакт", L"Начало обмотки датчика"};
    const wchar_t* const* names = sensor == kSensorEncoder ? kEncoder
                                  : sensor == kSensorEncoderAB ? kEncoderAB
                                  : sensor == kSensorPot ? kPot : nullptr;
    for (int i = 0; i < n; i++) {
      SchPin& p = pins[i];
      p.name = nullptr;
      p.description = i < kFirstSensorPin ? kWindingPin : names[i - kFirstSensorPin];
      p.kind = kSchPinElectric;
      p.side = kSchSideRight;
      p.offset = kFirstPinOffset + kPinPitch * i;
    }
  }
  UpdateDerived();
  return built;
}

void CSCHActuator::UpdateDerived() {
  windingResistance = GuardedQuotient(Un, Imax);
  windingInductance = RoundToFloat(static_cast<double>(Te) * windingResistance);
}

void CSCHActuator::ApplyDbRecord(CompDbRecord* record) {
  if (record) {
    Un = record->GetFloatByName("Un");
    reduction = record->GetFloatByName("reduction");
    maxLoad = record->GetFloatByName("maxLoad");
    minImp = record->GetFloatByName("minImp");
    maxImp = record->GetFloatByName("maxImp");
    deltaImp = record->GetFloatByName("deltaImp");
    minSensorU = record->GetFloatByName("minSensorU");
    maxSensorU = record->GetFloatByName("maxSensorU");
    Tm = record->GetFloatByName("Tm");
    Te = record->GetFloatByName("Te");
    Iidle = record->GetFloatByName("Iidle");
    Imax = record->GetFloatByName("Imax");
    soundRate = record->GetFloatByName("soundRate");
    range = record->GetFloatByName("range") / 1000;
    maxSpeed = record->GetFloatByName("maxSpeed") / 1000;
    loadSpeed = record->GetFloatByName("loadSpeed") / 1000;
    mass = record->GetFloatByName("mass") / 1000;
    sensor = static_cast<unsigned char>(record->GetIntByName("sensor"));
    limitSensors = record->GetIntByName("limitSensors") != 0 ? 1 : 0;
    ticksPerMetre = record->GetDoubleByName("ticksPerMM") * 1000;
    length = RoundToFloat((record->GetDoubleByName("height1") + record->GetDoubleByName("height2") +
                           record->GetDoubleByName("baseHeight") + record->GetDoubleByName("holder1Height")) /
                          1000);
    ReplaceOwnedText(&sound, DecodeDbText(record->GetTextByName("sound")));
  }
  CSCHBlock::ApplyDbRecord(record);
  BuildPins();
}

void CSCHActuator::Paint(HDC dc) {
  if (LoadSchemeIcon(&g_actuatorPicture, L"actuator.png")) g_actuatorPicture.Draw(dc, rect.left, rect.top);
  {
    CKestDcSelection selection(dc);
    selection.Select(GetStockObject(BLACK_PEN));
    for (int i = 0; i < pinCount; i++) {
      MoveToEx(dc, rect.left + 63, rect.bottom - pins[i].offset, nullptr);
      LineTo(dc, rect.left + 51, rect.top + 80);
    }
  }
  PaintDeviceName(dc, this, rect.left - DeviceNameWidth(dc, this) / 2 + 21, rect.bottom);
}

void CSCHActuator::Start() {
  rodSpeed = 0;
  force = 0;
  winding = RotorWindingState{0, 0};
  rodPosition = initialPosition;
  burnt = 0;
  sensorBurnt = 0;
  ticks = PulseTickMemory{0, 0};
  SetPulseRecord(&pulseRecord, 0, 0);
  if (sensor == kSensorEncoder || sensor == kSensorEncoderAB)
    ResetPulseTicks(&ticks, RoundToFloat(static_cast<double>(rodPosition) * ticksPerMetre), true);
  CSCHBlock::Start();
}

void CSCHActuator::Step(float dt) {
  bool burning = false;
  StepWinding(dt, &burning);
  if (burning) return;  // the step ends with the burn
  if (SensorPinCount(sensor) == 0 || pinCount != ExpectedPinCount()) return;
  if (sensorBurnt) {
    OpenPins(kFirstSensorPin, pinCount - 1);
    return;
  }
  if (sensor == kSensorPot) StepPotentiometer();
  else StepEncoder();
}

void CSCHActuator::OpenPins(int from, int to) {
  for (int i = from; i <= to && i < pinCount; i++) SetPinSource(i, 0, kSchOpenResistance);
}

void CSCHActuator::BurnSensor() {
  sensorBurnt = 1;
  ReportDevice(this, kSensorBurntMessage);
}

void CSCHActuator::StepWinding(float dt, bool* burning) {
  if (burnt) {
    OpenPins(0, 1);
    force = 0;
    return;
  }
  RotorWindingNets nets = ReadWindingNets(this);
  if (limitSensors) {
    // A switch opens the circuit in the direction of travel at its end.
    bool extended = rodPosition > RoundToFloat(static_cast<double>(range) - kSwitchZone) && nets.U1 > nets.U0;
    bool retracted = rodPosition < kSwitchZone && nets.U0 > nets.U1;
    if (extended || retracted) nets.R0 = nets.R1 = kSchOpenResistance;
  }
  float E = GuardedQuotient(RoundToFloat(static_cast<double>(rodSpeed) * Un), maxSpeed);
  RotorWindingModel model = {windingResistance, windingInductance, kHeatingTime,
                             RoundToFloat(static_cast<double>(kBurnFactor) * Imax), false};
  if (AdvanceWinding(model, nets, E, dt, &winding)) {
    burnt = 1;
    ReportDevice(this, kBurntMessage);
    *burning = true;
    return;
  }
  force = GuardedQuotient(RoundToFloat(static_cast<double>(maxLoad) * winding.current), Imax);
  DriveWinding(this, model, nets, E, winding.current);
}

void CSCHActuator::StepEncoder() {
  const bool ab = sensor == kSensorEncoderAB;
  CountPulseTicks(&ticks, RoundToFloat(static_cast<double>(rodPosition) * ticksPerMetre), ab, &pulseRecord);
  EncoderSupply s = DriveEncoderSupply(this, kFirstSensorPin, kFirstSensorPin + (ab ? 3 : 2), kEncoderLoad);
  if (!(s.Us >= -0.5f && s.Us <= maxSensorU)) {
    BurnSensor();
    return;
  }
  const int outputs[2] = {kFirstSensorPin + 1, kFirstSensorPin + 2};
  const int outputCount = ab ? 2 : 1;
  if (!(s.Us > minSensorU)) {
    for (int i = 0; i < outputCount; i++) SetPinSource(outputs[i], s.Ug, kSchOpenResistance);
    return;
  }
  const float limit = ab ? kPairOutputLimit : kSingleOutputLimit;
  for (int i = 0; i < outputCount; i++) {
    float Uo, Ro;
    GetPinInput(outputs[i], &Uo, &Ro);
    if (EncoderSinkCurrent(s, Uo, Ro) > limit) {
      BurnSensor();
      return;
    }
  }
  // Open collector: released on the first level, conducting on the second.
  SchPinState state = {};
  state.U = s.Up;
  state.R = kSchOpenResistance;
  state.U2 = s.Ug + kLevelOffset;
  state.R2 = s.Rg;
  state.source = &pulseRecord;
  for (int i = 0; i < outputCount; i++) {
    state.sourceKind = i == 0 ? kDevPulseSourceA : kDevPulseSourceB;
    SetPinState(outputs[i], state);
  }
}

void CSCHActuator::StepPotentiometer() {
  const double position = rodPosition;
  double share = GuardedQuotient(rodPosition, range);
  double Rw = minImp + (static_cast<double>(maxImp) - minImp) * share +
              deltaImp * std::sin(position / kRipplePitch + DrawRipplePhase() * kRipplePhase / kRandomTop);
  double Re = static_cast<double>(maxImp) + minImp - Rw;
  // A ripple larger than the end resistances never makes a negative one.
  if (!(Rw > 0)) Rw = 0;
  if (!(Re > 0)) Re = 0;
  float Ue, Qe, Uw, Qw, Ub, Qb;
  GetPinInput(kPotEnd, &Ue, &Qe);
  GetPinInput(kPotWiper, &Uw, &Qw);
  GetPinInput(kPotStart, &Ub, &Qb);
  // Each pin sees the two other nets in parallel through the potentiometer.
  auto drive = [this](int pin, double Ua, double Ra, double Ub2, double Rb, double series) {
    double ga = 1 / Ra, gb = 1 / Rb, sum = ga + gb;
    SetPinSource(pin, RoundToFloat((Ua * ga + Ub2 * gb) / sum), RoundToFloat(1 / sum + series));
  };
  drive(kPotEnd, Uw, Qw, Ub, Qb + Rw, Re);
  drive(kPotStart, Uw, Qw, Ue, Qe + Re, Rw);
  drive(kPotWiper, Ub, Qb + Rw, Ue, Qe + Re, 0);
}

void CSCHActuator::Save(CStream* s) {
  WriteFloat(s, Un);
  WriteFloat(s, reduction);
  WriteFloat(s, range);
  s->WriteByte(sensor);
  WriteFloat(s, maxLoad);
  WriteFloat(s, maxSpeed);
  WriteFloat(s, loadSpeed);
  s->WriteByte(limitSensors);
  s->Write(&ticksPerMetre, 8);
  for (float v : {minImp, maxImp, deltaImp, minSensorU, maxSensorU, Tm, Te, Iidle, Imax, mass, length})
    WriteFloat(s, v);
  s->WriteStringW(sound);
  WriteFloat(s, soundRate);
  CSCHBlock::Save(s);
}

void CSCHActuator::Load(CStream* s) {
  ReplaceOwnedText(&sound, nullptr);
  Un = s->ReadFloat();
  reduction = s->ReadFloat();
  range = s->ReadFloat();
  sensor = static_cast<unsigned char>(s->ReadByte());
  maxLoad = s->ReadFloat();
  maxSpeed = s->ReadFloat();
  loadSpeed = s->ReadFloat();
  limitSensors = static_cast<unsigned char>(s->ReadByte());
  double perMetre = 0;
  ticksPerMetre = s->Read(&perMetre, 8) == 8 ? perMetre : 0;
  minImp = s->ReadFloat();
  maxImp = s->ReadFloat();
  deltaImp = s->ReadFloat();
  minSensorU = s->ReadFloat();
  maxSensorU = s->ReadFloat();
  Tm = s->ReadFloat();
  Te = s->ReadFloat();
  Iidle = s->ReadFloat();
  Imax = s->ReadFloat();
  mass = s->ReadFloat();
  length = s->ReadFloat();
  sound = s->ReadStringW();
  soundRate = s->ReadFloat();
  // The base record holds one wire identity per pin.
  if (!BuildPins()) {
    MarkSchemeRecordBroken(s);
    return;
  }
  CSCHBlock::Load(s);
}

CSCHBlock* CreateCSCHActuator() { return new (std::nothrow) CSCHActuator; }
