// Intermediate bases between CSCHBlock and the concrete components: devices
// mounted in the robot (with their physical description), external sensors
// and radio parts, and measuring instruments.
#pragma once

#include "scheme/model/block.h"

struct Mat4f;

// A part mounted in the robot: its form, mass and outer size from the
// component database.
class CSCHDevice : public CSCHBlock {
public:
  CSCHDevice() {}
  // "Form", "mass", and "Length", "Width", "Height" (millimetres, stored in
  // metres), then the base record fields.
  void ApplyDbRecord(CompDbRecord* record) override;
  // The base block record, then form (byte), mass, length, width, height.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;

  // Fields, in this order.
  int form = 0;
  float mass = 0;
  float length = 0, width = 0, height = 0;  // metres
};

// The common base of the external sensors and radio parts.
class CSCHOutSensor : public CSCHDevice {
public:
  CSCHOutSensor() {}
  // The matrix placing the device in the robot's 3D model; each subclass
  // sets it or leaves it null.
  Mat4f* pose = nullptr;
};

// A measuring instrument. Every live one is in a program-wide list, in
// construction order, so that each can take a distinct letter. The list
// counts the devices named by each letter as their names change, so that
// finding a free letter costs a constant however many devices there are.
class CSCHMeasureDevice : public CSCHBlock {
public:
  CSCHMeasureDevice();
  ~CSCHMeasureDevice() override;

  static int GetListCount();
  // The i-th live measuring device (walking the list), null out of range.
  static CSCHMeasureDevice* GetListItem(int i);
  // The first capital letter "A" to "Z" that no listed device has as its
  // instance name (exact comparison); 0 when all 26 are in use.
  static wchar_t GetFreeLetter();

protected:
  void InstanceNameChanging(const wchar_t* from, const wchar_t* to) override;

private:
  // Links of the list, oldest first.
  CSCHMeasureDevice* prevDevice_ = nullptr;
  CSCHMeasureDevice* nextDevice_ = nullptr;
};
