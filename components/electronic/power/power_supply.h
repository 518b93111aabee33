// The power supply unit: a mains or DC unit with up to six outputs referred
// to a common pin, optionally feeding a board computer over an ATX 24 or ITX
// cable. It loads its input with the power its outputs deliver, switches
// them off below the minimum input voltage, burns out above the maximum and
// trips its short-circuit protection when an output draws too much.
#pragma once

#include <windows.h>

#include "scheme/parts/device.h"

// Output types.
const int kElecPsuPlainOutputs = 0;
const int kElecPsuAcOutput1 = 1;
const int kElecPsuAtx24 = 2;
const int kElecPsuItx = 3;

// Input types: this one is AC, any other DC.
const int kElecPsuAcInput = 1;

const int kElecPsuOutputCount = 6;

// Pins.
const int kElecPsuInput = 0;
const int kElecPsuInputGround = 1;
const int kElecPsuConnector = 2;  // output types 2 and 3

class CSCHPowerSupply : public CSCHDevice {
public:
  // A 250 px wide block without pins: they come with a database record or a
  // loaded document.
  CSCHPowerSupply();
  // Frees every pin name.
  ~CSCHPowerSupply() override;

  // "InType", "Uin", "UinMin", "UinMax", "OutType", "Uout1".."Iout6",
  // "stab", then the device fields; rebuilds the pins.
  void ApplyDbRecord(CompDbRecord* record) override;
  void Paint(HDC dc) override;
  void Start() override;
  void Step(float dt) override;
  // The unit's own fields, then the device record.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;
  // The input ground and the common output are one net.
  void JoinInternalNets() override;

  // Makes the pins of the current configuration: the input pair, the board
  // connector, the common pin and one pin per existing output.
  void BuildPins();

  // Whether the unit has a board connector (output types 2 and 3).
  bool HasConnector() const { return outputType == kElecPsuAtx24 || outputType == kElecPsuItx; }
  // Whether the common pin exists (output 1 is set).
  bool HasCommon() const { return outputVoltage[0] != 0; }
  // Index of the common pin (or of the first output pin when there is no
  // common pin): 2, or 3 after a board connector.
  int CommonPin() const { return HasConnector() ? 3 : 2; }
  // The pin count BuildPins makes for the current configuration.
  int ExpectedPinCount() const;
  // The internal resistance of output i (0-based): |Uout| / Iout, a
  // twentieth of it when stabilised; 5 megohm for an output without a
  // usable current limit.
  float OutputResistance(int i) const;

  // Fields, in this order.
  float elapsedTime = 0;                    // run time
  int inputType = 0;                        // saved as one byte
  float inputVoltage = 12.0f;               // Uin
  float minimumInput = 0;                   // UinMin
  float maximumInput = 0;                   // UinMax
  int outputType = kElecPsuPlainOutputs;        // saved as one byte
  float outputVoltage[kElecPsuOutputCount] = {};  // 0: no such output
  float outputCurrent[kElecPsuOutputCount] = {};  // limits, amperes
  float efficiency = 88.0f;                 // percent
  unsigned char stabilised = 1;
  unsigned char protectionTripped = 0;      // run time
  float previousInput = 0;                  // run time, AC measurement
  float smoothedInput = 0;                  // run time, S
  float phase = 0;                          // run time, AC output, radians

private:
  void FreePinNames();
  // Every pin from index first on at 0 V behind 5 megohm.
  void SwitchOff(int first);
  // The connector's net, when the unit has one and the pin is on a net.
  SchNet* ConnectorNet() const;
};

// Registry creator ("POWER_SUPPLY").
CSCHBlock* CreateCSCHPowerSupply();
