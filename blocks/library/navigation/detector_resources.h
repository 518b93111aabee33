// Resource ids of the pictures the camera detectors draw in their body,
// shared by C++ code and by resources/detectors.rc (so: plain #defines
// only). The pictures are drawn by tools/make_detector_pictures.py.
#pragma once

#define IDB_ROAD_DETECTOR 187   // 48 x 48
#define IDB_STRIP_DETECTOR 197  // 32 x 32
