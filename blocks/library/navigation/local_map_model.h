// The local map: obstacle points around the robot in the robot's own frame
// (x lateral, y forward, metres; angles in radians, 0 along +y, positive
// towards +x), in layers of heights, moved every step by the robot's own
// motion, cleared and filled by range finders and stereo scan sectors, and
// counted in rectangular analysis zones. The local-map block holds one; its
// output value names it so other blocks and the panel can draw it.
#pragma once

#include <cstdint>

#include "blocks/library/navigation/local_map_cell_grid.h"

class ScanSectorModel;

struct LocalMapPoint {
  float x, y;  // metres
};

// One height band: its points, in the order they were kept.
struct LocalMapLayer {
  int pointCount;
  LocalMapPoint* points;  // owned
  int capacity;           // points the block holds room for
};

// A rectangle whose points are counted over the layers its mask selects
// (layer i uses bit i mod 32). Bounds included.
struct LocalMapZone {
  uint32_t layerMask;
  float xMin, yMin, xMax, yMax;  // metres
};

// Zones and sensors a record can number (one byte each).
const int kLocalMapMaxZones = 255;
// Points a range-finder reading adds at most, one per 0.02 rad of view.
const int kLocalMapMaxArcPoints = 40;
// Points the virtual walls put in a layer.
const int kLocalMapWallPoints = 40;

class LocalMapModel {
public:
  LocalMapModel() {}
  ~LocalMapModel() { Free(); }
  LocalMapModel(const LocalMapModel&) = delete;
  LocalMapModel& operator=(const LocalMapModel&) = delete;

  // The defaults of the fields (layers and zones are left alone).
  void Init();
  // n layers; a change of the count clears the whole map (Reset). False,
  // with the map as it was, for n < 0 or refused memory.
  bool SetLayerCount(int n);
  // Every layer empty, or with the virtual walls on exactly their 40
  // points: for j = 0..19, (wall X, yj) and (-wall X, yj), yj running from
  // wall Y start towards wall Y end in steps of a twentieth. False when
  // memory for the walls was refused (those layers are left empty).
  bool Reset();
  // n zones; new ones are not cleared. False, as it was, for n outside
  // 0..kLocalMapMaxZones or refused memory.
  bool SetZoneCount(int n);
  // Points of the layers zone z selects inside its bounds (0 for no zone z).
  int CountZonePoints(int z) const;
  // No layers and no zones.
  void Free();

  // A range finder at (x, y) looking along a with its view fov and range
  // min..max read distance d: with no layers yet, one is made. In every
  // layer the points in its sector (ahead of it, farther than min, nearer
  // than max, within fov / 2 of its axis) go; when min < d < max, an arc
  // of trunc(fov / 0.02) points (1 to 40) at d joins every layer. False
  // when memory for the layer or the arc was refused.
  bool AddRangeReading(float x, float y, float a, float d, float fov, float min, float max);
  // A stereo scan sector seen from (x, y) along a: the map takes one layer
  // per slice; in layer i the points the sector sees through (zMin < f <
  // zMax, inside 18 of its 20 half-columns) go, then each column of slice i
  // nearer than zMax adds its point. A sector whose view angle gives no
  // finite column spacing changes no points. False when memory was refused.
  bool AddScanSector(float x, float y, float a, const ScanSectorModel& sector);
  // The robot went a metres forward and turned b radians: every point is
  // turned by b and moved back by a; it stays when inside the bounds
  // (abs(x) < half-width, rear < y < front) and no point kept before it
  // in this pass lies within 0.02 m of it in both x and y.
  void Shift(float a, float b);
  // The same thinning by comparing every point with every kept one: the
  // rule as written, used when memory for the cell grid was refused.
  void ShiftPairwise(float a, float b);

  // Fields, in this order.
  int layerCount = 0;
  LocalMapLayer* layers = nullptr;  // owned
  unsigned char virtualWalls = 1;   // "Использовать виртуальные стены"
  float wallX = 0.4f;               // the walls stand at x = +-wallX
  float wallYStart = 0.4f;
  float wallYEnd = -0.4f;
  float halfWidth = 1.0f;  // points are kept with abs(x) below this
  float frontBound = 2.0f;  // ... and y between the rear and the front
  float rearBound = -1.0f;
  unsigned char showRobot = 1;  // "Отображать робота" (display only)
  float robotWidth = 0.5f;      // display only
  float robotLength = 0.6f;     // display only
  unsigned char reserved = 1;   // saved, not read here
  int zoneCount = 0;
  LocalMapZone* zones = nullptr;  // owned

private:
  // Room for `more` points after the layer's present ones.
  static bool Reserve(LocalMapLayer* layer, int more);
  // Drops the layer's points that a sensor at (x, y) along a sees through.
  template <class Sees>
  static void RemoveSeen(LocalMapLayer* layer, float x, float y, float a, Sees sees);
  // The turned and moved point; false when it leaves the bounds.
  bool Moved(const LocalMapPoint& p, double cosB, double sinB, float a, LocalMapPoint* out) const;
  // One layer of ShiftPairwise.
  void ShiftLayerPairwise(LocalMapLayer* layer, double cosB, double sinB, float a) const;

  LocalMapCellGrid grid_;
};
