// The FT232RL USB-to-UART bridge in its 28-lead SSOP package. Applying a
// database row adds its application circuit (the pull-up resistor of
// PWREN#, the 3VOUT decoupling capacitor and the ground symbols). In
// simulation its two supply domains are resistors; packets arriving on RXD
// are merged into the USB link's set (or the chip's own set without a USB
// host) and that set goes out on TXD, stamped with the UART format word.
#pragma once

#include <windows.h>

#include "components/electronic/usb/uart_settings.h"
#include "scheme/model/block.h"
#include "scheme/simulation/signal_source.h"

class SchPacketSet;

// Pins.
const int kElecFtVCCIO = 0;
const int kElecFtVCC = 1;
const int kElecFtUSBDM = 2;
const int kElecFtUSBDP = 3;
const int kElecFtReset = 5;
const int kElecFtOSCI = 7;
const int kElecFtOSCO = 8;
const int kElecFt3VOUT = 9;
const int kElecFtAGND = 10;
const int kElecFtGND1 = 11;
const int kElecFtGND2 = 12;
const int kElecFtGND3 = 13;
const int kElecFtTEST = 14;
const int kElecFtCBUS4 = 15;
const int kElecFtPWREN = 16;
const int kElecFtCBUS2 = 17;
const int kElecFtCBUS1 = 18;
const int kElecFtCBUS0 = 19;
const int kElecFtRI = 20;
const int kElecFtDCD = 21;
const int kElecFtDSR = 22;
const int kElecFtDTR = 23;
const int kElecFtCTS = 24;
const int kElecFtRTS = 25;
const int kElecFtRXD = 26;
const int kElecFtTXD = 27;

class CFT232RL : public CSCHBlock {
public:
  // 115200 baud, 8N1, asynchronous; prefix "DD", 28 pins, a 7.8 x 10.2 mm
  // footprint and a 150 x 250 px symbol.
  CFT232RL();
  ~CFT232RL() override;

  // The base fields, then the application circuit (a circuit added before
  // goes first).
  void ApplyDbRecord(CompDbRecord* record) override;
  void Paint(HDC dc) override;
  void PaintFootprint(PcbPainter* painter) override;
  // "Настройки UART для FT232RL"; true when "OK" closed it.
  bool Edit() override;
  void Start() override;
  void Step(float dt) override;
  void Stop() override;
  // The block record, then speed (low 16 bits), stop bits, parity, protocol.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;
  // The three "GND" pins share one net.
  void JoinInternalNets() override;

  UartSettings settings;
  SchPacketSet* ownPackets = nullptr;  // between Start and Stop

private:
  void AddApplicationCircuit();
  SchSignalSource ownSource_ = {nullptr, 0};  // hands the own set to TXD
  void Burn();
};

// Registry creator ("FT232RL").
CSCHBlock* CreateCFT232RL();
