#include "components/devices/sensors/nav_receiver.h"

#include <cmath>
#include <cstring>
#include <new>

#include "components/devices/device_text.h"
#include "components/electronic/radio/antenna.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"
#include "scheme/database/compdb_record.h"
#include "scheme/model/scheme_host.h"
#include "scheme/model/scheme_stream.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/packet.h"
#include "scheme/simulation/packet_set.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"

namespace {

const wchar_t kBurntMessage[] = L"Навигационный приемник \"%s\" вышел из строя";

// Ground of a USB-powered receiver's output levels.
const float kUsbGroundResistance = 0.00001f;
// The navigation band (MHz) and the largest detuning it takes, as a part of
// the antenna's range.
const double kBandCentre = 1500;
const double kBandTolerance = 0.1;
// Line levels: UART 5 V behind 250 ohm; RS-232 +-10 V behind 500 ohm. The
// receiver's inputs burn outside -1..5.5 V (UART) or beyond 25 V (RS-232);
// data needs 2.5 V (UART) or 3.3 V (RS-232).
const float kUartHigh = 5, kUartResistance = 250, kUartLow = -1, kUartMax = 5.5f, kUartThreshold = 2.5f;
const float kRs232Level = 10, kRs232Resistance = 500, kRs232Limit = 25, kRs232Threshold = 3.3f;
// The supply burns below this.
const float kReverseLimit = -1;
// Request packets carry this id.
const unsigned char kRequestId = 1;

float Sum(float a, float b) { return RoundToFloat(static_cast<double>(a) + b); }

void PutFloat(unsigned char* p, float v) { memcpy(p, &v, 4); }
float GetFloat(const unsigned char* p) {
  float v;
  memcpy(&v, p, 4);
  return v;
}

bool IsFlag(unsigned char b) { return b <= 1; }

}  // namespace

CSCHNavReceiver::CSCHNavReceiver() {
  rect = RECT{0, 0, kWidth, kHeight};
  BuildPins();
}

CSCHNavReceiver::~CSCHNavReceiver() {
  delete answerSet;
  GetSchemeHost()->WithdrawPayloads(this);
}

void CSCHNavReceiver::BuildPins() {
  const bool serial = serialKind != kDevNavNoSerial;
  const int n = (externalAntenna ? 1 : 0) + (usbPower ? 0 : 2) + (serial ? 3 : 0) + (usb ? 1 : 0);
  if (!SetPinCount(n) || pinCount != n) return;
  antennaPin = powerPin = serialPin = usbPin = -1;
  int i = 0;
  auto put = [&](const wchar_t* name, const wchar_t* text, int side, int kind) {
    pins[i].name = name;
    pins[i].description = text;
    pins[i].side = side;
    pins[i].kind = kind;
    i++;
  };
  if (externalAntenna) {
    antennaPin = i;
    put(L"Ant", L"Антенна GPS/ГЛОНАСС", kSchSideLeft, kSchPinRf);
  }
  if (!usbPower) {
    powerPin = i;
    put(L"+Eп", L"Плюс источника питания", kSchSideBottom, kSchPinElectric);
    put(L"GND", L"\"Земля\" источника питания", kSchSideBottom, kSchPinElectric);
  }
  if (serial) {
    serialPin = i;
    if (serialKind == kDevNavRs232) {
      put(L"COM GND", L"\"Земля\" COM-порта", kSchSideRight, kSchPinElectric);
      put(L"COM RD", L"Вход COM-порта", kSchSideRight, kSchPinElectric);
      put(L"COM TD", L"Выход COM-порта", kSchSideRight, kSchPinElectric);
    } else if (serialKind == kDevNavUart) {
      put(L"COM GND", L"\"Земля\" UART", kSchSideRight, kSchPinElectric);
      put(L"UART RX", L"Вход UART (TTL)", kSchSideRight, kSchPinElectric);
      put(L"UART TX", L"Выход UART (TTL)", kSchSideRight, kSchPinElectric);
    } else {
      // A kind the database does not define: three pins without names.
      for (int k = 0; k < 3; k++) put(L"", L"", kSchSideRight, kSchPinElectric);
    }
  }
  if (usb) {
    usbPin = i;
    put(L"USB", L"USB-клиент к управляющей ЭВМ", kSchSideRight, kSchPinUsb);
  }
  SpacePins(false);
}

void CSCHNavReceiver::ApplyDbRecord(CompDbRecord* record) {
  CSCHDevice::ApplyDbRecord(record);
  if (record) {
    system = static_cast<unsigned char>(record->GetIntByName("system") & 0xFF);
    const double p = record->GetDoubleByName("precision");
    precision = static_cast<uint16_t>(std::isfinite(p) && p > 0 && p < 65536 ? static_cast<int>(p) & 0xFF : 0);
    answerInterval = record->GetFloatByName("baudrate");
    U = record->GetFloatByName("U");
    Umin = record->GetFloatByName("Umin");
    Umax = record->GetFloatByName("Umax");
    I = record->GetFloatByName("I");
    usbPower = record->GetIntByName("usbPower") != 0;
    serialKind = static_cast<unsigned char>(record->GetIntByName("rs232") & 0xFF);
    usb = record->GetIntByName("usb") != 0;
    bluetooth = record->GetIntByName("bluetooth") != 0;
    externalAntenna = record->GetDoubleByName("ExtAntenna") != 0;
  }
  BuildPins();
}

void CSCHNavReceiver::Paint(HDC dc) {
  PaintBody(dc, RGB(0xCC, 0xCC, 0xCC));
  RECT text = rect;
  text.top += 40;
  const int mode = SetBkMode(dc, TRANSPARENT);
  const COLORREF color = SetTextColor(dc, RGB(0, 0, 0));
  DrawTextW(dc, L"GPS/ГЛОНАСС", -1, &text, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  SetTextColor(dc, color);
  SetBkMode(dc, mode);
}

void CSCHNavReceiver::Start() {
  delete answerSet;
  answerSet = new (std::nothrow) SchPacketSet;
  lineSource_ = SchSignalSource{nullptr, 0};
  lastRequest = 0;
  answerCounter = 0;
  answerClock = 0;
  answerPending = 0;
  fixTimer = kStartTimer;
  GetSchemeHost()->WithdrawPayloads(this);
  publishedPose_ = nullptr;
  poseHandle_ = 0;
  CSCHOutSensor::Start();
}

void CSCHNavReceiver::Stop() {
  delete answerSet;
  answerSet = nullptr;
  lineSource_ = SchSignalSource{nullptr, 0};
  GetSchemeHost()->WithdrawPayloads(this);
  publishedPose_ = nullptr;
  poseHandle_ = 0;
  CSCHOutSensor::Stop();
}

void CSCHNavReceiver::Burn() {
  burnt = 1;
  ReportDevice(this, kBurntMessage);
}

int CSCHNavReceiver::PortFormat() const { return usbPin >= 0 ? 0 : kDevNavSerialFormat; }

uint32_t CSCHNavReceiver::PoseHandle() {
  if (!pose) return 0;
  if (pose != publishedPose_ || !poseHandle_) {
    GetSchemeHost()->WithdrawPayloads(this);
    publishedPose_ = pose;
    poseHandle_ = GetSchemeHost()->PublishPayload(pose, this);
  }
  return poseHandle_;
}

bool CSCHNavReceiver::AntennaReceives() {
  if (antennaPin < 0 || antennaPin >= pinCount) return false;
  const CSCHAntenna* antenna = CSCHAntenna::FromNet(pins[antennaPin].net);
  if (!antenna) return false;
  pose = antenna->pose;
  const double range = antenna->bandwidth;
  // A range of 0 (or not a number) takes no band at all.
  if (!(range > 0)) return false;
  const double detuning = std::fabs(static_cast<double>(antenna->centreFrequency) - kBandCentre) / range;
  return RoundToFloat(detuning) <= kBandTolerance;
}

bool CSCHNavReceiver::ReadRequests(SchPacketSet** requests) {
  *requests = nullptr;
  if (usbPin >= 0) {
    const SchNet* net = pins[usbPin].net;
    if (net && net->sourceKind == kSchSourceUsbHost && net->source) *requests = net->source->packets;
    return true;
  }
  if (serialPin < 0 || serialPin + 2 >= pinCount) return true;
  SchPinState rx = {};
  GetPinState(serialPin + 1, &rx);
  const bool serial = rx.source && rx.sourceKind == kSchSourceSerial;
  bool data = false;
  if (serialKind == kDevNavUart) {
    if (rx.U < kUartLow || rx.U > kUartMax || rx.U2 < kUartLow || rx.U2 > kUartMax) return false;
    data = serial && rx.U >= kUartThreshold && rx.U2 <= kUartThreshold;
  } else if (serialKind == kDevNavRs232) {
    if (std::fabs(rx.U) > kRs232Limit || std::fabs(rx.U2) > kRs232Limit) return false;
    data = serial && rx.U < -kRs232Threshold && rx.U2 >= kRs232Threshold;
  }
  if (data) *requests = rx.source->packets;
  return true;
}

void CSCHNavReceiver::Answer(SchPacketSet* requests, float Ug, float Rg) {
  SchPacketSet* target = usbPin >= 0 && requests ? requests : answerSet;
  if (!target) return;
  const uint32_t handle = PoseHandle();
  SchPacket* p = new (std::nothrow) SchPacket;
  if (!p) return;
  p->useCount = 1;
  p->id = 0;
  p->sequence = answerCounter;
  p->format = PortFormat();
  const unsigned char payload[8] = {answerCounter,
                                    static_cast<unsigned char>(kDevNavFixTag & 0xFF),
                                    static_cast<unsigned char>(kDevNavFixTag >> 8),
                                    static_cast<unsigned char>(precision & 0xFF),
                                    static_cast<unsigned char>(handle & 0xFF),
                                    static_cast<unsigned char>((handle >> 8) & 0xFF),
                                    static_cast<unsigned char>((handle >> 16) & 0xFF),
                                    static_cast<unsigned char>(handle >> 24)};
  const bool ok = p->payload.Write(payload, 8) == 8 && target->Put(p);
  p->Release();
  if (!ok) return;
  lineSource_ = SchSignalSource{target, 0};
  if (usbPin >= 0) {
    SchNet* net = pins[usbPin].net;
    if (net) {
      net->sourceKind = kSchSourceUsbHost;
      net->source = &lineSource_;
    }
    return;
  }
  if (serialPin < 0 || serialPin + 2 >= pinCount) return;
  SchPinState tx = {};
  if (serialKind == kDevNavRs232) {
    tx.U = RoundToFloat(static_cast<double>(Ug) - kRs232Level);
    tx.U2 = Sum(Ug, kRs232Level);
    tx.R = tx.R2 = Sum(Rg, kRs232Resistance);
  } else {
    tx.U = Sum(Ug, kUartHigh);
    tx.U2 = Ug;
    tx.R = tx.R2 = Sum(Rg, kUartResistance);
  }
  tx.sourceKind = kSchSourceSerial;
  tx.source = &lineSource_;
  SetPinState(serialPin + 2, tx);
}

void CSCHNavReceiver::Step(float dt) {
  if (burnt) return;
  float Ug = 0, Rg = kUsbGroundResistance;
  bool powered = false;
  if (usbPower) {
    powered = usbPin >= 0 && usbPin < pinCount && pins[usbPin].net;
  } else {
    if (powerPin < 0 || powerPin + 1 >= pinCount) return;
    float Up = 0, Rp = 0;
    GetPinInput(powerPin, &Up, &Rp);
    GetPinInput(powerPin + 1, &Ug, &Rg);
    // A current of 0 (or a broken model) leaves the supply unloaded.
    const double load = I > 0 ? static_cast<double>(U) / I : 1e12;
    SetPinSource(powerPin, Ug, RoundToFloat(static_cast<double>(Rg) + load));
    SetPinSource(powerPin + 1, Up, RoundToFloat(static_cast<double>(Rp) + load));
    const float V = RoundToFloat((static_cast<double>(Up) - Ug) * load / (load + Rg + Rp));
    if (V < kReverseLimit || V > Umax) {
      Burn();
      return;
    }
    powered = V > Umin;
  }
  if (!powered) {
    if (fixTimer > 0) {
      if (fixTimer > kAcquired) fixTimer = kAcquired;
      fixTimer = RoundToFloat(static_cast<double>(fixTimer) - dt);
      if (!(fixTimer > 0)) fixTimer = kRestart;
    }
    return;
  }
  if (fixTimer < kAcquired) {
    fixTimer = RoundToFloat(static_cast<double>(fixTimer) + dt);
    answerClock = 0;
    answerPending = 0;
    return;
  }
  if (externalAntenna && !AntennaReceives()) return;
  SchPacketSet* requests = nullptr;
  if (!ReadRequests(&requests)) {
    Burn();
    return;
  }
  if (requests) {
    const int format = PortFormat();
    for (int i = 0; i < requests->count; i++) {
      const SchPacket* q = requests->packets[i];
      if (q->id != kRequestId || q->format != format) continue;
      if (q->payload.size > 0 && q->payload.data && q->payload.data[0] != lastRequest) {
        lastRequest = q->payload.data[0];
        answerPending = 1;
      }
      break;
    }
  }
  answerClock = RoundToFloat(static_cast<double>(answerClock) + dt);
  if (answerPending && answerClock > answerInterval) {
    answerClock = 0;
    answerPending = 0;
    answerCounter = static_cast<unsigned char>(answerCounter + 1);
    Answer(requests, Ug, Rg);
  }
}

void CSCHNavReceiver::Save(CStream* s) {
  unsigned char b[kOwnRecordBytes];
  b[0] = system;
  b[1] = static_cast<unsigned char>(precision & 0xFF);
  b[2] = static_cast<unsigned char>(precision >> 8);
  PutFloat(b + 3, answerInterval);
  PutFloat(b + 7, U);
  PutFloat(b + 11, I);
  PutFloat(b + 15, Umin);
  PutFloat(b + 19, Umax);
  b[23] = usbPower;
  b[24] = serialKind;
  b[25] = usb;
  b[26] = bluetooth;
  b[27] = externalAntenna;
  s->Write(b, kOwnRecordBytes);
  CSCHDevice::Save(s);
}

void CSCHNavReceiver::Load(CStream* s) {
  unsigned char b[kOwnRecordBytes];
  // A cut record leaves the receiver as it was (the short read fails the
  // scheme read).
  if (s->Read(b, kOwnRecordBytes) != kOwnRecordBytes) return;
  if (!IsFlag(b[23]) || !IsFlag(b[25]) || !IsFlag(b[26]) || !IsFlag(b[27])) {
    MarkSchemeRecordBroken(s);
    return;
  }
  system = b[0];
  precision = static_cast<uint16_t>(b[1] | (b[2] << 8));
  answerInterval = GetFloat(b + 3);
  U = GetFloat(b + 7);
  I = GetFloat(b + 11);
  Umin = GetFloat(b + 15);
  Umax = GetFloat(b + 19);
  usbPower = b[23];
  serialKind = b[24];
  usb = b[25];
  bluetooth = b[26];
  externalAntenna = b[27];
  BuildPins();
  CSCHDevice::Load(s);
}

void CSCHNavReceiver::SaveRunState(CStream* s) {
  CSCHOutSensor::SaveRunState(s);
  s->Write(&fixTimer, 4);
}

bool CSCHNavReceiver::LoadRunState(CStream* s) {
  if (!CSCHOutSensor::LoadRunState(s)) return false;
  float t = 0;
  if (s->Read(&t, 4) == 4) fixTimer = t;
  return true;
}

CSCHBlock* CreateCSCHNavReceiver() { return new (std::nothrow) CSCHNavReceiver; }
