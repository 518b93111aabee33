// The pins the two plane converters share: the converted point's plane or
// geocentric coordinates, then the base point, at fixed offsets from the
// top (the base point's group stands apart from the converted point).
#pragma once

#include "blocks/library/geodesy/coordinate_block.h"

// "X", "Y", "H".
extern const BeCoordinatePin kBePlanePins[3];
// "x", "y", "z" of the converted point.
extern const BeCoordinatePin kBeConvertedPointPins[3];
// The inputs: the converted point, then "baseX", "baseY", "baseZ".
extern const BeCoordinatePin kBeXYZtoPlaneInputs[6];
extern const BeCoordinatePin kBePlaneToXYZInputs[6];
extern const int kBePlaneInputOffsets[6];
extern const int kBePlaneOutputOffsets[3];
