#include "blocks/library/geodesy/pz90_to_xyz.h"

#include <new>

#include "blocks/library/geodesy/geodesy.h"

namespace {
const BeCoordinateLayout kLayout = {
    180, 60, 18670, 4124, true, L"ПЗ90 -> XYZ", 3, kBePz90Pins, kBeGeocentricPins, nullptr, nullptr};
}  // namespace

CBEPZ90toXYZ::CBEPZ90toXYZ() : CBECoordinateBlock(kLayout) {}

CBEBlock* CBEPZ90toXYZ::Create() {
  return KeepIfCoordinatePinsMade(new (std::nothrow) CBEPZ90toXYZ, kLayout);
}

void CBEPZ90toXYZ::Step(float) {
  BeGeoVector p = Pz90ToGeocentric(ReadInput(0), ReadInput(1), ReadInput(2));
  WriteOutputs(p.x, p.y, p.z);
}
