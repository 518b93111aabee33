// The output shaft of a drive as the robot's mechanical simulation and the
// sensors on the shaft see it.
#pragma once

struct DevShaft {
  float speed;   // rad/s, written by the mechanical simulation before a step
  float angle;   // rad, written by the mechanical simulation before a step
  float torque;  // N·m, written by the drive's step for the mechanical simulation
};
