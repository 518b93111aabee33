#include "blocks/library/geodesy/xyz_to_plane.h"

#include <new>

#include "blocks/library/geodesy/geodesy.h"
#include "blocks/library/geodesy/plane_frame.h"
#include "blocks/library/geodesy/plane_pins.h"

namespace {
const BeCoordinateLayout kLayout = {180, 110, 6530, 1540, false, L"Геоцентр. XYZ\nв\nXYH на плоскости",
                                    6, kBeXYZtoPlaneInputs, kBePlanePins, kBePlaneInputOffsets,
                                    kBePlaneOutputOffsets};
}  // namespace

CBEXYZtoPlane::CBEXYZtoPlane() : CBECoordinateBlock(kLayout) {}

CBEBlock* CBEXYZtoPlane::Create() { return KeepIfCoordinatePinsMade(new (std::nothrow) CBEXYZtoPlane, kLayout); }

// The point turned back by the longitude about the axis, then by the
// latitude: x along the base's radius, y east, z north.
void CBEXYZtoPlane::Step(float) {
  BePlaneFrame f = MakePlaneFrame(ReadInput(3), ReadInput(4), ReadInput(5));
  double x = ReadInput(0), y = ReadInput(1), z = ReadInput(2);
  RotatePair(&y, &x, f.sinLon, f.cosLon);
  RotatePair(&z, &x, f.sinLat, f.cosLat);
  WriteOutputs(y, z, x - f.radius);
}
