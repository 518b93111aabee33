// What route guidance tells the robot about the route point it heads for.
#pragma once

struct NavGuidance {
  double bearing;  // rad, the turn still to make (0 when it would only wobble)
  double lateral;  // cm, the point's offset along the robot's X axis
  double forward;  // cm, the point's offset along the robot's Y axis
};
