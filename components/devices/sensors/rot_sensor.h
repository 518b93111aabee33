// The base of the components that sense a shaft's rotation (the encoder,
// the potentiometric angle sensor, the limit switch): a device with the
// shaft's friction and the shaft angle. The robot's mechanical simulation
// writes the angle before each step; a sensor on a drive's output shaft
// takes it from the drive (FollowShaft). The angle is not saved.
#pragma once

#include "components/devices/drives/shaft.h"
#include "scheme/parts/device.h"

class CSCHRotSensor : public CSCHDevice {
public:
  void SetShaftAngle(float angle) { shaftAngle = angle; }
  // Takes the angle of the shaft the sensor sits on (a copy: the sensor
  // keeps nothing of the drive).
  void FollowShaft(const DevShaft& shaft) { shaftAngle = shaft.angle; }

  // Fields, in this order.
  float friction = 0;    // N·m, from the database column "friction" where a subclass reads it
  float shaftAngle = 0;  // rad, written by the mechanical simulation

protected:
  // Never created by itself.
  CSCHRotSensor() {}
};
