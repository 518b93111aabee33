// A ready-made USB to RS-232 adapter cable: a USB plug (pin 0, USB kind) on
// one side and the receive, transmit and ground wires of a 9-pin COM
// connector on the other. Drawn as a picture, no board footprint. In
// simulation it bridges data between the USB host driving its USB pin and
// its RS-232 lines, with the same format word and settings as the FT232RL.
#pragma once

#include <windows.h>

#include "components/electronic/usb/uart_settings.h"
#include "scheme/model/block.h"
#include "scheme/simulation/signal_source.h"

// Pins.
const int kElecUsbComUsb = 0;
const int kElecUsbComReceive = 1;
const int kElecUsbComTransmit = 2;
const int kElecUsbComGround = 3;

class CUSBCOM : public CSCHBlock {
public:
  // 115200 baud, 8N1, asynchronous; price 330.0; a 170 x 40 px symbol with
  // the four pins.
  CUSBCOM();

  void Paint(HDC dc) override;
  // "Кабель-переходник USB->COM" with the cable's model and price; true when
  // "OK" closed it.
  bool Edit() override;
  void Step(float dt) override;
  // The block record, then speed (low 16 bits), stop bits, parity, protocol.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;

  // The form's price line: "ORIENT \"USS-101\" (0.8м). Цена 330.00 руб.".
  void FormatPriceLine(wchar_t* text, int chars) const;

  UartSettings settings;

private:
  void Burn();
  // Handed to the transmit line: the link's source, or none (no packets).
  SchSignalSource idleSource_ = {nullptr, 0};
};

// Registry creator ("USB-COM").
CSCHBlock* CreateCUSBCOM();
