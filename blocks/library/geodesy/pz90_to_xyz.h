// CBEPZ90toXYZ ("ПЗ-90.02 в геоцентричекие XYZ"): ПЗ-90.02 latitude, longitude and height to geocentric X, Y, Z.
#pragma once

#include "blocks/library/geodesy/coordinate_block.h"

class CBEPZ90toXYZ : public CBECoordinateBlock {
public:
  CBEPZ90toXYZ();
  static CBEBlock* Create();
  void Step(float dt) override;
};
