#include "components/devices/sensors/urm37.h"

#include <cmath>
#include <new>

#include "components/devices/sensors/urm37_form.h"
#include "components/electronic/motor/h_bridge.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"
#include "scheme/model/scheme_stream.h"
#include "scheme/simulation/packet.h"
#include "scheme/simulation/packet_set.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"

const RangeFinderModel CURM37::kModel = {250, kVccPin, kGndPin, 6.2f, 2.7f};

namespace {

const float kOutputResistance = 250;
// RS-232 line levels: +-10 V from the ground behind 500 ohm.
const float kRs232Level = 10;
const float kRs232Resistance = 500;
// The receiver loads RXD with 12 kohm to the - supply.
const float kReceiverLoad = 12000;
// RS-232 receiver: a level beyond 25 V burns it, data needs -3.3 V / 3.3 V.
const float kRs232Limit = 25;
const float kRs232Threshold = 3.3f;

float Sum(float a, float b) { return RoundToFloat(static_cast<double>(a) + b); }

// A level as the receiver's 12 kohm load to Ug divides it.
float Divided(const RangeFinderSupply& s, float U, float R) {
  return RoundToFloat(s.Ug + (static_cast<double>(U) - s.Ug) * kReceiverLoad /
                                 (static_cast<double>(s.Rg) + kReceiverLoad + R));
}

}  // namespace

CURM37::CURM37() {
  rect = RECT{0, 0, kWidth, kHeight};
  raisePinLabels = 1;
  pose = nullptr;
  if (!SetPinCount(kPinCount) || pinCount != kPinCount) return;
  const wchar_t* const names[kPinCount] = {L"+VCC", L"GND", L"~RST", L"PWM", L"MOTO", L"COMP/TRIG", L"PWR_ON",
                                           L"RXD", L"TXD"};
  const wchar_t* const texts[kPinCount] = {
      L"Питание +5V",
      L"\"Земля\"",
      L"Инверный сброс",
      L"Выход ШИМ от 0 до 25мс, каждые 50мкс соответствую 1 см.",
      L"Управление сервомотором (не используется)",
      L"В режиме 1: Выход. \"0\", если расстояние < EEPROM; В режиме 2: Выход. \"0\" в момент измерения; В "
      L"режиме 3: Вход. Запуск измерения по заднему фронту",
      L"Разрешение работы (подтянут к \"1\")",
      L"Выход RS232/TTL - режим RS232 или TTL выставляется джамперами",
      L"Вход RS232/TTL - режим RS232 или TTL выставляется джамперами"};
  for (int i = 0; i < kPinCount; i++) {
    pins[i].name = names[i];
    pins[i].description = texts[i];
    pins[i].kind = kSchPinElectric;
    pins[i].side = kSchSideLeft;
    pins[i].offset = i * kPinPitch;
  }
}

CURM37::~CURM37() { delete answerSet; }

void CURM37::Paint(HDC dc) { PaintRangeFinder(dc, this); }

bool CURM37::Edit() {
  Urm37Settings settings = {rs232Levels != 0, mode, threshold};
  if (!EditUrm37Settings(instanceName, &settings)) return false;
  rs232Levels = settings.rs232Levels ? 1 : 0;
  mode = settings.mode;
  threshold = settings.threshold;
  return true;
}

void CURM37::Start() {
  distance = kNoDistance;
  timer = mode == kModeAutomatic ? kFirstAutomatic : 0;
  delete answerSet;
  answerSet = new (std::nothrow) SchPacketSet;
  answerSource_.packets = answerSet;
  CSCHOutSensor::Start();
}

void CURM37::Stop() {
  delete answerSet;
  answerSet = nullptr;
  answerSource_.packets = nullptr;
  CSCHOutSensor::Stop();
}

void CURM37::DriveLevel(int pin, const RangeFinderSupply& s, bool high) {
  if (high) SetPinSource(pin, s.Uv, Sum(s.Rv, kOutputResistance));
  else SetPinSource(pin, s.Ug, Sum(s.Rg, kOutputResistance));
}

void CURM37::DriveAnswerLine(const RangeFinderSupply& s) {
  SchPinState line = {};
  if (rs232Levels) {
    line.U = RoundToFloat(static_cast<double>(s.Ug) - kRs232Level);
    line.R = Sum(s.Rg, kRs232Resistance);
    line.U2 = Sum(s.Ug, kRs232Level);
    line.R2 = line.R;
  } else {
    line.U = s.Uv;
    line.R = Sum(s.Rv, kOutputResistance);
    line.U2 = s.Ug;
    line.R2 = Sum(s.Rg, kOutputResistance);
  }
  line.sourceKind = kSchSourceSerial;
  line.source = &answerSource_;
  SetPinState(kTxdPin, line);
}

void CURM37::SendAnswer(unsigned char command, uint16_t value) {
  if (!answerSet) return;
  PutRangeFinderAnswer(answerSet, nullptr, 0, answerCounter, kDevUrm37Format, command, value);
  answerCounter = static_cast<unsigned char>(answerCounter + 1);
}

void CURM37::CompleteMeasurement(const RangeFinderSupply& s) {
  float d = RangeFinderDistance(this, axisDistance);
  if (d > kFullRange) {
    distance = kNoDistance;
    d = kFullRange;
  } else {
    distance = static_cast<uint16_t>(RoundToFloat(static_cast<double>(d) * 100));
  }
  if (mode == kModeAutomatic) {
    DriveLevel(kCompTrigPin, s, !(distance < threshold));
    timer = kAutomaticPeriod;
  }
  SetPwmSource(&echo, kPwmPeriod, RoundToFloat(static_cast<double>(d) / kFullRange));
  SchPinState pwm = {};
  pwm.U = s.Uv;
  pwm.R = Sum(s.Rv, kOutputResistance);
  pwm.U2 = s.Ug;
  pwm.R2 = Sum(s.Rg, kOutputResistance);
  pwm.sourceKind = kSchSourceOwnWeight;
  pwm.source = &echo;
  SetPinState(kPwmPin, pwm);
  if (mode == kModeSerial) {
    SendAnswer(kCommandMeasure, distance);
    DriveAnswerLine(s);
  }
}

void CURM37::Receive(const RangeFinderSupply& s) {
  SchPinState rx = {};
  GetPinState(kRxdPin, &rx);
  SetPinSource(kRxdPin, s.Ug, Sum(s.Rg, kReceiverLoad));
  const float U = Divided(s, rx.U, rx.R), U2 = Divided(s, rx.U2, rx.R2);
  const bool serial = rx.source && rx.sourceKind == kSchSourceSerial;
  bool data;
  if (rs232Levels) {
    if (!(std::fabs(U) <= kRs232Limit && std::fabs(U2) <= kRs232Limit)) {
      BurnRangeFinder(this);
      return;
    }
    data = serial && U < -kRs232Threshold && U2 > kRs232Threshold;
  } else {
    if (!WithinRails(s, U) || !WithinRails(s, U2)) {
      BurnRangeFinder(this);
      return;
    }
    data = serial && U > s.Vmid && U2 < s.Vmid;
  }
  if (!data) return;
  const SchPacketSet* set = rx.source->packets;
  const int i = FindRangeFinderRequest(set, kDevUrm37Format, kRangeFinderAnyId, lastRequest);
  if (i < 0) return;
  const SchPacket* request = set->packets[i];
  lastRequest = request->sequence;
  switch (RangeFinderRequestCommand(request)) {
    case kCommandMeasure:
      timer = kMeasureTime;
      break;
    case kCommandShortAnswer: {
      SendAnswer(kCommandShortAnswer, 0);
      // Answered at once, at the levels the request came with.
      SchPinState line = {};
      line.U = U;
      line.R = rx.R;
      line.U2 = U2;
      line.R2 = rx.R2;
      line.sourceKind = kSchSourceSerial;
      line.source = &answerSource_;
      SetPinState(kTxdPin, line);
      break;
    }
    default:
      break;
  }
}

void CURM37::Step(float dt) {
  if (pinCount < kPinCount) return;
  RangeFinderSupply s = {};
  if (StepRangeFinderSupply(this, kModel, &s) != RangeFinderPower::kOn) return;
  float reset = 0, powerOn = 0;
  if (!ReadPullUpInput(this, kResetPin, s, &reset) || !ReadPullUpInput(this, kPowerOnPin, s, &powerOn)) return;
  if (reset < s.Vmid || powerOn < s.Vmid) {
    timer = 0;
    return;
  }
  if (mode == kModeTriggered) {
    float trigger = 0;
    if (!ReadPullUpInput(this, kCompTrigPin, s, &trigger)) return;
    if (!(timer > 0) && trigger < s.Vmid) timer = kMeasureTime;
  }
  if (timer > 0) {
    if (mode == kModeSerial) DriveLevel(kCompTrigPin, s, !(timer < kMeasureTime));
    timer = RoundToFloat(static_cast<double>(timer) - dt);
    // Only a finder placed in the robot's world completes a measurement.
    if (!(timer > 0) && pose) CompleteMeasurement(s);
  }
  Receive(s);
}

void CURM37::Save(CStream* s) {
  s->WriteByte(rs232Levels);
  s->WriteByte(mode);
  const unsigned char t[2] = {static_cast<unsigned char>(threshold & 0xFF), static_cast<unsigned char>(threshold >> 8)};
  s->Write(t, 2);
  CSCHBlock::Save(s);
}

void CURM37::Load(CStream* s) {
  unsigned char b[kOwnRecordBytes];
  // A cut record leaves the finder as it was (the short read fails the
  // scheme read).
  if (s->Read(b, kOwnRecordBytes) != kOwnRecordBytes) return;
  if (b[0] > 1 || b[1] > kModeTriggered) {
    MarkSchemeRecordBroken(s);
    return;
  }
  rs232Levels = b[0];
  mode = b[1];
  threshold = static_cast<uint16_t>(b[2] | (b[3] << 8));
  CSCHBlock::Load(s);
}

CSCHBlock* CreateCURM37() { return new (std::nothrow) CURM37; }
