// The L6203 H-bridge motor driver: one full bridge in an 11-lead power
// package. Each output hands its net a PWM source (kind 0) that motor parts
// read; the logic inputs, ENABLE included, are read as levels or PWM
// signals. Applying a database row adds the bootstrap capacitors, the
// reference capacitor and a ground symbol.
#pragma once

#include <windows.h>

#include "scheme/model/block.h"
#include "scheme/simulation/signal_source.h"

// L6203 pins.
const int kElecL6203OUT2 = 0;
const int kElecL6203Vs = 1;
const int kElecL6203OUT1 = 2;
const int kElecL6203BOOT1 = 3;
const int kElecL6203IN1 = 4;
const int kElecL6203GND = 5;
const int kElecL6203IN2 = 6;
const int kElecL6203BOOT2 = 7;
const int kElecL6203Vref = 8;
const int kElecL6203SENSE = 9;
const int kElecL6203ENABLE = 10;

class CSCH_L6203 : public CSCHBlock {
public:
  // Prefix "DA", a 20.2 x 10.16 mm footprint, a 120 x 140 px symbol and the
  // eleven pins at their sides and offsets.
  CSCH_L6203();

  // The base fields, then the application circuit (a circuit added before
  // goes first).
  void ApplyDbRecord(CompDbRecord* record) override;
  void PaintFootprint(PcbPainter* painter) override;
  // Repairs a burnt driver and zeroes the smoothed sense current.
  void Start() override;
  void Step(float dt) override;

  // Fields, in this order.
  double senseCurrent = 0;  // smoothed, amperes
  SchSignalSource out1 = {nullptr, 1};  // period 0, duty 1
  SchSignalSource out2 = {nullptr, 1};

private:
  void Burn();
};

// Registry creator ("L6203").
CSCHBlock* CreateCSCH_L6203();
