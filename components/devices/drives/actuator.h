// The electric linear actuator: a motor-driven push rod. Its winding is the
// DC motor's rotor winding in linear units (back EMF from the rod speed,
// force instead of torque); end-of-stroke switches cut the winding at an end
// when the voltage drives the rod further; one position sensor may follow
// the rod: a single-output or A/B incremental encoder, or a potentiometer.
// The robot's mechanical simulation writes the rod's speed and position
// before each step and reads the force.
#pragma once

#include <windows.h>

#include "components/devices/drives/rotor_winding.h"
#include "components/devices/pulse_record.h"
#include "scheme/model/block.h"
#include "scheme/simulation/signal_source.h"

class CSCHActuator : public CSCHBlock {
public:
  enum SensorType : unsigned char { kSensorNone = 0, kSensorEncoder = 1, kSensorEncoderAB = 2, kSensorPot = 3 };
  // Pins.
  static const int kFirstSensorPin = 2;
  static const int kPotEnd = 2, kPotWiper = 3, kPotStart = 4;
  static const int kWidth = 64, kHeight = 100;

  // 12 V, a 0.2 m stroke at 0.045 m/s, 800 N, end switches, no sensor; a
  // 64 x 100 px symbol.
  CSCHActuator();
  ~CSCHActuator() override;

  // The columns of the actuator table (lengths in millimetres and the mass
  // in grams, stored in metres and kilograms), then the base fields, then
  // BuildPins.
  void ApplyDbRecord(CompDbRecord* record) override;
  // The shared picture "actuator.png", a lead to every pin and the instance
  // name below.
  void Paint(HDC dc) override;
  // The rod at its initial position, current, heating and both burnt flags
  // cleared, the tick memory at the rod's position.
  void Start() override;
  void Step(float dt) override;
  // Its own fields, then the base block record.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;

  // The sensor's pins, then the derived values. False, with the pins as
  // they were, when memory runs out.
  bool BuildPins();
  int ExpectedPinCount() const;

  // Fields, in this order.
  float Un = 12;                    // V
  float reduction = 5;              // stored only
  float range = 0.2f;               // m, the stroke
  unsigned char sensor = kSensorNone;
  float maxLoad = 800;              // N, stall force
  float maxSpeed = 0.045f;          // m/s, no-load rod speed
  float loadSpeed = 0.04f;          // m/s; stored only
  unsigned char limitSensors = 1;   // end-of-stroke switches
  double ticksPerMetre = 1;         // encoder ticks per metre of travel
  float minImp = 300;               // ohm, potentiometer at the retracted end
  float maxImp = 9600;              // ohm, potentiometer at the extended end
  float deltaImp = 300;             // ohm, ripple amplitude of the potentiometer
  float minSensorU = 3.6f;          // V
  float maxSensorU = 20;            // V
  float Tm = 0.07f;                 // s; stored only
  float Te = 0.007f;                // s
  float Iidle = 1;                  // A; stored only
  float Imax = 2;                   // A, stall current at Un
  float mass = 0.55f;               // kg; stored only
  float initialPosition = 0;        // m, the rod position Start takes
  float length = 350;               // overall length; stored only
  wchar_t* sound = nullptr;         // owned; stored only
  float soundRate = 1;              // stored only
  float windingResistance = 0;      // ohm, derived
  float windingInductance = 0;      // H, derived
  float rodSpeed = 0;               // m/s, written by the mechanical simulation
  float rodPosition = 0;            // m, 0 retracted to range extended
  float force = 0;                  // N, written by Step
  RotorWindingState winding = {0, 0};  // current and heating current
  PulseTickMemory ticks = {0, 0};
  SchSignalSource pulseRecord = {nullptr, 0};
  unsigned char sensorBurnt = 0;

private:
  void UpdateDerived();
  void StepWinding(float dt, bool* burning);
  void StepEncoder();
  void StepPotentiometer();
  void OpenPins(int from, int to);
  void BurnSensor();
};

// Registry creator ("ACTUATOR").
CSCHBlock* CreateCSCHActuator();
