#include "components/electronic/usb/usbcom.h"

#include <cmath>
#include <cwchar>
#include <new>

#include "components/electronic/usb/uart_settings_form.h"
#include "foundation/stream.h"
#include "kestui/graphics/image.h"
#include "scheme/model/scheme_icons.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/packet_set.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"
#include "scheme/simulation/signal_source.h"
#include "scheme/simulation/sim_log.h"

namespace {

const wchar_t kBurntMessage[] = L"Преобразователь интерфейсов USB->COM \"%s\" вышел из строя";
const wchar_t kPriceFormat[] = L"ORIENT \"USS-101\" (0.8м). Цена %0.2f руб.";
const int kPriceChars = 128;

const float kLeastLoad = 500.0f;
const float kInputResistance = 16000.0f;
const float kInputLimit = 25.0f;
const float kRs232Threshold = 3.3f;
const float kRs232Level = 8.0f;
const float kOutputResistance = 250.0f;

// One picture for every cable, loaded on first paint.
CKestImage g_usbComPicture;

bool Outside(float v, float limit) { return !(std::fabs(v) <= limit); }

}  // namespace

CUSBCOM::CUSBCOM() {
  price = 330.0;
  rect.right = rect.left + 170;
  rect.bottom = rect.top + 40;
  SetPinCount(4);
  if (pinCount != 4) return;
  pins[kElecUsbComUsb].description = L"USB";
  pins[kElecUsbComUsb].kind = kSchPinUsb;
  pins[kElecUsbComUsb].number = -1;
  pins[kElecUsbComUsb].side = kSchSideLeft;
  pins[kElecUsbComReceive].description = L"Вход RS-232";
  pins[kElecUsbComReceive].number = 2;
  pins[kElecUsbComTransmit].description = L"Выход RS-232";
  pins[kElecUsbComTransmit].number = 3;
  pins[kElecUsbComGround].description = L"\"Земля\"";
  pins[kElecUsbComGround].number = 5;
  for (int i = 1; i < 4; i++) pins[i].side = kSchSideRight;
  SpacePins(true);
}

void CUSBCOM::Paint(HDC dc) {
  if (LoadSchemeIcon(&g_usbComPicture, L"USB-RS232.png")) g_usbComPicture.Draw(dc, rect.left, rect.top);
}

void CUSBCOM::FormatPriceLine(wchar_t* text, int chars) const {
  if (!text || chars <= 0) return;
  if (chars > kPriceChars + 1) chars = kPriceChars + 1;
  swprintf(text, chars, kPriceFormat, price);
}

bool CUSBCOM::Edit() {
  wchar_t line[kPriceChars + 1];
  FormatPriceLine(line, kPriceChars + 1);
  return EditUartSettings(L"Кабель-переходник USB->COM", 320, 260, L"Кабель-переходник USB->COM (9M)", line,
                          &settings);
}

void CUSBCOM::Burn() {
  burnt = 1;
  SimMessageLog::Global().AppendFormat(kBurntMessage, instanceName ? instanceName : L"");
}

void CUSBCOM::Step(float) {
  if (burnt) {
    SetPinSource(kElecUsbComReceive, 0, kSchOpenResistance);
    SetPinSource(kElecUsbComTransmit, 0, kSchOpenResistance);
    return;
  }
  float Ug = 0, Rg = kSchOpenResistance, U = 0, R = kSchOpenResistance;
  GetPinInput(kElecUsbComGround, &Ug, &Rg);
  GetPinInput(kElecUsbComTransmit, &U, &R);
  if (R < kLeastLoad) return Burn();
  SchPinState s = {};
  GetPinState(kElecUsbComReceive, &s);
  const float Ua = (s.U - Ug) * kInputResistance / (kInputResistance + s.R + Rg);
  const float Ub = (s.U2 - Ug) * kInputResistance / (kInputResistance + s.R2 + Rg);
  if (Outside(Ua, kInputLimit) || Outside(Ub, kInputLimit)) return Burn();
  const bool data = s.sourceKind == kSchSourceSerial && Ua <= -kRs232Threshold && Ub >= kRs232Threshold;
  SetPinSource(kElecUsbComReceive, Ug, Rg + kInputResistance);
  SchPacketSet* received = data && s.source ? s.source->packets : nullptr;
  SchSignalSource* link = nullptr;
  const SchNet* usb = pins[kElecUsbComUsb].net;
  if (usb && usb->sourceKind == kSchSourceUsbHost && usb->source && usb->source->packets) link = usb->source;
  if (link) BridgeUartPackets(received, settings.ReceiveFormat(), link->packets, settings.SendFormat());
  idleSource_.packets = nullptr;
  SchPinState out = {};
  out.U = Ug - kRs232Level;
  out.R = Rg + kOutputResistance;
  out.U2 = Ug + kRs232Level;
  out.R2 = Rg + kOutputResistance;
  out.sourceKind = kSchSourceSerial;
  out.source = link ? link : &idleSource_;
  SetPinState(kElecUsbComTransmit, out);
}

void CUSBCOM::Save(CStream* s) {
  CSCHBlock::Save(s);
  settings.Save(s);
}

void CUSBCOM::Load(CStream* s) {
  CSCHBlock::Load(s);
  settings.Load(s);
}

CSCHBlock* CreateCUSBCOM() { return new (std::nothrow) CUSBCOM; }
