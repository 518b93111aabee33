// A wall mark of the navigation map: a point a range finder's beam met.
#pragma once

struct NavWall {
  float x, y;           // cm
  float angle;          // direction of the beam that found it, rad
  unsigned char finder;  // index of the range finder that found it
};
