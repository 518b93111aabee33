// The hobby (steering) servo: a power input, a control input and a ground.
// It loads its supply like a resistor that depends on whether it moves,
// decodes the pulse-width source on its control net into a target angle,
// and drives its shaft towards that angle with a bang-bang torque. The
// robot's mechanical simulation writes the shaft angle before each step and
// reads the torque.
#pragma once

#include <windows.h>

#include "scheme/model/block.h"

class CSCHServo : public CSCHBlock {
public:
  // Pins.
  static const int kPowerPin = 0;
  static const int kControlPin = 1;
  static const int kGroundPin = 2;
  static const int kWidth = 64, kHeight = 100;
  // Position steps in the full swing: a shaft within the target's step is
  // not driven.
  static const int kPositionSteps = 128;

  // 4.8 to 6 V, a quarter-turn swing in 0.15 s; a 64 x 100 px symbol.
  CSCHServo();

  // "controlType", "Umin", "Umax", "rotTime", the body size and "mass" as
  // they stand; "nominalTorque" and "holdTorque" in kg·cm (stored in N·m);
  // "range" in degrees to each side (stored as the full swing in radians).
  // Then the base fields and UpdateDerived.
  void ApplyDbRecord(CompDbRecord* record) override;
  // The shared picture "servo.jpg" and the instance name below it.
  void Paint(HDC dc) override;
  // Clears the target angle and the pulse timer; the burnt flag stays.
  void Start() override;
  void Step(float dt) override;
  // Its own fields and a spare 0 byte, then the base block record.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;

  // speed = range / 2 / rotTime; running current = holdTorque * speed /
  // Umax (each 0 when its divisor is).
  void UpdateDerived();

  // Fields, in this order.
  unsigned char controlType = 1;  // stored only
  float Umin = 4.8f;              // V
  float Umax = 6;                 // V
  float nominalTorque = 0.8526f;  // N·m; stored only
  float rotTime = 0.075f;         // s to turn through half the swing
  float range = 3.1415927f / 4;   // rad, the full swing
  float holdTorque = 2.1266f;     // N·m at Umax
  float staterDiameter = 0.04f, staterWidth = 0.02f, staterHeight = 0.0366f;  // stored only
  float mass = 0.01f;             // stored only
  float speed = 0;                // rad/s, derived
  float runningCurrent = 0;       // A, derived
  float shaftAngle = 0;           // rad, written by the mechanical simulation
  float torque = 0;               // N·m, written by Step
  float targetAngle = 0;          // rad, from the control signal
  float pulseTimer = 0;           // s since the control signal was sampled

private:
  // Steps 9 to 14: the control input.
  void ReadControl(float dt, float Up, float Ug);
  void Burn();
};

// Registry creator ("servo").
CSCHBlock* CreateCSCHServo();
