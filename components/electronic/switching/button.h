// The push button or switch of a robot: a device with N identical contact
// groups that are closed or open by a pressed state. Nothing in this program
// presses it: the state arrives with the run state from the simulation that
// does, and goes back with it. Closed contacts join their nets without
// resistance; each group's contact current is smoothed over 10 s and the
// button melts when a group passes the current limit.
#pragma once

#include <windows.h>

#include "scheme/parts/device.h"

// Button kinds: two pins a group (kind 1 draws another contact), or a
// changeover with three pins a group.
const int kElecButtonMake = 0;
const int kElecButtonMakeAlt = 1;
const int kElecButtonChangeover = 2;

// The group count is stored in one byte.
const int kElecButtonMaxGroups = 255;

// Pins of a changeover group, from its first pin.
const int kElecButtonCommon = 0;
const int kElecButtonNormallyClosed = 1;
const int kElecButtonNormallyOpen = 2;

class CSCHButton : public CSCHDevice {
public:
  // One group of kind 0, not pressed; a 48 px wide symbol.
  CSCHButton();

  // "type", "fix", "N", "Umax", "Imax", the device's size and mass (not
  // its form), then the base block fields.
  void ApplyDbRecord(CompDbRecord* record) override;
  void Paint(HDC dc) override;
  void Start() override;
  void Step(float dt) override;
  // The own fields (kind and N as one byte each), then the device record.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;
  // The base run state, then the pressed byte.
  void SaveRunState(CStream* stream) override;
  bool LoadRunState(CStream* stream) override;

  // Pins, their descriptions and places, and the symbol height from the
  // kind and N.
  void BuildPins();
  // Pins a group has: 3 for a changeover, 2 otherwise.
  int GroupPins() const { return buttonKind == kElecButtonChangeover ? 3 : 2; }

  // Fields, in this order.
  int buttonKind = kElecButtonMake;
  unsigned char latching = 0;  // kept for the simulation that presses it
  float voltageLimit = 1000;   // volts across a contact while it switches
  float currentLimit = 10;     // amperes, of a group's smoothed current
  int groupCount = 1;          // N, 1..255
  unsigned char pressed = 0;   // the run state's input
  // Set for the step in which the pressed state differs from the one the
  // step before saw: the contacts then switch under the voltage across
  // them.
  unsigned char switching = 0;
  // Run time: the smoothed contact current of each group, and the pressed
  // state the last step saw (2 before the first step of a run).
  float groupCurrent[kElecButtonMaxGroups] = {};
  unsigned char lastPressed = 2;

private:
  // The heat check of group g between the states A and B of its closed
  // contact; true when the button burnt.
  bool CheckHeat(int g, const SchPinState& A, const SchPinState& B, float dt);
  // While switching: true (and the button burnt) when the voltage across
  // the contact between A and B is above the limit.
  bool CheckArc(const SchPinState& A, const SchPinState& B);
};

// Registry creator ("Button").
CSCHBlock* CreateCSCHButton();
