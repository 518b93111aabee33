// A named place of the navigation map.
#pragma once

struct NavPlace {
  float x, y;   // cm
  float angle;  // rad
  int id;
};
