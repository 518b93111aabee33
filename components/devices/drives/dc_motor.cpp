#include "components/devices/drives/dc_motor.h"

#include <cmath>
#include <initializer_list>
#include <new>

#include "components/devices/device_text.h"
#include "components/devices/encoder_supply.h"
#include "foundation/buffers.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"
#include "kestui/graphics/image.h"
#include "scheme/database/compdb_record.h"
#include "scheme/model/scheme_icons.h"
#include "scheme/model/scheme_stream.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"

namespace {

// The picture every motor shows, loaded on the first paint.
CKestImage g_motorPicture;

const wchar_t kBurntMessage[] = L"Двигатель %s сгорел!";
const wchar_t kSensorBurntMessage[] = L"Датчик двигателя %s сгорел!";
const wchar_t kRotorPin[] = L"Обмотка ротора";
const wchar_t kFieldPin[] = L"Обмотка возбуждения";

const float kPi = 3.1415927f;
// The mean of the current's magnitude heats the winding with this time
// constant; twice the stall current burns it.
const float kHeatingTime = 20;
const float kBurnFactor = 2;
const float kTachoResistance = 50;
const float kLevelOffset = 0.1f;   // an output transistor's saturation voltage
const float kPullUpResistance = 1000;
const unsigned char kFlagFieldWinding = 0x01;
const unsigned char kFlagBacklashStored = 0x80;

// Pins each sensor type adds.
int SensorPinCount(unsigned char type) {
  switch (type) {
    case CSCHDCMotor::kSensorEncoder: return 3;
    case CSCHDCMotor::kSensorEncoderAB: return 4;
    case CSCHDCMotor::kSensorTacho: return 2;
    default: return 0;
  }
}

void SetPin(CSCHBlock* b, int i, int side, int offset, const wchar_t* description) {
  SchPin& p = b->pins[i];
  p.name = nullptr;
  p.description = description;
  p.kind = kSchPinElectric;
  p.side = side;
  p.offset = offset;
}

void WriteFloat(CStream* s, float v) { s->Write(&v, 4); }

}  // namespace

CSCHDCMotor::CSCHDCMotor() {
  rect = RECT{0, 0, kWidth, kHeight};
  BuildPins();
}

CSCHDCMotor::~CSCHDCMotor() { ReplaceOwnedText(&sound, nullptr); }

int CSCHDCMotor::ExpectedPinCount() const {
  return kRotorPins + (staterWinding ? 2 : 0) + SensorPinCount(sensorType);
}

bool CSCHDCMotor::BuildPins() {
  int n = ExpectedPinCount();
  bool built = SetPinCount(n) && pinCount == n;
  if (built) {
    SetPin(this, 0, kSchSideLeft, 11, kRotorPin);
    SetPin(this, 1, kSchSideLeft, 38, kRotorPin);
    if (staterWinding) {
      SetPin(this, 2, kSchSideBottom, 40, kFieldPin);
      SetPin(this, 3, kSchSideBottom, 60, kFieldPin);
    }
    int k = FirstSensorPin();
    switch (sensorType) {
      case kSensorEncoder:
        SetPin(this, k, kSchSideTop, 40, L"+ Питание энкодера");
        SetPin(this, k + 1, kSchSideTop, 55, L"Выход энкодера");
        SetPin(this, k + 2, kSchSideTop, 70, L"\"Земля\" энкодера");
        break;
      case kSensorEncoderAB:
        SetPin(this, k, kSchSideTop, 30, L"+ Питание энкодера");
        SetPin(this, k + 1, kSchSideTop, 45, L"Выход A энкодера");
        SetPin(this, k + 2, kSchSideTop, 60, L"Выход B энкодера");
        SetPin(this, k + 3, kSchSideTop, 75, L"\"Земля\" энкодера");
        break;
      case kSensorTacho:
        SetPin(this, k, kSchSideTop, 30, L"+ Тахогенератора");
        SetPin(this, k + 1, kSchSideTop, 12 * (k + 1 - 2) + 30, L"- Тахогенератора");
        break;
      default:
        break;
    }
  }
  UpdateDerived();
  return built;
}

void CSCHDCMotor::UpdateDerived() {
  float w0 = RoundToFloat(static_cast<double>(Widle) * kPi / 30);
  windingResistance = GuardedQuotient(Un, Istart);
  windingInductance = RoundToFloat(static_cast<double>(Te) * windingResistance);
  outputIdleSpeed = GuardedQuotient(w0, reduction);
}

RotorWindingModel CSCHDCMotor::WindingModel() const {
  return RotorWindingModel{windingResistance, windingInductance, kHeatingTime,
                           RoundToFloat(static_cast<double>(kBurnFactor) * Istart), true};
}

void CSCHDCMotor::ApplyDbRecord(CompDbRecord* record) {
  if (record) {
    Un = record->GetFloatByName("Un");
    reduction = record->GetFloatByName("reduction");
    staterWindingR = record->GetFloatByName("staterWindingR");
    Te = record->GetFloatByName("Te");
    Tm = record->GetFloatByName("Tm");
    Istart = record->GetFloatByName("Istart");
    Iidle = record->GetFloatByName("Iidle");
    Mstart = record->GetFloatByName("Mstart");
    Widle = record->GetFloatByName("Widle");
    TicksPerRot = record->GetFloatByName("TicksPerRot");
    Ktacho = record->GetFloatByName("Ktacho");
    sensorCurrent = record->GetFloatByName("sensorCurrent");
    sensorMinVoltage = record->GetFloatByName("sensorMinVoltage");
    sensorMaxVoltage = record->GetFloatByName("sensorMaxVoltage");
    sensorMaxOutCurrent = record->GetFloatByName("sensorMaxOutCurrent");
    Luft = record->GetFloatByName("Luft");
    mass = record->GetFloatByName("mass");
    soundRate = record->GetFloatByName("soundRate");
    staterWinding = record->GetIntByName("staterWinding") != 0 ? 1 : 0;
    sensorType = static_cast<unsigned char>(record->GetIntByName("sensorType"));
    sensorOutType = static_cast<unsigned char>(record->GetIntByName("sensorOutType"));
    staterForm = static_cast<unsigned char>(record->GetIntByName("staterForm"));
    foreForm = static_cast<unsigned char>(record->GetIntByName("foreForm"));
    staterDiameter = record->GetFloatByName("staterDiameter") / 1000;
    staterHeight = record->GetFloatByName("staterHeight") / 1000;
    foreDiameter = record->GetFloatByName("foreDiameter") / 1000;
    rotterDiameter = record->GetFloatByName("rotterDiameter") / 1000;
    foreHeight = record->GetFloatByName("foreHeight") / 1000;
    rotterHeight1 = record->GetFloatByName("rotterHeight1") / 1000;
    rotterHeight2 = record->GetFloatByName("rotterHeight2") / 1000;
    ReplaceOwnedText(&sound, DecodeDbText(record->GetTextByName("sound")));
  }
  CSCHBlock::ApplyDbRecord(record);
  BuildPins();
}

void CSCHDCMotor::Paint(HDC dc) {
  if (LoadSchemeIcon(&g_motorPicture, L"motor.png")) g_motorPicture.Draw(dc, rect.left, rect.top);
  PaintDeviceName(dc, this, rect.left + (kWidth - DeviceNameWidth(dc, this)) / 2, rect.bottom);
}

void CSCHDCMotor::Start() {
  shaft = DevShaft{0, 0, 0};
  winding = RotorWindingState{0, 0};
  ticks = PulseTickMemory{0, 0};
  SetPulseRecord(&pulseRecord, 0, 0);
  burnt = 0;
  sensorBurnt = 0;
  CSCHBlock::Start();
}

void CSCHDCMotor::Step(float dt) {
  if (burnt) {
    OpenPins(0, kRotorPins - 1);
    shaft.torque = 0;
  } else {
    RotorWindingNets nets = ReadWindingNets(this);
    float E = GuardedQuotient(RoundToFloat(static_cast<double>(shaft.speed) * Un), outputIdleSpeed);
    RotorWindingModel model = WindingModel();
    if (AdvanceWinding(model, nets, E, dt, &winding)) {
      burnt = 1;
      ReportDevice(this, kBurntMessage);
      return;  // the step ends with the burn
    }
    shaft.torque = RoundToFloat(static_cast<double>(GuardedQuotient(Mstart * winding.current, Istart)) * reduction);
    DriveWinding(this, model, nets, E, winding.current);
  }
  StepSensor();
}

void CSCHDCMotor::OpenPins(int from, int to) {
  for (int i = from; i <= to && i < pinCount; i++) SetPinSource(i, 0, kSchOpenResistance);
}

void CSCHDCMotor::BurnSensor() {
  sensorBurnt = 1;
  ReportDevice(this, kSensorBurntMessage);
}

void CSCHDCMotor::StepSensor() {
  int count = SensorPinCount(sensorType);
  if (count == 0 || pinCount != ExpectedPinCount()) return;
  int k = FirstSensorPin();
  if (sensorBurnt) {
    OpenPins(k, pinCount - 1);
    return;
  }
  if (sensorType == kSensorTacho) StepTacho(k);
  else StepEncoder(k);
}

void CSCHDCMotor::StepTacho(int k) {
  float Ut = RoundToFloat(static_cast<double>(shaft.speed) * reduction * Ktacho);
  float Up, Rp, Um, Rm;
  GetPinInput(k, &Up, &Rp);
  GetPinInput(k + 1, &Um, &Rm);
  SetPinSource(k, Um + Ut, Rm + kTachoResistance);
  SetPinSource(k + 1, Up - Ut, Rp + kTachoResistance);
}

void CSCHDCMotor::StepEncoder(int k) {
  const bool ab = sensorType == kSensorEncoderAB;
  // Two edges a tick on the single output, four on the pair.
  double t = static_cast<double>(shaft.angle) * reduction * TicksPerRot * (ab ? 2 : 1) / kPi;
  CountPulseTicks(&ticks, RoundToFloat(t), ab, &pulseRecord);

  // An encoder that names no supply current is an open load.
  float Rs = GuardedQuotient(RoundToFloat((static_cast<double>(sensorMinVoltage) + sensorMaxVoltage) / 2),
                             sensorCurrent);
  if (!(Rs > 0)) Rs = kSchOpenResistance;
  const int ground = k + (ab ? 3 : 2);
  EncoderSupply s = DriveEncoderSupply(this, k, ground, Rs);
  if (!(s.Us >= -0.5f && s.Us <= sensorMaxVoltage)) {
    BurnSensor();
    return;
  }
  const int outputs[2] = {k + 1, k + 2};
  const int outputCount = ab ? 2 : 1;
  if (!(s.Us > sensorMinVoltage) || sensorOutType > kOutPullUp) {
    for (int i = 0; i < outputCount; i++) SetPinSource(outputs[i], s.Ug, kSchOpenResistance);
    return;
  }
  SchPinState state = {};
  switch (sensorOutType) {
    case kOutOpenCollector:
      state.U = s.Ug + kLevelOffset, state.R = s.Rg, state.U2 = s.Up, state.R2 = kSchOpenResistance;
      break;
    case kOutOpenCollectorHigh:
      state.U = s.Up, state.R = kSchOpenResistance, state.U2 = s.Ug + kLevelOffset, state.R2 = s.Rg;
      break;
    case kOutPushPull:
      state.U = s.Up - kLevelOffset, state.R = s.Rp, state.U2 = s.Ug + kLevelOffset, state.R2 = s.Rg;
      break;
    default:
      state.U = s.Up, state.R = s.Rp + kPullUpResistance, state.U2 = s.Ug + kLevelOffset, state.R2 = s.Rg;
      break;
  }
  // Every output's load is checked before any is driven.
  const bool sources = sensorOutType == kOutPushPull || sensorOutType == kOutPullUp;
  for (int i = 0; i < outputCount; i++) {
    float Uo, Ro;
    GetPinInput(outputs[i], &Uo, &Ro);
    float sink = EncoderSinkCurrent(s, Uo, Ro);
    float source = RoundToFloat((static_cast<double>(s.Up) - Uo - kLevelOffset) / (static_cast<double>(Ro) + s.Rg));
    if (sink > sensorMaxOutCurrent || (sources && source > sensorMaxOutCurrent)) {
      BurnSensor();
      return;
    }
  }
  state.source = &pulseRecord;
  for (int i = 0; i < outputCount; i++) {
    state.sourceKind = i == 0 ? kDevPulseSourceA : kDevPulseSourceB;
    SetPinState(outputs[i], state);
  }
}

void CSCHDCMotor::Save(CStream* s) {
  WriteFloat(s, Un);
  WriteFloat(s, reduction);
  s->WriteByte((staterWinding ? kFlagFieldWinding : 0) | kFlagBacklashStored);
  if (staterWinding) WriteFloat(s, staterWindingR);
  for (float v : {Te, Tm, Istart, Iidle, Mstart, Widle}) WriteFloat(s, v);
  s->WriteByte(sensorType);
  WriteFloat(s, TicksPerRot);
  WriteFloat(s, Ktacho);
  if (sensorType != kSensorNone) {
    s->WriteByte(sensorOutType);
    for (float v : {sensorCurrent, sensorMinVoltage, sensorMaxVoltage, sensorMaxOutCurrent}) WriteFloat(s, v);
  }
  WriteFloat(s, mass);
  s->WriteByte(staterForm);
  WriteFloat(s, staterDiameter);
  WriteFloat(s, staterHeight);
  s->WriteByte(foreForm);
  for (float v : {foreDiameter, foreHeight, rotterHeight1, rotterHeight2, rotterDiameter}) WriteFloat(s, v);
  s->WriteStringW(sound);
  WriteFloat(s, soundRate);
  WriteFloat(s, Luft);
  CSCHBlock::Save(s);
}

void CSCHDCMotor::Load(CStream* s) {
  Un = s->ReadFloat();
  reduction = s->ReadFloat();
  int flags = s->ReadByte();
  staterWinding = (flags & kFlagFieldWinding) ? 1 : 0;
  if (staterWinding) staterWindingR = s->ReadFloat();
  Te = s->ReadFloat();
  Tm = s->ReadFloat();
  Istart = s->ReadFloat();
  Iidle = s->ReadFloat();
  Mstart = s->ReadFloat();
  Widle = s->ReadFloat();
  sensorType = static_cast<unsigned char>(s->ReadByte());
  TicksPerRot = s->ReadFloat();
  Ktacho = s->ReadFloat();
  if (sensorType != kSensorNone) {
    sensorOutType = static_cast<unsigned char>(s->ReadByte());
    sensorCurrent = s->ReadFloat();
    sensorMinVoltage = s->ReadFloat();
    sensorMaxVoltage = s->ReadFloat();
    sensorMaxOutCurrent = s->ReadFloat();
  }
  mass = s->ReadFloat();
  staterForm = static_cast<unsigned char>(s->ReadByte());
  staterDiameter = s->ReadFloat();
  staterHeight = s->ReadFloat();
  foreForm = static_cast<unsigned char>(s->ReadByte());
  foreDiameter = s->ReadFloat();
  foreHeight = s->ReadFloat();
  rotterHeight1 = s->ReadFloat();
  rotterHeight2 = s->ReadFloat();
  rotterDiameter = s->ReadFloat();
  ReplaceOwnedText(&sound, s->ReadStringW());
  soundRate = s->ReadFloat();
  if (flags & kFlagBacklashStored) Luft = s->ReadFloat();
  // The base record holds one wire identity per pin.
  if (!BuildPins()) {
    MarkSchemeRecordBroken(s);
    return;
  }
  CSCHBlock::Load(s);
}

CSCHBlock* CreateCSCHDCMotor() { return new (std::nothrow) CSCHDCMotor; }
