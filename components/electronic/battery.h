// The rechargeable battery: a two-pin source whose electromotive force
// follows the discharge curve of its type as its charge runs down. One
// battery of a run becomes the scheme's ground reference (its minus pin at
// 0 V).
#pragma once

#include <windows.h>

#include "scheme/parts/device.h"

// Pins.
const int kElecBatteryMinus = 0;
const int kElecBatteryPlus = 1;

// The electromotive force of a battery of nominal voltage U and discharge
// type at the depth of discharge d (0 full, 1 empty, above 1 overdrawn);
// never negative.
float BatteryEmf(float U, int type, float d);

class CSCHBattery : public CSCHDevice {
public:
  // 12 V, 60 Ah, type 0, 0.01 ohm; a 90 x 80 px symbol with the minus pin
  // on the left and the plus pin on the right.
  CSCHBattery();

  // "U", "Q", "type", "R", then the device fields and the base fields.
  void ApplyDbRecord(CompDbRecord* record) override;
  // The shared picture "battery.png" and the instance name below it.
  void Paint(HDC dc) override;
  // Takes the ground reference when it is the first battery of the run with
  // both pins connected; fills the charge.
  void Start() override;
  void Step(float dt) override;
  // The device record, then U, Q, type (byte), R.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;
  // The base run state, then the discharged warning (byte) and the charge
  // (float).
  void SaveRunState(CStream* stream) override;
  bool LoadRunState(CStream* stream) override;

  // Fields, in this order.
  unsigned char groundReference = 0;  // run time, not saved
  float nominalVoltage = 12.0f;       // U, volts
  float capacity = 60.0f;             // Q, ampere-hours
  unsigned char dischargeType = 0;
  float internalResistance = 0.01f;   // R, ohms
  // Remaining charge, ampere-hours. Kept in double precision so that the
  // small amounts a step takes off a large charge are not lost to rounding.
  double charge = 0;
  unsigned char dischargedWarningGiven = 0;
  int stepCounter = 0;
};

// Registry creator ("Battery").
CSCHBlock* CreateCSCHBattery();
