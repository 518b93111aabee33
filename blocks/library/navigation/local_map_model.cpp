#include "blocks/library/navigation/local_map_model.h"

#include <cmath>

#include "blocks/library/navigation/scan_sector_model.h"
#include "foundation/buffers.h"
#include "foundation/numbers.h"

namespace {
// The view a range finder's arc point covers, radians.
const double kArcStep = 0.02;
// A scan sector's columns clear the points inside this many of their 20
// half-columns.
const double kSectorClearColumns = 18.0;

LocalMapPoint Point(double x, double y) { return LocalMapPoint{RoundToFloat(x), RoundToFloat(y)}; }
}  // namespace

void LocalMapModel::Init() {
  virtualWalls = 1;
  wallX = 0.4f;
  wallYStart = 0.4f;
  wallYEnd = -0.4f;
  halfWidth = 1.0f;
  frontBound = 2.0f;
  rearBound = -1.0f;
  showRobot = 1;
  robotWidth = 0.5f;
  robotLength = 0.6f;
  reserved = 1;
}

bool LocalMapModel::Reserve(LocalMapLayer* layer, int more) {
  if (more <= 0) return true;
  if (layer->pointCount > INT32_MAX - more) return false;
  int needed = layer->pointCount + more;
  if (needed <= layer->capacity) return true;
  int capacity = layer->capacity < 64 ? 64 : layer->capacity;
  while (capacity < needed) capacity = capacity > INT32_MAX / 2 ? needed : capacity * 2;
  auto* grown =
      static_cast<LocalMapPoint*>(ReallocBuffer(layer->points, sizeof(LocalMapPoint) * static_cast<size_t>(capacity)));
  if (!grown) return false;
  layer->points = grown;
  layer->capacity = capacity;
  return true;
}

bool LocalMapModel::SetLayerCount(int n) {
  if (n < 0) return false;
  if (n == layerCount) return true;
  if (n == 0) {
    for (int i = 0; i < layerCount; ++i) FreeBuffer(layers[i].points);
    FreeBuffer(layers);
    layers = nullptr;
    layerCount = 0;
    return true;
  }
  // The dropped layers' points go only once the array is sure to change.
  LocalMapLayer* dropped = nullptr;
  int droppedCount = 0;
  if (n < layerCount) {
    dropped = static_cast<LocalMapLayer*>(AllocBuffer(sizeof(LocalMapLayer) * static_cast<size_t>(layerCount - n)));
    if (!dropped) return false;
    droppedCount = layerCount - n;
    for (int i = 0; i < droppedCount; ++i) dropped[i] = layers[n + i];
  }
  auto* resized = static_cast<LocalMapLayer*>(ReallocBuffer(layers, sizeof(LocalMapLayer) * static_cast<size_t>(n)));
  if (!resized) {
    FreeBuffer(dropped);
    return false;
  }
  for (int i = 0; i < droppedCount; ++i) FreeBuffer(dropped[i].points);
  FreeBuffer(dropped);
  for (int i = layerCount; i < n; ++i) resized[i] = LocalMapLayer{0, nullptr, 0};
  layers = resized;
  layerCount = n;
  Reset();
  return true;
}

bool LocalMapModel::Reset() {
  bool ok = true;
  for (int i = 0; i < layerCount; ++i) {
    LocalMapLayer& layer = layers[i];
    layer.pointCount = 0;
    if (!virtualWalls) continue;
    if (!Reserve(&layer, kLocalMapWallPoints)) {
      ok = false;
      continue;
    }
    const double step = (static_cast<double>(wallYEnd) - wallYStart) / 20.0;
    for (int j = 0; j < kLocalMapWallPoints / 2; ++j) {
      float yj = RoundToFloat(wallYStart + j * step);
      layer.points[2 * j] = LocalMapPoint{wallX, yj};
      layer.points[2 * j + 1] = LocalMapPoint{-wallX, yj};
    }
    layer.pointCount = kLocalMapWallPoints;
  }
  return ok;
}

bool LocalMapModel::SetZoneCount(int n) {
  if (n < 0 || n > kLocalMapMaxZones) return false;
  if (n == zoneCount) return true;
  if (n == 0) {
    FreeBuffer(zones);
    zones = nullptr;
    zoneCount = 0;
    return true;
  }
  auto* resized = static_cast<LocalMapZone*>(ReallocBuffer(zones, sizeof(LocalMapZone) * static_cast<size_t>(n)));
  if (!resized) return false;
  zones = resized;
  zoneCount = n;
  return true;
}

int LocalMapModel::CountZonePoints(int z) const {
  if (z < 0 || z >= zoneCount) return 0;
  const LocalMapZone& zone = zones[z];
  int count = 0;
  for (int i = 0; i < layerCount; ++i) {
    if (!(zone.layerMask & (1u << (i % 32)))) continue;
    const LocalMapLayer& layer = layers[i];
    for (int j = 0; j < layer.pointCount; ++j) {
      const LocalMapPoint& p = layer.points[j];
      if (zone.xMin <= p.x && p.x <= zone.xMax && zone.yMin <= p.y && p.y <= zone.yMax) ++count;
    }
  }
  return count;
}

void LocalMapModel::Free() {
  SetLayerCount(0);
  SetZoneCount(0);
}

template <class Sees>
void LocalMapModel::RemoveSeen(LocalMapLayer* layer, float x, float y, float a, Sees sees) {
  const double sinA = std::sin(static_cast<double>(a)), cosA = std::cos(static_cast<double>(a));
  int kept = 0;
  for (int j = 0; j < layer->pointCount; ++j) {
    const LocalMapPoint p = layer->points[j];
    double dx = static_cast<double>(p.x) - x, dy = static_cast<double>(p.y) - y;
    double f = dx * sinA + dy * cosA;  // ahead of the sensor
    double s = dx * cosA - dy * sinA;  // to its right
    if (!sees(f, s)) layer->points[kept++] = p;
  }
  layer->pointCount = kept;
}

bool LocalMapModel::AddRangeReading(float x, float y, float a, float d, float fov, float min, float max) {
  if (layerCount == 0 && !SetLayerCount(1)) return false;
  double steps = static_cast<double>(fov) / kArcStep;
  int n = steps >= kLocalMapMaxArcPoints ? kLocalMapMaxArcPoints : steps >= 1 ? static_cast<int>(steps) : 1;
  const double t = std::tan(static_cast<double>(fov) / 2);
  const double min2 = static_cast<double>(min) * min, max2 = static_cast<double>(max) * max;
  for (int i = 0; i < layerCount; ++i) {
    // f = 0 never passes: s / f is then infinite or not a number.
    RemoveSeen(&layers[i], x, y, a, [&](double f, double s) {
      double r2 = s * s + f * f;
      return f > 0 && min2 < r2 && r2 < max2 && std::fabs(s / f) < t;
    });
  }
  if (!(min < d && d < max)) return true;
  bool ok = true;
  for (int i = 0; i < layerCount; ++i) {
    LocalMapLayer& layer = layers[i];
    if (!Reserve(&layer, n)) {
      ok = false;
      continue;
    }
    for (int l = 0; l < n; ++l) {
      double angle = static_cast<double>(a) + static_cast<double>(fov) * (l - n / 2) / n;
      layer.points[layer.pointCount++] = Point(x + d * std::sin(angle), y + d * std::cos(angle));
    }
  }
  return ok;
}

bool LocalMapModel::AddScanSector(float x, float y, float a, const ScanSectorModel& sector) {
  if (!SetLayerCount(sector.sliceCount)) return false;
  const double k = kScanCentreColumn / std::tan(static_cast<double>(sector.viewAngle) / 2);
  if (!std::isfinite(k)) return true;
  const double zMin = sector.zMin, zMax = sector.zMax;
  const double sinA = std::sin(static_cast<double>(a)), cosA = std::cos(static_cast<double>(a));
  bool ok = true;
  for (int i = 0; i < layerCount; ++i) {
    LocalMapLayer& layer = layers[i];
    RemoveSeen(&layer, x, y, a, [&](double f, double s) {
      return zMin < f && f < zMax && std::fabs(s * k / f) < kSectorClearColumns;
    });
    if (!Reserve(&layer, kScanColumnCount)) {
      ok = false;
      continue;
    }
    const ScanSlice& slice = sector.slices[i];
    for (int l = 0; l < kScanColumnCount; ++l) {
      const double u = slice.columns[l];
      if (!(u < zMax)) continue;
      const double v = (l - kScanCentreColumn) * u / k;
      layer.points[layer.pointCount++] = Point(x + v * cosA + u * sinA, y - v * sinA + u * cosA);
    }
  }
  return ok;
}

bool LocalMapModel::Moved(const LocalMapPoint& p, double cosB, double sinB, float a, LocalMapPoint* out) const {
  *out = Point(p.x * cosB - p.y * sinB, p.x * sinB + p.y * cosB - a);
  return std::fabs(out->x) < halfWidth && rearBound < out->y && out->y < frontBound;
}

void LocalMapModel::Shift(float a, float b) {
  const double cosB = std::cos(static_cast<double>(b)), sinB = std::sin(static_cast<double>(b));
  for (int i = 0; i < layerCount; ++i) {
    LocalMapLayer& layer = layers[i];
    if (!grid_.Begin(layer.pointCount)) {
      ShiftLayerPairwise(&layer, cosB, sinB, a);
      continue;
    }
    // Kept points are written over the ones already read.
    int kept = 0;
    for (int j = 0; j < layer.pointCount; ++j) {
      LocalMapPoint moved;
      if (!Moved(layer.points[j], cosB, sinB, a, &moved)) continue;
      if (grid_.HasNeighbour(moved.x, moved.y, layer.points)) continue;
      layer.points[kept] = moved;
      grid_.Add(layer.points, kept);
      ++kept;
    }
    layer.pointCount = kept;
  }
}

void LocalMapModel::ShiftPairwise(float a, float b) {
  const double cosB = std::cos(static_cast<double>(b)), sinB = std::sin(static_cast<double>(b));
  for (int i = 0; i < layerCount; ++i) ShiftLayerPairwise(&layers[i], cosB, sinB, a);
}

void LocalMapModel::ShiftLayerPairwise(LocalMapLayer* layer, double cosB, double sinB, float a) const {
  const double near = LocalMapCellGrid::kNeighbourDistance;
  int kept = 0;
  for (int j = 0; j < layer->pointCount; ++j) {
    LocalMapPoint moved;
    if (!Moved(layer->points[j], cosB, sinB, a, &moved)) continue;
    bool close = false;
    for (int r = 0; r < kept && !close; ++r)
      close = std::fabs(static_cast<double>(layer->points[r].x) - moved.x) < near &&
              std::fabs(static_cast<double>(layer->points[r].y) - moved.y) < near;
    if (close) continue;
    layer->points[kept++] = moved;
  }
  layer->pointCount = kept;
}
