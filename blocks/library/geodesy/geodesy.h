// Geodesy on the reference ellipsoids WGS-84 and ПЗ-90.02: geodetic
// latitude, longitude and height against geocentric X, Y, Z, and the
// geometry of a local frame at a point. Angles are radians, lengths metres.
#pragma once

// The ellipsoids: semi-major axis and squared eccentricity (the ПЗ-90.02
// value is the system's own, not recomputed from a flattening).
const double kBeWgs84A = 6378137.0;
const double kBeWgs84E2 = 0.00669437999014;
const double kBePz90A = 6378136.0;
const double kBePz90E2 = 0.006716848763255257;

// Latitude, longitude and height above the ellipsoid.
struct BeGeodetic {
  double B;
  double L;
  double H;
};
// A geocentric point or vector.
struct BeGeoVector {
  double x;
  double y;
  double z;
};

// N = a / sqrt(1 - e²·sin²B); X = (N + H)·cos B·cos L, Y = (N + H)·cos B·sin L,
// Z = ((1 - e²)·N + H)·sin B.
BeGeoVector GeodeticToGeocentric(double B, double L, double H, double a, double e2);

// A step search on the latitude from atan2(Z / (1 - e²), r), first move
// +0.001 rad, reversing and halving the step whenever the squared mismatch
// between the point and the forward formulas grows; the height estimate of
// each move is (sqrt(Z'² + r²) - N)·(1 - e²). The search ends with the first
// latitude whose mismatch is below 1 m².
//
// Points more than a few hundred metres off the ellipsoid never reach that
// bound. The search therefore also stops when its step no longer moves the
// latitude or after kBeGeoSearchMoveLimit moves; the latitude and height then
// come from the fixed-point iteration B = atan2(Z + e²·N·sin B, r), started
// at the best latitude the search met, with H = r·cos B + Z·sin B -
// a·sqrt(1 - e²·sin²B) (exact for the latitude found). Coordinates that are
// not finite give a latitude and height that are not a number.
BeGeodetic GeocentricToGeodetic(double X, double Y, double Z, double a, double e2);
const int kBeGeoSearchMoveLimit = 20000;

BeGeoVector Wgs84ToGeocentric(double B, double L, double H);
BeGeoVector Pz90ToGeocentric(double B, double L, double H);
BeGeodetic GeocentricToWgs84(double X, double Y, double Z);
BeGeodetic GeocentricToPz90(double X, double Y, double Z);

// Turns (p, q) in place by the angle of sine s and cosine c:
// p' = p·c - q·s, q' = p·s + q·c, both from the old values.
void RotatePair(double* p, double* q, double s, double c);

// The north, east and up components of a geocentric vector at the geodetic
// point (B, L) of the ellipsoid: its dot products with the unit vectors
// from the point to the points 0.001 rad further north, 0.001 rad further
// east and 1 m higher.
struct BeLocalAxes {
  double north;
  double east;
  double up;
};
BeLocalAxes ProjectOnLocalAxes(double vx, double vy, double vz, double B, double L, double a, double e2);
