// The tangent plane of the two plane converters: the sphere through a
// geocentric base point, touched there by a plane with X east, Y north and
// H up. The latitude is the geocentric one.
#pragma once

struct BePlaneFrame {
  double radius;  // R = |base|
  double sinLat, cosLat;  // of φ = atan2(bz, sqrt(bx² + by²))
  double sinLon, cosLon;  // of λ = atan2(by, bx)
};

// The frame at the base point; an all-zero base gives R = 0 and both
// angles 0.
BePlaneFrame MakePlaneFrame(double bx, double by, double bz);
