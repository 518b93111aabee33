// The direct-current gear motor: a rotor winding with back EMF between two
// pins, optional field-winding pins, and an optional shaft sensor (a
// single-output or A/B incremental encoder, or a tachogenerator). The
// robot's mechanical simulation writes the output shaft's speed and angle
// before each step and reads the torque the step computes.
#pragma once

#include <windows.h>

#include "components/devices/drives/rotor_winding.h"
#include "components/devices/drives/shaft.h"
#include "components/devices/pulse_record.h"
#include "scheme/model/block.h"
#include "scheme/simulation/signal_source.h"

class CSCHDCMotor : public CSCHBlock {
public:
  // Shaft sensors.
  enum SensorType : unsigned char { kSensorNone = 0, kSensorEncoder = 1, kSensorEncoderAB = 2, kSensorTacho = 3 };
  // Output stages of the encoder outputs.
  enum OutputStage : unsigned char {
    kOutOpenCollector = 0,      // conducting on the first level
    kOutOpenCollectorHigh = 1,  // conducting on the second level
    kOutPushPull = 2,
    kOutPullUp = 3,             // 1000-ohm pull-up
  };
  static const int kRotorPins = 2;
  static const int kWidth = 96, kHeight = 48;

  // 12 V, gear ratio 1, no field winding, no sensor; a 96 x 48 px symbol.
  CSCHDCMotor();
  ~CSCHDCMotor() override;

  // The columns of the motor table (sizes in millimetres, stored in metres;
  // "sound" from the ANSI code page), then the base fields, then BuildPins.
  void ApplyDbRecord(CompDbRecord* record) override;
  // The shared picture "motor.png" and the instance name below it.
  void Paint(HDC dc) override;
  // Zeroes the shaft, the current, the heating and the tick memory and
  // clears both burnt flags.
  void Start() override;
  void Step(float dt) override;
  // Its own fields, then the base block record.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;

  // The pins for the field winding and sensor, then the derived values.
  // False, with the pins as they were, when memory runs out.
  bool BuildPins();
  // The pin count BuildPins gives for the current fields.
  int ExpectedPinCount() const;
  // The first sensor pin: 2, or 4 with the field winding.
  int FirstSensorPin() const { return staterWinding ? 4 : 2; }

  // The output shaft: what the mechanical simulation writes before a step
  // and reads after it, and what shaft sensors read.
  const DevShaft& GetShaft() const { return shaft; }
  void SetShaftMotion(float speed, float angle) {
    shaft.speed = speed;
    shaft.angle = angle;
  }

  // Fields, in this order.
  float Un = 12;                   // V
  float reduction = 1;             // motor-shaft turns per output-shaft turn
  unsigned char staterWinding = 0; // field-winding pins
  float staterWindingR = 0;        // ohm; stored only
  float Te = 0.01f;                // s
  float Tm = 0.1f;                 // s; stored only
  float Istart = 1;                // A, stall current at Un
  float Iidle = 0.1f;              // A; stored only
  float Mstart = 1;                // N·m, stall torque of the motor shaft
  float Widle = 10;                // rpm, no-load speed of the motor shaft
  float TicksPerRot = 1;           // encoder ticks per motor-shaft turn
  float Luft = 0;                  // gear backlash; stored only
  unsigned char sensorType = kSensorNone;
  unsigned char sensorOutType = kOutOpenCollector;
  float sensorCurrent = 0;         // A
  float sensorMinVoltage = 0;      // V
  float sensorMaxVoltage = 0;      // V
  float sensorMaxOutCurrent = 0;   // A
  SchSignalSource pulseRecord = {nullptr, 0};  // edges and tick change of the last step
  unsigned char sensorBurnt = 0;
  float Ktacho = 1;                // V per rad/s
  wchar_t* sound = nullptr;        // owned; stored only
  float soundRate = 1;             // stored only
  PulseTickMemory ticks = {0, 0};
  float mass = 0.5f;
  unsigned char staterForm = 0;
  float staterDiameter = 0.02f, staterHeight = 0.02f;  // m
  unsigned char foreForm = 0;
  float foreDiameter = 0.02f, foreHeight = 0.001f;     // m
  float rotterDiameter = 0.001f;                       // m
  float rotterHeight1 = 0.01f, rotterHeight2 = 0.002f; // m
  float outputIdleSpeed = 0;       // rad/s, derived
  float windingResistance = 0;     // ohm, derived
  float windingInductance = 0;     // H, derived
  DevShaft shaft = {0, 0, 0};      // speed, angle, torque
  RotorWindingState winding = {0, 0};  // current and heating current

private:
  void UpdateDerived();
  RotorWindingModel WindingModel() const;
  void StepWinding(float dt);
  void StepSensor();
  void StepEncoder(int k);
  void StepTacho(int k);
  // Drives pins from..to (inclusive) as 0 V behind 5,000,000 ohm.
  void OpenPins(int from, int to);
  void BurnSensor();
};

// Registry creator ("DCMotor").
CSCHBlock* CreateCSCHDCMotor();
