#include "units/media/camera.h"

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <cwchar>
#include <new>

#include "blocks/library/interfaces/wifi_module.h"
#include "blocks/library/interfaces/wifi_radio_list.h"
#include "components/devices/device_text.h"
#include "components/electronic/motor/h_bridge.h"
#include "components/electronic/radio/radio_link.h"
#include "components/electronic/radio/router.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"
#include "kestui/graphics/image.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "scheme/database/compdb_record.h"
#include "scheme/model/scheme_icons.h"
#include "scheme/model/scheme_stream.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/packet.h"
#include "scheme/simulation/packet_set.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"
#include "units/media/camera_settings_form.h"

namespace {

// The class picture, loaded by the first Paint.
CKestImage g_cameraPicture;

const wchar_t kBurntMessage[] = L"Камера \"%s\" вышла из строя";
const wchar_t kSyncOutBurntMessage[] = L"Цифровой выход камеры \"%s\" вышел из строя!";
const wchar_t kSyncInBurntMessage[] = L"Цифровой вход камеры \"%s\" вышел из строя!";

const float kPi = 3.1415927f;
const float kDegrees = kPi / 180;
const int kPictureWidth = 96;
const int kPinLineBottom = 88;

// Supply limits as factors of the rating.
const float kOverFactor = 1.8f, kOnFactor = 0.7f, kReverse = -1.0f;
// The sync lines.
const float kSyncLow = -40, kSyncHigh = 31;
const float kSwitchR = 3;
const float kMasterLimit = 0.015f;
const float kOptoR = 3000, kOptoDrop = 0.7f, kOptoLimit = 0.01f;
const float kPulsePeriod = 0.04f, kPulseWeight = 0.5f;
// The drive's steps per command tick.
const float kZoomStep = 0.1f, kAngleStep = 0.02f;
// RS-485 levels.
const float kRs485Level = 3.3f;
// The analogue video levels.
const float kVideoLevel = 6, kVideoR = 100;

float ReadFloatAt(const unsigned char* b) {
  float v;
  memcpy(&v, b, 4);
  return v;
}

void WriteFloat(CStream* s, float v) { s->Write(&v, 4); }

float Quotient(double a, double b) { return RoundToFloat(a / b); }

// Whether a voltage and the current it drives through r lie within the
// sync input's limits.
bool InputWithin(float d, float r) {
  if (!(d >= kSyncLow && d <= kSyncHigh)) return false;
  return (static_cast<double>(d) - kOptoDrop) / (static_cast<double>(r) + kOptoR) <= kOptoLimit;
}

}  // namespace

CSCHCamera::CSCHCamera() {
  rect = RECT{0, 0, 160, 100};
  MakeIdentityMatrix(&pose);
  BuildPins();
}

CSCHCamera::~CSCHCamera() { delete packets_; }

void CSCHCamera::SetSsid(const wchar_t* text) {
  int n = 0;
  if (text)
    for (; n < kSsidUnits - 1 && text[n]; n++) ssid[n] = text[n];
  for (; n < kSsidUnits; n++) ssid[n] = 0;
}

int CSCHCamera::AddPin(int i, const wchar_t* name, const wchar_t* description, int kind) {
  SchPin& p = pins[i];
  p.name = name;
  p.description = description;
  p.kind = kind;
  p.side = kSchSideLeft;
  p.number = -1;
  return i;
}

bool CSCHCamera::BuildPins() {
  const bool remote = rotX > 0 || rotY > 0 || Zoom > 0;
  int n = 0;
  bool power = false;
  switch (iface) {
    case kAnalogue:
      n = 2 + (Mic ? 2 : 0) + (remote ? 3 : 0);
      power = true;
      break;
    case kUsb:
      n = 1;
      break;
    case kEthernet:
      n = 1;
      power = !PoE;
      break;
    case kWiFi:
      power = true;
      break;
    default:
      break;
  }
  const int total = n + (power ? 2 : 0) + (sync != kNoSync ? 4 : 0);
  if (!SetPinCount(total) || pinCount != total) return false;
  remoteControl = remote ? 1 : 0;
  powerPin = powerGroundPin = -1;
  videoOut_ = videoGnd_ = micOut_ = micGnd_ = dataPin_ = -1;
  controlPins_[0] = controlPins_[1] = controlPins_[2] = -1;
  int p = 0;
  switch (iface) {
    case kAnalogue:
      videoOut_ = AddPin(p++, L"Video Out", L"Выход аналогового видеосигнала PAL", kSchPinElectric);
      videoGnd_ = AddPin(p++, L"Video Gnd", L"\"Земля\" видеосигнала", kSchPinElectric);
      if (Mic) {
        micOut_ = AddPin(p++, L"Mic Out", L"Выход микрофона", kSchPinElectric);
        micGnd_ = AddPin(p++, L"Mic Gnd", L"\"Земля\" микрофона", kSchPinElectric);
      }
      if (remote) {
        controlPins_[0] = AddPin(p++, L"Control A", L"Интерфейс управления RS-485 канал A", kSchPinElectric);
        controlPins_[1] = AddPin(p++, L"Control B", L"Интерфейс управления RS-485 канал B", kSchPinElectric);
        controlPins_[2] = AddPin(p++, L"Control G", L"\"Земля\" интерфейса RS-485", kSchPinElectric);
      }
      break;
    case kUsb:
      dataPin_ = AddPin(p++, L"USB", L"USB-клиент для подключения к компьютеру с USB-host", kSchPinUsb);
      break;
    case kEthernet:
      dataPin_ = AddPin(p++, L"LAN", PoE ? L"Ethernet с инжектированным питанием (PoE)" : L"Ethernet",
                        kSchPinEthernet);
      break;
    default:
      break;
  }
  if (power) {
    powerPin = AddPin(p++, L"+", L"Плюс питания", kSchPinElectric);
    powerGroundPin = AddPin(p++, L"GND", L"\"Земля\" питания", kSchPinElectric);
  }
  if (sync != kNoSync) {
    pins[AddPin(p++, L"digital out (+)", L"Выход синхронизации (+). Подключить к +Uпит. от 9 до 30V",
                kSchPinElectric)]
        .number = 6;
    pins[AddPin(p++, L"digital out (-)", L"Выход синхронизации. Земля", kSchPinElectric)].number = 1;
    pins[AddPin(p++, L"digital in (+)",
                L"Вход синхронизации (+). Для сихронизации нужна подтяжка +Uпит. max: 30В/10 мА",
                kSchPinElectric)]
        .number = 7;
    pins[AddPin(p++, L"digital in (-)", L"Вход синхронизации. Земля", kSchPinElectric)].number = 2;
  }
  SpacePins(true);
  return true;
}

void CSCHCamera::ApplyDbRecord(CompDbRecord* record) {
  if (record) {
    fieldOfView = record->GetFloatByName("children[1].fov") * kDegrees;
    iface = record->GetIntByName("iface");
    U = record->GetFloatByName("U");
    I = record->GetFloatByName("I");
    PoE = record->GetIntByName("PoE") != 0;
    power = record->GetFloatByName("power");
    LoadTime = record->GetFloatByName("LoadTime");
    Mic = record->GetIntByName("Mic") != 0;
    Zoom = record->GetFloatByName("Zoom");
    rotX = record->GetFloatByName("rotX") * kDegrees;
    rotY = record->GetFloatByName("rotY") * kDegrees;
    const int s = record->GetIntByName("sync");
    if (s == 0 || s == 1) sync = static_cast<unsigned char>(s);
    ObjectiveDiameter = record->GetFloatByName("ObjectiveDiameter") / 1000;
    ObjectiveLength = record->GetFloatByName("ObjectiveLength") / 1000;
  }
  CSCHDevice::ApplyDbRecord(record);
  BuildPins();
}

void CSCHCamera::Paint(HDC dc) {
  if (LoadSchemeIcon(&g_cameraPicture, L"camera.png")) g_cameraPicture.Draw(dc, rect.left, rect.top);
  if (pinCount > 0) {
    CKestOwnedPen pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    CKestDcSelection selection(dc);
    selection.Select(pen.Get());
    MoveToEx(dc, rect.left, rect.top + pins[0].offset, nullptr);
    LineTo(dc, rect.left, rect.top + kPinLineBottom);
  }
  PaintDeviceName(dc, this, rect.left + (kPictureWidth - DeviceNameWidth(dc, this)) / 2, rect.bottom);
}

bool CSCHCamera::Edit() {
  if (iface == kAnalogue && remoteControl) return EditRs485Settings();
  if (iface == kUsb || iface == kEthernet) return EditCameraSettings();
  if (iface == kWiFi) return EditWiFiSettings();
  return CSCHDevice::Edit();
}

void CSCHCamera::JoinInternalNets() {
  if (iface != kAnalogue) return;
  const int grounds[4] = {powerGroundPin, videoGnd_, micGnd_, controlPins_[2]};
  SchNet* node = nullptr;
  for (int pin : grounds) {
    if (pin < 0 || pin >= pinCount || !pins[pin].net) continue;
    if (!node)
      node = pins[pin].net;
    else if (pins[pin].net != node)
      node->Merge(pins[pin].net);
  }
}

void CSCHCamera::Start() {
  syncOutBurnt = syncInBurnt = 0;
  if (sceneLink) {
    fieldOfView = sceneLink->fieldOfView;
    pose = sceneLink->pose;
  } else {
    fieldOfView = 0.7f;
    MakeIdentityMatrix(&pose);
  }
  delete packets_;
  packets_ = iface != kAnalogue ? new (std::nothrow) SchPacketSet : nullptr;
  ownSource_.packets = packets_;
  ownSource_.weight = 0;
  lastCommandSequence = 0;
  pan = tilt = 0;
  zoom = 1;
  targetPan = targetTilt = 0;
  targetZoom = 1;
  commandTimer = 0;
  dZoom = dX = dY = 0;
  frameCounter = 0;
  if (LoadTime < 0.1f) LoadTime = 0.1f;
  runTimer = kBootGrace;
  videoRecord_.Set(0, sceneLink ? sceneLink->frameHandle : 0, kVideoTag);
  audioRecord_.Set(0, sceneLink ? sceneLink->objectHandle : 0);
  SetPwmSource(&masterPulse_[0], kPulsePeriod, kPulseWeight);
  SetPwmSource(&masterPulse_[1], kPulsePeriod, kPulseWeight);
  CSCHDevice::Start();
}

void CSCHCamera::Stop() {
  delete packets_;
  packets_ = nullptr;
  ownSource_.packets = nullptr;
  CSCHDevice::Stop();
}

void CSCHCamera::SwitchOff() {
  if (iface == kAnalogue) {
    if (videoOut_ >= 0) SetPinSource(videoOut_, 0, kSchOpenResistance);
    if (micOut_ >= 0) SetPinSource(micOut_, 0, kSchOpenResistance);
  } else if (iface == kUsb && dataPin_ >= 0) {
    SetPinSource(dataPin_, 0, kSchOpenResistance);
  }
}

void CSCHCamera::Burn() {
  burnt = 1;
  ReportDevice(this, kBurntMessage);
  SwitchOff();
}

// False when the camera burnt out.
bool CSCHCamera::StepPower(bool* powered) {
  *powered = false;
  // A rating that would divide by zero (or give no load) draws nothing.
  float RL = I > 0 ? Quotient(U, I) : kSchOpenResistance;
  if (!(RL > 0) || !std::isfinite(RL)) RL = kSchOpenResistance;
  if (powerPin >= 0 && powerGroundPin >= 0) {
    float Vp = 0, Rp = kSchOpenResistance, Vg = 0, Rg = kSchOpenResistance;
    GetPinInput(powerPin, &Vp, &Rp);
    GetPinInput(powerGroundPin, &Vg, &Rg);
    const float V = Quotient((static_cast<double>(Vp) - Vg) * RL, static_cast<double>(RL) + Rp + Rg);
    if (!(V >= kReverse && V <= kOverFactor * U)) return false;
    *powered = V > kOnFactor * U;
    return true;
  }
  if (iface == kUsb) {
    *powered = dataPin_ >= 0 && pins[dataPin_].net;
    return true;
  }
  if (iface == kEthernet && PoE && dataPin_ >= 0 && pins[dataPin_].net) {
    SchNet* net = pins[dataPin_].net;
    net->sumG = 1.0 / RL;
    const float Uf = static_cast<float>(net->sumI);
    if (!(Uf >= kReverse && Uf <= kOverFactor * U)) return false;
    *powered = Uf > kOnFactor * U;
  }
  return true;
}

void CSCHCamera::Step(float dt) {
  if (burnt) return;
  bool powered = false;
  if (!StepPower(&powered)) {
    Burn();
    return;
  }
  if (!powered) {
    if (runTimer >= 0) {
      if (runTimer > kBootGrace) runTimer = kBootGrace;
      runTimer -= dt;
      if (runTimer < 0) {
        runTimer = -LoadTime;
        SwitchOff();
      }
    }
    return;
  }
  if (runTimer <= 0) {
    runTimer += dt;
    targetPan = targetTilt = 0;
    targetZoom = 1;
    commandTimer = 0;
    return;
  }
  // Running: the grace of a short supply loss is full again.
  runTimer = kBootGrace;
  if (sync != kNoSync && pinCount >= 4) {
    StepSyncOutput(pinCount - 4, pinCount - 3);
    StepSyncInput(pinCount - 2, pinCount - 1);
  }
  StepRemoteControl(dt);
  if (iface == kAnalogue)
    SendAnalogue();
  else
    SendDigital();
}

void CSCHCamera::StepSyncOutput(int plus, int minus) {
  float Up = 0, Rp = kSchOpenResistance, Um = 0, Rm = kSchOpenResistance;
  GetPinInput(plus, &Up, &Rp);
  GetPinInput(minus, &Um, &Rm);
  if (!syncOutBurnt) {
    const float d = Up - Um;
    bool burns = !(d >= kSyncLow && d <= kSyncHigh);
    if (!burns && sync == kSyncMaster)
      burns = (static_cast<double>(d) - 0.1) / (static_cast<double>(Rp) + Rm + kSwitchR) > kMasterLimit;
    if (burns) {
      syncOutBurnt = 1;
      ReportDevice(this, kSyncOutBurntMessage);
    }
  }
  if (syncOutBurnt) {
    SetPinSource(plus, Um, Rm + kSwitchR);
    SetPinSource(minus, Up, Rp + kSwitchR);
    return;
  }
  if (sync == kSyncMaster) {
    SchPinState s = {};
    s.U = Up;
    s.R = kSchOpenResistance;
    s.U2 = Um;
    s.R2 = Rm + kSwitchR;
    s.ownR = kSchOpenResistance;
    s.sourceKind = kSchSourceOwnWeight;
    s.source = &masterPulse_[0];
    SetPinState(plus, s);
    s.U = Um;
    s.U2 = Up;
    s.R2 = Rp + kSwitchR;
    s.source = &masterPulse_[1];
    SetPinState(minus, s);
  } else {
    SetPinSource(plus, Up, kSchOpenResistance);
    SetPinSource(minus, Um, kSchOpenResistance);
  }
}

void CSCHCamera::StepSyncInput(int pa, int pb) {
  SchPinState a = {}, b = {};
  GetPinState(pa, &a);
  GetPinState(pb, &b);
  if (!syncInBurnt) {
    const bool ok = InputWithin(a.U - b.U2, a.R + b.R2) && InputWithin(a.U - b.U, a.R + b.R) &&
                    InputWithin(a.U2 - b.U, a.R2 + b.R) && InputWithin(a.U2 - b.U2, a.R2 + b.R2);
    if (!ok) {
      syncInBurnt = 1;
      ReportDevice(this, kSyncInBurntMessage);
    }
  }
  if (syncInBurnt) {
    // A plain resistor between the pins.
    for (SchPinState* s : {&a, &b}) {
      s->R += kOptoR;
      s->R2 += kOptoR;
    }
  } else {
    // The opto-coupler's LED, for each pair of levels.
    struct Pair {
      float *ua, *ra, *ub, *rb;
    } pairs[2] = {{&a.U, &a.R, &b.U, &b.R}, {&a.U2, &a.R2, &b.U2, &b.R2}};
    for (Pair& p : pairs) {
      if (*p.ua - *p.ub > kOptoDrop) {
        *p.ua -= kOptoDrop;
        *p.ub += kOptoDrop;
        *p.ra += kOptoR;
        *p.rb += kOptoR;
      } else {
        *p.ra = kSchOpenResistance;
        *p.rb = kSchOpenResistance;
      }
    }
  }
  SetPinState(pa, b);
  SetPinState(pb, a);
}

void CSCHCamera::ApplyCommand() {
  if (Zoom != 0) {
    if (dZoom > 0) targetZoom = targetZoom + kZoomStep < Zoom ? targetZoom + kZoomStep : Zoom;
    if (dZoom < 0) targetZoom = targetZoom - kZoomStep > 1 ? targetZoom - kZoomStep : 1;
  }
  if (rotX != 0 && dX != 0) {
    float t = targetPan + (dX > 0 ? kAngleStep : -kAngleStep);
    targetPan = t > rotX ? rotX : (t < -rotX ? -rotX : t);
  }
  if (rotY != 0 && dY != 0) {
    float t = targetTilt + (dY > 0 ? kAngleStep : -kAngleStep);
    targetTilt = t > rotY ? rotY : (t < -rotY ? -rotY : t);
  }
}

void CSCHCamera::StepRemoteControl(float dt) {
  if (!remoteControl) return;
  commandTimer += dt;
  if (commandTimer > kCommandPeriod) {
    commandTimer = 0;
    ApplyCommand();
  }
  pan += dt * (targetPan - pan) / kDriveTime;
  tilt += dt * (targetTilt - tilt) / kDriveTime;
  zoom += dt * (targetZoom - zoom) / kDriveTime;
}

bool CSCHCamera::ReadControlPacket(const SchPacketSet* set, bool checkFormat) {
  if (!set) return false;
  for (int i = 0; i < set->count; i++) {
    const SchPacket* p = set->packets[i];
    if (!p || p->id != controlChannel) continue;
    if (checkFormat && p->format != kRs485Format) return false;
    if (p->sequence == lastCommandSequence) return false;
    lastCommandSequence = p->sequence;
    signed char d[3] = {0, 0, 0};
    // Read in place: the packet is shared with every set that holds it.
    const int n = p->payload.data ? (p->payload.size < 3 ? p->payload.size : 3) : 0;
    if (n > 0) memcpy(d, p->payload.data, n);
    dZoom = d[0];
    dX = d[1];
    dY = d[2];
    return true;
  }
  return false;
}

void CSCHCamera::SendAnalogue() {
  float Ug = 0, Rg = kSchOpenResistance;
  if (powerGroundPin >= 0) GetPinInput(powerGroundPin, &Ug, &Rg);
  SchPinState s = {};
  s.U = kVideoLevel;
  s.R = Rg + kVideoR;
  s.U2 = -kVideoLevel;
  s.R2 = kVideoR;
  s.ownR = kSchOpenResistance;
  if (videoOut_ >= 0) {
    s.sourceKind = 22;
    s.source = reinterpret_cast<SchSignalSource*>(&videoRecord_.bytes);
    SetPinState(videoOut_, s);
  }
  if (micOut_ >= 0) {
    s.sourceKind = kSourceAudio;
    s.source = reinterpret_cast<SchSignalSource*>(&audioRecord_.bytes);
    SetPinState(micOut_, s);
  }
  if (!remoteControl || controlPins_[0] < 0) return;
  SchPinState a = {}, b = {};
  GetPinState(controlPins_[0], &a);
  GetPinState(controlPins_[1], &b);
  if (a.sourceKind == kSchSourceSerial && b.sourceKind == kSchSourceSerial && a.source && a.source == b.source &&
      a.U > kRs485Level && a.U2 < -kRs485Level && b.U < -kRs485Level && b.U2 > kRs485Level)
    ReadControlPacket(a.source->packets, true);
}

void CSCHCamera::SendDigital() {
  if (!packets_) return;
  const unsigned char counter = static_cast<unsigned char>(frameCounter & 0xFF);
  const uint32_t frame = sceneLink ? sceneLink->frameHandle : 0;
  const uint32_t object = sceneLink ? sceneLink->objectHandle : 0;
  SchPacket* packet = new (std::nothrow) SchPacket;
  if (!packet) return;
  packet->useCount = 1;
  packet->id = transmissionChannel;
  packet->sequence = counter;
  MediaAudioRecord video, audio;
  video.Set(counter, frame, kVideoTag);
  audio.Set(counter, object);
  bool written = packet->payload.Write(video.bytes.value, 8) == 8;
  if (written && Mic) written = packet->payload.Write(audio.bytes.value, 8) == 8;
  frameCounter++;
  if (written) {
    if (iface == kUsb || iface == kEthernet) {
      const int kind = iface == kUsb ? kSchSourceUsbHost : kSchSourceEthernet;
      SchNet* net = dataPin_ >= 0 ? pins[dataPin_].net : nullptr;
      if (net && net->sourceKind == kind) {
        const bool hadSet = net->source && net->source->packets;
        if (!hadSet) net->source = &ownSource_;
        net->source->packets->Put(packet);
        if (remoteControl && hadSet) ReadControlPacket(net->source->packets, false);
      }
    } else if (iface == kWiFi && ssid[0]) {
      packets_->Put(packet);
      if (remoteControl) ReadControlPacket(packets_, false);
      LinkByRadio();
    }
  }
  packet->Release();
}

void CSCHCamera::LinkByRadio() {
  const Mat4f* antenna = sceneLink ? &sceneLink->antennaPose : nullptr;
  if (!antenna) return;
  const float kFull = 2 * kPi;
  if (wifiMode == kWiFiClientMode) {
    for (CSCHRouter* router = CSCHRouter::RadioListHead(); router; router = router->next) {
      if (router->mode != kElecRouterAccessPoint || wcscmp(router->ssid, ssid) != 0) continue;
      const float gain =
          ComputeRadioLinkGain(antenna, 2, kFull, kFull, power, 1, router->RadioPose(), router->radioAxis,
                               router->radioAround, router->radioAlong, router->P, router->publishedGain);
      if (!(gain > kElecRadioLinkThreshold)) continue;
      if (router->packets) packets_->Merge(router->packets);
      break;
    }
  } else if (wifiMode == kWiFiAdHocMode) {
    for (CBEWiFi* peer = BeWiFiRadioList::Head(); peer; peer = peer->next) {
      if (peer->mode != kWiFiAdHoc || wcscmp(peer->ssid, ssid) != 0) continue;
      const float gain = ComputeRadioLinkGain(antenna, 2, kFull, kPi, power, 1, peer->pose, peer->axis,
                                              peer->beamWidth1, peer->beamWidth2, peer->power, peer->gain);
      if (gain > kElecRadioLinkThreshold && peer->signalSource.packets)
        packets_->Merge(peer->signalSource.packets);
    }
  }
}

void CSCHCamera::Save(CStream* s) {
  WriteFloat(s, fieldOfView);
  for (float v : {U, I, Zoom, rotX, rotY, LoadTime, power}) WriteFloat(s, v);
  s->WriteByte(PoE);
  s->WriteByte((iface & 0x1F) | (sync << 5));
  s->WriteByte(Mic);
  s->WriteByte(wifiMode);
  for (int i = 0; i < kSsidUnits; i++) s->WriteInt16(i < kSsidUnits - 1 ? ssid[i] : 0);
  s->WriteByte(transmissionChannel);
  s->WriteByte(controlChannel);
  WriteFloat(s, ObjectiveDiameter);
  WriteFloat(s, ObjectiveLength);
  CSCHDevice::Save(s);
}

void CSCHCamera::Load(CStream* s) {
  // Read whole before anything changes: a cut record leaves the camera as
  // it was (the short read fails the scheme read).
  unsigned char b[kOwnRecordBytes];
  if (s->Read(b, kOwnRecordBytes) != kOwnRecordBytes) return;
  const int oldIface = iface;
  const unsigned char oldSync = sync, oldMic = Mic, oldPoE = PoE;
  const float oldZoom = Zoom, oldX = rotX, oldY = rotY;
  iface = b[33] & 0x1F;
  sync = static_cast<unsigned char>(b[33] >> 5);
  PoE = b[32];
  Mic = b[34];
  Zoom = ReadFloatAt(b + 12);
  rotX = ReadFloatAt(b + 16);
  rotY = ReadFloatAt(b + 20);
  if (!BuildPins()) {
    iface = oldIface;
    sync = oldSync;
    Mic = oldMic;
    PoE = oldPoE;
    Zoom = oldZoom;
    rotX = oldX;
    rotY = oldY;
    MarkSchemeRecordBroken(s);
    return;
  }
  fieldOfView = ReadFloatAt(b);
  U = ReadFloatAt(b + 4);
  I = ReadFloatAt(b + 8);
  LoadTime = ReadFloatAt(b + 24);
  power = ReadFloatAt(b + 28);
  wifiMode = b[35];
  // At most 15 characters: the field stays zero-terminated.
  for (int i = 0; i < kSsidUnits; i++)
    ssid[i] = i < kSsidUnits - 1 ? static_cast<wchar_t>(b[36 + 2 * i] | (b[37 + 2 * i] << 8)) : 0;
  transmissionChannel = b[68];
  controlChannel = b[69];
  ObjectiveDiameter = ReadFloatAt(b + 70);
  ObjectiveLength = ReadFloatAt(b + 74);
  CSCHDevice::Load(s);
}

bool CSCHCamera::EditRs485Settings() { return ShowCameraSettings(CCameraSettingsForm::kRs485, this); }
bool CSCHCamera::EditCameraSettings() { return ShowCameraSettings(CCameraSettingsForm::kCamera, this); }
bool CSCHCamera::EditWiFiSettings() { return ShowCameraSettings(CCameraSettingsForm::kWiFiCamera, this); }

CSCHBlock* CreateCSCHCamera() { return new (std::nothrow) CSCHCamera; }
