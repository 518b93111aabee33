// CBEXYZtoPlane ("Геоцентричекие XYZ в XYH на базовой плоскости"): a geocentric point to X (east), Y (north) and H (up) on the plane
// tangent, at a base point, to the sphere through it.
#pragma once

#include "blocks/library/geodesy/coordinate_block.h"

class CBEXYZtoPlane : public CBECoordinateBlock {
public:
  CBEXYZtoPlane();
  static CBEBlock* Create();
  void Step(float dt) override;
};
