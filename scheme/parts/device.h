// The base of the parts mounted in the robot, between CSCHBlock and the
// concrete components.
#pragma once

#include "scheme/model/block.h"

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
