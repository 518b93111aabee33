#include "blocks/library/geodesy/wgs84_to_xyz.h"

#include <new>

#include "blocks/library/geodesy/geodesy.h"

namespace {
const BeCoordinateLayout kLayout = {
    180, 60, 18670, 4124, true, L"WGS-84 -> XYZ", 3, kBeWgs84Pins, kBeGeocentricPins, nullptr, nullptr};
}  // namespace

CBEWGS84toXYZ::CBEWGS84toXYZ() : CBECoordinateBlock(kLayout) {}

CBEBlock* CBEWGS84toXYZ::Create() {
  return KeepIfCoordinatePinsMade(new (std::nothrow) CBEWGS84toXYZ, kLayout);
}

void CBEWGS84toXYZ::Step(float) {
  BeGeoVector p = Wgs84ToGeocentric(ReadInput(0), ReadInput(1), ReadInput(2));
  WriteOutputs(p.x, p.y, p.z);
}
