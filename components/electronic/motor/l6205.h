// The L6205 dual H-bridge motor driver: bridges A and B in a 20-pin DIP.
// Each output hands its net a PWM source (kind 0) that motor parts read;
// the inputs are read as levels or PWM signals, the enables as levels.
// Applying a database row adds the charge-pump parts, ground symbols and
// junctions.
#pragma once

#include <windows.h>

#include "scheme/model/block.h"
#include "scheme/simulation/signal_source.h"

// L6205 pins.
const int kElecL6205IN1A = 0;
const int kElecL6205IN2A = 1;
const int kElecL6205SENSEA = 2;
const int kElecL6205OUT1A = 3;
const int kElecL6205GND1 = 4;
const int kElecL6205GND2 = 5;
const int kElecL6205OUT1B = 6;
const int kElecL6205SENSEB = 7;
const int kElecL6205IN1B = 8;
const int kElecL6205IN2B = 9;
const int kElecL6205ENB = 10;
const int kElecL6205VBOOT = 11;
const int kElecL6205OUT2B = 12;
const int kElecL6205VSB = 13;
const int kElecL6205GND3 = 14;
const int kElecL6205GND4 = 15;
const int kElecL6205VSA = 16;
const int kElecL6205OUT2A = 17;
const int kElecL6205VCP = 18;
const int kElecL6205ENA = 19;

class CSCH_L6205 : public CSCHBlock {
public:
  // Prefix "DA", DIP-20 layout on a 150 px wide symbol, the twenty pins.
  CSCH_L6205();

  void ApplyDbRecord(CompDbRecord* record) override;
  void PaintFootprint(PcbPainter* painter) override;
  // Repairs a burnt driver.
  void Start() override;
  void Step(float dt) override;
  // The four "GND" pins share one net.
  void JoinInternalNets() override;

  // Fields, in this order.
  SchSignalSource out1A = {nullptr, 1};
  SchSignalSource out2A = {nullptr, 1};
  SchSignalSource out1B = {nullptr, 1};
  SchSignalSource out2B = {nullptr, 1};

private:
  void Burn();
};

// Registry creator ("L6205").
CSCHBlock* CreateCSCH_L6205();
