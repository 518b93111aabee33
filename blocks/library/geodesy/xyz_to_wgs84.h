// CBEXYZtoWGS84 ("Геоцентричекие XYZ в WGS-84"): geocentric X, Y, Z to WGS-84 latitude, longitude and height.
#pragma once

#include "blocks/library/geodesy/coordinate_block.h"

class CBEXYZtoWGS84 : public CBECoordinateBlock {
public:
  CBEXYZtoWGS84();
  static CBEBlock* Create();
  void Step(float dt) override;
};
