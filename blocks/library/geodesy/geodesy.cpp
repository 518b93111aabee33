#include "blocks/library/geodesy/geodesy.h"

#include <cmath>

namespace {
const double kFirstStep = 0.001;      // rad
const double kFirstError = 1e20;      // m²
const double kEnoughError = 1.0;      // m²
const int kFixedPointLimit = 100;

BeGeoVector Unit(BeGeoVector v) {
  double n = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  if (n == 0) return v;
  return BeGeoVector{v.x / n, v.y / n, v.z / n};
}

BeGeoVector Difference(const BeGeoVector& a, const BeGeoVector& b) { return BeGeoVector{a.x - b.x, a.y - b.y, a.z - b.z}; }

double Dot(const BeGeoVector& a, double x, double y, double z) { return a.x * x + a.y * y + a.z * z; }

double RadiusOfCurvature(double B, double a, double e2) {
  double s = std::sin(B);
  return a / std::sqrt(1 - e2 * s * s);
}

// The latitude and height of the point (r, Z) of the meridian plane by the
// fixed-point iteration B = atan2(Z + e²·N·sin B, r), from B.
void SolveByIteration(double r, double Z, double a, double e2, double* B, double* H) {
  double b = *B;
  for (int i = 0; i < kFixedPointLimit; ++i) {
    double next = std::atan2(Z + e2 * RadiusOfCurvature(b, a, e2) * std::sin(b), r);
    bool settled = next == b;
    b = next;
    if (settled) break;
  }
  double s = std::sin(b);
  *B = b;
  *H = r * std::cos(b) + Z * s - a * std::sqrt(1 - e2 * s * s);
}
}  // namespace

BeGeoVector GeodeticToGeocentric(double B, double L, double H, double a, double e2) {
  double N = RadiusOfCurvature(B, a, e2);
  double cb = std::cos(B);
  return BeGeoVector{(N + H) * cb * std::cos(L), (N + H) * cb * std::sin(L), ((1 - e2) * N + H) * std::sin(B)};
}

BeGeodetic GeocentricToGeodetic(double X, double Y, double Z, double a, double e2) {
  BeGeodetic g;
  g.L = std::atan2(Y, X);
  if (!std::isfinite(X) || !std::isfinite(Y) || !std::isfinite(Z)) {
    g.B = g.H = std::nan("");
    return g;
  }
  double r = std::sqrt(X * X + Y * Y);
  double k = 1 - e2;
  double zk = Z / k;
  double B = std::atan2(zk, r);
  double step = kFirstStep;
  double previous = kFirstError;
  double bestB = B, bestError = HUGE_VAL;
  for (int move = 0; move <= kBeGeoSearchMoveLimit; ++move) {
    double N = RadiusOfCurvature(B, a, e2);
    double H = (std::sqrt(zk * zk + r * r) - N) * k;
    double dr = (N + H) * std::cos(B) - r;
    double dz = (k * N + H) * std::sin(B) - Z;
    double error = dr * dr + dz * dz;
    if (error < kEnoughError) {
      g.B = B;
      g.H = H;
      return g;
    }
    if (error < bestError) {
      bestError = error;
      bestB = B;
    }
    if (error > previous) step = -step / 2;
    previous = error;
    // A step too small to move the latitude would repeat this move forever.
    if (B + step == B) break;
    B += step;
  }
  g.B = bestB;
  SolveByIteration(r, Z, a, e2, &g.B, &g.H);
  return g;
}

BeGeoVector Wgs84ToGeocentric(double B, double L, double H) {
  return GeodeticToGeocentric(B, L, H, kBeWgs84A, kBeWgs84E2);
}
BeGeoVector Pz90ToGeocentric(double B, double L, double H) { return GeodeticToGeocentric(B, L, H, kBePz90A, kBePz90E2); }
BeGeodetic GeocentricToWgs84(double X, double Y, double Z) {
  return GeocentricToGeodetic(X, Y, Z, kBeWgs84A, kBeWgs84E2);
}
BeGeodetic GeocentricToPz90(double X, double Y, double Z) { return GeocentricToGeodetic(X, Y, Z, kBePz90A, kBePz90E2); }

void RotatePair(double* p, double* q, double s, double c) {
  double p0 = *p, q0 = *q;
  *p = p0 * c - q0 * s;
  *q = p0 * s + q0 * c;
}

BeLocalAxes ProjectOnLocalAxes(double vx, double vy, double vz, double B, double L, double a, double e2) {
  BeGeoVector p0 = GeodeticToGeocentric(B, L, 0, a, e2);
  BeGeoVector n = Unit(Difference(GeodeticToGeocentric(B + 0.001, L, 0, a, e2), p0));
  BeGeoVector e = Unit(Difference(GeodeticToGeocentric(B, L + 0.001, 0, a, e2), p0));
  BeGeoVector u = Unit(Difference(GeodeticToGeocentric(B, L, 1, a, e2), p0));
  return BeLocalAxes{Dot(n, vx, vy, vz), Dot(e, vx, vy, vz), Dot(u, vx, vy, vz)};
}
