// CBEPlaneToXYZ ("XYH на базовой плоскости в геоцентричекие XYZ"): X (east), Y (north) and H (up) on the plane tangent, at a base point,
// to the sphere through it, to a geocentric point.
#pragma once

#include "blocks/library/geodesy/coordinate_block.h"

class CBEPlaneToXYZ : public CBECoordinateBlock {
public:
  CBEPlaneToXYZ();
  static CBEBlock* Create();
  void Step(float dt) override;
};
