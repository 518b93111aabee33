#include "components/electronic/radio/router.h"

#include <cmath>
#include <cstring>
#include <cwchar>
#include <new>

#include "components/electronic/radio/antenna.h"
#include "components/electronic/radio/radio_link.h"
#include "components/electronic/radio/router_dialog.h"
#include "foundation/buffers.h"
#include "foundation/stream.h"
#include "scheme/database/compdb_record.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/packet_set.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/signal_source.h"
#include "scheme/simulation/sim_log.h"

namespace {

const float kDegrees = 3.1415927f / 180;
const wchar_t kFailedMessage[] = L"Роутер \"%s\" вышел из строя.";
const float kOverFactor = 1.5f;     // supply above 1.5 U burns it
const float kOwnReverse = -1.5f;    // volts on its own pins
const float kPoeReverse = -1.0f;    // volts over PoE
const float kOnFactor = 0.75f;      // supply above 0.75 U powers it
const float kBurntResistance = 5000000.0f;
const int kMinWidth = 120;
const int kPinPitch = 20;
const int kMaxAxis = 2;
const int kMaxLanCount = 255;  // the stream keeps it in a byte
const int kMaxAntennaKind = kElecRouterAntennaExternal;
const unsigned char kMaxMode = kElecRouterRepeater;

// The program's shared default placement of routers: nothing sets it.
Mat4f* g_defaultRouterPose = nullptr;
CSCHRouter* g_radioHead = nullptr;

int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

SchPacketSet* PacketsOfNet(const SchNet* net, int kind) {
  if (!net || net->sourceKind != kind || !net->source) return nullptr;
  return net->source->packets;
}

void MergeWith(SchPacketSet* own, SchPacketSet* other) {
  if (own && other && own != other) own->Merge(other);
}

}  // namespace

CSCHRouter::CSCHRouter() {
  rect.bottom = rect.top + 80;
  pose = g_defaultRouterPose;
  BuildPins();
}

CSCHRouter::~CSCHRouter() {
  delete packets;
  packets = nullptr;
  LeaveRadioList();
}

CSCHRouter* CSCHRouter::RadioListHead() { return g_radioHead; }

void CSCHRouter::JoinRadioList() {
  if (onAir) return;
  prev = nullptr;
  next = g_radioHead;
  if (g_radioHead) g_radioHead->prev = this;
  g_radioHead = this;
  onAir = 1;
}

void CSCHRouter::LeaveRadioList() {
  if (!onAir) return;
  onAir = 0;
  if (next) next->prev = prev;
  if (prev) prev->next = next;
  if (g_radioHead == this) g_radioHead = next;
  next = prev = nullptr;
}

void CSCHRouter::SetSsid(const wchar_t* text) {
  int n = 0;
  if (text)
    for (; n < kElecRouterSsidChars && text[n]; n++) ssid[n] = text[n];
  ssid[n] = 0;
}

void CSCHRouter::ApplyDbRecord(CompDbRecord* record) {
  if (record) {
    inputType = record->GetIntByName("inType");
    lanCount = Clamp(record->GetIntByName("LAN"), 0, kMaxLanCount);
    baudRate = record->GetIntByName("baudrate");
    U = record->GetFloatByName("U");
    I = record->GetFloatByName("I");
    powerKind = record->GetIntByName("powerKind");
    antennaKind = Clamp(record->GetIntByName("antenna"), 0, kMaxAntennaKind);
    repeaterAllowed = record->GetIntByName("repeater") != 0 ? 1 : 0;
    P = record->GetFloatByName("P");
    axis = static_cast<unsigned char>(Clamp(record->GetIntByName("axis") & 0xFF, 0, kMaxAxis));
    widthAround = record->GetFloatByName("around") * kDegrees;
    widthAlong = record->GetFloatByName("along") * kDegrees;
  }
  CSCHDevice::ApplyDbRecord(record);
  BuildPins();
}

void CSCHRouter::BuildPins() {
  int n = 0, spare = 0;
  if (powerKind == kElecRouterPowerOwn) {
    n = 2;
    spare = 2;
  }
  if (inputType == kElecRouterInputLan) {
    n += lanCount;
    spare += 2;
  } else if (inputType == kElecRouterInputUsb) {
    n += 1;
    spare += 2;
  }
  bool rf = antennaKind == kElecRouterAntennaOptional || antennaKind == kElecRouterAntennaExternal;
  if (rf) n += 1;
  else spare = 0;
  SetPinCount(n);
  if (pinCount != n) return;  // out of memory: the pins stay as they were
  int width = (n + spare) * kPinPitch;
  rect.right = rect.left + (width > kMinWidth ? width : kMinWidth);
  int k = 0, x = 10;
  auto place = [&](const wchar_t* name, const wchar_t* description, int kind, int offset) {
    SchPin& p = pins[k++];
    p.name = name;
    p.description = description;
    p.kind = kind;
    p.side = kSchSideBottom;
    p.offset = offset;
  };
  if (powerKind == kElecRouterPowerOwn) {
    place(L"+", L"Вход питания", kSchPinElectric, 10);
    place(L"-", L"Вход питания", kSchPinElectric, 30);
    x = 90;
  }
  if (inputType == kElecRouterInputLan) {
    for (int i = 0; i < lanCount; i++) {
      place(L"LAN", L"Ethernet", kSchPinEthernet, x);
      x += 20;
    }
    x += 40;
  } else if (inputType == kElecRouterInputUsb) {
    place(L"USB", L"USB-клиент", kSchPinUsb, x);
    x += 60;
  }
  if (rf)
    place(L"ВЧ",
          antennaKind == kElecRouterAntennaOptional ? L"Опциональное подключение внешней антенны"
                                                : L"Обязательное подключение внешней антенны",
          kSchPinRf, x);
}

void CSCHRouter::Paint(HDC dc) {
  PaintBody(dc, RGB(255, 255, 153));
  COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
  int oldMode = SetBkMode(dc, TRANSPARENT);
  SIZE size = {0, 0};
  if (instanceName) {
    int length = static_cast<int>(wcslen(instanceName));
    GetTextExtentPoint32W(dc, instanceName, length, &size);
    TextOutW(dc, (rect.left + rect.right - size.cx) / 2, rect.top - 4 - size.cy, instanceName, length);
  }
  static const wchar_t kTitle[] = L"Роутер";
  int titleLength = static_cast<int>(wcslen(kTitle));
  GetTextExtentPoint32W(dc, kTitle, titleLength, &size);
  TextOutW(dc, (rect.left + rect.right - size.cx) / 2, rect.top + 4, kTitle, titleLength);
  if (model) {
    size_t length = strlen(model);
    int n = length > 0x7FFF ? 0x7FFF : static_cast<int>(length);
    GetTextExtentPoint32A(dc, model, n, &size);
    TextOutA(dc, (rect.left + rect.right - size.cx) / 2, rect.top + 24, model, n);
  }
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
}

bool CSCHRouter::Edit() {
  if (antennaKind == kElecRouterAntennaNone) return false;
  return ShowRouterDialog(this);
}

void CSCHRouter::Start() {
  delete packets;
  packets = new (std::nothrow) SchPacketSet;
  publishedGain = 1.0f;
  CSCHOutSensor::Start();
}

void CSCHRouter::Stop() {
  // Off the air first, so that no one walking the list meets a router
  // without packets.
  LeaveRadioList();
  delete packets;
  packets = nullptr;
  CSCHOutSensor::Stop();
}

void CSCHRouter::Step(float) {
  if (burnt) return;
  // A supply current of 0 draws nothing: the load is open.
  float Rl = I > 0 && std::isfinite(I) ? U / I : kBurntResistance;
  if (!std::isfinite(Rl) || Rl < kSchMinResistance) Rl = kSchMinResistance;
  int k = 0;
  float g = 1.0f;
  bool powered = false;
  auto fail = [&]() {
    LeaveRadioList();
    burnt = 1;
    SimMessageLog::Global().AppendFormat(kFailedMessage, instanceName ? instanceName : L"");
  };
  if (powerKind == kElecRouterPowerOwn) {
    if (pinCount < 2) return;
    float U0, R0, U1, R1;
    GetPinInput(0, &U0, &R0);
    GetPinInput(1, &U1, &R1);
    SetPinSource(0, U1, R1 + Rl);
    SetPinSource(1, U0, R0 + Rl);
    float sum = Rl + R0 + R1;
    float Uin = sum > 0 ? (U0 - U1) * Rl / sum : 0;
    if (!std::isfinite(Uin) || !std::isfinite(U) || Uin < kOwnReverse || Uin > kOverFactor * U) {
      SetPinSource(0, 0, kBurntResistance);
      SetPinSource(1, 0, kBurntResistance);
      fail();
      return;
    }
    powered = Uin > kOnFactor * U;
    k = 2;
  } else if (powerKind == kElecRouterPowerPoe) {
    if (inputType == kElecRouterInputLan && pinCount > 0 && pins[0].net) {
      SchNet* net = pins[0].net;
      net->sumG = 1.0 / Rl;
      float Uf = static_cast<float>(net->sumI);
      if (!std::isfinite(Uf) || !std::isfinite(U) || Uf < kPoeReverse || Uf > kOverFactor * U) {
        fail();
        return;
      }
      powered = Uf > kOnFactor * U;
    }
  } else if (powerKind == kElecRouterPowerUsb) {
    powered = inputType == kElecRouterInputUsb && pinCount > 0 && pins[0].net;
  }
  if (!powered) {
    LeaveRadioList();
    return;
  }
  if (inputType == kElecRouterInputLan) {
    for (int i = 0; i < lanCount && k + i < pinCount; i++)
      MergeWith(packets, PacketsOfNet(pins[k + i].net, kSchSourceEthernet));
    k += lanCount;
  } else if (inputType == kElecRouterInputUsb) {
    if (k < pinCount) MergeWith(packets, PacketsOfNet(pins[k].net, kSchSourceUsbHost));
    k += 1;
  }
  if (antennaKind == kElecRouterAntennaNone) return;
  radioPose = pose;
  radioAxis = axis;
  radioAround = widthAround;
  radioAlong = widthAlong;
  SchNet* rfNet = k < pinCount ? pins[k].net : nullptr;
  bool external = (antennaKind == kElecRouterAntennaOptional || antennaKind == kElecRouterAntennaExternal) && rfNet;
  if (antennaKind == kElecRouterAntennaExternal && !rfNet) return;
  if (external) {
    CSCHAntenna* antenna = CSCHAntenna::FromNet(rfNet);
    if (!antenna) return;
    radioPose = antenna->pose;
    radioAxis = antenna->axis;
    radioAround = antenna->widthAround;
    radioAlong = antenna->widthAlong;
    g = RadioOffBandFactor(antenna->centreFrequency, antenna->bandwidth) * antenna->linearGain;
  }
  JoinRadioList();
  if (!ssid[0]) return;
  auto link = [&](CSCHRouter* other) {
    if (!other->packets || !packets) return false;
    float s = ComputeRadioLinkGain(radioPose, radioAxis, radioAround, radioAlong, P, g, other->radioPose,
                                   other->radioAxis, other->radioAround, other->radioAlong, other->P,
                                   other->publishedGain);
    if (!(s > kElecRadioLinkThreshold)) return false;
    MergeWith(packets, other->packets);
    return true;
  };
  auto sameSsid = [&](const CSCHRouter* other) { return wcscmp(ssid, other->ssid) == 0; };
  switch (mode) {
    case kElecRouterClient:
      for (CSCHRouter* r = g_radioHead; r; r = r->next)
        if (r != this && r->mode == kElecRouterAccessPoint && sameSsid(r) && link(r)) break;
      break;
    case kElecRouterBridge:
      for (CSCHRouter* r = next; r; r = r->next)
        if (r->mode == kElecRouterBridge && sameSsid(r) && link(r)) break;
      break;
    case kElecRouterMultipointBridge:
      for (CSCHRouter* r = next; r; r = r->next)
        if (r->mode == kElecRouterMultipointBridge && sameSsid(r)) link(r);
      break;
    case kElecRouterRepeater:
      for (CSCHRouter* r = g_radioHead; r; r = r->next) {
        if (r == this) continue;
        if (r->mode == kElecRouterBridge || r->mode == kElecRouterClient ||
            (r->mode == kElecRouterRepeater && sameSsid(r)))
          link(r);
      }
      break;
    default:
      break;
  }
}

void CSCHRouter::Save(CStream* s) {
  s->WriteInt32(inputType);
  s->WriteByte(lanCount & 0xFF);
  s->WriteInt32(baudRate);
  s->Write(&U, 4);
  s->Write(&I, 4);
  s->WriteByte(powerKind & 0xFF);
  s->WriteInt32(antennaKind);
  s->WriteByte(repeaterAllowed);
  s->Write(&P, 4);
  s->WriteByte(axis);
  s->Write(&widthAround, 4);
  s->Write(&widthAlong, 4);
  s->WriteByte(mode);
  s->WriteStringW(ssid);
  CSCHDevice::Save(s);
}

void CSCHRouter::Load(CStream* s) {
  inputType = s->ReadInt32();
  lanCount = s->ReadByte();
  baudRate = s->ReadInt32();
  U = s->ReadFloat();
  I = s->ReadFloat();
  powerKind = s->ReadByte();
  antennaKind = Clamp(s->ReadInt32(), 0, kMaxAntennaKind);
  repeaterAllowed = s->ReadByte() != 0 ? 1 : 0;
  P = s->ReadFloat();
  axis = static_cast<unsigned char>(Clamp(s->ReadByte(), 0, kMaxAxis));
  widthAround = s->ReadFloat();
  widthAlong = s->ReadFloat();
  int m = s->ReadByte();
  mode = static_cast<unsigned char>(m > kMaxMode ? kMaxMode : m);
  wchar_t* text = s->ReadStringW();
  if (text && text[0]) SetSsid(text);
  FreeBuffer(text);
  BuildPins();
  CSCHDevice::Load(s);
}

CSCHBlock* CreateCSCHRouter() { return new (std::nothrow) CSCHRouter; }
