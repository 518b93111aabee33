// CSCHPultComputer: the computer of the control panel, the part that a new
// control panel's scheme starts with. Its program runs the operator's user
// interface with its USB, Ethernet and WiFi adapters and an audio system;
// it works on a battery of 2.5 hours that a charger on its two supply pins
// refills.
#pragma once

#include "scheme/model/block.h"

class BeScheme;

// The battery's full charge, in seconds of simulated time.
const float kUnitPultBatterySeconds = 9000.0f;
// The charger's load between the two supply pins, ohm.
const float kUnitPultChargerLoad = 6.3333335f;
// A charger voltage above this (pin 3 positive) refills the battery.
const float kUnitPultChargeVoltage = 15.0f;

class CSCHPultComputer : public CSCHBlock {
public:
  // Pins: 0 USB, 1 Ethernet, 2 and 3 the optional supply, all on the right.
  static const int kUsbPin = 0;
  static const int kEthernetPin = 1;
  static const int kSupplyPin = 2;
  static const int kSupplyReturnPin = 3;

  // Builds the catalogue once, makes the program with its device blocks
  // (user interface, USB "USB" on pin 0, LAN "Ethernet" on pin 1, WiFi
  // without antenna, audio system), a board part named "Компьютер пульта
  // управления", 230 x 157, four pins, battery full.
  CSCHPultComputer();
  ~CSCHPultComputer() override;

  void Paint(HDC dc) override;
  // Opens a block-diagram editor on the program; false.
  bool Edit() override;
  // Battery full, not discharged, program started.
  void Start() override;
  // The charger load on pins 2 and 3, the battery, then one program step
  // unless the battery has run out during this run.
  void Step(float dt) override;
  void Stop() override;
  // The program's "BE5 " stream, then the base record.
  void Save(CStream* stream) override;
  // Drops the program's unselected blocks (the constructor's device
  // blocks), reads the saved program, then the base record. A program that
  // cannot be read fails the read of the scheme.
  void Load(CStream* stream) override;

  BeScheme* GetProgram() const { return program_; }
  float GetBattery() const { return battery_; }
  bool IsDischarged() const { return discharged_ != 0; }

private:
  BeScheme* program_;  // owned, never null
  float battery_ = kUnitPultBatterySeconds;
  unsigned char discharged_ = 0;
};

CSCHBlock* CreateCSCHPultComputer();
