#include "blocks/library/navigation/nav_map.h"

#include <windows.h>

#include <cmath>
#include <cstring>
#include <cwchar>

#include "blocks/library/navigation/map_file.h"
#include "blocks/library/navigation/map_path.h"
#include "blocks/library/navigation/normalize_angle.h"
#include "foundation/buffers.h"
#include "foundation/plain_array.h"
#include "foundation/vecmath.h"
#include "kestui/core/kest_host.h"

namespace {

const double kPi = 3.14159265358979323846;
// Images within this heading difference of the robot's can be recognised.
const double kImageAngleLimit = kPi / 4;
// 12 degrees between the viewing axes at most.
const double kAxisAngleLimit = 0.20943951023931953;
// Cameras differing in height by this much (m) see different images.
const double kHeightLimit = 0.2;
// 20 degrees between a wall mark's beam and the reading's at most.
const double kWallBeamLimit = 0.3490658503988659;
// Motion above these starts the move and turn timers.
const double kMoveSpeed = 10.0;
const double kTurnRate = 0.1;
// Motion above these makes the map worth writing again.
const double kChangeSpeed = 0.01;

const double kDefaultSearchRange = 50.0;
const double kDefaultNearZone = 40.0;
const double kDefaultAccuracy = 10.0;
const double kDefaultLifeTime = 8.0;
const double kDefaultObstacleRadius = 40.0;

// Camera position (row 3) and viewing axis (row 2) of a world transform.
struct CameraPose {
  double px, py, pz;
  double ax, ay, az;
};

CameraPose ReadCamera(const Mat4f* camera) {
  CameraPose c;
  c.px = camera->at(3, 0);
  c.py = camera->at(3, 1);
  c.pz = camera->at(3, 2);
  c.ax = camera->at(2, 0);
  c.ay = camera->at(2, 1);
  c.az = camera->at(2, 2);
  return c;
}

void TakeCamera(NavImage* image, const CameraPose& c) {
  image->pxl1 = static_cast<float>(c.px);
  image->pxl2 = static_cast<float>(c.py);
  image->pxl3 = static_cast<float>(c.pz);
  image->pxl4 = static_cast<float>(c.ax);
  image->pxl5 = static_cast<float>(c.ay);
  image->pxl6 = static_cast<float>(c.az);
}

template <class T>
void FreeArray(T** items, int* count) {
  FreeBuffer(*items);
  *items = nullptr;
  *count = 0;
}

// A rate read from a pin: what is not a finite number moves nothing.
double FiniteOrZero(double v) { return std::isfinite(v) ? v : 0.0; }

}  // namespace

void NavMap::FreeArrays() {
  FreeArray(&images, &imageCount);
  FreeArray(&walls, &wallCount);
  FreeArray(&places, &placeCount);
  FreeArray(&marks, &markCount);
  FreeArray(&routePoints, &routePointCount);
  FreeSearch();
}

void NavMap::Init() {
  FreeArrays();
  FreeArray(&rangeFinders, &rangeFinderCount);
  FreeBuffer(mapFileName);
  mapFileName = nullptr;
  currentImage = -1;
  rangeTimer = 0;
  visibilityTimer = 0;
  currentQueue = 0;
  imageSearchRange = kDefaultSearchRange;
  placeNearZone = kDefaultNearZone;
  positioningAccuracy = kDefaultAccuracy;
  routeIndex = 0;
  targetAngle = 0;
  obstacleLifeTime = kDefaultLifeTime;
  obstacleRadius = kDefaultObstacleRadius;
  lastPlaceId = 0;
  targetPlaceId = 0;
  saveCountdown = 0;
  mode = kModeOff;
  x = y = angle = 0;
  robotLost = 0;
  turnTimer = 0;
  moveTimer = 0;
  drawingScale = 1.0;
  writeFailureTold_ = false;
  Reset();
}

void NavMap::Reset() {
  mode = kModeOff;
  x = y = angle = 0;
  imageSearchRange = kDefaultSearchRange;
  placeNearZone = kDefaultNearZone;
  positioningAccuracy = kDefaultAccuracy;
  currentImage = -1;
  targetPlaceId = 0;
  saveCountdown = 0;
  rangeTimer = 0;
  visibilityTimer = 0;
  turnTimer = 0;
  moveTimer = 0;
  routeIndex = 0;
  FreeArray(&routePoints, &routePointCount);
  FreeArray(&marks, &markCount);
}

void NavMap::Clear() {
  currentImage = -1;
  FreeArray(&images, &imageCount);
  FreeArray(&walls, &wallCount);
  FreeArray(&places, &placeCount);
  FreeArray(&marks, &markCount);
  FreeArray(&routePoints, &routePointCount);
  routeIndex = 0;
  x = y = angle = 0;
  mode = kModeOff;
  saveCountdown = kSaveDelay;
}

void NavMap::Free() {
  if (saveCountdown > 0) DumpMap();
  Clear();
  FreeSearch();
  FreeBuffer(mapFileName);
  mapFileName = nullptr;
  FreeArray(&rangeFinders, &rangeFinderCount);
}

void NavMap::Delete(NavMap* map) { delete map; }

bool NavMap::SetRangeFinderCount(int n) {
  if (n < 0 || n > kMaxRangeFinders) return false;
  if (!ResizeSteppedArray(&rangeFinders, rangeFinderCount, n)) return false;
  rangeFinderCount = n;
  return true;
}

bool NavMap::SetMapFileName(const wchar_t* name) {
  wchar_t* copy = nullptr;
  if (name && name[0]) {
    copy = DupString(name);
    if (!copy) return false;
  }
  TakeMapFileName(copy);
  return true;
}

void NavMap::TakeMapFileName(wchar_t* name) {
  if (name && !name[0]) {
    FreeBuffer(name);
    name = nullptr;
  }
  if (name != mapFileName) FreeBuffer(mapFileName);
  mapFileName = name;
  writeFailureTold_ = false;
}

bool NavMap::SetRouteSize(int n) {
  if (!ResizeSteppedArray(&routePoints, routePointCount, n, kRouteStep)) return false;
  routePointCount = n;
  return true;
}

// ---------------------------------------------------------------------------
// The step

bool NavMap::IsRecording() const {
  if (mode == kModeRecordingFreeTurn) return true;
  return (mode == kModeRecording || mode == kModeCorrection) && turnTimer <= 0;
}

void NavMap::Step(const Mat4f* camera, double vx, double vy, double w, double dt) {
  if (mode == kModeOff) return;
  vx = FiniteOrZero(vx);
  vy = FiniteOrZero(vy);
  w = FiniteOrZero(w);

  if (moveTimer > 0) moveTimer -= dt;
  if (turnTimer > 0) turnTimer -= dt;
  if (std::sqrt(vx * vx + vy * vy) > kMoveSpeed) moveTimer = kMotionHold;
  // The robot may not turn while it moves when it records with the lock.
  if ((mode == kModeRecording || mode == kModeCorrection) && moveTimer > 0) w = 0;
  if (std::fabs(w) > kTurnRate) turnTimer = kMotionHold;

  angle += w * dt;
  const double dx = vx * dt, dy = vy * dt;
  const double c = std::cos(angle), s = std::sin(angle);
  x += dx * c + dy * s;
  y += -dx * s + dy * c;
  if (std::fabs(vx) > kChangeSpeed || std::fabs(vy) > kChangeSpeed || std::fabs(w * dt) > kChangeSpeed)
    saveCountdown = kSaveDelay;

  if (camera) {
    const int m = FindImage(camera, x, y, angle);
    if (m >= 0) visibilityTimer = kVisibilityHold;
    if (mode == kModeNavigation) {
      if (m >= 0) CorrectPose(camera, m);
    } else if (mode == kModeRecording || mode == kModeCorrection || mode == kModeRecordingFreeTurn) {
      RecordFrame(camera, m);
    }
  }

  for (int i = markCount - 1; i >= 0; --i) {
    marks[i].age += dt;
    if (obstacleLifeTime <= marks[i].age) RemoveMark(i);
  }

  if (saveCountdown > 0) {
    saveCountdown -= dt;
    if (saveCountdown <= 0) DumpMap();
  }
  if (rangeTimer > 0) rangeTimer -= dt;
  if (visibilityTimer > 0) {
    robotLost = 0;
    visibilityTimer -= dt;
  } else {
    robotLost = 1;
  }
}

// The heading and, within 2 s of a range reading, the position follow from
// the recognised image m. beta turns world directions into map ones: a
// world direction at angle t (from +y towards +x) lies at t + beta on the
// map. The camera's displacement from where it stood when m was recorded,
// turned by beta, is the robot's displacement from m's pose.
void NavMap::CorrectPose(const Mat4f* camera, int m) {
  const NavImage& image = images[m];
  const CameraPose c = ReadCamera(camera);
  const double beta = image.angle - std::atan2(image.pxl4, image.pxl5);
  angle = std::atan2(c.ax, c.ay) + beta;
  if (rangeTimer > 0) {
    const double dx = c.px - image.pxl1, dy = c.py - image.pxl2;
    const double cb = std::cos(beta), sb = std::sin(beta);
    x = image.x + 100.0 * (dx * cb + dy * sb);
    y = image.y + 100.0 * (-dx * sb + dy * cb);
  }
}

void NavMap::RecordFrame(const Mat4f* camera, int m) {
  if (!IsRecording()) return;
  visibilityTimer = kVisibilityHold;
  const CameraPose c = ReadCamera(camera);
  if (m >= 0) {
    const NavImage& image = images[m];
    const double dx = image.pxl1 - c.px, dy = image.pxl2 - c.py, dz = image.pxl3 - c.pz;
    const double limit = imageSearchRange / 200.0;
    if (std::sqrt(dx * dx + dy * dy + dz * dz) > limit) m = -1;
  }
  if (m >= 0) {
    if (mode == kModeCorrection && m != currentImage) {
      NavImage& image = images[m];
      image.x = static_cast<float>(x);
      image.y = static_cast<float>(y);
      image.angle = static_cast<float>(angle);
      TakeCamera(&image, c);
      currentImage = m;
      saveCountdown = kSaveDelay;
    }
    return;
  }
  const int added = AddImage(camera, x, y, angle);
  if (added >= 0) currentImage = added;
}

// ---------------------------------------------------------------------------
// Images

int NavMap::FindImage(const Mat4f* camera, double px, double py, double a) const {
  if (!camera) return -1;
  const CameraPose c = ReadCamera(camera);
  const double range2 = imageSearchRange * imageSearchRange;
  const double cameraRange2 = range2 / 10000.0;
  const double minDot = std::cos(kAxisAngleLimit);
  int best = -1;
  double bestDistance2 = 0;
  for (int i = 0; i < imageCount; ++i) {
    const NavImage& m = images[i];
    const double dx = m.x - px, dy = m.y - py;
    if (dx * dx + dy * dy > range2) continue;
    const double cx = m.pxl1 - c.px, cy = m.pxl2 - c.py;
    const double camera2 = cx * cx + cy * cy;
    if (!(camera2 < cameraRange2)) continue;
    if (!(std::fabs(m.pxl3 - c.pz) < kHeightLimit)) continue;
    if (!(m.pxl4 * c.ax + m.pxl5 * c.ay + m.pxl6 * c.az > minDot)) continue;
    if (!(std::fabs(NormalizeAngle(m.angle - a)) < kImageAngleLimit)) continue;
    if (best < 0 || camera2 < bestDistance2) {
      best = i;
      bestDistance2 = camera2;
    }
  }
  return best;
}

int NavMap::AddImage(const Mat4f* camera, double px, double py, double a) {
  if (!camera) return -1;
  if (!ResizeSteppedArray(&images, imageCount, imageCount + 1, kImageStep)) return -1;
  NavImage& image = images[imageCount];
  image.x = static_cast<float>(px);
  image.y = static_cast<float>(py);
  image.angle = static_cast<float>(a);
  image.cost = 0;
  TakeCamera(&image, ReadCamera(camera));
  saveCountdown = kSaveDelay;
  return imageCount++;
}

// ---------------------------------------------------------------------------
// Walls

bool NavMap::ProcessRangeReading(int i, double d) {
  if (i < 0 || i >= rangeFinderCount) return false;
  if (!std::isfinite(d) || d > rangeFinders[i].maxRange) return false;
  rangeTimer = kRangeHold;
  const int w = FindWall(x, y, angle, i, d);
  if (IsRecording()) {
    if (w >= 0) {
      if (mode == kModeCorrection) PutWall(w, x, y, angle, i, d);
      return true;
    }
    return AddWall(x, y, angle, i, d) >= 0;
  }
  return w >= 0;
}

int NavMap::FindWall(double px, double py, double a, int i, double d) const {
  if (i < 0 || i >= rangeFinderCount) return -1;
  const NavRangeFinder& f = rangeFinders[i];
  const double c = std::cos(a), s = std::sin(a);
  const double fx = px + f.x * c + f.y * s;
  const double fy = py - f.x * s + f.y * c;
  const double beam = a + f.angle;
  const double cb = std::cos(beam), sb = std::sin(beam);
  for (int k = 0; k < wallCount; ++k) {
    const NavWall& w = walls[k];
    if (w.finder != i) continue;
    if (!(std::fabs(NormalizeAngle(w.angle - a - f.angle)) < kWallBeamLimit)) continue;
    const double dx = w.x - fx, dy = w.y - fy;
    if (!(std::fabs(std::sqrt(dx * dx + dy * dy) - d) <= f.searchDistance)) continue;
    const double bearing = std::atan2(dx * cb - dy * sb, dx * sb + dy * cb);
    if (!(std::fabs(bearing) <= f.searchAngle)) continue;
    return k;
  }
  return -1;
}

void NavMap::PutWall(int w, double px, double py, double a, int i, double d) {
  if (w < 0 || w >= wallCount || i < 0 || i >= rangeFinderCount) return;
  const NavRangeFinder& f = rangeFinders[i];
  const double lx = std::sin(f.angle) * d + f.x;
  const double ly = std::cos(f.angle) * d + f.y;
  const double c = std::cos(a), s = std::sin(a);
  NavWall& wall = walls[w];
  wall.x = static_cast<float>(px + lx * c + ly * s);
  wall.y = static_cast<float>(py - lx * s + ly * c);
  wall.angle = static_cast<float>(a + f.angle);
  wall.finder = static_cast<unsigned char>(i);
  saveCountdown = kSaveDelay;
}

int NavMap::AddWall(double px, double py, double a, int i, double d) {
  if (i < 0 || i >= rangeFinderCount) return -1;
  if (!ResizeSteppedArray(&walls, wallCount, wallCount + 1, kWallStep)) return -1;
  const int w = wallCount++;
  PutWall(w, px, py, a, i, d);
  return w;
}

// ---------------------------------------------------------------------------
// Places and obstacle marks

bool NavMap::AddPlace(double px, double py, double a, int id) {
  if (!ResizeSteppedArray(&places, placeCount, placeCount + 1, kPlaceStep)) return false;
  NavPlace& place = places[placeCount++];
  place.x = static_cast<float>(px);
  place.y = static_cast<float>(py);
  place.angle = static_cast<float>(a);
  place.id = id;
  saveCountdown = kSaveDelay;
  return true;
}

int NavMap::FindPlace(int id) const {
  for (int i = 0; i < placeCount; ++i)
    if (places[i].id == id) return i;
  return -1;
}

bool NavMap::AddOrRefreshMark(double px, double py) {
  const int k = FindMark(px, py, obstacleRadius / 2);
  if (k >= 0) {
    marks[k].age = 0;
    return true;
  }
  if (!ResizeSteppedArray(&marks, markCount, markCount + 1, kMarkStep)) return false;
  NavMark& mark = marks[markCount++];
  mark.x = static_cast<float>(px);
  mark.y = static_cast<float>(py);
  mark.age = 0;
  return true;
}

int NavMap::FindMark(double px, double py, double r) const {
  for (int i = 0; i < markCount; ++i) {
    const double dx = marks[i].x - px, dy = marks[i].y - py;
    if (dx * dx + dy * dy <= r * r) return i;
  }
  return -1;
}

bool NavMap::RemoveMark(int i) {
  if (i < 0 || i >= markCount) return false;
  memmove(static_cast<void*>(marks + i), static_cast<const void*>(marks + i + 1),
          sizeof(NavMark) * static_cast<size_t>(markCount - 1 - i));
  // Shrinking never fails: at worst the block keeps its old size.
  ResizeSteppedArray(&marks, markCount, markCount - 1, kMarkStep);
  markCount--;
  return true;
}

// ---------------------------------------------------------------------------
// The file

bool NavMap::DumpMap() {
  wchar_t* path = ResolveMapPath(mapFileName);
  if (!path) return false;
  int size = 0;
  char* text = FormatMapText(this, &size);
  const bool written = text && ReplaceFileContents(path, text, size);
  FreeBuffer(text);
  if (written) {
    saveCountdown = 0;
    writeFailureTold_ = false;
  } else {
    ReportWriteFailure(path);
  }
  FreeBuffer(path);
  return written;
}

void NavMap::ReportWriteFailure(const wchar_t* path) {
  if (writeFailureTold_) return;
  writeFailureTold_ = true;
  wchar_t* text = DupString(L"Невозможно записать файл глобальной карты:\n");
  text = AppendString(text, path);
  text = AppendString(text, L"\nКарта сохраняется только в памяти.");
  GetKestHost()->ShowMessage(MB_OK | MB_ICONWARNING, L"Предупреждение",
                             text ? text : L"Невозможно записать файл глобальной карты.");
  FreeBuffer(text);
}
