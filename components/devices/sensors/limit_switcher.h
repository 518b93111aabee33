// The limit switch: a contact that the shaft operates while its angle is
// near zero (within 0.03 rad). Its contact technology makes it normally
// open, normally closed or a changeover contact. It never burns out.
#pragma once

#include <windows.h>

#include "components/devices/sensors/rot_sensor.h"

class CSCHLimitSwitcher : public CSCHRotSensor {
public:
  enum Tech : unsigned char { kNormallyOpen = 0, kNormallyClosed = 1, kChangeover = 2 };
  // The common of the changeover contact and the contacts it joins.
  static constexpr int kCommonPin = 0;
  static constexpr int kPressedPin = 1;
  static constexpr int kReleasedPin = 2;
  static constexpr int kWidth = 50, kHeight = 60;
  // The shaft presses the switch below this angle (rad) either way.
  static constexpr float kPressedAngle = 0.03f;

  // Normally open; a 50 x 60 px symbol.
  CSCHLimitSwitcher();

  // "tech", then the device columns, then BuildPins.
  void ApplyDbRecord(CompDbRecord* record) override;
  // The contact symbol of its technology, the operating arrow, the
  // instance name below.
  void Paint(HDC dc) override;
  void Step(float dt) override;
  // tech, then the device record.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;

  // Two pins (normally open or closed) or three (changeover) on the right;
  // another technology leaves the pins as they were. False, with the pins
  // as they were, when memory runs out.
  bool BuildPins();
  bool Pressed() const;

  // Field.
  unsigned char tech = kNormallyOpen;

private:
  // The two pins exchange the states of their nets: levels and sources
  // pass through.
  void Join(int a, int b);
  void Open(int pin);
};

// Registry creator ("LimitSwitcher").
CSCHBlock* CreateCSCHLimitSwitcher();
