// A two-probe multimeter: voltmeter, peak voltmeter or ammeter during a
// simulation. Each instance names itself with a free capital letter.
#pragma once

#include "scheme/parts/measure_device.h"

class CSCHMultimeter : public CSCHMeasureDevice {
public:
  enum Mode { kOff = 0, kVoltmeter = 1, kPeakVoltmeter = 2, kAmmeter = 3 };

  // 80 by 100 pixels, two electric pins (left 51, right 49), named "A",
  // "B", ... after the first letter no measuring device uses.
  CSCHMultimeter();
  void Paint(HDC dc) override;
  // Mode off, reading and peak 0; the first step updates the reading.
  void Start() override;
  void Step(float dt) override;

  // Fields, in this order.
  int mode = kOff;
  float reading = 0;      // volts or amperes, refreshed every half second
  float peak = 0;         // largest voltage of the current half-second window
  float updateTimer = 0;  // seconds
};

// Registry creator.
CSCHBlock* CreateCSCHMultimeter();
