#include "blocks/library/geodesy/plane_to_xyz.h"

#include <new>

#include "blocks/library/geodesy/geodesy.h"
#include "blocks/library/geodesy/plane_frame.h"
#include "blocks/library/geodesy/plane_pins.h"

namespace {
const BeCoordinateLayout kLayout = {180, 110, 6530, 1540, false, L"XYH на плоскости\nв\nгеоцентр. XYZ",
                                    6, kBePlaneToXYZInputs, kBeConvertedPointPins, kBePlaneInputOffsets,
                                    kBePlaneOutputOffsets};
}  // namespace

CBEPlaneToXYZ::CBEPlaneToXYZ() : CBECoordinateBlock(kLayout) {}

CBEBlock* CBEPlaneToXYZ::Create() { return KeepIfCoordinatePinsMade(new (std::nothrow) CBEPlaneToXYZ, kLayout); }

// u along the base's radius, turned by the latitude towards north, then by
// the longitude about the axis.
void CBEPlaneToXYZ::Step(float) {
  BePlaneFrame f = MakePlaneFrame(ReadInput(3), ReadInput(4), ReadInput(5));
  double X = ReadInput(0), Y = ReadInput(1);
  double u = ReadInput(2) + f.radius;
  RotatePair(&u, &Y, f.sinLat, f.cosLat);
  RotatePair(&u, &X, f.sinLon, f.cosLon);
  WriteOutputs(u, X, Y);
}
