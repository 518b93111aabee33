// The measurement record of an inertial unit: what its data packets name
// (by a payload handle in bytes 4-7 of the packet's eight value bytes) and
// what the inertial driver of a block scheme reads. A reader uses only the
// quantities whose flag is set.
#pragma once

#include <cstdint>

// Flags of the measurement set.
const uint16_t kInertialAccelX = 0x001;
const uint16_t kInertialAccelY = 0x002;
const uint16_t kInertialAccelZ = 0x004;
const uint16_t kInertialRateX = 0x008;
const uint16_t kInertialRateY = 0x010;
const uint16_t kInertialRateZ = 0x020;
const uint16_t kInertialMagnetometer = 0x040;  // the three axes together
const uint16_t kInertialAngles = 0x080;        // roll, pitch and yaw together
const uint16_t kInertialAnglesFromPose = 0x100;

// Bytes 1-2 of a value that names a measurement record (little-endian).
const uint16_t kInertialRecordMarker = 0x7505;

struct SchInertialData {
  uint16_t flags;      // the measurement set
  float accel[3];      // X, Y, Z, mg
  float rate[3];       // about X, Y, Z, degrees per second
  float magnetic[3];   // X, Y, Z
  float angles[3];     // roll, pitch, yaw, degrees
};
