// The MAX485 RS-485 transceiver: an 8-pin chip with a line driver (DI to
// the differential pair A/B, enabled by DE) and a line receiver (A/B to RO,
// enabled by the inverted input ~RE). Data on DI goes out on A and B; data
// on the pair comes back on RO.
#pragma once

#include <windows.h>

#include "scheme/model/block.h"

// Pins.
const int kElecMax485RO = 0;
const int kElecMax485RE = 1;
const int kElecMax485DE = 2;
const int kElecMax485DI = 3;
const int kElecMax485GND = 4;
const int kElecMax485A = 5;
const int kElecMax485B = 6;
const int kElecMax485Vcc = 7;

// Packages (key "corps").
const unsigned char kElecMax485Dip = 0;
const unsigned char kElecMax485So = 1;

class CMAX485 : public CSCHBlock {
public:
  // DIP-8, 12000 ohms, prefix "DD", 100 px wide, the eight named pins.
  CMAX485();

  // The base fields, then "corps" and "inputImp", then UpdateBodySize.
  void ApplyDbRecord(CompDbRecord* record) override;
  void Paint(HDC dc) override;
  void PaintFootprint(PcbPainter* painter) override;
  void Step(float dt) override;
  // Package (byte), input impedance (float), then the block record.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;

  // Pin layout and footprint size by package; another value changes nothing.
  void UpdateBodySize();

  // Fields, in this order.
  unsigned char package = kElecMax485Dip;
  float inputImpedance = 12000.0f;  // ohms, the receiver's view of the pair

private:
  void Burn();
  void Release(int pin);
};

// Registry creator ("MAX485").
CSCHBlock* CreateCMAX485();
