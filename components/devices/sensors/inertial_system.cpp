#include "components/devices/sensors/inertial_system.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "components/devices/device_text.h"
#include "components/electronic/motor/h_bridge.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"
#include "kestui/graphics/image.h"
#include "scheme/database/compdb_record.h"
#include "scheme/model/scheme_host.h"
#include "scheme/model/scheme_icons.h"
#include "scheme/model/scheme_stream.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/packet.h"
#include "scheme/simulation/packet_set.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"

namespace {

const wchar_t kBurntMessage[] = L"Инерцильная система \"%s\" вышла из строя.";

// The class picture, loaded on the first paint.
CKestImage g_inertialPicture;

const float kReleasedResistance = 5000000;
const float kOwnGroundResistance = 0.00001f;
const float kOutputResistance = 10;   // the regulated output
const float kLineResistance = 150;    // data and channel outputs
const float kRs232Level = 10, kRs232Resistance = 500, kRs232Limit = 25, kRs232Threshold = 3.3f;
const float kLogicLow = -0.3f, kLogicHigh = 5.5f, kLogicThreshold = 2.5f;
const float kReverseLimit = -0.3f;
const float kLeastOutputCurrent = -0.01f;
const double kG = 9810;  // mg per g
const double kRadToDeg = 180 / 3.14159265358979323846;
// I2C lines: SCL carries kind 14, SDA kind 13.
const int kSclKind = 14;
const int kSdaKind = 13;

// Pin names: NUL, then the visible part (the scheme view labels nothing).
const wchar_t kGnd[] = L"\0GND";
const wchar_t kVin[] = L"\0+Vin";
const wchar_t kTx[] = L"\0TX";
const wchar_t kRx[] = L"\0RX";
const wchar_t kUsbName[] = L"\0USB";
const wchar_t kSda[] = L"\0SDA";
const wchar_t kScl[] = L"\0SCL";
const wchar_t* const kChannelNames[9] = {L"\0Accel X", L"\0Accel Y", L"\0Accel Z", L"\0Gyro OX", L"\0Gyro OY",
                                         L"\0Gyro OZ", L"\0roll",    L"\0pitch",   L"\0yaw"};
const wchar_t* const kPwmTexts[9] = {
    L"Выход ШИМ акселерометра по X", L"Выход ШИМ акселерометра по Y",        L"Выход ШИМ акселерометра по Z",
    L"Выход ШИМ гироскопа по X (скорость)", L"Выход ШИМ гироскопа по Y (скорость)",
    L"Выход ШИМ гироскопа по Z (скорость)", L"Выход ШИМ угла поворота по OX", L"Выход ШИМ угла поворота по OY",
    L"Выход ШИМ угла поворота по OZ"};
const wchar_t* const kVoltageTexts[9] = {L"Выход напряжения акселерометра по X",
                                         L"Выход напряжения акселерометра по Y",
                                         L"Выход напряжения акселерометра по Z",
                                         L"Выход напряжения гироскопа по X (скорость)",
                                         L"Выход напряжения гироскопа по Y (скорость)",
                                         L"Выход напряжения гироскопа по Z (скорость)",
                                         L"Выход напряжения угла поворота по OX",
                                         L"Выход напряжения угла поворота по OY",
                                         L"Выход напряжения угла поворота по OZ"};

struct FlagColumn {
  const char* column;
  uint16_t flag;
};
const FlagColumn kFlagColumns[] = {
    {"AccelX", kInertialAccelX}, {"AccelY", kInertialAccelY},        {"AccelZ", kInertialAccelZ},
    {"gyroX", kInertialRateX},   {"gyroY", kInertialRateY},          {"gyroZ", kInertialRateZ},
    {"Mag", kInertialMagnetometer}, {"angles", kInertialAngles}, {"gyroType", kInertialAnglesFromPose},
};
const uint16_t kAllFlags = 0x1FF;

float Sum(float a, float b) { return RoundToFloat(static_cast<double>(a) + b); }

void PutFloat(unsigned char* p, float v) { memcpy(p, &v, 4); }
float GetFloat(const unsigned char* p) {
  float v;
  memcpy(&v, p, 4);
  return v;
}

float Clamp(float v, float lo, float hi) {
  if (!(v >= lo)) return lo;  // not-a-number too
  return v > hi ? hi : v;
}

bool LogicLevel(float u) { return u >= kLogicLow && u <= kLogicHigh; }

}  // namespace

float RandomNoise(float amplitude) {
  double sum = -8.0 * amplitude;
  for (int i = 0; i < 16; i++) sum += static_cast<double>(amplitude) * (rand() & 0x7FFF) / 32767;
  return RoundToFloat(sum);
}

CSCHInertialSystem::CSCHInertialSystem() {
  rect = RECT{0, 0, kWidth, kHeight};
  MakeIdentityMatrix(&lastInversePose);
  BuildPins();
}

CSCHInertialSystem::~CSCHInertialSystem() {
  delete packetSet;
  GetSchemeHost()->WithdrawPayloads(this);
}

void CSCHInertialSystem::BuildPins() {
  const uint16_t flags = record.flags;
  int channels = 0;
  for (int k = 0; k < 6; k++)
    if (flags & (1 << k)) channels++;
  if (flags & kInertialAngles) channels += 3;
  int n = usbPower ? 0 : 2;
  if (Uout > 0) n += 2;
  switch (iface) {
    case kUart:
    case kRs232:
    case kI2c:
      n += 2;
      outputPeriod = 1.0f / 180;
      break;
    case kUsb:
      n += 1;
      outputPeriod = 0.02f;
      break;
    case kPulseWidth:
    case kVoltage:
      n += channels;
      outputPeriod = 0.00001f;
      break;
    default:
      break;
  }
  if (!SetPinCount(n) || pinCount != n) return;
  int i = 0;
  auto put = [&](const wchar_t* name, const wchar_t* text, int kind) {
    pins[i].name = name;
    pins[i].description = text;
    pins[i].kind = kind;
    pins[i].side = kSchSideRight;
    pins[i].offset = kHeight - kPinPitch * (i + 1);
    i++;
  };
  if (!usbPower) {
    put(kGnd, L"Земля", kSchPinElectric);
    put(kVin, L"Вход питания", kSchPinElectric);
  }
  if (Uout > 0) {
    _snwprintf(outputPinName, 31, L"x+%0.1fV", static_cast<double>(Uout));
    outputPinName[31] = 0;
    outputPinName[0] = 0;
    const double mA = static_cast<double>(Iout) * 1000;
    const int milliamperes = std::isfinite(mA) && std::fabs(mA) < 2e9 ? static_cast<int>(mA) : 0;
    _snwprintf(outputPinDescription, 47, L"Выход +%0.1fV, %dмА", static_cast<double>(Uout), milliamperes);
    outputPinDescription[47] = 0;
    put(kGnd, L"Земля", kSchPinElectric);
    put(outputPinName, outputPinDescription, kSchPinElectric);
  }
  firstInterfacePin = i;
  switch (iface) {
    case kUart:
      put(kTx, L"Выход UART", kSchPinElectric);
      put(kRx, L"Вход UART", kSchPinElectric);
      break;
    case kRs232:
      put(kTx, L"Выход RS-232", kSchPinElectric);
      put(kRx, L"Вход RS-232", kSchPinElectric);
      break;
    case kUsb:
      put(kUsbName, L"USB-клиент для подключения к компьютеру", kSchPinUsb);
      break;
    case kI2c:
      put(kSda, L"Линия SDA для I2C", kSchPinElectric);
      put(kScl, L"Линия SCL для I2C", kSchPinElectric);
      break;
    case kPulseWidth:
    case kVoltage: {
      const wchar_t* const* texts = iface == kPulseWidth ? kPwmTexts : kVoltageTexts;
      for (int k = 0; k < 6; k++)
        if (flags & (1 << k)) put(kChannelNames[k], texts[k], kSchPinElectric);
      if (flags & kInertialAngles)
        for (int k = 6; k < 9; k++) put(kChannelNames[k], texts[k], kSchPinElectric);
      break;
    }
    default:
      break;
  }
}

void CSCHInertialSystem::ApplyDbRecord(CompDbRecord* record_) {
  CSCHDevice::ApplyDbRecord(record_);
  if (record_) {
    uint16_t flags = 0;
    for (const FlagColumn& c : kFlagColumns)
      if (record_->GetIntByName(c.column) != 0) flags |= c.flag;
    record.flags = flags;
    iface = static_cast<unsigned char>(record_->GetIntByName("iface") & 0xFF);
    gyroDisp = record_->GetFloatByName("gyroDisp");
    accelDisp = record_->GetFloatByName("accelDisp");
    magDisp = record_->GetFloatByName("magDisp");
    U = record_->GetFloatByName("U");
    Umin = record_->GetFloatByName("Umin");
    Umax = record_->GetFloatByName("Umax");
    I = record_->GetFloatByName("I");
    usbPower = record_->GetIntByName("powerUSB") != 0;
    Uout = record_->GetFloatByName("Uout");
    Iout = record_->GetFloatByName("Iout");
    Kaccel = record_->GetFloatByName("Kaccel");
    Kgyro = record_->GetFloatByName("Kgyro");
    Kmag = record_->GetFloatByName("Kmag");
    Uwork = record_->GetFloatByName("Uwork");
  }
  BuildPins();
}

void CSCHInertialSystem::Paint(HDC dc) {
  if (LoadSchemeIcon(&g_inertialPicture, L"inertial.png")) g_inertialPicture.Draw(dc, rect.left, rect.top);
  const int mode = SetBkMode(dc, TRANSPARENT);
  const COLORREF color = SetTextColor(dc, RGB(0, 0, 0));
  HGDIOBJ pen = SelectObject(dc, GetStockObject(BLACK_PEN));
  for (int i = 0; i < pinCount; i++) {
    const int y = rect.bottom - pins[i].offset;
    MoveToEx(dc, rect.left + kPictureWidth, y, nullptr);
    LineTo(dc, rect.right, y);
    const wchar_t* name = pins[i].name ? pins[i].name + 1 : L"";
    const int length = static_cast<int>(wcslen(name));
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc, name, length, &size);
    TextOutW(dc, rect.right - 2 - size.cx, y - 11, name, length);
  }
  SelectObject(dc, pen);
  SetTextColor(dc, color);
  SetBkMode(dc, mode);
  PaintDeviceName(dc, this, (rect.left + rect.right - DeviceNameWidth(dc, this)) / 2, rect.bottom);
}

void CSCHInertialSystem::Start() {
  MakeIdentityMatrix(&lastInversePose);
  for (float& v : previousVelocity) v = 0;
  for (int k = 0; k < 3; k++) record.accel[k] = record.rate[k] = record.magnetic[k] = record.angles[k] = 0;
  lastRequest = 0;
  answerCounter = 0;
  outputClock = 0;
  requested = 0;
  delete packetSet;
  packetSet = new (std::nothrow) SchPacketSet;
  lineSource_ = SchSignalSource{packetSet, 0};
  GetSchemeHost()->WithdrawPayloads(this);
  recordHandle_ = GetSchemeHost()->PublishPayload(&record, this);
  CSCHOutSensor::Start();
}

void CSCHInertialSystem::Stop() {
  delete packetSet;
  packetSet = nullptr;
  lineSource_ = SchSignalSource{nullptr, 0};
  GetSchemeHost()->WithdrawPayloads(this);
  recordHandle_ = 0;
  CSCHOutSensor::Stop();
}

void CSCHInertialSystem::JoinInternalNets() {
  if (!HasOutputPins() || pinCount < 4 || !pins[0].net) return;
  SchNet* ground = pins[0].net;
  SchNet* output = pins[2].net;
  if (output && output != ground) ground->Merge(output);
  else if (!output) ground->AddPin(this, 2);
}

void CSCHInertialSystem::Burn() {
  burnt = 1;
  ReportDevice(this, kBurntMessage);
}

bool CSCHInertialSystem::ReadRequests(SchPacketSet** requests) {
  *requests = nullptr;
  const int first = firstInterfacePin;
  switch (iface) {
    case kUart:
    case kRs232: {
      if (first + 1 >= pinCount) return true;
      SchPinState rx = {};
      GetPinState(first + 1, &rx);
      const bool serial = rx.source && rx.sourceKind == kSchSourceSerial;
      bool data;
      if (iface == kUart) {
        if (!LogicLevel(rx.U) || !LogicLevel(rx.U2)) return false;
        data = rx.U >= kLogicThreshold && rx.U2 <= kLogicThreshold;
      } else {
        if (std::fabs(rx.U) > kRs232Limit || std::fabs(rx.U2) > kRs232Limit) return false;
        data = rx.U <= -kRs232Threshold && rx.U2 >= kRs232Threshold;
      }
      if (serial && data) *requests = rx.source->packets;
      return true;
    }
    case kUsb: {
      if (first >= pinCount) return true;
      const SchNet* net = pins[first].net;
      if (net && net->sourceKind == kSchSourceUsbHost && net->source) *requests = net->source->packets;
      return true;
    }
    case kI2c: {
      if (first + 1 >= pinCount) return true;
      SchPinState sda = {}, scl = {};
      GetPinState(first, &sda);
      GetPinState(first + 1, &scl);
      if (!LogicLevel(sda.U) || !LogicLevel(sda.U2) || !LogicLevel(scl.U) || !LogicLevel(scl.U2)) return false;
      if (sda.U >= kLogicThreshold && sda.U2 < kLogicThreshold && scl.U >= kLogicThreshold &&
          scl.U2 < kLogicThreshold && scl.sourceKind == kSclKind && sda.sourceKind == kSdaKind && sda.source)
        *requests = sda.source->packets;
      return true;
    }
    case kPulseWidth:
    case kVoltage:
      requested = 1;
      return true;
    default:
      return true;
  }
}

void CSCHInertialSystem::TakeRequest(const SchPacketSet* requests) {
  if (!requests) return;
  for (int i = 0; i < requests->count; i++) {
    const SchPacket* p = requests->packets[i];
    const bool qualifies = iface == kRs232 ? p->format == kDevInertialSerialFormat : p->id != 0;
    if (!qualifies || p->payload.size < 1 || !p->payload.data) continue;
    if (p->payload.data[0] == lastRequest) continue;
    lastRequest = p->payload.data[0];
    requested = 1;
    return;
  }
}

void CSCHInertialSystem::SendPacket(SchPacketSet* requests, float Rg) {
  if (!packetSet) return;
  if (!recordHandle_) recordHandle_ = GetSchemeHost()->PublishPayload(&record, this);
  SchPacket* p = new (std::nothrow) SchPacket;
  if (!p) return;
  p->useCount = 1;
  p->id = 0;
  p->sequence = answerCounter;
  p->format = iface == kUart || iface == kRs232 ? kDevInertialSerialFormat : 0;
  const uint32_t h = recordHandle_;
  const unsigned char payload[8] = {answerCounter,
                                    static_cast<unsigned char>(kInertialRecordMarker & 0xFF),
                                    static_cast<unsigned char>(kInertialRecordMarker >> 8),
                                    0,
                                    static_cast<unsigned char>(h & 0xFF),
                                    static_cast<unsigned char>((h >> 8) & 0xFF),
                                    static_cast<unsigned char>((h >> 16) & 0xFF),
                                    static_cast<unsigned char>(h >> 24)};
  answerCounter = static_cast<unsigned char>(answerCounter + 1);
  const bool ok = p->payload.Write(payload, 8) == 8 && packetSet->Put(p);
  p->Release();
  if (!ok) return;
  if (iface == kUart || iface == kRs232) {
    if (firstInterfacePin >= pinCount) return;
    SchPinState tx = {};
    if (iface == kUart) {
      tx.U = Uwork;
      tx.U2 = 0;
      tx.R = tx.R2 = Sum(Rg, kLineResistance);
    } else {
      tx.U = -kRs232Level;
      tx.U2 = kRs232Level;
      tx.R = tx.R2 = Sum(Rg, kRs232Resistance);
    }
    tx.sourceKind = kSchSourceSerial;
    tx.source = &lineSource_;
    SetPinState(firstInterfacePin, tx);
  } else if (requests && requests != packetSet) {
    packetSet->Merge(requests);
  }
}

void CSCHInertialSystem::DriveChannels(float Rg) {
  // accel X, Y, Z, rate X, Y, Z, then the magnetometer on the three pins
  // built for the angles.
  const uint16_t flags = record.flags;
  float values[9];
  float scales[9];
  bool present[9];
  for (int k = 0; k < 3; k++) {
    values[k] = record.accel[k];
    scales[k] = Kaccel;
    present[k] = (flags & (1 << k)) != 0;
    values[3 + k] = record.rate[k];
    scales[3 + k] = Kgyro;
    present[3 + k] = (flags & (1 << (3 + k))) != 0;
    values[6 + k] = record.magnetic[k];
    scales[6 + k] = Kmag;
    // Driven only on pins that exist: they are built for the angles.
    present[6 + k] = (flags & kInertialMagnetometer) && (flags & kInertialAngles);
  }
  int pin = firstInterfacePin;
  for (int k = 0; k < 9; k++) {
    if (k == 6 && !(flags & kInertialAngles)) break;
    if (!present[k]) {
      // An angle pin without the magnetometer keeps its own pin, undriven.
      if (k >= 6) pin++;
      continue;
    }
    if (pin >= pinCount) return;
    const double scaled = static_cast<double>(values[k]) * scales[k];
    if (iface == kPulseWidth) {
      SetPwmSource(&channels[k], outputPeriod, Clamp(RoundToFloat(scaled + 0.5), 0, 1));
      SchPinState s = {};
      s.U = Uwork;
      s.U2 = 0;
      s.R = s.R2 = Sum(Rg, kLineResistance);
      s.sourceKind = kSchSourceOwnWeight;
      s.source = &channels[k];
      SetPinState(pin, s);
    } else {
      const float u = Clamp(RoundToFloat(static_cast<double>(Uwork) / 2 + scaled), 0, Uwork);
      SetPinSource(pin, u, Sum(Rg, kLineResistance));
    }
    pin++;
  }
}

void CSCHInertialSystem::Output(const Mat4f& D, const float accel[3], float dt, SchPacketSet* requests, float Rg) {
  const uint16_t flags = record.flags;
  const float* d = D.m;
  const double rates[3] = {std::atan2(d[6], d[5]), std::atan2(d[8], d[10]), std::atan2(d[1], d[0])};
  for (int k = 0; k < 3; k++)
    if (flags & (kInertialRateX << k))
      record.rate[k] = RoundToFloat(RoundToFloat(rates[k] * kRadToDeg / dt) + static_cast<double>(RandomNoise(gyroDisp)));
  if (flags & kInertialMagnetometer)
    for (int k = 0; k < 3; k++)
      record.magnetic[k] = Sum(lastInversePose.m[4 + k], RandomNoise(magDisp));
  if (flags & kInertialAngles) {
    float a[3], m[3];
    if ((flags & kInertialAnglesFromPose) && pose) {
      for (int k = 0; k < 3; k++) {
        a[k] = pose->m[8 + k];
        m[k] = pose->m[4 + k];
      }
    } else if (flags & kInertialAnglesFromPose) {
      // Without a pose the unit rests as placed: the identity.
      a[0] = 0, a[1] = 0, a[2] = 1;
      m[0] = 0, m[1] = 1, m[2] = 0;
    } else {
      for (int k = 0; k < 3; k++) {
        a[k] = accel[k];
        m[k] = record.magnetic[k];
      }
    }
    const float roll = static_cast<float>(std::atan2(-a[1], a[2]));
    RotatePoint2D(&m[2], &m[1], roll);
    const float pitch = static_cast<float>(std::atan2(-m[2], m[1]));
    RotatePoint2D(&m[1], &m[2], pitch);
    const float yaw = static_cast<float>(std::atan2(m[1], m[0]));
    record.angles[0] = RoundToFloat(roll * kRadToDeg);
    record.angles[1] = RoundToFloat(pitch * kRadToDeg);
    record.angles[2] = RoundToFloat(yaw * kRadToDeg);
  }
  for (int k = 0; k < 3; k++) record.accel[k] = accel[k];
  if (iface <= kI2c) SendPacket(requests, Rg);
  else if (iface == kPulseWidth || iface == kVoltage) DriveChannels(Rg);
}

void CSCHInertialSystem::Step(float dt) {
  if (burnt) {
    for (int i = 0; i < pinCount; i++) SetPinSource(i, 0, kReleasedResistance);
    return;
  }
  float Rg = kOwnGroundResistance;
  bool powered = false;
  if (usbPower) {
    powered = pinCount > 0 && pins[0].net;
  } else {
    if (pinCount < 2) return;
    float Ug = 0, Uin = 0, Rin = 0;
    GetPinInput(0, &Ug, &Rg);
    GetPinInput(1, &Uin, &Rin);
    // A current of 0 (or a broken model) leaves the supply unloaded.
    const double load = I > 0 ? static_cast<double>(U) / I : 1e12;
    const float V = RoundToFloat((static_cast<double>(Uin) - Ug) * load / (load + Rg + Rin));
    if (V < kReverseLimit || V > Umax) {
      Burn();
      return;
    }
    powered = V >= Umin;
    if (HasOutputPins() && pinCount >= 4) {
      if (powered) {
        float U2 = 0, R2 = 0, U3 = 0, R3 = 0;
        GetPinInput(3, &U3, &R3);
        GetPinInput(2, &U2, &R2);
        const float Io = RoundToFloat((static_cast<double>(U3) - U2 - Uout) /
                                      (static_cast<double>(R3) + R2 + kOutputResistance));
        if (Io < kLeastOutputCurrent || Io > Iout) {
          Burn();
          return;
        }
        SetPinSource(3, Sum(U2, Uout), Sum(R2, kOutputResistance));
        SetPinSource(2, RoundToFloat(static_cast<double>(U3) - Uout), Sum(R3, kOutputResistance));
      } else {
        SetPinSource(3, 0, kReleasedResistance);
        SetPinSource(2, 0, kReleasedResistance);
      }
    }
  }
  if (!powered) {
    requested = 0;
    outputClock = 0;
    return;
  }
  // A step of no time measures nothing (every rate divides by it).
  if (!(dt > 0)) return;
  // The motion since the last step; a unit the simulator has not placed
  // rests where it was.
  Mat4f D;
  MakeIdentityMatrix(&D);
  if (pose) {
    MultiplyMatrices(&D, &lastInversePose, pose);
    InvertMatrix(&lastInversePose, pose);
  }
  float accel[3] = {0, 0, 0};
  for (int k = 0; k < 3; k++) {
    if (!(record.flags & (kInertialAccelX << k))) continue;
    const double v = RoundToFloat(static_cast<double>(D.m[12 + k]) / dt);
    const double a = RoundToFloat((v - previousVelocity[k]) * kG / dt) + static_cast<double>(lastInversePose.m[8 + k]) * kG;
    accel[k] = RoundToFloat(a + static_cast<double>(RandomNoise(accelDisp)));
    previousVelocity[k] = static_cast<float>(v);
  }
  SchPacketSet* requests = nullptr;
  if (!ReadRequests(&requests)) {
    Burn();
    return;
  }
  TakeRequest(requests);
  outputClock = RoundToFloat(static_cast<double>(outputClock) + dt);
  if (outputClock >= outputPeriod && requested) {
    outputClock = 0;
    requested = 0;
    Output(D, accel, dt, requests, Rg);
  }
}

void CSCHInertialSystem::Save(CStream* s) {
  unsigned char b[kOwnRecordBytes];
  b[0] = static_cast<unsigned char>(record.flags & 0xFF);
  b[1] = static_cast<unsigned char>(record.flags >> 8);
  b[2] = iface;
  const float first[7] = {gyroDisp, accelDisp, magDisp, U, Umin, Umax, I};
  for (int k = 0; k < 7; k++) PutFloat(b + 3 + 4 * k, first[k]);
  b[31] = usbPower;
  const float second[6] = {Uout, Iout, Kaccel, Kgyro, Kmag, Uwork};
  for (int k = 0; k < 6; k++) PutFloat(b + 32 + 4 * k, second[k]);
  s->Write(b, kOwnRecordBytes);
  CSCHDevice::Save(s);
}

void CSCHInertialSystem::Load(CStream* s) {
  unsigned char b[kOwnRecordBytes];
  // A cut record leaves the unit as it was (the short read fails the
  // scheme read).
  if (s->Read(b, kOwnRecordBytes) != kOwnRecordBytes) return;
  const uint16_t flags = static_cast<uint16_t>(b[0] | (b[1] << 8));
  if ((flags & ~kAllFlags) || b[31] > 1) {
    MarkSchemeRecordBroken(s);
    return;
  }
  record.flags = flags;
  iface = b[2];
  float* first[7] = {&gyroDisp, &accelDisp, &magDisp, &U, &Umin, &Umax, &I};
  for (int k = 0; k < 7; k++) *first[k] = GetFloat(b + 3 + 4 * k);
  usbPower = b[31];
  float* second[6] = {&Uout, &Iout, &Kaccel, &Kgyro, &Kmag, &Uwork};
  for (int k = 0; k < 6; k++) *second[k] = GetFloat(b + 32 + 4 * k);
  BuildPins();
  CSCHDevice::Load(s);
}

CSCHBlock* CreateCSCHInertialSystem() { return new (std::nothrow) CSCHInertialSystem; }
