// What a stereo scanner saw: its geometry and, per horizontal slice of
// heights, the distance of the nearest obstacle in each of 40 columns across
// the field of view. The scan-sector block holds one; the local map and the
// panel's video item read it through the block's output value.
#pragma once

#include "foundation/vecmath.h"

const int kScanColumnCount = 40;
// The column that looks straight ahead.
const int kScanCentreColumn = 20;
// Slices a record can number (its count is 16 bits).
const int kScanMaxSlices = 0xFFFF;

// One height band. Column l looks along the direction whose lateral offset
// is (l - 20) / 20 * tan(view angle / 2) times the distance; a distance not
// below zMax means nothing was seen in the column.
struct ScanSlice {
  float yMin;  // metres
  float yMax;
  float columns[kScanColumnCount];  // metres
};

class ScanSectorModel {
public:
  ScanSectorModel() {}
  ~ScanSectorModel();
  ScanSectorModel(const ScanSectorModel&) = delete;
  ScanSectorModel& operator=(const ScanSectorModel&) = delete;

  // Resizes the slice array to n records (0 frees it). Slices kept keep
  // their fields; new ones get the height band 0..0 and every column at
  // zMax (nothing seen). False, with the slices as they were, for n outside
  // 0..kScanMaxSlices or refused memory.
  bool SetSliceCount(int n);

  // Fields, in this order.
  float reserved[3] = {1.0f, 1.0f, 1.0f};  // not read here
  int sliceCount = 0;
  ScanSlice* slices = nullptr;  // owned
  float viewAngle = 0.7853982f;  // horizontal field of view, radians
  float zMin = 0.125f;           // metres
  float zMax = 3.0f;
  float D = 0.0625f;  // stereo base, metres
  Vec3f reservedVectors[2] = {{0, 0, 0}, {0, 1, 0}};  // not read here
};
