// NavMap: the map engine of the visual-navigation block. It tracks the
// robot's pose by dead reckoning, records key-frame images (where the camera
// stood and where it looked), wall marks found by range finders, named
// places and short-lived obstacle marks, corrects the pose when the camera
// sees a recorded key frame again, and writes the whole map to a text file
// two seconds after the last change. The map lives in memory as long as its
// block; its file is written, never read back.
//
// Units: map coordinates in centimetres, angles in radians. A heading of 0
// points along the map's +y axis and grows towards +x; the robot's local
// axes are X (lateral) and Y (forward), so a local displacement (dx, dy) at
// heading A moves the robot by (dx cos A + dy sin A, -dx sin A + dy cos A).
//
// Arrays are a count beside a heap block grown in fixed steps (images 64,
// walls 64, places 4, obstacle marks 8, route points 128); an operation
// that needs memory it cannot get answers false and changes nothing.
// Images are named by their index, so no reference outlives a growth.
#pragma once

#include "blocks/library/navigation/nav_guidance.h"
#include "blocks/library/navigation/nav_image.h"
#include "blocks/library/navigation/nav_image_grid.h"
#include "blocks/library/navigation/nav_mark.h"
#include "blocks/library/navigation/nav_place.h"
#include "blocks/library/navigation/nav_range_finder.h"
#include "blocks/library/navigation/nav_route_point.h"
#include "blocks/library/navigation/nav_wall.h"

struct Mat4f;

class NavMap {
public:
  // Modes (the block's "mode" input).
  enum Mode : unsigned char {
    kModeOff = 0,
    kModeNavigation = 1,
    kModeRecording = 2,
    kModeCorrection = 3,
    kModeRecordingFreeTurn = 4,  // recording without the turn lock
  };

  // Growth steps of the arrays.
  static constexpr int kImageStep = 64;
  static constexpr int kWallStep = 64;
  static constexpr int kPlaceStep = 4;
  static constexpr int kMarkStep = 8;
  static constexpr int kRouteStep = 128;

  // A wall mark keeps its finder's index in a byte.
  static constexpr int kMaxRangeFinders = 256;

  // Timer settings, s.
  static constexpr double kSaveDelay = 2.0;
  static constexpr double kRangeHold = 2.0;
  static constexpr double kVisibilityHold = 3.0;
  static constexpr double kMotionHold = 0.5;

  NavMap() { Init(); }
  // Free: a write still due is made first.
  ~NavMap() { Free(); }
  NavMap(const NavMap&) = delete;
  NavMap& operator=(const NavMap&) = delete;

  // The initial values, then Reset. What the map held is released unwritten.
  void Init();
  // Mode 0, pose 0, the default search range, near zone and accuracy, no
  // current image, no target place, every timer and the save countdown 0,
  // the route and the obstacle marks emptied. Images, walls and places stay.
  void Reset();
  // Empties and frees images, walls, places, obstacle marks and the route;
  // pose 0, mode 0, and the file is written (empty) 2 s later.
  void Clear();
  // Writes the map when a write is due, then Clear, and frees the file name
  // and the range finders. The map stays usable (empty).
  void Free();
  // Free and delete (null does nothing).
  static void Delete(NavMap* map);

  // Exactly n range-finder records (0 frees them); the records kept keep
  // their values, new ones are zero. False for n below 0 or above
  // kMaxRangeFinders, or when memory runs out (nothing changes).
  bool SetRangeFinderCount(int n);
  // A copy of name becomes the map file's name (null or empty: none). False
  // when memory runs out (the old name stays).
  bool SetMapFileName(const wchar_t* name);
  // The map file's name becomes name, a heap text (FreeBuffer) the map now
  // owns (null or empty: none). Never fails, so a caller can get the copy
  // before it changes anything.
  void TakeMapFileName(wchar_t* name);

  // One step of dt seconds: speeds vx, vy in cm/s along the robot's axes, w
  // the turn rate in rad/s; camera is the world transform of the camera
  // when a new frame came (row 2 the viewing axis, row 3 the position in
  // metres), or null.
  void Step(const Mat4f* camera, double vx, double vy, double w, double dt);

  // The image the camera sees from where it stands (camera) with the robot
  // at (x, y, a): the one with the nearest camera position among the images
  // within the image search range of (x, y), facing within 45 degrees of a,
  // whose camera stood within a hundredth of the range (in metres) and 0.2 m
  // in height of this one and looked within 12 degrees of its axis. Its
  // index, or -1.
  int FindImage(const Mat4f* camera, double x, double y, double a) const;
  // Appends a key frame of pose (x, y, a) and the camera's position and
  // axis; the map is written 2 s later. Its index, or -1 when memory ran out.
  int AddImage(const Mat4f* camera, double x, double y, double a);

  // A reading of d cm by range finder i: true when it belongs to a wall mark
  // of the map (in the recording modes, one it finds, rewrites or adds).
  // False for an index beyond the finders, a reading beyond the finder's
  // maximum range or one that is not a number; those leave the range timer.
  bool ProcessRangeReading(int i, double d);
  // The first wall mark of finder i that a reading of d cm taken at pose
  // (x, y, a) meets; its index or -1.
  int FindWall(double x, double y, double a, int i, double d) const;
  // Rewrites wall mark w as the point a reading of d cm by finder i meets
  // at pose (x, y, a); the map is written 2 s later.
  void PutWall(int w, double x, double y, double a, int i, double d);
  // Appends such a wall mark; its index, or -1 when memory ran out.
  int AddWall(double x, double y, double a, int i, double d);

  // Appends a place; the map is written 2 s later. False when memory ran out.
  bool AddPlace(double x, double y, double angle, int id);
  // The index of the place with that identifier, or -1.
  int FindPlace(int id) const;

  // The obstacle mark within half the obstacle radius of (x, y) starts its
  // life again; without one a new mark is placed there. False when memory
  // ran out.
  bool AddOrRefreshMark(double x, double y);
  // The first mark with (mx - x)^2 + (my - y)^2 <= r^2, or -1.
  int FindMark(double x, double y, double r) const;
  // Removes mark i, closing the gap; false when i is out of range.
  bool RemoveMark(int i);

  // Exactly n route points (steps of 128; 0 frees them). False for a
  // negative n or when memory runs out.
  bool SetRouteSize(int n);
  // Appends a route point; false when memory runs out.
  bool AddRoutePoint(double px, double py);

  // Route planning. All directions are atan2(dx, dy), like the heading.
  // Makes id the target place and plans a route to the place with that
  // identifier; without such a place false, and the route stays as it was.
  bool PlanRouteToPlace(int id);
  // Plans a route from the pose to (tx, ty), to be ended facing tA: the
  // pose, the images of the cheapest chain, then the target. True when
  // planned; a failed plan leaves no route.
  bool PlanRoute(double tx, double ty, double tA);
  // Guidance along the route for a robot moving at (vx, vy) cm/s along its
  // axes and turning at w rad/s: the distance from the pose predicted
  // 0.4 s ahead to the route's end, with the bearing and projections of the
  // current route point in out; -1, with out untouched, when there is no
  // route or the robot has just arrived (the route then ends).
  double Guide(double vx, double vy, double w, NavGuidance* out);

  // The steps of planning. InitSearch: every image's search cost 1e20, both
  // queues empty and sized for every image, queue 0 current, the grid of
  // images built (false when memory runs out; nothing is then held).
  bool InitSearch();
  void FreeSearch();
  // Appends image i to the current queue unless it is already in it.
  void Enqueue(int i);
  // Lowers the costs of the images within the search range of image i
  // through it (edge cost: the squared distance), skipping images near an
  // obstacle mark; those lowered join the current queue.
  void Relax(int i);
  // Appends the route from (px, py) at heading h through ever cheaper
  // images, starting below image s; true when it ends within the search
  // range of the target (false too when memory runs out).
  bool ExtractPath(int s, double px, double py, double h);
  // The direction of the straight stretch of route through the current
  // route point, when the points 40 cm before and after it line up within
  // 12.5 degrees.
  bool PathDirection(double* direction) const;

  // Writes the map file now (through a temporary file that replaces the old
  // one only when complete): true when written, and the save countdown is
  // then 0. False without a file name, or when the file cannot be written;
  // that is told once through the host's message box, and the map goes on
  // in memory.
  bool DumpMap();

  // The fields, in the order of the map's description.
  int currentImage = -1;  // index of the image last matched or recorded, -1 for none
  double rangeTimer;    // s; set to 2 by every usable range reading
  double visibilityTimer;  // s; set to 3 when an image is recognised or recorded
  int searchQueueCount[2] = {0, 0};  // route planning: two queues of image indices
  int* searchQueue[2] = {nullptr, nullptr};
  int currentQueue;
  int imageCount = 0;
  NavImage* images = nullptr;
  int wallCount = 0;
  NavWall* walls = nullptr;
  int placeCount = 0;
  NavPlace* places = nullptr;
  int markCount = 0;
  NavMark* marks = nullptr;
  double imageSearchRange;  // cm, "Диапазон поиска изображений (см)"
  double placeNearZone;     // cm, "Ближняя зона места (см)"
  double positioningAccuracy;  // cm, "Точность позиционирования (см)"
  int routePointCount = 0;
  int routeIndex;
  double targetAngle;
  NavRoutePoint* routePoints = nullptr;
  wchar_t* mapFileName = nullptr; // heap copy, or null; "Файл глобальной карты:"
  double obstacleLifeTime;  // s, "Время жизни препятствий (сек)"
  double obstacleRadius;    // cm, "Радиус препятствий (см)"
  int rangeFinderCount = 0;
  NavRangeFinder* rangeFinders = nullptr;
  int lastPlaceId;
  int targetPlaceId;
  double saveCountdown;  // s; the map file is written when it runs out
  unsigned char mode;
  double x, y;   // pose, cm
  double angle;  // heading, rad
  unsigned char robotLost;  // 1 while no image has been recognised for 3 s
  double turnTimer;  // s; 0.5 after a turn rate above 0.1 rad/s
  double moveTimer;  // s; 0.5 after a speed above 10 cm/s
  double drawingScale;  // "Масштаб карты при отрисовке"

private:
  // Recording with the turn lock open: modes 2 and 3 while no turn is
  // recent, and mode 4 always.
  bool IsRecording() const;
  // The pose correction of navigation mode from recognised image m.
  void CorrectPose(const Mat4f* camera, int m);
  // Mode 2 to 4 handling of a camera frame, with m the image found (or -1).
  void RecordFrame(const Mat4f* camera, int m);
  void FreeArrays();
  // The message that the map file cannot be written, once per name.
  void ReportWriteFailure(const wchar_t* path);

  bool writeFailureTold_ = false;
  // Planning only: the images near a point, and for each image the wave in
  // which it last joined the current queue.
  NavImageGrid searchGrid_;
  int* queuedInWave_ = nullptr;
  int wave_ = 0;
};
