// The MAX232 dual RS-232 driver and receiver: a 16-pin chip with a charge
// pump. Applying a database row adds its charge-pump capacitors and ground
// symbols to the scheme, wired and owned by the chip. In simulation each
// UART-level input becomes a +-10 V RS-232 output and each RS-232 input a
// UART-level output; data passes through.
#pragma once

#include <windows.h>

#include "scheme/model/block.h"

// Pins.
const int kElecMax232C1Plus = 0;
const int kElecMax232Plus10V = 1;
const int kElecMax232C1Minus = 2;
const int kElecMax232C2Plus = 3;
const int kElecMax232C2Minus = 4;
const int kElecMax232Minus10V = 5;
const int kElecMax232T2Out = 6;
const int kElecMax232R2In = 7;
const int kElecMax232R2Out = 8;
const int kElecMax232T2In = 9;
const int kElecMax232T1In = 10;
const int kElecMax232R1Out = 11;
const int kElecMax232R1In = 12;
const int kElecMax232T1Out = 13;
const int kElecMax232GND = 14;
const int kElecMax232VCC = 15;

// Packages (key "corps").
const unsigned char kElecMax232Dip = 0;
const unsigned char kElecMax232NarrowSo = 1;
const unsigned char kElecMax232WideSo = 2;

class CSCHMAX232 : public CSCHBlock {
public:
  // 15 mA, 4.5 to 6 V, prefix "DD", 150 px wide, sixteen named pins with no
  // layout until UpdateBodySize runs.
  CSCHMAX232();

  // The base fields, "C1", "C2" (microfarads), "corps", "I" (milliamperes),
  // "Umin", "Umax", UpdateBodySize, then the application circuit.
  void ApplyDbRecord(CompDbRecord* record) override;
  void Paint(HDC dc) override;
  void PaintFootprint(PcbPainter* painter) override;
  void Step(float dt) override;
  // Package (byte), supply current, minimum and maximum supply (floats),
  // then the block record.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;

  // Pin layout and footprint by package; another value changes nothing.
  void UpdateBodySize();

  // Fields, in this order.
  unsigned char package = kElecMax232Dip;
  float supplyCurrent = 0.015f;  // amperes; the supply resistance is 5 V over it
  float minimumSupply = 4.5f;    // volts
  float maximumSupply = 6.0f;    // volts

private:
  // The charge-pump capacitors of C1 and C2 microfarads, the ground symbols
  // and their wires, as children of the chip. A circuit added before goes
  // first.
  void AddApplicationCircuit(float c1, float c2);
  void DeleteApplicationCircuit();
  CSCHBlock* AddCapacitor(float microfarads, int orientation, float boardX, float boardY, POINT at);
  void Burn();
  bool Transmit(int in, int out, float Ug, float Rg);
  bool Receive(int in, int out, float Ug, float Rg, float Vc);
};

// Registry creator ("MAX232").
CSCHBlock* CreateCSCHMAX232();
