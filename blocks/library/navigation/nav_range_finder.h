// One range finder of the robot as the navigation map knows it: where it is
// mounted, how far its readings are trusted and how its walls are found.
#pragma once

// A finder's name is stored in a record as this many UTF-16 characters; in
// memory it always has its terminator after them.
const int kNavFinderNameChars = 10;
// "isWall_" and the longest name, terminated.
const int kNavWallOutputNameChars = 7 + kNavFinderNameChars + 1;

struct NavRangeFinder {
  double x, y;            // mounting position on the robot, cm
  double angle;           // rad, 0 = forward
  double searchAngle;     // wall-search angle range, rad
  double searchDistance;  // wall-search distance range, cm
  double maxRange;        // cm
  unsigned char colour;   // colour index of its walls on the map drawing
  wchar_t name[kNavFinderNameChars + 1];
  wchar_t wallOutputName[kNavWallOutputNameChars];  // its "isWall" output
};
