#include "components/electronic/power/custom_dcdc.h"

#include <cmath>

#include "components/electronic/part_common.h"
#include "foundation/stream.h"
#include "scheme/database/compdb_record.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/sim_log.h"

namespace {

const wchar_t kBurntMessage[] = L"DC-DC преобразователь \"%s\" вышел из строя";
const float kLeastOutputResistance = 0.001f;
const float kLeastPower = 0.00001f;
const float kDefaultEfficiency = 67.0f;

bool Usable(float v) { return std::isfinite(v) && v > 0; }

unsigned char ClampType(int type) {
  return type >= 0 && type <= kElecDcdcLastType ? static_cast<unsigned char>(type) : kElecDcdcSingle;
}

// The conductance of a resistance the pin model gave (never below 1e-5).
float Conductance(float R) { return R > 0 ? 1.0f / R : 1.0f / kSchMinResistance; }

}  // namespace

CCustomDCDC::CCustomDCDC() {
  namePrefix = L"DCDC";
  rect.right = rect.left + 150;
  rect.bottom = rect.top + 200;
}

bool CCustomDCDC::PinsReady() const {
  const int roles[4] = {inputPlus, inputMinus, output1Plus, output1Minus};
  for (int r : roles)
    if (r < 0 || r >= pinCount) return false;
  if (type != kElecDcdcSingle) {
    if (output2Plus < 0 || output2Plus >= pinCount) return false;
    if (output2Minus < 0 || output2Minus >= pinCount) return false;
  }
  return true;
}

void CCustomDCDC::ApplyDbRecord(CompDbRecord* record) {
  if (record) {
    minimumInput = record->GetFloatByName("Umin");
    maximumInput = record->GetFloatByName("Umax");
    nominalInput = record->GetFloatByName("Unom");
    outputVoltage1 = record->GetFloatByName("Uout1");
    outputVoltage2 = record->GetFloatByName("Uout2");
    outputCurrent = record->GetFloatByName("Iout");
    efficiency = record->GetFloatByName("efficiency");
    type = ClampType(record->GetIntByName("type") & 0xFF);
    noLoadCurrent = record->GetFloatByName("InoLoad");
    stabilised = record->GetIntByName("stab") != 0 ? 1 : 0;
  }
  CSCHBlock::ApplyDbRecord(record);
  BuildPins();
}

void CCustomDCDC::Start() {
  burnt = 0;
  CSCHBlock::Start();
}

void CCustomDCDC::Step(float) {
  if (!PinsReady()) return;
  if (burnt) {
    DriveBurntPins(this);
    return;
  }
  float Uip, Rip, Uim, Rim, Up1, Rp1, Un1, Rn1, Up2 = 0, Rp2 = kSchOpenResistance, Un2 = 0,
                                                 Rn2 = kSchOpenResistance;
  GetPinInput(inputPlus, &Uip, &Rip);
  GetPinInput(inputMinus, &Uim, &Rim);
  GetPinInput(output1Plus, &Up1, &Rp1);
  GetPinInput(output1Minus, &Un1, &Rn1);

  // The power the loads draw; an overloaded converter draws none of it.
  bool overload = false;
  float R1 = Rp1 + Rn1;
  if (R1 < kLeastOutputResistance) R1 = kLeastOutputResistance;
  float I1 = std::fabs(outputVoltage1) / R1;
  if (LimitViolated(I1, outputCurrent)) overload = true;
  float P = std::fabs(outputVoltage1) * I1;
  if (type == kElecDcdcDual || type == kElecDcdcSeparate) {
    GetPinInput(output2Plus, &Up2, &Rp2);
    GetPinInput(output2Minus, &Un2, &Rn2);
    float R2 = Rp2 + Rn2;
    if (R2 < kLeastOutputResistance) R2 = kLeastOutputResistance;
    float I2 = std::fabs(outputVoltage2) / R2;
    if (LimitViolated(I2, outputCurrent)) overload = true;
    P += std::fabs(outputVoltage2) * I2;
  }
  if (overload) P = 0;
  P = P / ((Usable(efficiency) ? efficiency : kDefaultEfficiency) / 100);

  // The input: the no-load resistance, in parallel with the resistance that
  // draws P at the nominal voltage.
  float Rnl = Usable(noLoadCurrent) && Usable(nominalInput) ? nominalInput / noLoadCurrent : kSchOpenResistance;
  if (!Usable(Rnl)) Rnl = kSchOpenResistance;
  float Rin = Rnl;
  if (P >= kLeastPower) {
    float Rload = nominalInput * nominalInput / P;
    if (Usable(Rload)) Rin = Rload * Rnl / (Rload + Rnl);
  }
  float Ua = (Uip - Uim) * Rin / (Rin + Rip + Rim);
  if (LimitViolated(Ua, maximumInput)) {
    burnt = 1;
    SimMessageLog::Global().AppendFormat(kBurntMessage, instanceName ? instanceName : L"");
    return;
  }
  SetPinSource(inputPlus, Uim, Rim + Rin);
  SetPinSource(inputMinus, Uip, Rip + Rin);

  if (Ua < minimumInput) {
    if (type == kElecDcdcSeparate) {
      SetPinSource(output2Plus, 0, kSchOpenResistance);
      SetPinSource(output2Minus, 0, kSchOpenResistance);
    } else if (type == kElecDcdcDual) {
      SetPinSource(output2Minus, 0, kSchOpenResistance);
    }
    SetPinSource(output1Minus, 0, kSchOpenResistance);
    SetPinSource(output1Plus, 0, kSchOpenResistance);
    return;
  }

  float g = 1;
  if (!stabilised) g = Usable(nominalInput) ? Ua / nominalInput : 0;
  float E1 = outputVoltage1 * g, E2 = outputVoltage2 * g;
  if (type == kElecDcdcDual) {
    // Each of the three pins at the weighted mean of what the other two
    // imply for it.
    float gn2 = Conductance(Rn2), gn1 = Conductance(Rn1), gp1 = Conductance(Rp1);
    float G = gn2 + gn1;
    float X = (Un2 - E2) * gn2 + Un1 * gn1;
    SetPinSource(output1Plus, X / G + E1, 1 / G);
    G = gp1 + gn2;
    X = (Up1 - E1) * gp1 + (Un2 - E2) * gn2;
    SetPinSource(output1Minus, X / G, 1 / G);
    G = gp1 + gn1;
    X = (Up1 - E1) * gp1 + Un1 * gn1;
    SetPinSource(output2Minus, X / G + E2, 1 / G);
    return;
  }
  SetPinSource(output1Plus, Un1 + E1, Rn1);
  SetPinSource(output1Minus, Up1 - E1, Rp1);
  if (type == kElecDcdcSeparate) {
    SetPinSource(output2Plus, Un2 + E2, Rn2);
    SetPinSource(output2Minus, Up2 - E2, Rp2);
  }
}

void CCustomDCDC::Save(CStream* s) {
  const float head[6] = {minimumInput, maximumInput, nominalInput, outputVoltage1, outputVoltage2,
                         outputCurrent};
  s->Write(head, sizeof head);
  s->Write(&efficiency, 4);
  s->WriteByte(type);
  s->WriteByte(stabilised);
  s->Write(&noLoadCurrent, 4);
  CSCHBlock::Save(s);
}

void CCustomDCDC::Load(CStream* s) {
  minimumInput = s->ReadFloat();
  maximumInput = s->ReadFloat();
  nominalInput = s->ReadFloat();
  outputVoltage1 = s->ReadFloat();
  outputVoltage2 = s->ReadFloat();
  outputCurrent = s->ReadFloat();
  efficiency = s->ReadFloat();
  type = ClampType(s->ReadByte());
  stabilised = static_cast<unsigned char>(s->ReadByte());
  noLoadCurrent = s->ReadFloat();
  BuildPins();
  CSCHBlock::Load(s);
}
