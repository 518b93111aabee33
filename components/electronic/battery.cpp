#include "components/electronic/battery.h"

#include <cmath>
#include <cwchar>
#include <new>

#include "foundation/stream.h"
#include "kestui/graphics/image.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "scheme/database/compdb_record.h"
#include "scheme/model/scheme.h"
#include "scheme/model/scheme_icons.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/sim_log.h"

namespace {

// The picture every battery shows, loaded on the first paint.
CKestImage g_batteryPicture;

const wchar_t kExplodedMessage[] = L"Взорвалась батарея %s!";
const wchar_t kDischargedMessage[] = L"Батарея %s полностью разряжена!";
const wchar_t kRuinedMessage[] = L"Батарея %s разряжена до состояния, неподлежащего восстановлению.";
const float kReferenceResistance = 0.00001f;
const int kNameAreaWidth = 96;  // the name is centred over this width

void Report(CSCHBattery* b, const wchar_t* format) {
  SimMessageLog::Global().AppendFormat(format, b->instanceName ? b->instanceName : L"");
}

}  // namespace

float BatteryEmf(float U, int type, float d) {
  float E;
  switch (type) {
    case 0:
      E = U * (1.1416667f - 0.8f * d);
      break;
    case 1:
    case 3:
    case 5:
      E = U * (1 - std::exp(-5 * (1.4f - d)) + 0.1f * std::exp(-20 * d));
      break;
    case 2:
      E = U * (1 - std::exp((d - 1) / 0.01f) - 0.1f * d - 0.05f * std::exp((-d - 0.2f) / 0.1f));
      break;
    case 4:
      E = U * (1 - 0.4f * d - 0.6f * std::exp((d - 1) / 0.05f));
      break;
    default:
      E = U;
      break;
  }
  // A negative force (or none a number) drives nothing.
  return E > 0 ? E : 0;
}

CSCHBattery::CSCHBattery() {
  rect = RECT{0, 0, 90, 80};
  SetPinCount(2);
  if (pinCount == 2) {
    pins[kElecBatteryMinus].description = L"Минус";
    pins[kElecBatteryMinus].side = kSchSideLeft;
    pins[kElecBatteryMinus].offset = 23;
    pins[kElecBatteryPlus].description = L"Плюс";
    pins[kElecBatteryPlus].side = kSchSideRight;
    pins[kElecBatteryPlus].offset = rect.bottom - 23;
  }
}

void CSCHBattery::ApplyDbRecord(CompDbRecord* record) {
  if (record) {
    nominalVoltage = record->GetFloatByName("U");
    capacity = record->GetFloatByName("Q");
    dischargeType = static_cast<unsigned char>(record->GetIntByName("type"));
    internalResistance = record->GetFloatByName("R");
  }
  CSCHDevice::ApplyDbRecord(record);
}

void CSCHBattery::Paint(HDC dc) {
  if (LoadSchemeIcon(&g_batteryPicture, L"battery.png"))
    g_batteryPicture.Draw(dc, rect.left, rect.top);
  if (!instanceName) return;
  int length = static_cast<int>(wcslen(instanceName));
  SIZE size = {0, 0};
  GetTextExtentPoint32W(dc, instanceName, length, &size);
  COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
  TextOutW(dc, rect.left + (kNameAreaWidth - size.cx) / 2, rect.bottom, instanceName, length);
  SetTextColor(dc, oldColor);
}

void CSCHBattery::Start() {
  // The role is taken afresh in every run, so that a rewired scheme never
  // keeps a reference that an earlier run gave.
  groundReference = 0;
  if (scheme && scheme->startedToken && pinCount == 2 && pins[kElecBatteryMinus].net &&
      pins[kElecBatteryPlus].net) {
    groundReference = 1;
    scheme->startedToken = 0;
  }
  charge = capacity;
  burnt = 0;
  dischargedWarningGiven = 0;
  stepCounter = 0;
  CSCHDevice::Start();
}

void CSCHBattery::Step(float dt) {
  float Um, Rm, Up, Rp;
  GetPinInput(kElecBatteryMinus, &Um, &Rm);
  GetPinInput(kElecBatteryPlus, &Up, &Rp);
  const float R = internalResistance;
  float E = 0;
  if (!burnt) {
    // A battery without a capacity counts as empty.
    float d = capacity > 0 ? static_cast<float>((capacity - charge) / capacity) : 1.0f;
    E = BatteryEmf(nominalVoltage, dischargeType, d);
    float I = 0;
    if (stepCounter != 0) {
      float sum = Rm + Rp + R;
      if (sum > 0) I = (E - Up + Um) / sum;
    }
    stepCounter++;
    charge -= static_cast<double>(I) * dt / 3600;
    double Q = capacity;
    // A charge or capacity that is no finite number (a corrupt document)
    // breaks the first limit rather than running on unchecked.
    if (!std::isfinite(charge) || !std::isfinite(Q) || charge > 1.1 * Q) {
      burnt = 1;
      Report(this, kExplodedMessage);
    } else if (charge < 0 && !dischargedWarningGiven) {
      dischargedWarningGiven = 1;
      Report(this, kDischargedMessage);
    } else if (charge < -Q / 10) {
      burnt = 1;
      Report(this, kRuinedMessage);
    } else if (charge > Q / 20) {
      dischargedWarningGiven = 0;
    }
  }
  if (groundReference) {
    SetPinSource(kElecBatteryMinus, 0, kReferenceResistance);
    Um = 0;
    Rm = kReferenceResistance;
  } else {
    SetPinSource(kElecBatteryMinus, Up - E, Rp + R);
  }
  SetPinSource(kElecBatteryPlus, Um + E, Rm + R);
}

void CSCHBattery::Save(CStream* s) {
  CSCHDevice::Save(s);
  s->Write(&nominalVoltage, 4);
  s->Write(&capacity, 4);
  s->WriteByte(dischargeType);
  s->Write(&internalResistance, 4);
}

void CSCHBattery::Load(CStream* s) {
  CSCHDevice::Load(s);
  nominalVoltage = s->ReadFloat();
  capacity = s->ReadFloat();
  dischargeType = static_cast<unsigned char>(s->ReadByte());
  internalResistance = s->ReadFloat();
}

void CSCHBattery::SaveRunState(CStream* s) {
  CSCHDevice::SaveRunState(s);
  s->WriteByte(dischargedWarningGiven);
  float stored = static_cast<float>(charge);
  s->Write(&stored, 4);
}

bool CSCHBattery::LoadRunState(CStream* s) {
  if (!CSCHDevice::LoadRunState(s)) return false;
  dischargedWarningGiven = static_cast<unsigned char>(s->ReadByte());
  charge = s->ReadFloat();
  return true;
}

CSCHBlock* CreateCSCHBattery() { return new (std::nothrow) CSCHBattery; }
