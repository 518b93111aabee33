#include "blocks/library/geodesy/xyz_to_wgs84.h"

#include <new>

#include "blocks/library/geodesy/geodesy.h"

namespace {
const BeCoordinateLayout kLayout = {
    180, 60, 118670, 8124, true, L"XYZ -> WGS84", 3, kBeGeocentricPins, kBeWgs84Pins, nullptr, nullptr};
}  // namespace

CBEXYZtoWGS84::CBEXYZtoWGS84() : CBECoordinateBlock(kLayout) {}

CBEBlock* CBEXYZtoWGS84::Create() {
  return KeepIfCoordinatePinsMade(new (std::nothrow) CBEXYZtoWGS84, kLayout);
}

void CBEXYZtoWGS84::Step(float) {
  BeGeodetic g = GeocentricToWgs84(ReadInput(0), ReadInput(1), ReadInput(2));
  WriteOutputs(g.B, g.L, g.H);
}
