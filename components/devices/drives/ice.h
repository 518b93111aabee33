// The internal-combustion engine with its electrical equipment: towards the
// circuit a load and a source on the vehicle battery (instruments, engine
// electrics, a starter with back EMF, a generator once the engine turns at
// idle speed), summed as one Thevenin source between the battery pins. With
// key start three more inputs (the ACC, ON and START positions of the
// ignition key) each work a relay. The robot's mechanical simulation writes
// the engine speed and reads the starter torque and the engine state.
#pragma once

#include <windows.h>

#include "scheme/model/block.h"

class CSCHICE : public CSCHBlock {
public:
  // Pins.
  static const int kElecBatteryPlus = 0;
  static const int kElecBatteryMinus = 1;
  static const int kKeyAcc = 2;
  static const int kKeyOn = 3;
  static const int kKeyStart = 4;
  static const int kWidth = 200, kHeight = 240;
  // Engine states.
  enum EngineState : unsigned char { kStopped = 0, kCranking = 1, kRunning = 2 };
  // Start types: the engine runs from the start, or waits for the key.
  enum StartType : unsigned char { kNoKey = 0, kKeyStartType = 1 };

  // A 6,180 kW engine on a 24 V battery without key start; two pins.
  CSCHICE();
  ~CSCHICE() override;

  // The columns of the engine table with their conversions (kW, mm, rpm,
  // percent), then the base fields, then BuildPins.
  void ApplyDbRecord(CompDbRecord* record) override;
  // "ICE.jpg" with key start, else "ICE2.jpg", and the instance name above.
  void Paint(HDC dc) override;
  // Stopped with all relays off for key start; running with ACC and ON on
  // without.
  void Start() override;
  // dt is not used: the relays and loads follow the battery at once.
  void Step(float dt) override;
  // The base block record first, then the engine's fields.
  void Save(CStream* stream) override;
  // The base record's wire identities depend on the pin count, which the
  // start type after it decides; see the source for how it is found.
  void Load(CStream* stream) override;

  // 5 pins when startType is not 0, else 2. False, with the pins as they
  // were, when memory runs out.
  bool BuildPins();
  int ExpectedPinCount() const { return startType != kNoKey ? 5 : 2; }

  // Run-time fields.
  float starterTorque = 0;          // N·m, written by Step
  unsigned char engineState = kStopped;
  float engineSpeed = 0;            // rad/s, written by the mechanical simulation
  unsigned char accRelay = 0, onRelay = 0, startRelay = 0;
  float starterCurrent = 0;         // A, the starter's current of the last step

  // Parameters, in this order.
  float power = 6180000;            // W
  unsigned char startType = kNoKey;
  float Irelay = 0.5f;              // A, key relay coil current at Uacc
  unsigned char type = 1;           // engine type code
  float ctrlPath = 0.02f;           // m, control travel
  float Ffriction = 0, Fstatic = 1, Fdyn = 0;
  float friction = 250;
  float minSpeed;                   // rad/s, lowest running speed, the starter's no-load speed
  float idleSpeed;                  // rad/s
  float nominalSpeed;               // rad/s
  float maxSpeed = 0;               // rad/s
  float maxTorqueSpeed;             // rad/s
  float maxTorquePercent = 0;       // fraction
  float timeConst = 0.3f;           // s
  float consumption = 247;
  float stopTime = 3;               // s
  float Uacc = 24;                  // V, battery voltage
  float Istarter = 225;             // A, starter current at Uacc
  float Ugen = 28;                  // V, generator voltage
  float Igen = 70;                  // A, generator current
  float Ipribor = 0;                // A, instruments at Uacc
  float Iengine = 0;                // A, engine electrics at Uacc
  wchar_t* sound = nullptr;         // owned
  float soundRate = 1;
  wchar_t* starterSound = nullptr;  // owned

private:
  // The outcome of reading the record with a given pin count.
  struct Trial {
    bool fits;    // read in full, start type and pins agree, sane base and fields
    int follows;  // 2 a class name follows, 1 the end of the block list or stream, 0 neither
    bool complete;
    bool agrees;
  };
  // Reads the record at start with that many wire identities on a scratch
  // engine, never past the stream's end, and judges the result.
  static Trial TryPinCount(CStream* stream, int start, int pins);
  void StepKeys(float Um, float Rm);
  // The fields after the base record.
  void SaveFields(CStream* stream);
  void LoadFields(CStream* stream);
  // Every float parameter finite and either 0 or normal, the texts such as
  // a database gives.
  bool FieldsPlausible() const;
};

// A speed in rpm in rad/s: rpm * 2 * 3.1415927 / 60, rounded to float.
float IceRpmToRadians(double rpm);

// Registry creator ("ICE").
CSCHBlock* CreateCSCHICE();
