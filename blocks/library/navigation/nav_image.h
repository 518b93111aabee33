// A key frame of the navigation map: where the robot stood when the camera
// frame was recorded, and where the camera stood and looked in the
// simulated world.
#pragma once

struct NavImage {
  float x, y;   // robot position on the map, cm
  float angle;  // robot heading on the map, rad (0 along +y, growing towards +x)
  double cost;  // search cost of route planning
  float pxl1, pxl2, pxl3;  // camera position in the world, m
  float pxl4, pxl5, pxl6;  // camera viewing axis in the world (unit vector)
};
