// CBEXYZtoPZ90 ("Геоцентричекие XYZ в ПЗ-90.02"): geocentric X, Y, Z to ПЗ-90.02 latitude, longitude and height.
#pragma once

#include "blocks/library/geodesy/coordinate_block.h"

class CBEXYZtoPZ90 : public CBECoordinateBlock {
public:
  CBEXYZtoPZ90();
  static CBEBlock* Create();
  void Step(float dt) override;
};
