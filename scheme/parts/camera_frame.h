// The record a camera publishes with each frame it takes: a type-22 pin
// value names it (bytes 4-7, a payload handle) beside the frame counter and
// the tag 0x33EE. Readers reach the camera's place in the world through it.
#pragma once

#include "foundation/vecmath.h"

// The tag of a camera frame's pin value (bytes 1-2, little-endian).
const unsigned short kSchCameraFrameTag = 0x33EE;

struct SchCameraFrame {
  // The camera's world transform: row 2 the viewing axis, row 3 the
  // position in metres.
  Mat4f world;
};
