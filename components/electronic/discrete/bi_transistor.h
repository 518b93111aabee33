// The bipolar transistor, NPN or PNP: a base-emitter junction, a current
// gain drawn once per database record, saturation, and burn-out by six
// limits.
#pragma once

#include <windows.h>

#include "components/electronic/discrete/custom_transistor.h"

// Pins.
const int kElecBiBase = 0;
const int kElecBiEmitter = 1;
const int kElecBiCollector = 2;

class CSCHBiTransistor : public CSCHCustomTransistor {
public:
  // NPN, 50 V, 1 A (1.5 A peak), gain 100; base on the left, emitter at the
  // bottom, collector on top.
  CSCHBiTransistor();

  // The package fields, then "structure", "Uceo", "Ic", "Icp", "Ib" (mA),
  // "Uce", the gain between "h21min" and "h21max", "Uebo", "Pc", "UbeSat".
  void ApplyDbRecord(CompDbRecord* record) override;
  void Paint(HDC dc) override;
  void Start() override;
  void Step(float dt) override;
  // The package record, then PNP and the nine parameters (the drawn gain
  // among them).
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;

  // Fields, in this order.
  unsigned char pnp = 0;
  float Uceo = 50;     // V, collector-emitter limit
  float Uce = 0;       // V, saturation voltage
  float Ic = 1;        // A, limit of the smoothed collector current
  float Icp = 1.5f;    // A, instant collector current limit
  float Ib = 10;       // A, instant base current limit
  float gain = 100;    // this part's own, drawn from the database's range
  float Uebo = 5;      // V, reverse base-emitter limit
  float Pc = 1;        // W, limit of the smoothed power
  float UbeSat = 0;    // V, base-emitter voltage at saturation
  float smoothedCollectorCurrent = 0;  // run time
  float smoothedPower = 0;             // run time
};

// Registry creator ("BiTransistor").
CSCHBlock* CreateCSCHBiTransistor();
