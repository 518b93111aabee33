// The SRF-05 ultrasonic range finder: a trigger input and an echo output
// (two-pin mode, Mode left open), or the echo answered on the trigger line
// itself (single-pin mode, Mode grounded). It measures only with a world
// pose.
#pragma once

#include <windows.h>

#include "components/devices/sensors/pulse_echo.h"
#include "scheme/parts/out_sensor.h"

class CIE_SRF_05 : public CSCHOutSensor {
public:
  static constexpr int kSupplyPin = 0;
  static constexpr int kEchoPin = 1;
  static constexpr int kTriggerPin = 2;
  static constexpr int kModePin = 3;
  static constexpr int kGroundPin = 4;
  static constexpr int kWidth = 100, kHeight = 84;
  // The supply model: 4 mA at 5 V.
  static const RangeFinderModel kModel;

  // Five pins on the left, the cycle as a new finder has it, no pose.
  CIE_SRF_05();

  void Paint(HDC dc) override;
  // Clears the timer, the armed trigger and the pulse time; the burnt flag
  // stays.
  void Start() override;
  void Step(float dt) override;

  // Fields, in this order.
  PulseEchoCycle cycle;
  // The distance along the axis (m) that the robot simulator supplies with
  // the world pose; not stored.
  float axisDistance = 0;
};

// Registry creator ("SRF-05").
CSCHBlock* CreateCIE_SRF_05();
