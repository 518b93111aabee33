#include "components/electronic/usb/ft232rl.h"

#include <cmath>
#include <new>

#include "components/electronic/chips/chip_text.h"
#include "components/electronic/discrete/capacitor.h"
#include "components/electronic/usb/circuit_parts.h"
#include "components/electronic/usb/uart_settings_form.h"
#include "foundation/stream.h"
#include "scheme/board/pcb_painter.h"
#include "scheme/model/scheme.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/packet_set.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"
#include "scheme/simulation/signal_source.h"
#include "scheme/simulation/sim_log.h"

namespace {

const wchar_t kBurntMessage[] = L"Драйвер FT232RL (\"%s\") вышел из строя";

const float kCoreResistance = 333.33334f;
const float kUartResistance = 7142.8574f;
const float kCoreMinimum = 3.1f;          // below: 3VOUT released, TXD low
const float kSupplyLow = -0.5f, kSupplyHigh = 6.0f;
const float kUsbLow = -0.5f, kUsbHigh = 5.5f;
const float kUsbLevel = 3.0f;
const float kOutputResistance = 150.0f;
const float kRegulatorVolts = 3.3f, kRegulatorResistance = 55.0f;
const float kPullUp = 40000.0f;
const float kUartWorking = 1.8f;          // VCCIO above: the UART side works
const float kLeastLoad = 100.0f;          // TXD loaded by less burns
const float kInputResistance = 16000.0f;
const float kInputLevel = 1.8f;
const float kInputMargin = 2.0f;          // RXD may rise this far above VCCIO

struct PinText {
  const wchar_t* name;
  const wchar_t* description;
  int number;
};
const PinText kPins[28] = {
    {L"VCCIO", L"+3.3V..+5.2V питание группы контактов UART", 4},
    {L"VCC", L"+3.3V...+5.2V питание ядра устройства", 20},
    {L"USBDM", L"USB D-", 16},
    {L"USBDP", L"USB D+", 15},
    {L"NC", L"Не подключено", 8},
    {L"~RESET", L"Сброс", 19},
    {L"NC", L"Не подключено", 24},
    {L"OSCI", L"Кварцевый резонатор 12 МГц, опционально", 27},
    {L"OSCO", L"Кварцевый резонатор 12 МГц, опционально", 28},
    {L"3VOUT", L"Выход +3.3V, 50мА", 17},
    {L"AGND", L"Аналоговая \"Земля\"", 25},
    {L"GND", L"\"Земля\"", 7},
    {L"GND", L"\"Земля\"", 18},
    {L"GND", L"\"Земля\"", 21},
    {L"TEST",
     L"Перевод утройства в режим внутреннего самотестирования. Должна быть подключена к \"Земле\" в обычном режиме",
     26},
    {L"CBUS4", L"Перепрограммируемый. По умолчанию - SLEEP#", 12},
    {L"CBUS3/PWREN#", L"Перепрограммируемый. По умолчанию - PWREN#", 14},
    {L"CBUS2/TXEN", L"Перепрограммируемый. По умолчанию - TXEN", 13},
    {L"CBUS1", L"Перепрограммируемый. По умолчанию - RXLED", 22},
    {L"CBUS0", L"Перепрограммируемый. По умолчанию - TXLED", 23},
    {L"~RI", L"Выход индикатора вызова (Ring Indicator)", 6},
    {L"~DCD", L"Вход Data Carrier Detect", 10},
    {L"~DSR", L"Вход Data Set Ready", 9},
    {L"~DTR", L"Выход Data Terminal Ready", 2},
    {L"~CTS", L"Вход Clear To Send", 11},
    {L"~RTS", L"Выход Request To Send", 3},
    {L"RXD", L"Вход асинхронной передачи данных (UART)", 5},
    {L"TXD", L"Выход асинхронной передачи данных (UART)", 1},
};

bool Outside(float v, float low, float high) { return !(v >= low && v <= high); }

// An input with a pull-up of 40000 ohms to Uv behind Rv.
float PulledUp(float U, float R, float Uv, float Rv) { return U + (Uv - U) * R / (R + Rv + kPullUp); }

}  // namespace

CFT232RL::CFT232RL() {
  namePrefix = L"DD";
  SetPinCount(28);
  footprintWidth = 7.8f;
  footprintLength = 10.2f;
  rect.right = rect.left + 150;
  rect.bottom = rect.top + 250;
  if (pinCount != 28) return;
  for (int i = 0; i < 28; i++) {
    pins[i].side = i < 10 ? kSchSideLeft : (i < 15 ? kSchSideBottom : kSchSideRight);
    pins[i].name = kPins[i].name;
    pins[i].description = kPins[i].description;
    pins[i].number = kPins[i].number;
  }
  SpacePins(true);
}

CFT232RL::~CFT232RL() { delete ownPackets; }

void CFT232RL::ApplyDbRecord(CompDbRecord* record) {
  CSCHBlock::ApplyDbRecord(record);
  AddApplicationCircuit();
}

void CFT232RL::AddApplicationCircuit() {
  if (!scheme) return;
  DeleteCircuit(this);
  const float x = boardX, y = boardY, L = footprintLength;
  auto at = [this](int pin, int dx, int dy) {
    POINT p = GetPinAnchor(pin);
    return POINT{p.x + dx, p.y + dy};
  };
  // The pull-up of PWREN#.
  CSCHBlock* r = AddCircuitPart(this, "Resister", kElecCircuitPartFlags);
  if (r) {
    r->orientation = 1;
    r->boardX = x;
    r->boardY = y + L / 2 + 2.54f + 1.27f + 2.54f;
    POINT p = at(kElecFtPWREN, 50, 20);
    r->MoveTo(p.x, p.y);
    if (r->pinCount > 1) r->pins[1].description = L"Подключить к +VccIO";
    AddCircuitWire(scheme, this, kElecFtPWREN, r, 0, {});
  }
  // The decoupling capacitor of 3VOUT.
  CSCHBlock* c = AddCircuitPart(this, "Capacitor", kElecCircuitPartFlags);
  if (c) {
    if (CCapacitor* cap = dynamic_cast<CCapacitor*>(c)) {
      cap->capacitance = 1e-7f;
      cap->kind = kElecCapacitorChip;
      cap->ratedVoltage = 16;
      cap->UpdateBodySize();
    }
    c->orientation = 1;
    c->boardX = x;
    c->boardY = y + L / 2 + 2.54f + 1.27f;
    POINT p = at(kElecFt3VOUT, -80, 30);
    c->MoveTo(p.x, p.y);
  }
  const int yG = GetPinAnchor(kElecFt3VOUT).y + 80;
  CSCHBlock* g = AddCircuitPart(this, "GND", kElecCircuitWireFlags);
  if (g) g->MoveTo(GetPinAnchor(kElecFt3VOUT).x - 80 + 6, yG);
  if (c) {
    AddCircuitWire(scheme, this, kElecFt3VOUT, c, 0, {});
    if (g) AddCircuitWire(scheme, c, 1, g, 0, {yG - 15});
  }
  for (int i = kElecFtAGND; i <= kElecFtTEST; i++) {
    CSCHBlock* gi = AddCircuitPart(this, "GND", kElecCircuitWireFlags);
    if (!gi) continue;
    gi->MoveTo(GetPinAnchor(i).x - 6, yG);
    AddCircuitWire(scheme, this, i, gi, 0, {yG - 15});
  }
}

void CFT232RL::JoinInternalNets() {
  SchNet* n11 = pins[kElecFtGND1].net;
  SchNet* n12 = pins[kElecFtGND2].net;
  SchNet* n13 = pins[kElecFtGND3].net;
  SchNet* joined = n11;
  if (n12) {
    if (n11 && n11 != n12) n12->Merge(n11);
    joined = n12;
  }
  if (n13 && joined && joined != n13) n13->Merge(joined);
}

void CFT232RL::Start() {
  delete ownPackets;
  ownPackets = new (std::nothrow) SchPacketSet;
  CSCHBlock::Start();
}

void CFT232RL::Stop() {
  delete ownPackets;
  ownPackets = nullptr;
  CSCHBlock::Stop();
}

void CFT232RL::Burn() {
  burnt = 1;
  SimMessageLog::Global().AppendFormat(kBurntMessage, instanceName ? instanceName : L"");
}

void CFT232RL::Step(float) {
  if (burnt) {
    DriveBurntPins(this);
    return;
  }
  // The core supply.
  float Uv = 0, Rv = kSchOpenResistance, Ug1 = 0, Rg1 = kSchOpenResistance;
  GetPinInput(kElecFtVCC, &Uv, &Rv);
  GetPinInput(kElecFtGND1, &Ug1, &Rg1);
  SetPinSource(kElecFtVCC, Ug1, Rg1 + kCoreResistance);
  SetPinSource(kElecFtGND1, Uv, Rv + kCoreResistance);
  const float Vcore = (Uv - Ug1) * kCoreResistance / (Rv + Rg1 + kCoreResistance);
  if (Outside(Vcore, kSupplyLow, kSupplyHigh)) return Burn();
  // The UART supply.
  float Uio = 0, Rvio = kSchOpenResistance, Ug = 0, Rg = kSchOpenResistance;
  GetPinInput(kElecFtVCCIO, &Uio, &Rvio);
  GetPinInput(kElecFtGND2, &Ug, &Rg);
  SetPinSource(kElecFtVCCIO, Ug, Rg + kUartResistance);
  SetPinSource(kElecFtGND2, Uio, Rvio + kUartResistance);
  const float Vio = (Uio - Ug) * kUartResistance / (Rvio + Rg + kUartResistance);
  if (Outside(Vio, kSupplyLow, kSupplyHigh)) return Burn();
  if (!(Vcore >= kCoreMinimum)) {
    SetPinSource(kElecFt3VOUT, Ug, kSchOpenResistance);
    SetPinSource(kElecFtTXD, Ug, Rg + kOutputResistance);
    return;
  }
  SetPinSource(kElecFt3VOUT, Ug + kRegulatorVolts, Rg + kRegulatorResistance);
  // The USB pair.
  SchPinState sM = {}, sP = {};
  GetPinState(kElecFtUSBDM, &sM);
  GetPinState(kElecFtUSBDP, &sP);
  for (float v : {sM.U, sM.U2, sP.U, sP.U2})
    if (Outside(v, kUsbLow, kUsbHigh)) return Burn();
  SchSignalSource own = {ownPackets, 0};
  SchSignalSource* link = &ownSource_;
  ownSource_ = own;
  if (sM.sourceKind == kSchSourceUsb && sM.U < kUsbLevel && sM.U2 > kUsbLevel && sP.sourceKind == kSchSourceUsb &&
      sP.U > kUsbLevel && sP.U2 < kUsbLevel && sM.source && sM.source == sP.source)
    link = sM.source;
  // The UART side works with its supply, out of reset, awake and powered.
  float U = 0, R = kSchOpenResistance;
  GetPinInput(kElecFtReset, &U, &R);
  const bool reset = !(PulledUp(U, R, Uv, Rv) > Uv / 2);
  GetPinInput(kElecFtCBUS4, &U, &R);
  const bool asleep = !(PulledUp(U, R, Uv, Rv) > Vcore / 2);
  GetPinInput(kElecFtPWREN, &U, &R);
  const bool unpowered = !(U > Vcore / 2);
  if (!(Vio > kUartWorking) || reset || asleep || unpowered) {
    SetPinSource(kElecFtTXD, Ug, Rg + kOutputResistance);
    return;
  }
  SetPinSource(kElecFtRTS, Vio, Rv + kOutputResistance);
  SetPinSource(kElecFtDTR, Vio, Rv + kOutputResistance);
  GetPinInput(kElecFtTXD, &U, &R);
  if (R < kLeastLoad) return Burn();
  // RXD.
  SchPinState s = {};
  GetPinState(kElecFtRXD, &s);
  const float Ua = (s.U - Ug) * kInputResistance / (kInputResistance + s.R + Rg);
  const float Ub = (s.U2 - Ug) * kInputResistance / (kInputResistance + s.R2 + Rg);
  if (Outside(Ua, kSupplyLow, Vio + kInputMargin) || Outside(Ub, kSupplyLow, Vio + kInputMargin)) return Burn();
  const bool data = s.sourceKind == kSchSourceSerial && Ua >= kInputLevel && Ub <= kInputLevel;
  SetPinSource(kElecFtRXD, Ug, Rg + kInputResistance);
  BridgeUartPackets(data && s.source ? s.source->packets : nullptr, settings.ReceiveFormat(), link->packets,
                    settings.SendFormat());
  SchPinState out = {};
  out.U = Uv;
  out.R = Rv + kOutputResistance;
  out.U2 = Ug;
  out.R2 = Rg + kOutputResistance;
  out.sourceKind = kSchSourceSerial;
  out.source = link;
  SetPinState(kElecFtTXD, out);
}

bool CFT232RL::Edit() {
  return EditUartSettings(L"Настройки UART для FT232RL", 320, 220, nullptr, nullptr, &settings);
}

void CFT232RL::Save(CStream* s) {
  CSCHBlock::Save(s);
  settings.Save(s);
}

void CFT232RL::Load(CStream* s) {
  CSCHBlock::Load(s);
  settings.Load(s);
}

void CFT232RL::Paint(HDC dc) {
  PaintBody(dc, RGB(0xEE, 0xEE, 0xEE));
  const int middle = (rect.top + rect.bottom) / 2;
  const int cx = (rect.left + rect.right) / 2;
  COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
  int oldMode = SetBkMode(dc, TRANSPARENT);
  UINT oldAlign = SetTextAlign(dc, TA_CENTER | TA_BOTTOM);
  if (instanceName) TextOutW(dc, cx, middle, instanceName, static_cast<int>(wcslen(instanceName)));
  SetTextAlign(dc, TA_CENTER | TA_TOP);
  TextOutW(dc, cx, middle, L"FT232RL", 7);
  SetTextAlign(dc, oldAlign);
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
}

void CFT232RL::PaintFootprint(PcbPainter* painter) {
  if (!painter) return;
  painter->SetPlacement(boardX, boardY, orientation);
  painter->DrawSsopPackage(28);
  const COLORREF grey = RGB(0x99, 0x99, 0x99);
  DrawFootprintText(painter, 1.2f, 0, 1.2f, L"=FTDI", 1, grey);
  DrawFootprintText(painter, 0, 0, 0.8f, L"0647-A", 1, grey);
  DrawFootprintText(painter, -1.2f, 0, 1.2f, L"FT232RL", 1, grey);
  DrawFootprintName(painter, this);
}

CSCHBlock* CreateCFT232RL() { return new (std::nothrow) CFT232RL; }
