#include "blocks/library/geodesy/plane_frame.h"

#include <cmath>

BePlaneFrame MakePlaneFrame(double bx, double by, double bz) {
  BePlaneFrame f;
  f.radius = std::sqrt(bx * bx + by * by + bz * bz);
  double lon = std::atan2(by, bx);
  double lat = std::atan2(bz, std::sqrt(bx * bx + by * by));
  f.sinLat = std::sin(lat);
  f.cosLat = std::cos(lat);
  f.sinLon = std::sin(lon);
  f.cosLon = std::cos(lon);
  return f;
}
