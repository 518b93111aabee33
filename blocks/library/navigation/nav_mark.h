// A short-lived obstacle mark of the navigation map.
#pragma once

struct NavMark {
  float x, y;  // cm
  double age;  // s since it was placed or last refreshed
};
