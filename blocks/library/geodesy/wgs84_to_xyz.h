// CBEWGS84toXYZ ("WGS-84 в геоцентричекие XYZ"): WGS-84 latitude, longitude and height to geocentric X, Y, Z.
#pragma once

#include "blocks/library/geodesy/coordinate_block.h"

class CBEWGS84toXYZ : public CBECoordinateBlock {
public:
  CBEWGS84toXYZ();
  static CBEBlock* Create();
  void Step(float dt) override;
};
