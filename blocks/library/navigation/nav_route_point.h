// A point of a route planned over the navigation map.
#pragma once

struct NavRoutePoint {
  float x, y;  // cm
};
