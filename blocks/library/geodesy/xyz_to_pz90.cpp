#include "blocks/library/geodesy/xyz_to_pz90.h"

#include <new>

#include "blocks/library/geodesy/geodesy.h"

namespace {
const BeCoordinateLayout kLayout = {
    180, 60, 118670, 8124, true, L"XYZ -> ПЗ90", 3, kBeGeocentricPins, kBePz90Pins, nullptr, nullptr};
}  // namespace

CBEXYZtoPZ90::CBEXYZtoPZ90() : CBECoordinateBlock(kLayout) {}

CBEBlock* CBEXYZtoPZ90::Create() {
  return KeepIfCoordinatePinsMade(new (std::nothrow) CBEXYZtoPZ90, kLayout);
}

void CBEXYZtoPZ90::Step(float) {
  BeGeodetic g = GeocentricToPz90(ReadInput(0), ReadInput(1), ReadInput(2));
  WriteOutputs(g.B, g.L, g.H);
}
