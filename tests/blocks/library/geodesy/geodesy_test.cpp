// The geodesy routines: geodetic to geocentric on both ellipsoids against
// values worked out from the ellipsoid formulas at 40 digits, the way back
// (the latitude search where it ends, the iteration where it would not),
// the centre of the Earth, the poles, points far out and not-a-number
// input, the turn of a pair and the local axes.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "blocks/library/geodesy/geodesy.h"

namespace {

const double kPi = 3.14159265358979323846;
double Rad(double degrees) { return degrees * kPi / 180; }

struct Ellipsoid {
  double a, e2;
};
const Ellipsoid kWgs = {kBeWgs84A, kBeWgs84E2};
const Ellipsoid kPz = {kBePz90A, kBePz90E2};

// Geodetic points and their geocentric coordinates, computed at 40 digits
// from N = a / sqrt(1 - e² sin² B) and the forward formulas.
struct ForwardCase {
  const char* name;
  double latDeg, lonDeg, height;
  Ellipsoid e;
  double x, y, z;
};
const ForwardCase kForward[] = {
    {"Moscow WGS-84", 55.75, 37.6, 200, kWgs, 2850655.9004476167582, 2195300.5774997572547, 5248992.1874512549311},
    {"Moscow ПЗ-90.02", 55.75, 37.6, 200, kPz, 2850677.434980723285, 2195317.1613227846228, 5248913.1091615810877},
    {"Sydney WGS-84", -33.9, 151.2, 50, kWgs, -4643982.3946828340028, 2553050.9261782100888, -3537273.2351607090421},
    {"Andes 10 km", 10, -70, 10000, kWgs, 2151895.2864229319392, -5912283.7084778423254, 1101985.0295120322954},
    {"orbit 1000 km", 80, 20, 1e6, kPz, 1207340.6282754997253, 439436.0513125375777, 7244276.7874485775735},
    {"5 km below", 45, 100, -5000, kWgs, -783857.48453701806871, 4445476.7012260604447, 4483812.8749599915465},
};

TEST(Geodesy, GeodeticToGeocentricMatchesTheEllipsoidFormulas) {
  for (const ForwardCase& c : kForward) {
    SCOPED_TRACE(c.name);
    BeGeoVector p = GeodeticToGeocentric(Rad(c.latDeg), Rad(c.lonDeg), c.height, c.e.a, c.e.e2);
    EXPECT_NEAR(c.x, p.x, 1e-6);
    EXPECT_NEAR(c.y, p.y, 1e-6);
    EXPECT_NEAR(c.z, p.z, 1e-6);
  }
  // The named routines use their own constants.
  BeGeoVector w = Wgs84ToGeocentric(Rad(55.75), Rad(37.6), 200);
  BeGeoVector z = Pz90ToGeocentric(Rad(55.75), Rad(37.6), 200);
  EXPECT_NEAR(kForward[0].z, w.z, 1e-6);
  EXPECT_NEAR(kForward[1].z, z.z, 1e-6);
  EXPECT_GT(std::fabs(w.z - z.z), 70.0);
}

TEST(Geodesy, TheEquatorAndThePolesLieWhereTheAxesSay) {
  for (const Ellipsoid& e : {kWgs, kPz}) {
    const double b = e.a * std::sqrt(1 - e.e2);  // semi-minor axis
    BeGeoVector p = GeodeticToGeocentric(0, 0, 0, e.a, e.e2);
    EXPECT_EQ(e.a, p.x);
    EXPECT_EQ(0.0, p.y);
    EXPECT_EQ(0.0, p.z);
    BeGeodetic g = GeocentricToGeodetic(e.a, 0, 0, e.a, e.e2);
    EXPECT_EQ(0.0, g.B);  // the start value already fits: no move
    EXPECT_EQ(0.0, g.L);
    EXPECT_EQ(0.0, g.H);
    p = GeodeticToGeocentric(Rad(90), 0, 0, e.a, e.e2);
    EXPECT_NEAR(0.0, p.x, 1e-6);
    EXPECT_NEAR(b, p.z, 1e-6);
    for (double sign : {1.0, -1.0}) {
      g = GeocentricToGeodetic(0, 0, sign * b, e.a, e.e2);
      EXPECT_DOUBLE_EQ(sign * kPi / 2, g.B);
      EXPECT_NEAR(0.0, g.H, 1e-6);
    }
  }
}

TEST(Geodesy, NearTheSurfaceTheRoundTripKeepsThePoint) {
  // The Part's example: back within 0.00001°, the longitude exactly, the
  // height estimated to within a metre (exact only on the surface).
  BeGeoVector p = Wgs84ToGeocentric(Rad(55.75), Rad(37.6), 200);
  BeGeodetic g = GeocentricToWgs84(p.x, p.y, p.z);
  EXPECT_NEAR(55.75, g.B * 180 / kPi, 1e-5);
  EXPECT_DOUBLE_EQ(Rad(37.6), g.L);
  EXPECT_NEAR(199.6, g.H, 0.3);
  for (double lat : {-80.0, -45.0, -10.0, 0.0, 30.0, 60.0, 85.0}) {
    for (double h : {0.0, 50.0, 120.0}) {
      SCOPED_TRACE(testing::Message() << lat << "° " << h << " m");
      BeGeoVector q = Pz90ToGeocentric(Rad(lat), Rad(-120), h);
      BeGeodetic back = GeocentricToPz90(q.x, q.y, q.z);
      EXPECT_NEAR(Rad(lat), back.B, Rad(1e-5));
      EXPECT_NEAR(Rad(-120), back.L, 1e-15);
      EXPECT_NEAR(h, back.H, 1.0);
      // The point the result names lies within 1e-6 of the distance from
      // the centre of the point converted.
      BeGeoVector again = Pz90ToGeocentric(back.B, back.L, back.H);
      double size = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z);
      EXPECT_NEAR(0.0, std::hypot(std::hypot(again.x - q.x, again.y - q.y), again.z - q.z) / size, 1e-6);
    }
  }
}

TEST(Geodesy, FarFromTheSurfaceTheWayBackIsExact) {
  // Heights the latitude search alone would never settle.
  for (const ForwardCase& c : kForward) {
    SCOPED_TRACE(c.name);
    BeGeodetic g = GeocentricToGeodetic(c.x, c.y, c.z, c.e.a, c.e.e2);
    EXPECT_NEAR(Rad(c.latDeg), g.B, 1e-6 * std::fabs(Rad(c.latDeg)) + 1e-12);
    EXPECT_NEAR(Rad(c.lonDeg), g.L, 1e-12);
    if (std::fabs(c.height) >= 1000) {
      EXPECT_NEAR(c.height, g.H, 1e-6 * std::fabs(c.height));
    }
  }
  // A point far out on the equator: latitude 0, height r - a.
  BeGeodetic g = GeocentricToWgs84(1e8, 0, 0);
  EXPECT_NEAR(0.0, g.B, 1e-12);
  EXPECT_EQ(0.0, g.L);
  EXPECT_NEAR(1e8 - kBeWgs84A, g.H, 1e-6 * 1e8);
  // Further still, off every axis: the forward formulas give the point back.
  const double far[3] = {3e9, -4e9, 2e9};
  g = GeocentricToWgs84(far[0], far[1], far[2]);
  BeGeoVector p = Wgs84ToGeocentric(g.B, g.L, g.H);
  EXPECT_NEAR(far[0], p.x, 1e-6 * 5e9);
  EXPECT_NEAR(far[1], p.y, 1e-6 * 5e9);
  EXPECT_NEAR(far[2], p.z, 1e-6 * 5e9);
}

TEST(Geodesy, TheCentreOfTheEarthEndsNearTheNorthPole) {
  // Longitude 0, latitude close to +π/2 and the height minus the
  // semi-minor axis.
  for (const Ellipsoid& e : {kWgs, kPz}) {
    BeGeodetic g = GeocentricToGeodetic(0, 0, 0, e.a, e.e2);
    EXPECT_EQ(0.0, g.L);
    EXPECT_NEAR(kPi / 2, g.B, 3e-5);
    EXPECT_NEAR(-e.a * std::sqrt(1 - e.e2), g.H, 1.0);
  }
}

TEST(Geodesy, InputThatIsNotANumberOrOverflowsEnds) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const double inputs[][3] = {{nan, 0, 0}, {0, nan, 0}, {0, 0, nan}, {inf, 0, 0}, {1e6, -inf, 5}, {0, 0, inf}};
  for (const auto& in : inputs) {
    BeGeodetic g = GeocentricToWgs84(in[0], in[1], in[2]);
    EXPECT_TRUE(std::isnan(g.B));
    EXPECT_TRUE(std::isnan(g.H));
  }
  // Finite coordinates whose squares overflow end too.
  BeGeodetic g = GeocentricToWgs84(1e300, 1e300, 0);
  EXPECT_DOUBLE_EQ(kPi / 4, g.L);
}

// The latitude search exactly as described, with a cap only so that a test
// never hangs; answers false when it did not end.
bool UnboundedSearch(double X, double Y, double Z, double a, double e2, BeGeodetic* out) {
  double L = std::atan2(Y, X), r = std::sqrt(X * X + Y * Y), k = 1 - e2, zk = Z / k;
  double B = std::atan2(zk, r), step = 0.001, previous = 1e20;
  for (int moves = 0; moves < 200000; ++moves) {
    double N = a / std::sqrt(1 - e2 * std::sin(B) * std::sin(B));
    double H = (std::sqrt(zk * zk + r * r) - N) * k;
    double dr = (N + H) * std::cos(B) - r, dz = (k * N + H) * std::sin(B) - Z;
    double error = dr * dr + dz * dz;
    if (error < 1) {
      *out = BeGeodetic{B, L, H};
      return true;
    }
    if (error > previous) step = -step / 2;
    previous = error;
    B += step;
  }
  return false;
}

TEST(Geodesy, WhereTheSearchEndsItsResultStands) {
  int ended = 0;
  for (double lat = -89.0; lat <= 89.0; lat += 7.0) {
    for (double h : {-150.0, -40.0, 0.0, 30.0, 100.0, 140.0}) {
      BeGeoVector p = Wgs84ToGeocentric(Rad(lat), Rad(lat * 2), h);
      BeGeodetic expected;
      if (!UnboundedSearch(p.x, p.y, p.z, kBeWgs84A, kBeWgs84E2, &expected)) continue;
      ++ended;
      BeGeodetic g = GeocentricToWgs84(p.x, p.y, p.z);
      EXPECT_EQ(expected.B, g.B) << lat << " " << h;
      EXPECT_EQ(expected.L, g.L) << lat << " " << h;
      EXPECT_EQ(expected.H, g.H) << lat << " " << h;
    }
  }
  BeGeodetic centre;
  ASSERT_TRUE(UnboundedSearch(0, 0, 0, kBePz90A, kBePz90E2, &centre));
  BeGeodetic g = GeocentricToPz90(0, 0, 0);
  EXPECT_EQ(centre.B, g.B);
  EXPECT_EQ(centre.H, g.H);
  EXPECT_GT(ended, 100);
}

TEST(Geodesy, RotatePairTurnsBothFromTheOldValues) {
  double p = 3, q = 4;
  RotatePair(&p, &q, 1, 0);  // a quarter turn
  EXPECT_EQ(-4.0, p);
  EXPECT_EQ(3.0, q);
  p = 2, q = 0;
  RotatePair(&p, &q, std::sin(kPi / 6), std::cos(kPi / 6));
  EXPECT_NEAR(std::sqrt(3.0), p, 1e-15);
  EXPECT_NEAR(1.0, q, 1e-15);
}

TEST(Geodesy, LocalAxesPointNorthEastAndUp) {
  // On the equator at longitude 0 north is +Z, east +Y, up +X.
  BeLocalAxes v = ProjectOnLocalAxes(0, 0, 1, 0, 0, kBeWgs84A, kBeWgs84E2);
  EXPECT_NEAR(1.0, v.north, 1e-6);
  EXPECT_NEAR(0.0, v.east, 1e-6);
  EXPECT_NEAR(0.0, v.up, 1e-3);
  v = ProjectOnLocalAxes(0, 5, 0, 0, 0, kBeWgs84A, kBeWgs84E2);
  EXPECT_NEAR(5.0, v.east, 1e-5);
  EXPECT_NEAR(0.0, v.north, 1e-9);
  v = ProjectOnLocalAxes(-2, 0, 0, 0, kPi, kBeWgs84A, kBeWgs84E2);  // longitude 180°: up is -X
  EXPECT_NEAR(2.0, v.up, 1e-9);
  // At 60° north a velocity along the local east (-sin L, cos L, 0).
  const double L = Rad(30);
  v = ProjectOnLocalAxes(-std::sin(L) * 10, std::cos(L) * 10, 0, Rad(60), L, kBePz90A, kBePz90E2);
  EXPECT_NEAR(10.0, v.east, 1e-4);
  EXPECT_NEAR(0.0, v.north, 1e-4);
  EXPECT_NEAR(0.0, v.up, 1e-2);
}

}  // namespace
