#include "units/computers/hard_drive.h"

#include <cstring>
#include <initializer_list>
#include <new>

#include "components/devices/device_text.h"
#include "foundation/numbers.h"
#include "foundation/random.h"
#include "foundation/stream.h"
#include "kestui/graphics/image.h"
#include "scheme/database/compdb_record.h"
#include "scheme/model/scheme_icons.h"
#include "scheme/model/scheme_stream.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/pin_model.h"

namespace {

// The class picture, loaded by the first Paint.
CKestImage g_hardDrivePicture;

const wchar_t kBurntMessage[] = L"Жесткий диск \"%s\" вышел из строя.";
const wchar_t kGroundWire[] = L"\"Земля\" (черный провод БП)";

// A burst of activity starts with this chance (of 32768) per idle step.
const int kBurstChance = 1092;
// The supply windows: burns outside [low, high], not ready below ready.
const float k5Low = -0.5f, k5High = 7, k5Ready = 4.5f;
const float k12Low = -2, k12High = 18, k12Ready = 11;

void SetPin(SchPin& p, int kind, const wchar_t* description, int offset) {
  p.name = nullptr;
  p.description = description;
  p.kind = kind;
  p.side = kSchSideTop;
  p.offset = offset;
}

float ReadFloatAt(const unsigned char* bytes) {
  float v;
  memcpy(&v, bytes, 4);
  return v;
}

// A load of a database power: 'volts squared over watts', or an open pin
// when the power is not positive.
float LoadOf(float voltsSquared, float watts) {
  if (!(watts > 0)) return kSchOpenResistance;
  return RoundToFloat(static_cast<double>(voltsSquared) / watts);
}

}  // namespace

CSCHHardDrive::CSCHHardDrive() {
  rect = RECT{0, 0, 92, 132};
  BuildPins();
}

bool CSCHHardDrive::BuildPins() {
  if (iface == kUsb) {
    if (!SetPinCount(1) || pinCount != 1) return false;
    SetPin(pins[0], kSchPinUsb, L"USB", 46);
    return true;
  }
  if (!SetPinCount(5) || pinCount != 5) return false;
  const bool ide = iface == kIde;
  SetPin(pins[kDataPin], ide ? 6 : 5, ide ? L"IDE-кабель" : L"SATA-кабель", 10);
  SetPin(pins[kPlus5Pin], kSchPinElectric, L"+5В (красный провод БП)", 40);
  SetPin(pins[kGround5Pin], kSchPinElectric, kGroundWire, 55);
  SetPin(pins[kGround12Pin], kSchPinElectric, kGroundWire, 70);
  SetPin(pins[kPlus12Pin], kSchPinElectric, L"+12В (желтый провод БП)", 85);
  return true;
}

void CSCHHardDrive::ApplyDbRecord(CompDbRecord* record) {
  if (record) {
    iface = static_cast<unsigned char>(record->GetIntByName("iface"));
    Pactive = record->GetFloatByName("Pactive");
    Pidle = record->GetFloatByName("Pidle");
    volume = record->GetFloatByName("volume");
  }
  CSCHDevice::ApplyDbRecord(record);
  BuildPins();
}

void CSCHHardDrive::Paint(HDC dc) {
  if (LoadSchemeIcon(&g_hardDrivePicture, L"hd.jpg")) g_hardDrivePicture.Draw(dc, rect.left, rect.top);
  PaintDeviceName(dc, this, (rect.left + rect.right - DeviceNameWidth(dc, this)) / 2, rect.bottom);
}

void CSCHHardDrive::JoinInternalNets() {
  if (iface == kUsb || pinCount < 5) return;
  SchNet* ground = pins[kGround5Pin].net;
  SchNet* other = pins[kGround12Pin].net;
  if (ground && other && other != ground) ground->Merge(other);
}

void CSCHHardDrive::Start() {
  activity_ = kSpinUpTime;
  ready_ = false;
  CSCHDevice::Start();
}

void CSCHHardDrive::MarkDataNet(int kind) {
  if (iface == kUsb || pinCount < 5) return;
  SchNet* net = pins[kDataPin].net;
  if (net) net->sourceKind = kind;
}

void CSCHHardDrive::Burn() {
  burnt = 1;
  ready_ = false;
  MarkDataNet(0);
  ReportDevice(this, kBurntMessage);
}

void CSCHHardDrive::Step(float dt) {
  if (burnt) return;
  if (iface == kUsb) {
    if (pinCount >= 1) SetPinSource(0, 0, LoadOf(25, Pactive));
    return;
  }
  if (pinCount < 5) return;
  float load12 = kIdle12Load;
  if (activity_ < 0) {
    if (NextRandom() < kBurstChance) activity_ = RoundToFloat(NextRandom() * 10.0 / kFoundationRandomMax);
  } else {
    activity_ -= dt;
    load12 = LoadOf(144, Pactive - Pidle);
  }
  ready_ = true;
  // The 5 V rail.
  const float load5 = LoadOf(25, Pidle);
  float U5 = 0, R5 = kSchOpenResistance, Ug = 0, Rg = kSchOpenResistance;
  GetPinInput(kPlus5Pin, &U5, &R5);
  GetPinInput(kGround5Pin, &Ug, &Rg);
  SetPinSource(kPlus5Pin, Ug, Rg + load5);
  SetPinSource(kGround5Pin, U5, R5 + load5);
  const float V5 = RoundToFloat((static_cast<double>(U5) - Ug) * load5 / (static_cast<double>(load5) + Rg + R5));
  if (!(V5 >= k5Low && V5 <= k5High)) {
    Burn();
    return;
  }
  if (V5 < k5Ready) ready_ = false;
  // The 12 V rail.
  float U12 = 0, R12 = kSchOpenResistance, Ug2 = 0, Rg2 = kSchOpenResistance;
  GetPinInput(kPlus12Pin, &U12, &R12);
  GetPinInput(kGround12Pin, &Ug2, &Rg2);
  SetPinSource(kPlus12Pin, Ug2, Rg2 + load12);
  SetPinSource(kGround12Pin, U12, R12 + load12);
  const float V12 =
      RoundToFloat((static_cast<double>(U12) - Ug2) * load12 / (static_cast<double>(load12) + Rg2 + R12));
  if (!(V12 >= k12Low && V12 <= k12High)) {
    Burn();
    return;
  }
  if (V12 < k12Ready) ready_ = false;
  MarkDataNet(ready_ ? (iface == kIde ? kReadyIdeKind : kReadySataKind) : 0);
}

void CSCHHardDrive::Save(CStream* s) {
  s->WriteByte(iface);
  for (float v : {Pactive, Pidle, volume}) s->Write(&v, 4);
  s->WriteByte(0);
  CSCHDevice::Save(s);
}

void CSCHHardDrive::Load(CStream* s) {
  // Read whole before anything changes: a cut record leaves the drive as it
  // was (the short read fails the scheme read).
  unsigned char b[kOwnRecordBytes];
  if (s->Read(b, kOwnRecordBytes) != kOwnRecordBytes) return;
  const unsigned char oldIface = iface;
  iface = b[0];
  if (!BuildPins()) {
    iface = oldIface;
    MarkSchemeRecordBroken(s);
    return;
  }
  Pactive = ReadFloatAt(b + 1);
  Pidle = ReadFloatAt(b + 5);
  volume = ReadFloatAt(b + 9);
  // b[13]: always written as 0, read and ignored.
  CSCHDevice::Load(s);
}

CSCHBlock* CreateCSCHHardDrive() { return new (std::nothrow) CSCHHardDrive; }
