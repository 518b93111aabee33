#include "components/electronic/radio/antenna.h"

#include <cmath>
#include <cwchar>
#include <new>

#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "scheme/database/compdb_record.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/signal_source.h"
#include "scheme/simulation/sim_log.h"

namespace {

const float kDegrees = 3.1415927f / 180;
const wchar_t kBurntMessage[] = L"Антенна \"%s\" сгорела";
const float kBurnFactor = 1.4f;     // fed above 1.4 U the amplifier burns
const float kReverseLimit = -0.5f;  // volts
const float kOnFactor = 0.75f;      // fed below 0.75 U it is off the air
const int kMaxAxis = 2;

void TakeOffAir(SchNet* net) {
  net->sourceKind = kSchSourceOwnWeight;
  net->source = nullptr;
}

}  // namespace

CSCHAntenna::CSCHAntenna() {
  rect.right = rect.left + 40;
  rect.bottom = rect.top + 30;
  SetPinCount(1);
  if (pinCount == 1) {
    pins[0].description = L"ВЧ-разъем";
    pins[0].kind = kSchPinRf;
    pins[0].side = kSchSideBottom;
    pins[0].offset = 20;
  }
}

void CSCHAntenna::ApplyDbRecord(CompDbRecord* record) {
  if (record) {
    active = record->GetIntByName("active") != 0 ? 1 : 0;
    U = record->GetFloatByName("U");
    I = record->GetFloatByName("I");
    centreFrequency = record->GetFloatByName("freq");
    bandwidth = record->GetFloatByName("range");
    int a = record->GetIntByName("axis") & 0xFF;
    axis = static_cast<unsigned char>(a > kMaxAxis ? kMaxAxis : a);
    widthAround = record->GetFloatByName("around") * kDegrees;
    widthAlong = record->GetFloatByName("along") * kDegrees;
    gain = record->GetFloatByName("dBI");
  }
  CSCHDevice::ApplyDbRecord(record);
}

void CSCHAntenna::Paint(HDC dc) {
  CKestDcSelection selection(dc);
  selection.Select(GetStockObject(BLACK_PEN));
  int mast = rect.left + 20;
  MoveToEx(dc, mast, rect.bottom, nullptr);
  LineTo(dc, mast, rect.top);
  MoveToEx(dc, mast, rect.top + 20, nullptr);
  LineTo(dc, rect.left, rect.top);
  MoveToEx(dc, mast, rect.top + 20, nullptr);
  LineTo(dc, rect.right, rect.top);
  if (!instanceName) return;
  int length = static_cast<int>(wcslen(instanceName));
  SIZE size = {0, 0};
  GetTextExtentPoint32W(dc, instanceName, length, &size);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
  TextOutW(dc, (rect.left + rect.right - size.cx) / 2, rect.top - 4 - size.cy, instanceName, length);
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
}

void CSCHAntenna::Start() {
  sourceRecord.tag = kElecAntennaSourceTag;
  sourceRecord.owner = this;
  CSCHOutSensor::Start();
}

void CSCHAntenna::Step(float) {
  if (pinCount < 1 || !pins[0].net) return;
  SchNet* net = pins[0].net;
  if (burnt) {
    TakeOffAir(net);
    return;
  }
  float g = std::pow(10.0f, gain / 10);
  if (active) {
    float Uf = static_cast<float>(net->sumI);
    // A supply voltage that is no finite number never passes quietly.
    if (!std::isfinite(Uf) || !std::isfinite(U) || Uf > kBurnFactor * U || Uf < kReverseLimit) {
      burnt = 1;
      SimMessageLog::Global().AppendFormat(kBurntMessage, instanceName ? instanceName : L"");
      return;
    }
    if (Uf < kOnFactor * U || !(U > 0)) {
      TakeOffAir(net);
      return;
    }
    linearGain = g * Uf / U;
  } else {
    linearGain = g;
  }
  net->sourceKind = kSchSourceAntenna;
  net->source = reinterpret_cast<SchSignalSource*>(&sourceRecord);
}

CSCHAntenna* CSCHAntenna::FromNet(const SchNet* net) {
  if (!net || net->sourceKind != kSchSourceAntenna || !net->source) return nullptr;
  const SchAntennaSource* record = reinterpret_cast<const SchAntennaSource*>(net->source);
  if (record->tag != kElecAntennaSourceTag) return nullptr;
  return record->owner;
}

void CSCHAntenna::Save(CStream* s) {
  s->WriteByte(active);
  s->Write(&U, 4);
  s->Write(&I, 4);
  s->Write(&centreFrequency, 4);
  s->Write(&bandwidth, 4);
  s->WriteByte(axis);
  s->Write(&widthAround, 4);
  s->Write(&widthAlong, 4);
  s->Write(&gain, 4);
  CSCHDevice::Save(s);
}

void CSCHAntenna::Load(CStream* s) {
  active = s->ReadByte() != 0 ? 1 : 0;
  U = s->ReadFloat();
  I = s->ReadFloat();
  centreFrequency = s->ReadFloat();
  bandwidth = s->ReadFloat();
  int a = s->ReadByte();
  axis = static_cast<unsigned char>(a > kMaxAxis ? kMaxAxis : a);
  widthAround = s->ReadFloat();
  widthAlong = s->ReadFloat();
  gain = s->ReadFloat();
  CSCHDevice::Load(s);
}

CSCHBlock* CreateCSCHAntenna() { return new (std::nothrow) CSCHAntenna; }
