// The common base of the external sensors and radio parts.
#pragma once

#include "scheme/parts/device.h"

struct Mat4f;

class CSCHOutSensor : public CSCHDevice {
public:
  CSCHOutSensor() {}
  // The matrix placing the device in the robot's 3D model; each subclass
  // sets it or leaves it null.
  Mat4f* pose = nullptr;
};
