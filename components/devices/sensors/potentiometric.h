// The potentiometric angle sensor: a rotary potentiometer whose winding lies
// between two pins and whose wiper follows the shaft angle, with a little
// noise. Turned past the end of its working angle it is torn off its shaft
// (it burns out); a working angle of 0 turns without a stop.
#pragma once

#include <windows.h>

#include "components/devices/sensors/rot_sensor.h"

class CSCHPotentiometric : public CSCHRotSensor {
public:
  // Pins: the winding's ends and the wiper between them.
  static constexpr int kWindingPin0 = 0;
  static constexpr int kWiperPin = 1;
  static constexpr int kWindingPin2 = 2;
  static constexpr int kWidth = 107, kHeight = 55;

  // 4700 ohm, a half angle of 2 pi; a 107 x 55 px symbol.
  CSCHPotentiometric();

  // "maxAngle" (the whole working angle in degrees, kept as half of it in
  // radians), "R", "friction", then the device columns.
  void ApplyDbRecord(CompDbRecord* record) override;
  // The shared picture "potentiometric.png" and the instance name below it.
  void Paint(HDC dc) override;
  void Step(float dt) override;
  // Half angle, R and friction, then the device record.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;

  // The wiper's share of the travel from pin 0 for a shaft angle, before
  // the noise: (x + 1) / 2 with x the angle over the half angle (over pi for
  // a half angle of 0).
  double WiperTravel(float angle) const;

  // Fields, in this order.
  float halfAngle = 2 * 3.1415927f;  // rad; the wiper reaches the ends at +-this (0: +-pi, no stop)
  float R = 4700;                    // ohm, the winding

  // Bytes of the record before the device record.
  static constexpr int kOwnRecordBytes = 12;

private:
  double lastTravel = 0.5;  // the wiper's travel of the last step, before the noise
};

// Registry creator ("potentiometric").
CSCHBlock* CreateCSCHPotentiometric();
