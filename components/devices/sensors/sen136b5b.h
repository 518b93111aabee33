// The SEN136B5B ultrasonic range finder: one line both triggers a
// measurement (a falling edge, or a pulse source) and carries the echo back
// as a pulse-width signal (5.8 ms a metre, up to 4 m).
#pragma once

#include <windows.h>

#include "components/devices/sensors/pulse_echo.h"
#include "scheme/parts/out_sensor.h"

class CSEN136B5B : public CSCHOutSensor {
public:
  static constexpr int kSupplyPin = 0;
  static constexpr int kTrigEchoPin = 1;
  static constexpr int kGroundPin = 2;
  static constexpr int kWidth = 80, kHeight = 84;
  // The supply model: 1.5 mA at 5 V.
  static const RangeFinderModel kModel;

  // Three pins on the left, the cycle as a new finder has it.
  CSEN136B5B();

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

// Registry creator ("SEN136B5B").
CSCHBlock* CreateCSEN136B5B();
