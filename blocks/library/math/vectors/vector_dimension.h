// The sizes the vector blocks share: 2 to 127 components, one pin each,
// 20 pixels of body per pin.
#pragma once

const int kMinVectorComponents = 2;
const int kMaxVectorComponents = 127;
const int kVectorPinPitch = 20;

// The smallest magnitude the normalisation divides by (the float nearest to
// 1e-10): a shorter vector passes unchanged.
const double kNormSmallestLength = 1.000000013351432e-10;
