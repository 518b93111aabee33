#include "components/electronic/power/power_supply.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "components/electronic/part_common.h"
#include "components/electronic/voltage_label.h"
#include "foundation/buffers.h"
#include "foundation/stream.h"
#include "scheme/database/compdb_record.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/sim_log.h"

namespace {

const wchar_t kProtectionMessage[] = L"В блоке питания \"%s\" сработала защита от короткого замыкания.";
const wchar_t kBurntMessage[] = L"Блок питания \"%s\" вышел из строя!";
const wchar_t kInputDescription[] = L"Входное напряжение";
const wchar_t kTitle[] = L"Блок питания";

const int kPinPitch = 20;
const float kBoardVolts = 5.0f;       // the board connector carries 5 V
const float kInputShunt = 100000.0f;  // the idle input, ohms
const float kLeastPower = 0.00001f;   // below it the input is idle
const float kSettleTime = 0.035f;     // seconds before the input is smoothed
const float kAcScale = 0.00614824f;   // mean |dU/dt| of a 50 Hz sine to its level
const float kAcTau = 0.5f;
const float kDcTau = 0.1f;
const float kStabilisedDivisor = 20.0f;
const float kPi = 3.1415927f;
const float kTwoPi = 6.2831855f;
const float kHalfPeriod = 0.01f;  // 50 Hz

bool Usable(float v) { return std::isfinite(v) && v > 0; }

void Report(CSCHBlock* b, const wchar_t* format) {
  SimMessageLog::Global().AppendFormat(format, b->instanceName ? b->instanceName : L"");
}

}  // namespace

CSCHPowerSupply::CSCHPowerSupply() { rect.right = rect.left + 250; }

CSCHPowerSupply::~CSCHPowerSupply() { FreePinNames(); }

void CSCHPowerSupply::FreePinNames() {
  for (int i = 0; i < pinCount; i++) {
    FreeBuffer(const_cast<wchar_t*>(pins[i].name));
    pins[i].name = nullptr;
  }
}

int CSCHPowerSupply::ExpectedPinCount() const {
  int n = 2;
  if (HasConnector()) n++;
  if (HasCommon()) n++;
  for (int i = 0; i < kElecPsuOutputCount; i++)
    if (outputVoltage[i] != 0) n++;
  return n;
}

float CSCHPowerSupply::OutputResistance(int i) const {
  float limit = outputCurrent[i];
  float k = Usable(limit) ? std::fabs(outputVoltage[i]) / limit : kSchOpenResistance;
  if (!std::isfinite(k)) k = kSchOpenResistance;
  if (stabilised) k /= kStabilisedDivisor;
  return k;
}

void CSCHPowerSupply::ApplyDbRecord(CompDbRecord* record) {
  if (record) {
    inputType = record->GetIntByName("InType") & 0xFF;
    inputVoltage = record->GetFloatByName("Uin");
    minimumInput = record->GetFloatByName("UinMin");
    maximumInput = record->GetFloatByName("UinMax");
    outputType = record->GetIntByName("OutType") & 0xFF;
    static const char* const kU[kElecPsuOutputCount] = {"Uout1", "Uout2", "Uout3", "Uout4", "Uout5", "Uout6"};
    static const char* const kI[kElecPsuOutputCount] = {"Iout1", "Iout2", "Iout3", "Iout4", "Iout5", "Iout6"};
    for (int i = 0; i < kElecPsuOutputCount; i++) {
      outputVoltage[i] = record->GetFloatByName(kU[i]);
      outputCurrent[i] = record->GetFloatByName(kI[i]);
    }
    stabilised = record->GetIntByName("stab") != 0 ? 1 : 0;
  }
  CSCHDevice::ApplyDbRecord(record);
  BuildPins();
}

void CSCHPowerSupply::BuildPins() {
  FreePinNames();
  int n = ExpectedPinCount();
  SetPinCount(n);
  if (pinCount != n) return;  // out of memory: the names are gone, the pins stay
  wchar_t text[64];
  wchar_t label[kElecVoltageLabelSize];
  for (int i = 0; i < n; i++) {
    pins[i].kind = kSchPinElectric;
    pins[i].number = -1;
  }
  swprintf(text, 64, inputType == kElecPsuAcInput ? L"Вход ~%dV" : L"Вход +%dV",
           std::fabs(inputVoltage) < 2147483520.0f ? static_cast<int>(inputVoltage) : 0);
  pins[kElecPsuInput].name = DupString(text);
  pins[kElecPsuInput].description = kInputDescription;
  pins[kElecPsuInput].side = kSchSideLeft;
  pins[kElecPsuInputGround].name = DupString(L"\"Земля\"");
  pins[kElecPsuInputGround].description = kInputDescription;
  pins[kElecPsuInputGround].side = kSchSideLeft;
  int p = 2;
  if (outputType == kElecPsuAtx24) {
    pins[p].name = DupString(L"ATX");
    pins[p].description = L"Стандартный разъем ATX 24";
    pins[p].kind = kSchPinAtx24;
    pins[p++].side = kSchSideRight;
  } else if (outputType == kElecPsuItx) {
    pins[p].name = DupString(L"ITX");
    pins[p].description = L"Стандартный разъем ITX";
    pins[p].kind = kSchPinItx;
    pins[p++].side = kSchSideRight;
  }
  if (HasCommon()) {
    pins[p].name = DupString(L"Общий");
    pins[p].description = L"Общий выход";
    pins[p++].side = kSchSideRight;
  }
  for (int i = 0; i < kElecPsuOutputCount; i++) {
    if (outputVoltage[i] == 0) continue;
    FormatVoltageLabel(label, outputVoltage[i], outputType == kElecPsuAcOutput1 && i == 0);
    swprintf(text, 64, L"Выход %ls", label);
    pins[p].name = DupString(text);
    pins[p].description = L"Выход";
    pins[p++].side = kSchSideRight;
  }
  rect.bottom = rect.top + (n - 1) * kPinPitch;
  SpacePins(true);
  int h = rect.bottom - rect.top;
  for (int i = 2; i < n; i++) pins[i].offset = h - pins[i].offset;
}

SchNet* CSCHPowerSupply::ConnectorNet() const {
  if (!HasConnector() || pinCount <= kElecPsuConnector) return nullptr;
  return pins[kElecPsuConnector].net;
}

void CSCHPowerSupply::SwitchOff(int first) {
  for (int i = first; i < pinCount; i++) SetPinSource(i, 0, kSchOpenResistance);
}

void CSCHPowerSupply::Start() {
  previousInput = 0;
  smoothedInput = 0;
  elapsedTime = 0;
  protectionTripped = 0;
  phase = 0;
  CSCHDevice::Start();
}

void CSCHPowerSupply::Step(float dt) {
  // Pins not yet made (no record, no document): nothing to drive.
  if (pinCount < 2 || pinCount != ExpectedPinCount()) return;
  SchNet* cable = ConnectorNet();
  if (burnt || protectionTripped) {
    SwitchOff(0);
    if (cable) cable->sumI = 0;
    return;
  }
  const int p0 = CommonPin();
  float k[kElecPsuOutputCount];
  for (int i = 0; i < kElecPsuOutputCount; i++) k[i] = OutputResistance(i);

  // The common point's voltage as all loads pull it.
  double sum = 0, G = 0;
  if (cable) {
    sum += kBoardVolts * cable->sumG;
    G += cable->sumG;
  }
  float Ui[kElecPsuOutputCount] = {}, Ri[kElecPsuOutputCount] = {};
  if (HasCommon()) {
    float Uc, Rc;
    GetPinInput(p0, &Uc, &Rc);
    sum += Uc / Rc;
    G += 1.0 / Rc;
    int pin = p0 + 1;
    for (int i = 0; i < kElecPsuOutputCount; i++) {
      if (outputVoltage[i] == 0) continue;
      GetPinInput(pin++, &Ui[i], &Ri[i]);
      sum += Ui[i] / (k[i] + Ri[i]);
      G += 1.0 / (k[i] + Ri[i]);
    }
  }
  float Vc = 0, RcRest = kSchOpenResistance;
  if (G > 0 && std::isfinite(G) && std::isfinite(sum)) {
    Vc = static_cast<float>(sum / G);
    RcRest = static_cast<float>(1.0 / G);
  }

  // The power the outputs deliver; an output drawing more than its limit
  // trips the protection.
  float P = 0;
  if (cable) P = static_cast<float>(kBoardVolts * kBoardVolts * cable->sumG);
  if (HasCommon()) {
    for (int i = 0; i < kElecPsuOutputCount; i++) {
      if (outputVoltage[i] == 0) continue;
      float I = (outputVoltage[i] + Vc - Ui[i]) / (Ri[i] + RcRest + k[i]);
      if (LimitViolated(std::fabs(I), outputCurrent[i])) {
        protectionTripped = 1;
        Report(this, kProtectionMessage);
        return;
      }
      P += I * outputVoltage[i];
    }
  }
  P = P * 100 / (Usable(efficiency) ? efficiency : 88.0f);

  // The input is a resistor carrying that power at the nominal voltage, in
  // parallel with the idle 100 kilohm.
  float U0, R0, U1, R1;
  GetPinInput(kElecPsuInput, &U0, &R0);
  GetPinInput(kElecPsuInputGround, &U1, &R1);
  float Rl = kInputShunt;
  if (P >= kLeastPower) {
    float Rload = inputVoltage * inputVoltage / P;
    if (std::isfinite(Rload) && Rload >= 0) Rl = Rload * kInputShunt / (Rload + kInputShunt);
  }
  SetPinSource(kElecPsuInput, U1, R1 + Rl);
  SetPinSource(kElecPsuInputGround, U0, R0 + Rl);

  elapsedTime += dt;
  float Ua = (U0 - U1) * Rl / (Rl + R0 + R1);
  if (inputType == kElecPsuAcInput) {
    float a = dt > 0 ? std::fabs(Ua - previousInput) / dt * kAcScale : 0;
    previousInput = Ua;
    if (elapsedTime < kSettleTime)
      smoothedInput = minimumInput + 0.1f;
    else
      smoothedInput += dt * (a - smoothedInput) / kAcTau;
  } else {
    if (elapsedTime < kSettleTime)
      smoothedInput = Ua;
    else
      smoothedInput += dt * (Ua - smoothedInput) / kDcTau;
  }

  if (smoothedInput < minimumInput) {
    SwitchOff(p0);
    if (cable) cable->sumI = 0;
    return;
  }
  if (LimitViolated(smoothedInput, maximumInput)) {
    burnt = 1;
    Report(this, kBurntMessage);
    return;
  }

  float g = 1;
  if (!stabilised) g = Usable(inputVoltage) ? smoothedInput / inputVoltage : 0;
  float g1 = g;
  if (outputType == kElecPsuAcOutput1) {
    g1 = std::sin(phase) * g;
    phase += dt * kPi / kHalfPeriod;
    while (phase > kTwoPi) phase -= kTwoPi;
  }
  if (cable) cable->sumI = kBoardVolts;
  if (!HasCommon()) return;
  float Uc, Rc;
  GetPinInput(p0, &Uc, &Rc);
  int pin = p0 + 1;
  for (int i = 0; i < kElecPsuOutputCount; i++) {
    if (outputVoltage[i] == 0) continue;
    SetPinSource(pin++, Uc + outputVoltage[i] * (i == 0 ? g1 : g), k[i] + Rc);
  }
}

void CSCHPowerSupply::JoinInternalNets() {
  CSCHDevice::JoinInternalNets();
  if (pinCount < 2 || !HasCommon()) return;
  int common = CommonPin();
  SchNet* ground = pins[kElecPsuInputGround].net;
  if (!ground || common >= pinCount) return;
  SchNet* other = pins[common].net;
  if (other && other != ground) ground->Merge(other);
}

void CSCHPowerSupply::Paint(HDC dc) {
  PaintBody(dc, RGB(204, 204, 204));
  COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
  int oldMode = SetBkMode(dc, TRANSPARENT);
  SIZE size = {0, 0};
  if (instanceName) {
    int n = static_cast<int>(wcslen(instanceName));
    GetTextExtentPoint32W(dc, instanceName, n, &size);
    TextOutW(dc, (rect.left + rect.right - size.cx) / 2, rect.top - size.cy - 4, instanceName, n);
  }
  int n = static_cast<int>(wcslen(kTitle));
  GetTextExtentPoint32W(dc, kTitle, n, &size);
  TextOutW(dc, (rect.left + rect.right - size.cx) / 2, rect.top + 4, kTitle, n);
  if (model) {
    n = static_cast<int>(strlen(model));
    GetTextExtentPoint32A(dc, model, n, &size);
    TextOutA(dc, (rect.left + rect.right - size.cx) / 2, rect.top + 24, model, n);
  }
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
}

void CSCHPowerSupply::Save(CStream* s) {
  s->WriteByte(inputType);
  s->Write(&inputVoltage, 4);
  s->Write(&minimumInput, 4);
  s->Write(&maximumInput, 4);
  s->WriteByte(outputType);
  s->Write(outputVoltage, 4 * kElecPsuOutputCount);
  s->Write(outputCurrent, 4 * kElecPsuOutputCount);
  s->Write(&efficiency, 4);
  s->WriteByte(stabilised);
  CSCHDevice::Save(s);
}

void CSCHPowerSupply::Load(CStream* s) {
  inputType = s->ReadByte();
  inputVoltage = s->ReadFloat();
  minimumInput = s->ReadFloat();
  maximumInput = s->ReadFloat();
  outputType = s->ReadByte();
  for (int i = 0; i < kElecPsuOutputCount; i++) outputVoltage[i] = s->ReadFloat();
  for (int i = 0; i < kElecPsuOutputCount; i++) outputCurrent[i] = s->ReadFloat();
  efficiency = s->ReadFloat();
  stabilised = static_cast<unsigned char>(s->ReadByte());
  BuildPins();
  CSCHDevice::Load(s);
}

CSCHBlock* CreateCSCHPowerSupply() { return new (std::nothrow) CSCHPowerSupply; }
