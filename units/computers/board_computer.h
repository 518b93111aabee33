// CSCHBoardComputer: the robot's on-board computer. A component built from a
// database model whose pins are its supplies, its power switch, its disk
// connector and its ports (USB, COM, UART, LPT, GPIO, Ethernet, WiFi
// antenna, microphone inputs). It owns a program on the on-board catalogue,
// whose device blocks it makes and binds to its pins; its step models the
// supplies as loads (burning out on over- and reverse voltage), a battery, a
// power switch, a boot disk and a boot time, and runs the program while the
// computer is up.
#pragma once

#include "blocks/library/device_owner.h"
#include "foundation/plain_array.h"
#include "scheme/parts/device.h"

class BeScheme;
class CBEBlock;

// Seconds without power or disk that a running program survives.
const float kUnitBootGrace = 0.1f;
// The shortest boot time.
const float kUnitShortestBoot = 0.01f;

class CSCHBoardComputer : public CSCHDevice, public BeDeviceOwner {
public:
  // Supply pin slots.
  enum SupplySlot {
    kSupply1Main,
    kSupply1Return,
    kSupply2,
    kSupply2Ground,
    kSupply3,
    kSupply4,
    kSupplySlotCount
  };

  // Builds the catalogue once and makes an empty program; the model's
  // defaults (5 V 1 A supply, 2 USB ports, Ethernet, built-in disk, 30 s
  // boot), 200 x 120, no pins until a model is applied or a record read.
  CSCHBoardComputer();
  // Deletes the program, then frees the supply pin names.
  ~CSCHBoardComputer() override;

  // The model's keys (type, supplies, battery, switch, boot, disk, ports),
  // then the device's, then the pin layout.
  void ApplyDbRecord(CompDbRecord* record) override;
  void Paint(HDC dc) override;
  // Opens a block-diagram editor on the program; false.
  bool Edit() override;
  void Start() override;
  void Step(float dt) override;
  // Stops the program when it runs.
  void Stop() override;
  // The model's fields, the program's "BE5 " stream, the device record.
  void Save(CStream* stream) override;
  // The same order; the pins are laid out again (rebinding the program's
  // device blocks) before the device record. A record or program that
  // cannot be read fails the read of the scheme.
  void Load(CStream* stream) override;
  // Joins the pins of the ground list into one net.
  void JoinInternalNets() override;
  // The base run state, then the run timer.
  void SaveRunState(CStream* stream) override;
  bool LoadRunState(CStream* stream) override;

  // The voltage and resistance seen at the first supply's return pin in the
  // latest step.
  void GetGroundReference(float* U, float* R) const override;

  // Lays out the pins from the model's fields and binds the program's
  // device blocks to them (made by class id when missing).
  void BuildPins();
  // The program's device block with that caption, or null.
  CBEBlock* FindProgramBlock(const wchar_t* caption) const;
  // Appends a pin to the ground list.
  void AddGroundPin(int pin);

  BeScheme* GetProgram() const { return program_; }
  int GetSupplyPin(int slot) const { return slot >= 0 && slot < kSupplySlotCount ? supplyPins_[slot] : -1; }
  int GetDiskPin() const { return diskPin_; }
  int GetPowerSwitchPin() const { return powerSwitchPin_; }
  const CPlainArray<int>& GetGroundList() const { return groundList_; }
  float GetRunTimer() const { return runTimer_; }
  float GetBattery() const { return battery_; }
  bool IsSwitchedOn() const { return switchedOn_ != 0; }
  bool IsProgramRunning() const;

  // The model, in the order of the record.
  int type = 0;
  int U1Type = 0;  // 0 direct, 1 alternating, 2 ATX 24, 3 ITX
  float U1 = 5, I1 = 1, U2 = 0, I2 = 0, U3 = 0, I3 = 0, U4 = 0, I4 = 0;
  float hours = 0;  // battery life; 0 none
  unsigned char ONType = 0;
  float LoadTime = 30;
  unsigned char HD = 1;
  int HD_IFACE = 0;  // 0 none, 1 SATA, 2 IDE
  int USB = 2, COM = 0, UART = 0, LPT = 0, GPIO = 0;
  unsigned char Ethernet = 1, WiFi = 0, bluetooth = 0, WiFiAntenna = 0;
  int AudioOut = 0, AudioIn = 0, CamIface = 0;
  unsigned char can = 0;

private:
  void FreeSupplyNames();
  // A supply pin on the left side (a name of null when memory ran out for
  // its allocated name).
  void SetSupplyPin(int pin, const wchar_t* name, const wchar_t* description, int kind);
  // The device block with that caption, made when missing; null when the
  // catalogue lacks the class or memory ran out.
  CBEBlock* DeviceBlock(const wchar_t* caption, unsigned int classId);
  bool Bootable() const;
  // The supply analysis of one step; false when the computer burnt out
  // (the step then ends). *powered tells whether the supplies are good.
  bool StepSupplies(float dt, bool* powered);
  void BurnOut();
  void DriveAllOpen();

  int supplyPins_[kSupplySlotCount];
  wchar_t* supplyNames_[kSupplySlotCount];  // owned; the pins point at them
  int diskPin_ = -1;
  int powerSwitchPin_ = -1;
  CPlainArray<int> groundList_;
  int pendingSteps_ = 0;
  BeScheme* program_;  // owned, never null
  unsigned char switchedOn_ = 0;
  float battery_ = 0;
  float runTimer_ = 0;
  float rateValue_ = 0, filteredVoltage_ = 0;
  float groundU_ = 0, groundR_ = 0;
};

CSCHBlock* CreateCSCHBoardComputer();
