// Route planning and guidance of the navigation map (see nav_map.h).
//
// Planning is a wave from the images near the target towards the image the
// robot starts from: each image's search cost is the sum of the squared
// distances of the cheapest chain of images to the target, so chains of
// short hops win over long jumps. The wave walks two queues: the images
// lowered in one round are relaxed in the next. The path is then taken
// greedily from the robot through ever cheaper images, preferring images
// straight ahead and facing along the way.
#include <cmath>

#include "blocks/library/navigation/nav_map.h"
#include "blocks/library/navigation/normalize_angle.h"
#include "foundation/buffers.h"
#include "foundation/plain_array.h"

namespace {
const double kPi = 3.14159265358979323846;
const double kNoCost = 1e20;
// The start image's distance from the robot below which its direction
// does not count.
const double kStartNear = 12.0;
// An image facing away from the way is a detour unless it is this near
// (squared cm).
const double kBackwardNear2 = 8.0;
const double kBackwardPenalty = 10000.0;
// Images this near (squared cm) cost no turn.
const double kTurnFree2 = 40.0;
const double kTurnWeight = 43.0;

// Guidance.
const double kLookAhead = 0.4;       // s
const double kTurnLookAhead = 3.0;   // the turn rate counts a third
const double kWobble = 3.0;          // cm of lateral offset that need no turn
const double kFarAside = 30.0;       // cm of lateral offset no projection is given for
const double kArrivalAngle = 0.17453292519943295;   // 10 degrees
const double kStraightAngle = 0.2181661564992912;   // 12.5 degrees
const double kPassNear = 25.0;      // cm: a route point this near is passed
const double kPassAside = 45.0;     // cm: ... or this near and beside or behind the robot
const double kPassForward = 15.0;   // cm
const double kStretch2 = 1600.0;    // squared cm: points 40 cm apart make a stretch

double Direction(double fromX, double fromY, double toX, double toY) {
  return std::atan2(toX - fromX, toY - fromY);
}

double Distance2(double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  return dx * dx + dy * dy;
}
}  // namespace

bool NavMap::AddRoutePoint(double px, double py) {
  if (!ResizeSteppedArray(&routePoints, routePointCount, routePointCount + 1, kRouteStep)) return false;
  routePoints[routePointCount].x = static_cast<float>(px);
  routePoints[routePointCount].y = static_cast<float>(py);
  routePointCount++;
  return true;
}

bool NavMap::PlanRouteToPlace(int id) {
  targetPlaceId = id;
  const int p = FindPlace(id);
  if (p < 0) return false;
  return PlanRoute(places[p].x, places[p].y, places[p].angle);
}

bool NavMap::InitSearch() {
  FreeSearch();
  for (int i = 0; i < imageCount; ++i) images[i].cost = kNoCost;
  currentQueue = 0;
  if (imageCount == 0) return true;
  const size_t bytes = static_cast<size_t>(imageCount) * sizeof(int);
  searchQueue[0] = static_cast<int*>(AllocBuffer(bytes));
  searchQueue[1] = static_cast<int*>(AllocBuffer(bytes));
  queuedInWave_ = static_cast<int*>(AllocBuffer(bytes));
  // A search range that is not positive finds no start image, so the grid
  // is only needed for a usable one.
  const bool gridNeeded = imageSearchRange > 0 && std::isfinite(imageSearchRange);
  if (!searchQueue[0] || !searchQueue[1] || !queuedInWave_ ||
      (gridNeeded && !searchGrid_.Build(images, imageCount, imageSearchRange))) {
    FreeSearch();
    return false;
  }
  for (int i = 0; i < imageCount; ++i) queuedInWave_[i] = -1;
  wave_ = 0;
  return true;
}

void NavMap::FreeSearch() {
  for (int q = 0; q < 2; ++q) {
    FreeBuffer(searchQueue[q]);
    searchQueue[q] = nullptr;
    searchQueueCount[q] = 0;
  }
  FreeBuffer(queuedInWave_);
  queuedInWave_ = nullptr;
  searchGrid_.Free();
  currentQueue = 0;
  wave_ = 0;
}

void NavMap::Enqueue(int i) {
  if (!searchQueue[currentQueue] || i < 0 || i >= imageCount) return;
  if (queuedInWave_[i] == wave_) return;
  queuedInWave_[i] = wave_;
  searchQueue[currentQueue][searchQueueCount[currentQueue]++] = i;
}

void NavMap::Relax(int i) {
  if (i < 0 || i >= imageCount) return;
  const double range2 = imageSearchRange * imageSearchRange;
  const NavImage& from = images[i];
  const int* near = nullptr;
  const int n = searchGrid_.Near(from.x, from.y, &near);
  for (int k = 0; k < n; ++k) {
    const int j = near[k];
    if (j == i) continue;
    NavImage& to = images[j];
    if (!(to.cost > from.cost)) continue;
    const double e = Distance2(from.x, from.y, to.x, to.y);
    if (!(e < range2)) continue;
    const double cost = from.cost + e;
    if (!(cost < to.cost)) continue;
    if (FindMark(to.x, to.y, obstacleRadius) >= 0) continue;
    to.cost = cost;
    Enqueue(j);
  }
}

bool NavMap::ExtractPath(int s, double px, double py, double h) {
  if (s < 0 || s >= imageCount) return false;
  if (!AddRoutePoint(px, py)) return false;
  const double range = imageSearchRange;
  const double range2 = range * range;
  for (;;) {
    int best = -1;
    double bestScore = 0, bestFacing = 0;
    const int* near = nullptr;
    const int n = searchGrid_.Near(px, py, &near);
    for (int k = 0; k < n; ++k) {
      const int q = near[k];
      if (q == s) continue;
      const NavImage& image = images[q];
      if (!(image.cost < images[s].cost)) continue;
      const double u = Distance2(px, py, image.x, image.y);
      if (!(u < range2)) continue;
      const double v = Direction(px, py, image.x, image.y);
      const double turn = NormalizeAngle(v - h);
      double facing = image.angle;
      double penalty = 0;
      if (std::fabs(NormalizeAngle(facing - v)) > kPi / 2) {
        facing = NormalizeAngle(facing + kPi);
        if (u > kBackwardNear2) penalty = kBackwardPenalty;
      }
      const double g = u < kTurnFree2 ? 0.0 : std::fabs(turn) / (kPi / 2);
      const double score = u + image.cost + g * g * g * range * kTurnWeight + penalty;
      if (!(score < kNoCost)) continue;
      if (best >= 0 && !(score < bestScore)) continue;
      if (FindMark(image.x, image.y, obstacleRadius) >= 0) continue;
      best = q;
      bestScore = score;
      bestFacing = facing;
    }
    if (best < 0) break;
    if (!AddRoutePoint(images[best].x, images[best].y)) return false;
    s = best;
    px = images[best].x;
    py = images[best].y;
    h = bestFacing;
  }
  return images[s].cost < range2;
}

bool NavMap::PlanRoute(double tx, double ty, double tA) {
  SetRouteSize(0);
  routeIndex = 0;
  if (!InitSearch()) return false;
  const double range = imageSearchRange;

  // The start image: the nearest, counting the turn towards images not
  // right at the robot.
  int start = -1;
  double startScore = 0;
  for (int i = 0; i < imageCount; ++i) {
    double f = std::sqrt(Distance2(x, y, images[i].x, images[i].y));
    if (f > kStartNear)
      f += std::fabs(NormalizeAngle(Direction(x, y, images[i].x, images[i].y) - angle)) * range * 2 / kPi;
    if (!(f < 2 * range)) continue;
    if (start < 0 || f < startScore) {
      start = i;
      startScore = f;
    }
  }
  if (start < 0) {
    FreeSearch();
    SetRouteSize(0);
    return false;
  }

  // Seeds: the images within twice the range of the target.
  for (int i = 0; i < imageCount; ++i) {
    const double d2 = Distance2(images[i].x, images[i].y, tx, ty);
    if (!(d2 <= 4 * range * range)) continue;
    if (!(std::fabs(NormalizeAngle(Direction(images[i].x, images[i].y, tx, ty) - images[i].angle)) < kPi))
      continue;
    images[i].cost = d2;
    Enqueue(i);
  }

  // The wave.
  bool reached = false;
  while (!reached && searchQueueCount[currentQueue] > 0) {
    const int previous = currentQueue;
    currentQueue = 1 - currentQueue;
    searchQueueCount[currentQueue] = 0;
    ++wave_;
    for (int k = 0; k < searchQueueCount[previous]; ++k) {
      const int i = searchQueue[previous][k];
      if (i == start) {
        reached = true;
        break;
      }
      Relax(i);
    }
  }

  if (!reached || !ExtractPath(start, x, y, angle) || !AddRoutePoint(tx, ty)) {
    SetRouteSize(0);
    FreeSearch();
    return false;
  }
  targetAngle = tA;
  FreeSearch();
  return true;
}

bool NavMap::PathDirection(double* direction) const {
  const int i = routeIndex;
  if (routePointCount == 0 || i <= 0 || i > routePointCount - 1) return false;
  const NavRoutePoint& at = routePoints[i];
  int j = -1;
  for (int n = i; n < routePointCount; ++n) {
    if (Distance2(at.x, at.y, routePoints[n].x, routePoints[n].y) >= kStretch2) {
      j = n;
      break;
    }
  }
  int k = -1;
  for (int n = i - 1; n >= 0; --n) {
    if (Distance2(at.x, at.y, routePoints[n].x, routePoints[n].y) >= kStretch2) {
      k = n;
      break;
    }
  }
  if (j < 0 || k < 0) return false;
  const double ahead = Direction(at.x, at.y, routePoints[j].x, routePoints[j].y);
  const double behind = Direction(routePoints[k].x, routePoints[k].y, at.x, at.y);
  if (std::fabs(NormalizeAngle(ahead - behind)) > kStraightAngle) return false;
  *direction = Direction(routePoints[k].x, routePoints[k].y, routePoints[j].x, routePoints[j].y);
  return true;
}

double NavMap::Guide(double vx, double vy, double w, NavGuidance* out) {
  if (routePointCount == 0) return -1;
  if (routeIndex < 0) routeIndex = 0;
  if (routeIndex > routePointCount - 1) routeIndex = routePointCount - 1;

  // Where the robot will be 0.4 s from now.
  const double c = std::cos(angle), s = std::sin(angle);
  const double worldVx = vx * c + vy * s, worldVy = -vx * s + vy * c;
  const double ex = x + kLookAhead * worldVx, ey = y + kLookAhead * worldVy;
  const double eA = angle + kLookAhead * w / kTurnLookAhead;

  const NavRoutePoint& last = routePoints[routePointCount - 1];
  const NavRoutePoint& current = routePoints[routeIndex];
  const double dEnd = std::sqrt(Distance2(ex, ey, last.x, last.y));
  const double dCur = std::sqrt(Distance2(ex, ey, current.x, current.y));
  const double g = NormalizeAngle(Direction(ex, ey, current.x, current.y) - eA);
  double lateral = std::sin(g) * dCur;
  const double forward = std::cos(g) * dCur;
  double bearing = g;
  bool straight = false;

  if (std::fabs(lateral) < kWobble) bearing = 0;
  double stretch = 0;
  if (std::fabs(lateral) > kFarAside) {
    lateral = 0;
  } else if (PathDirection(&stretch)) {
    bearing = NormalizeAngle(stretch - eA);
    straight = true;
  }
  if (dEnd < placeNearZone) {
    routeIndex = routePointCount - 1;
    bearing = NormalizeAngle(targetAngle - eA);
  }
  if (dEnd < positioningAccuracy && std::fabs(bearing) < kArrivalAngle) {
    SetRouteSize(0);
    routeIndex = 0;
    return -1;
  }
  // One route point passed per step at most.
  if (routeIndex < routePointCount - 1) {
    if (dCur < kPassNear || (dCur < kPassAside && forward < kPassForward) ||
        (dCur < kPassAside && straight && std::fabs(bearing) < kStraightAngle))
      routeIndex++;
  }
  if (out) {
    out->bearing = bearing;
    out->lateral = lateral;
    out->forward = forward;
  }
  return dEnd;
}
