// NavMap: its initial values, Reset and Clear; dead reckoning in each mode
// with the turn lock of the recording modes; recording and recognising key
// frames by the five criteria of FindImage and correcting the pose; wall
// marks from range readings; places; obstacle marks that age and are
// refreshed; the timers. Expected values are worked from the map's motion
// formula: a local displacement (dx, dy) at heading A moves the robot by
// (dx cos A + dy sin A, -dx sin A + dy cos A).
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "blocks/library/navigation/nav_map.h"
#include "blocks/library/navigation/normalize_angle.h"
#include "foundation/buffer_failure_scope.h"
#include "kestui/core/kest_host_scope.h"
#include "nav_kit.h"

namespace {

using navtest::Camera;
using navtest::Finder;

const double kPi = 3.141592653589793;
const double kHalfPi = kPi / 2;

// ---------------------------------------------------------------------------
// Life cycle

TEST(NavMapLife, StartsWithTheInitialValues) {
  NavMap map;
  EXPECT_EQ(-1, map.currentImage);
  EXPECT_EQ(0, map.rangeTimer);
  EXPECT_EQ(0, map.visibilityTimer);
  EXPECT_EQ(0, map.searchQueueCount[0]);
  EXPECT_EQ(0, map.searchQueueCount[1]);
  EXPECT_EQ(0, map.imageCount);
  EXPECT_EQ(nullptr, map.images);
  EXPECT_EQ(0, map.wallCount);
  EXPECT_EQ(0, map.placeCount);
  EXPECT_EQ(0, map.markCount);
  EXPECT_EQ(50.0, map.imageSearchRange);
  EXPECT_EQ(40.0, map.placeNearZone);
  EXPECT_EQ(10.0, map.positioningAccuracy);
  EXPECT_EQ(0, map.routePointCount);
  EXPECT_EQ(0, map.routeIndex);
  EXPECT_EQ(nullptr, map.mapFileName);
  EXPECT_EQ(8.0, map.obstacleLifeTime);
  EXPECT_EQ(40.0, map.obstacleRadius);
  EXPECT_EQ(0, map.rangeFinderCount);
  EXPECT_EQ(0, map.lastPlaceId);
  EXPECT_EQ(0, map.targetPlaceId);
  EXPECT_EQ(0, map.saveCountdown);
  EXPECT_EQ(NavMap::kModeOff, map.mode);
  EXPECT_EQ(0, map.x);
  EXPECT_EQ(0, map.y);
  EXPECT_EQ(0, map.angle);
  EXPECT_EQ(0, map.robotLost);
  EXPECT_EQ(0, map.turnTimer);
  EXPECT_EQ(0, map.moveTimer);
  EXPECT_EQ(1.0, map.drawingScale);
}

TEST(NavMapLife, ResetKeepsTheRecordedMap) {
  NavMap map;
  const Mat4f cam = Camera(0, 0, 0.5f);
  ASSERT_EQ(0, map.AddImage(&cam, 1, 2, 0));
  ASSERT_TRUE(map.AddPlace(3, 4, 0, 1));
  ASSERT_TRUE(map.AddOrRefreshMark(5, 6));
  ASSERT_TRUE(map.SetRouteSize(3));
  map.mode = NavMap::kModeRecording;
  map.x = 10;
  map.angle = 1;
  map.imageSearchRange = 80;
  map.placeNearZone = 60;
  map.positioningAccuracy = 3;
  map.currentImage = 0;
  map.targetPlaceId = 7;
  map.rangeTimer = map.visibilityTimer = map.turnTimer = map.moveTimer = 0.3;
  map.routeIndex = 2;
  map.Reset();
  EXPECT_EQ(NavMap::kModeOff, map.mode);
  EXPECT_EQ(0, map.x);
  EXPECT_EQ(0, map.angle);
  EXPECT_EQ(50.0, map.imageSearchRange);
  EXPECT_EQ(40.0, map.placeNearZone);
  EXPECT_EQ(10.0, map.positioningAccuracy);
  EXPECT_EQ(-1, map.currentImage);
  EXPECT_EQ(0, map.targetPlaceId);
  EXPECT_EQ(0, map.saveCountdown);
  EXPECT_EQ(0, map.rangeTimer);
  EXPECT_EQ(0, map.visibilityTimer);
  EXPECT_EQ(0, map.turnTimer);
  EXPECT_EQ(0, map.moveTimer);
  EXPECT_EQ(0, map.routeIndex);
  EXPECT_EQ(0, map.routePointCount);
  EXPECT_EQ(nullptr, map.routePoints);
  EXPECT_EQ(0, map.markCount);
  EXPECT_EQ(1, map.imageCount);
  EXPECT_EQ(1, map.placeCount);
}

TEST(NavMapLife, ClearEmptiesTheMapAndSchedulesAnEmptyFile) {
  NavMap map;
  const Mat4f cam = Camera(0, 0, 0.5f);
  ASSERT_TRUE(map.SetRangeFinderCount(1));
  map.rangeFinders[0] = Finder(0, 0, 0, 0.5, 10, 95);
  map.mode = NavMap::kModeRecordingFreeTurn;
  ASSERT_EQ(0, map.AddImage(&cam, 1, 2, 0));
  ASSERT_TRUE(map.ProcessRangeReading(0, 30));
  ASSERT_TRUE(map.AddPlace(3, 4, 0, 1));
  ASSERT_TRUE(map.AddOrRefreshMark(5, 6));
  ASSERT_TRUE(map.SetRouteSize(2));
  map.currentImage = 0;
  map.x = 7;
  map.y = 8;
  map.angle = 0.5;
  map.Clear();
  EXPECT_EQ(-1, map.currentImage);
  EXPECT_EQ(0, map.imageCount);
  EXPECT_EQ(nullptr, map.images);
  EXPECT_EQ(0, map.wallCount);
  EXPECT_EQ(nullptr, map.walls);
  EXPECT_EQ(0, map.placeCount);
  EXPECT_EQ(nullptr, map.places);
  EXPECT_EQ(0, map.markCount);
  EXPECT_EQ(nullptr, map.marks);
  EXPECT_EQ(0, map.routePointCount);
  EXPECT_EQ(nullptr, map.routePoints);
  EXPECT_EQ(0, map.x);
  EXPECT_EQ(0, map.y);
  EXPECT_EQ(0, map.angle);
  EXPECT_EQ(NavMap::kModeOff, map.mode);
  EXPECT_EQ(2.0, map.saveCountdown);
  EXPECT_EQ(1, map.rangeFinderCount) << "the robot's finders stay";
}

TEST(NavMapLife, RangeFinderCountIsExact) {
  NavMap map;
  ASSERT_TRUE(map.SetRangeFinderCount(3));
  EXPECT_EQ(3, map.rangeFinderCount);
  map.rangeFinders[1] = Finder(20, 0, kHalfPi, 0.5, 10, 95);
  ASSERT_TRUE(map.SetRangeFinderCount(2));
  EXPECT_EQ(20.0, map.rangeFinders[1].x) << "kept records keep their values";
  ASSERT_TRUE(map.SetRangeFinderCount(4));
  EXPECT_EQ(0.0, map.rangeFinders[3].maxRange) << "new records are zero";
  EXPECT_FALSE(map.SetRangeFinderCount(-1));
  EXPECT_FALSE(map.SetRangeFinderCount(NavMap::kMaxRangeFinders + 1));
  EXPECT_EQ(4, map.rangeFinderCount);
  {
    CBufferFailureScope refuse(0);
    EXPECT_FALSE(map.SetRangeFinderCount(5));
  }
  EXPECT_EQ(4, map.rangeFinderCount);
  EXPECT_EQ(20.0, map.rangeFinders[1].x);
  ASSERT_TRUE(map.SetRangeFinderCount(0));
  EXPECT_EQ(nullptr, map.rangeFinders);
}

TEST(NavMapLife, ArraysGrowInTheirSteps) {
  NavMap map;
  const Mat4f cam = Camera(0, 0, 0.5f);
  // Within a step no new block is needed: refused memory does not matter.
  ASSERT_EQ(0, map.AddImage(&cam, 0, 0, 0));
  {
    CBufferFailureScope refuse(0);
    for (int i = 1; i < NavMap::kImageStep; ++i) ASSERT_EQ(i, map.AddImage(&cam, 0, 0, 0));
    EXPECT_EQ(-1, map.AddImage(&cam, 0, 0, 0)) << "the 65th image needs a new block";
    EXPECT_EQ(1, refuse.GetRefusals());
  }
  EXPECT_EQ(NavMap::kImageStep, map.imageCount);
  EXPECT_EQ(NavMap::kImageStep, map.AddImage(&cam, 0, 0, 0));

  ASSERT_TRUE(map.AddPlace(0, 0, 0, 1));
  {
    CBufferFailureScope refuse(0);
    for (int i = 1; i < NavMap::kPlaceStep; ++i) ASSERT_TRUE(map.AddPlace(0, 0, 0, i + 1));
    EXPECT_FALSE(map.AddPlace(0, 0, 0, 9));
    map.obstacleRadius = 0;
    EXPECT_FALSE(map.AddOrRefreshMark(0, 0)) << "the first mark needs a block";
    EXPECT_FALSE(map.SetRouteSize(1));
  }
  EXPECT_EQ(NavMap::kPlaceStep, map.placeCount);
  EXPECT_EQ(0, map.markCount);
  EXPECT_EQ(0, map.routePointCount);
  EXPECT_FALSE(map.SetRouteSize(-1));
  ASSERT_TRUE(map.SetRouteSize(NavMap::kRouteStep));
  {
    CBufferFailureScope refuse(0);
    EXPECT_FALSE(map.SetRouteSize(NavMap::kRouteStep + 1));
    EXPECT_TRUE(map.SetRouteSize(1)) << "shrinking within the kept block";
  }
}

TEST(NavMapLife, DeleteTakesNull) {
  NavMap::Delete(nullptr);
  NavMap* map = new NavMap;
  ASSERT_TRUE(map->SetMapFileName(L""));
  EXPECT_EQ(nullptr, map->mapFileName);
  NavMap::Delete(map);
}

// ---------------------------------------------------------------------------
// Dead reckoning

struct MotionCase {
  const char* what;
  unsigned char mode;
  double vx, vy, w;
  double angle, x, y;  // after one step of 0.1 s from the origin
  double moveTimer, turnTimer;
};

TEST(NavMapMotion, OneStepInEachMode) {
  // vx 3, vy 20 cm/s, w 0.5 rad/s, dt 0.1 s: heading 0.05; displacement
  // (0.3, 2) at 0.05: x = 0.3 cos 0.05 + 2 sin 0.05 = 0.39958341665984654,
  // y = -0.3 sin 0.05 + 2 cos 0.05 = 1.982506770008729. In modes 2 and 3
  // the speed (20.22 cm/s > 10) locks the turn: (0.3, 2) at heading 0.
  // Slow (vy 5): displacement (0, 0.5) at 0.05 = (0.024989584635339165,
  // 0.49937513019748314).
  const MotionCase cases[] = {
      {"navigation", 1, 3, 20, 0.5, 0.05, 0.39958341665984654, 1.982506770008729, 0.5, 0.5},
      {"recording", 2, 3, 20, 0.5, 0, 0.3, 2, 0.5, 0},
      {"correction", 3, 3, 20, 0.5, 0, 0.3, 2, 0.5, 0},
      {"free turn", 4, 3, 20, 0.5, 0.05, 0.39958341665984654, 1.982506770008729, 0.5, 0.5},
      {"recording slowly", 2, 0, 5, 0.5, 0.05, 0.024989584635339165, 0.49937513019748314, 0, 0.5},
      {"small turn", 1, 0, 0, 0.1, 0.01, 0, 0, 0, 0},
  };
  for (const MotionCase& c : cases) {
    SCOPED_TRACE(c.what);
    NavMap map;
    map.mode = c.mode;
    map.Step(nullptr, c.vx, c.vy, c.w, 0.1);
    EXPECT_NEAR(c.angle, map.angle, 1e-15);
    EXPECT_NEAR(c.x, map.x, 1e-12);
    EXPECT_NEAR(c.y, map.y, 1e-12);
    EXPECT_EQ(c.moveTimer, map.moveTimer);
    EXPECT_EQ(c.turnTimer, map.turnTimer);
  }
}

TEST(NavMapMotion, ModeOffChangesNothing) {
  NavMap map;
  map.x = 1;
  map.moveTimer = 0.25;
  map.turnTimer = 0.25;
  map.rangeTimer = 1;
  map.visibilityTimer = 1;
  map.saveCountdown = 0.05;
  ASSERT_TRUE(map.AddOrRefreshMark(0, 0));
  const Mat4f cam = Camera(0, 0, 0.5f);
  map.Step(&cam, 30, 30, 1, 0.1);
  EXPECT_EQ(1, map.x);
  EXPECT_EQ(0, map.y);
  EXPECT_EQ(0, map.angle);
  EXPECT_EQ(0.25, map.moveTimer);
  EXPECT_EQ(0.25, map.turnTimer);
  EXPECT_EQ(1, map.rangeTimer);
  EXPECT_EQ(1, map.visibilityTimer);
  EXPECT_EQ(0.05, map.saveCountdown);
  EXPECT_EQ(0, map.robotLost);
  EXPECT_EQ(0, map.imageCount);
  EXPECT_EQ(0.0, map.marks[0].age);
}

TEST(NavMapMotion, TheTurnLockHoldsHalfASecondAfterTheSpeedFalls) {
  // Steps of 0.125 s: the move timer goes 0.5, 0.375, 0.25, 0.125, 0.
  for (unsigned char mode : {NavMap::kModeRecording, NavMap::kModeCorrection}) {
    SCOPED_TRACE(mode);
    NavMap map;
    map.mode = mode;
    map.Step(nullptr, 0, 16, 0, 0.125);  // y = 2
    EXPECT_EQ(0.5, map.moveTimer);
    for (int i = 0; i < 3; ++i) {
      map.Step(nullptr, 0, 0, 1, 0.125);
      EXPECT_EQ(0, map.angle) << "locked on step " << i;
      EXPECT_EQ(0, map.turnTimer);
    }
    map.Step(nullptr, 0, 0, 1, 0.125);
    EXPECT_EQ(0, map.moveTimer);
    EXPECT_EQ(0.125, map.angle) << "free once the move timer ran out";
    EXPECT_EQ(0.5, map.turnTimer);
  }
  NavMap freeTurn;
  freeTurn.mode = NavMap::kModeRecordingFreeTurn;
  freeTurn.Step(nullptr, 0, 16, 0, 0.125);
  freeTurn.Step(nullptr, 0, 0, 1, 0.125);
  EXPECT_EQ(0.125, freeTurn.angle) << "mode 4 turns while the move timer runs";
}

TEST(NavMapMotion, MovingOrTurningSchedulesAWrite) {
  struct Case {
    double vx, vy, w;
    bool schedules;
  } cases[] = {
      {0.02, 0, 0, true}, {0, -0.02, 0, true}, {0, 0, 0.2, true},  // w dt = 0.02
      {0.01, -0.01, 0.05, false},                                 // w dt = 0.005
  };
  for (const Case& c : cases) {
    NavMap map;
    map.mode = NavMap::kModeNavigation;
    map.Step(nullptr, c.vx, c.vy, c.w, 0.1);
    // Set to 2 by the motion, then counted down by the step.
    EXPECT_EQ(c.schedules ? 2.0 - 0.1 : 0.0, map.saveCountdown) << c.vx << " " << c.vy << " " << c.w;
  }
}

TEST(NavMapMotion, AHeadingGrownWithoutBoundStillSteps) {
  NavMap map;
  map.mode = NavMap::kModeNavigation;
  const Mat4f cam = Camera(0, 0, 0.5f);
  ASSERT_EQ(0, map.AddImage(&cam, 0, 0, 0));
  map.angle = 1e17;
  map.Step(&cam, 0, 0, 0, 0.1);  // image search normalises the heading difference
  EXPECT_EQ(1e17, map.angle) << "no image faces that way";
  map.angle = std::numeric_limits<double>::infinity();
  map.Step(&cam, 0, 0, 0, 0.1);
  // Rates that are not numbers move nothing.
  map.x = map.y = map.angle = 0;
  map.Step(nullptr, std::nan(""), std::numeric_limits<double>::infinity(), std::nan(""), 0.1);
  EXPECT_EQ(0, map.x);
  EXPECT_EQ(0, map.y);
  EXPECT_EQ(0, map.angle);
}

TEST(NavMapMotion, RobotIsLostThreeSecondsAfterTheLastImage) {
  NavMap map;
  map.mode = NavMap::kModeRecording;
  const Mat4f cam = Camera(0, 0, 0.5f);
  map.Step(&cam, 0, 0, 0, 0.5);
  EXPECT_EQ(1, map.imageCount);
  EXPECT_EQ(0, map.robotLost);
  EXPECT_EQ(2.5, map.visibilityTimer);
  map.mode = NavMap::kModeNavigation;
  for (int i = 0; i < 5; ++i) {
    map.Step(nullptr, 0, 0, 0, 0.5);
    EXPECT_EQ(0, map.robotLost) << i;
  }
  EXPECT_EQ(0, map.visibilityTimer);
  map.Step(nullptr, 0, 0, 0, 0.5);
  EXPECT_EQ(1, map.robotLost);
  // Seeing the image again finds the robot.
  map.Step(&cam, 0, 0, 0, 0.5);
  EXPECT_EQ(0, map.robotLost);
  EXPECT_EQ(2.5, map.visibilityTimer);
}

// ---------------------------------------------------------------------------
// Key frames

TEST(NavMapImages, RecordingAddsAnImageOncePerPlace) {
  NavMap map;
  map.mode = NavMap::kModeRecording;
  map.x = 10;
  map.y = 20;
  map.angle = 0.25;
  const Mat4f cam = Camera(1.5f, -2.0f, 0.5f, 0, 1, 0);
  map.Step(&cam, 0, 0, 0, 0.1);
  ASSERT_EQ(1, map.imageCount);
  const NavImage& m = map.images[0];
  EXPECT_EQ(10.0f, m.x);
  EXPECT_EQ(20.0f, m.y);
  EXPECT_EQ(0.25f, m.angle);
  EXPECT_EQ(1.5f, m.pxl1);
  EXPECT_EQ(-2.0f, m.pxl2);
  EXPECT_EQ(0.5f, m.pxl3);
  EXPECT_EQ(0.0f, m.pxl4);
  EXPECT_EQ(1.0f, m.pxl5);
  EXPECT_EQ(0.0f, m.pxl6);
  EXPECT_EQ(0, map.currentImage);
  EXPECT_EQ(2.0 - 0.1, map.saveCountdown);
  EXPECT_EQ(3.0 - 0.1, map.visibilityTimer);

  // The same view again is recognised: nothing new.
  map.Step(&cam, 0, 0, 0, 0.1);
  EXPECT_EQ(1, map.imageCount);
  // A camera 0.2 m away: recognised (within range / 200 = 0.25 m).
  const Mat4f closeBy = Camera(1.7f, -2.0f, 0.5f);
  map.Step(&closeBy, 0, 0, 0, 0.1);
  EXPECT_EQ(1, map.imageCount);
  // 0.3 m away: FindImage still finds it (within range / 100 = 0.5 m), but
  // recording drops it and records a new key frame.
  const Mat4f apart = Camera(1.8f, -2.0f, 0.5f);
  EXPECT_EQ(0, map.FindImage(&apart, map.x, map.y, map.angle));
  map.Step(&apart, 0, 0, 0, 0.1);
  ASSERT_EQ(2, map.imageCount);
  EXPECT_EQ(1, map.currentImage);
  EXPECT_EQ(1.8f, map.images[1].pxl1);
}

TEST(NavMapImages, RecordingWaitsForTheTurnToEnd) {
  const Mat4f cam = Camera(0, 0, 0.5f);
  for (unsigned char mode : {NavMap::kModeRecording, NavMap::kModeCorrection, NavMap::kModeRecordingFreeTurn}) {
    SCOPED_TRACE(mode);
    NavMap map;
    map.mode = mode;
    map.Step(&cam, 0, 0, 0.5, 0.1);  // turning: the turn timer runs
    const bool freeTurn = mode == NavMap::kModeRecordingFreeTurn;
    EXPECT_EQ(freeTurn ? 1 : 0, map.imageCount);
    EXPECT_EQ(freeTurn ? 0 : 1, map.robotLost);
  }
}

TEST(NavMapImages, CorrectionRewritesARecognisedImage) {
  NavMap map;
  const Mat4f old = Camera(1, 1, 0.5f);
  ASSERT_EQ(0, map.AddImage(&old, 0, 0, 0));
  ASSERT_EQ(1, map.AddImage(&old, 400, 0, 0));  // far away: never found here
  map.saveCountdown = 0;
  map.mode = NavMap::kModeCorrection;
  map.x = 5;
  map.y = -5;
  map.angle = 0.1;
  const Mat4f seen = Camera(1.1f, 1.05f, 0.55f, 0.1f, 0.99f, 0.05f);
  map.Step(&seen, 0, 0, 0, 0.1);
  ASSERT_EQ(2, map.imageCount);
  const NavImage& m = map.images[0];
  EXPECT_EQ(5.0f, m.x);
  EXPECT_EQ(-5.0f, m.y);
  EXPECT_EQ(0.1f, m.angle);
  EXPECT_EQ(1.1f, m.pxl1);
  EXPECT_EQ(1.05f, m.pxl2);
  EXPECT_EQ(0.55f, m.pxl3);
  EXPECT_EQ(0.1f, m.pxl4);
  EXPECT_EQ(0.99f, m.pxl5);
  EXPECT_EQ(0.05f, m.pxl6);
  EXPECT_EQ(0, map.currentImage);
  EXPECT_EQ(2.0 - 0.1, map.saveCountdown);
  // Once it is the current image it is left as it is.
  map.x = 6;
  map.saveCountdown = 0;
  map.Step(&seen, 0, 0, 0, 0.1);
  EXPECT_EQ(5.0f, map.images[0].x);
  EXPECT_EQ(0, map.saveCountdown);
  // Recording (mode 2) never rewrites.
  map.currentImage = -1;
  map.mode = NavMap::kModeRecording;
  map.Step(&seen, 0, 0, 0, 0.1);
  EXPECT_EQ(5.0f, map.images[0].x);
  EXPECT_EQ(-1, map.currentImage);
}

// FindImage's five criteria, each deciding alone: an image recorded at the
// robot pose (0, 0, 0) with its camera at (0, 0, 0.5) looking along +y,
// searched with the default range of 50 cm.
struct FindCase {
  const char* what;
  double x, y, a;  // robot pose of the search
  float px, py, pz;  // camera position
  float ax, ay, az;  // camera axis
  bool found;
};

TEST(NavMapImages, FindImageByEachCriterion) {
  const double s10 = std::sin(10 * kPi / 180), c10 = std::cos(10 * kPi / 180);
  const double s14 = std::sin(14 * kPi / 180), c14 = std::cos(14 * kPi / 180);
  const float fs10 = static_cast<float>(s10), fc10 = static_cast<float>(c10);
  const float fs14 = static_cast<float>(s14), fc14 = static_cast<float>(c14);
  const FindCase cases[] = {
      {"the same view", 0, 0, 0, 0, 0, 0.5f, 0, 1, 0, true},
      {"robot 50 cm away (40, 30)", 40, 30, 0, 0, 0, 0.5f, 0, 1, 0, true},
      {"robot beyond 50 cm (40, 31)", 40, 31, 0, 0, 0, 0.5f, 0, 1, 0, false},
      {"heading 0.7 off", 0, 0, 0.7, 0, 0, 0.5f, 0, 1, 0, true},
      {"heading 0.8 off (over pi/4)", 0, 0, -0.8, 0, 0, 0.5f, 0, 1, 0, false},
      {"camera 0.4 m away", 0, 0, 0, 0.4f, 0, 0.5f, 0, 1, 0, true},
      {"camera 0.6 m away", 0, 0, 0, 0, -0.6f, 0.5f, 0, 1, 0, false},
      {"camera 0.15 m higher", 0, 0, 0, 0, 0, 0.65f, 0, 1, 0, true},
      {"camera 0.25 m lower", 0, 0, 0, 0, 0, 0.25f, 0, 1, 0, false},
      {"axis 10 degrees off", 0, 0, 0, 0, 0, 0.5f, fs10, fc10, 0, true},
      {"axis 14 degrees off", 0, 0, 0, 0, 0, 0.5f, 0, fc14, fs14, false},
  };
  NavMap map;
  const Mat4f rec = Camera(0, 0, 0.5f);
  ASSERT_EQ(0, map.AddImage(&rec, 0, 0, 0));
  for (const FindCase& c : cases) {
    const Mat4f cam = Camera(c.px, c.py, c.pz, c.ax, c.ay, c.az);
    EXPECT_EQ(c.found ? 0 : -1, map.FindImage(&cam, c.x, c.y, c.a)) << c.what;
  }
}

TEST(NavMapImages, FindImageComparesHeadingsAcrossTheHalfTurn) {
  NavMap map;
  const Mat4f rec = Camera(0, 0, 0.5f);
  ASSERT_EQ(0, map.AddImage(&rec, 0, 0, 3.0f));
  // 3.0 - (-3.0) = 6.0, which is 6.0 - 2 pi = -0.283 after normalising.
  EXPECT_EQ(0, map.FindImage(&rec, 0, 0, -3.0));
  EXPECT_EQ(0, map.FindImage(&rec, 0, 0, 3.0 + 4 * kPi));
  EXPECT_EQ(-1, map.FindImage(&rec, 0, 0, 0));
}

TEST(NavMapImages, FindImageTakesTheNearestCamera) {
  NavMap map;
  const Mat4f a = Camera(0.3f, 0, 0.5f), b = Camera(0.1f, 0, 0.5f), c = Camera(-0.1f, 0, 0.5f);
  ASSERT_EQ(0, map.AddImage(&a, 0, 0, 0));
  ASSERT_EQ(1, map.AddImage(&b, 0, 0, 0));
  ASSERT_EQ(2, map.AddImage(&c, 0, 0, 0));
  const Mat4f here = Camera(0, 0, 0.5f);
  EXPECT_EQ(1, map.FindImage(&here, 0, 0, 0)) << "of equals the first";
  const Mat4f right = Camera(0.25f, 0, 0.5f);
  EXPECT_EQ(0, map.FindImage(&right, 0, 0, 0));
  EXPECT_EQ(-1, map.FindImage(nullptr, 0, 0, 0));
  NavMap empty;
  EXPECT_EQ(-1, empty.FindImage(&here, 0, 0, 0));
}

// Navigation mode: a recognised image sets the heading always and the
// position within 2 s of a usable range reading.
TEST(NavMapImages, NavigationCorrectsTheHeadingAlways) {
  NavMap map;
  const Mat4f rec = Camera(0, 0, 0.5f);  // world axis angle 0
  ASSERT_EQ(0, map.AddImage(&rec, 0, 0, 0.5f));  // beta = 0.5
  map.mode = NavMap::kModeNavigation;
  map.x = 3;
  map.y = 4;
  map.angle = 0.4;
  // The camera now looks 0.2 rad further round: heading 0.2 + 0.5.
  const float s = static_cast<float>(std::sin(0.2)), c = static_cast<float>(std::cos(0.2));
  const Mat4f cam = Camera(0.1f, 0, 0.5f, s, c, 0);
  map.Step(&cam, 0, 0, 0, 0.1);
  EXPECT_NEAR(std::atan2(static_cast<double>(s), static_cast<double>(c)) + 0.5, map.angle, 1e-12);
  EXPECT_EQ(3, map.x) << "no range reading: the position stays";
  EXPECT_EQ(4, map.y);
  EXPECT_EQ(1, map.imageCount);
  EXPECT_EQ(0, map.robotLost);
}

// The camera 0.3 m east of a key frame recorded at the map's origin with the
// world and the map aligned (beta = 0). The robot moved 30 cm east: x = +30.
// Taking the displacement the other way round (recorded minus current) and
// turning it counter-clockwise would put it at x = -30.
TEST(NavMapImages, NavigationMovesTheRobotWithItsCamera) {
  struct Case {
    const char* what;
    float recordedAngle;   // map heading of the key frame (= beta here)
    double robotAngle;     // heading before the step
    double x, y;           // expected position, cm
  } cases[] = {
      {"map along the world", 0.0f, 0.0, 30, 0},
      // The map turned a quarter turn: world east is the map's -y.
      {"map a quarter turn round", static_cast<float>(kHalfPi), kHalfPi, 0, -30},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    NavMap map;
    ASSERT_TRUE(map.SetRangeFinderCount(1));
    map.rangeFinders[0] = Finder(0, 0, 0, 0.5, 10, 95);
    const Mat4f rec = Camera(0, 0, 0.5f);
    ASSERT_EQ(0, map.AddImage(&rec, 0, 0, k.recordedAngle));
    map.mode = NavMap::kModeNavigation;
    map.angle = k.robotAngle;
    EXPECT_FALSE(map.ProcessRangeReading(0, 50));  // no wall, but usable
    EXPECT_EQ(2.0, map.rangeTimer);
    const Mat4f cam = Camera(0.3f, 0, 0.5f);
    map.Step(&cam, 0, 0, 0, 0.1);
    const double beta = static_cast<double>(k.recordedAngle);
    EXPECT_NEAR(beta, map.angle, 1e-12);
    EXPECT_NEAR(k.x, map.x, 1e-5);
    EXPECT_NEAR(k.y, map.y, 1e-5);
    if (beta == 0) {
      // The formula as first written: d = recorded - camera, turned by beta
      // counter-clockwise.
      const double dx = 0 - 0.3f, dy = 0;
      const double partX = 0 + 100 * (dx * std::cos(beta) - dy * std::sin(beta));
      EXPECT_NEAR(-30, partX, 1e-5);
      EXPECT_NE(partX, map.x);
    }
  }
}

// ---------------------------------------------------------------------------
// Walls

// Finder 0 on the robot's right at (20, 0), looking right (pi/2), trusting
// readings up to 95 cm, finding walls within 30 degrees and 10 cm.
NavMap* MapWithFinder() {
  NavMap* map = new NavMap;
  map->SetRangeFinderCount(2);
  map->rangeFinders[0] = Finder(20, 0, kHalfPi, kPi / 6, 10, 95);
  map->rangeFinders[1] = Finder(-20, 0, -kHalfPi, kPi / 6, 10, 95);
  return map;
}

TEST(NavMapWalls, RecordingAddsTheWallTheReadingMeets) {
  NavMap* map = MapWithFinder();
  map->mode = NavMap::kModeRecording;
  // Local point (sin(pi/2) 50 + 20, cos(pi/2) 50 + 0) = (70, 0).
  EXPECT_TRUE(map->ProcessRangeReading(0, 50));
  ASSERT_EQ(1, map->wallCount);
  EXPECT_NEAR(70.0, map->walls[0].x, 1e-5);
  EXPECT_NEAR(0.0, map->walls[0].y, 1e-5);
  EXPECT_EQ(static_cast<float>(kHalfPi), map->walls[0].angle);
  EXPECT_EQ(0, map->walls[0].finder);
  EXPECT_EQ(2.0, map->saveCountdown);
  EXPECT_EQ(2.0, map->rangeTimer);
  // A reading 5 cm further meets the same wall: nothing new.
  EXPECT_TRUE(map->ProcessRangeReading(0, 55));
  EXPECT_EQ(1, map->wallCount);
  // The other finder sees its own walls only: (-70, 0) is new.
  EXPECT_TRUE(map->ProcessRangeReading(1, 50));
  ASSERT_EQ(2, map->wallCount);
  EXPECT_NEAR(-70.0, map->walls[1].x, 1e-5);
  EXPECT_EQ(1, map->walls[1].finder);
  NavMap::Delete(map);
}

TEST(NavMapWalls, NavigationOnlyAnswersWhetherAWallIsKnown) {
  NavMap* map = MapWithFinder();
  map->mode = NavMap::kModeRecording;
  ASSERT_TRUE(map->ProcessRangeReading(0, 50));  // wall at (70, 0)
  map->mode = NavMap::kModeNavigation;
  struct Case {
    const char* what;
    double x, y, a, d;
    bool wall;
  } cases[] = {
      {"same reading", 0, 0, 0, 50, true},
      {"10 cm longer", 0, 0, 0, 60, true},
      {"15 cm longer", 0, 0, 0, 65, false},
      {"robot 20 cm back: bearing atan(20/50) = 21.8 deg", 0, -20, 0, 54, true},
      {"robot 40 cm back: bearing 38.7 deg", 0, -40, 0, 64, false},
      {"robot turned 0.3 rad", 0, 0, 0.3, 50, true},
      {"robot turned 0.4 rad (over 20 deg)", 0, 0, 0.4, 50, false},
  };
  for (const Case& c : cases) {
    map->x = c.x;
    map->y = c.y;
    map->angle = c.a;
    EXPECT_EQ(c.wall, map->ProcessRangeReading(0, c.d)) << c.what;
  }
  EXPECT_EQ(1, map->wallCount);
  EXPECT_EQ(0, map->FindWall(0, 0, 0, 0, 50));
  EXPECT_EQ(-1, map->FindWall(0, 0, 0, 1, 50));
  EXPECT_EQ(-1, map->FindWall(0, 0, 0, 5, 50));
  NavMap::Delete(map);
}

TEST(NavMapWalls, CorrectionRewritesTheWallFromThePose) {
  NavMap* map = MapWithFinder();
  map->mode = NavMap::kModeRecording;
  ASSERT_TRUE(map->ProcessRangeReading(0, 50));  // (70, 0)
  map->mode = NavMap::kModeCorrection;
  map->y = 5;
  map->saveCountdown = 0;
  EXPECT_TRUE(map->ProcessRangeReading(0, 52));
  ASSERT_EQ(1, map->wallCount);
  EXPECT_NEAR(72.0, map->walls[0].x, 1e-5);
  EXPECT_NEAR(5.0, map->walls[0].y, 1e-5);
  EXPECT_EQ(2.0, map->saveCountdown);
  // Turning (the turn timer runs) suspends recording: found or not, as in
  // navigation.
  map->turnTimer = 0.3;
  EXPECT_FALSE(map->ProcessRangeReading(0, 80));
  EXPECT_EQ(1, map->wallCount);
  NavMap::Delete(map);
}

TEST(NavMapWalls, RefusedReadingsLeaveTheRangeTimer) {
  NavMap* map = MapWithFinder();
  map->mode = NavMap::kModeRecordingFreeTurn;
  EXPECT_FALSE(map->ProcessRangeReading(0, 95.5)) << "beyond the maximum range";
  EXPECT_FALSE(map->ProcessRangeReading(2, 50)) << "no third finder";
  EXPECT_FALSE(map->ProcessRangeReading(-1, 50));
  EXPECT_FALSE(map->ProcessRangeReading(0, std::nan("")));
  EXPECT_FALSE(map->ProcessRangeReading(0, -std::numeric_limits<double>::infinity()));
  EXPECT_EQ(0, map->rangeTimer);
  EXPECT_EQ(0, map->wallCount);
  EXPECT_TRUE(map->ProcessRangeReading(0, 95)) << "the maximum itself counts";
  EXPECT_EQ(2.0, map->rangeTimer);
  // The range timer runs down with the steps.
  map->Step(nullptr, 0, 0, 0, 0.5);
  EXPECT_EQ(1.5, map->rangeTimer);
  for (int i = 0; i < 3; ++i) map->Step(nullptr, 0, 0, 0, 0.5);
  EXPECT_EQ(0, map->rangeTimer);
  map->Step(nullptr, 0, 0, 0, 0.5);
  EXPECT_EQ(0, map->rangeTimer) << "stays at 0";
  NavMap::Delete(map);
}

TEST(NavMapWalls, RefusedMemoryAddsNoWall) {
  NavMap* map = MapWithFinder();
  map->mode = NavMap::kModeRecording;
  {
    CBufferFailureScope refuse(0);
    EXPECT_FALSE(map->ProcessRangeReading(0, 50));
  }
  EXPECT_EQ(0, map->wallCount);
  NavMap::Delete(map);
}

// ---------------------------------------------------------------------------
// Places and obstacle marks

TEST(NavMapPlaces, AddedPlacesAreFoundByIdentifier) {
  NavMap map;
  EXPECT_EQ(-1, map.FindPlace(1));
  ASSERT_TRUE(map.AddPlace(10, 20, 0.5, 1));
  ASSERT_TRUE(map.AddPlace(-5, 7.75, 3.0, 2));
  EXPECT_EQ(2.0, map.saveCountdown);
  EXPECT_EQ(0, map.FindPlace(1));
  EXPECT_EQ(1, map.FindPlace(2));
  EXPECT_EQ(-1, map.FindPlace(3));
  EXPECT_EQ(7.75f, map.places[1].y);
  EXPECT_EQ(3.0f, map.places[1].angle);
}

TEST(NavMapMarks, ARefreshedMarkKeepsItsPlaceAndRestartsItsAge) {
  NavMap map;
  map.mode = NavMap::kModeNavigation;
  ASSERT_TRUE(map.AddOrRefreshMark(100, 100));
  map.Step(nullptr, 0, 0, 0, 0.5);
  EXPECT_EQ(0.5, map.marks[0].age);
  // Within half the radius (20 cm): refreshed where it was.
  ASSERT_TRUE(map.AddOrRefreshMark(112, 116));  // 20 cm away
  ASSERT_EQ(1, map.markCount);
  EXPECT_EQ(100.0f, map.marks[0].x);
  EXPECT_EQ(100.0f, map.marks[0].y);
  EXPECT_EQ(0.0, map.marks[0].age);
  // Beyond it: a second mark.
  ASSERT_TRUE(map.AddOrRefreshMark(100, 121));
  ASSERT_EQ(2, map.markCount);
  EXPECT_EQ(121.0f, map.marks[1].y);
  EXPECT_EQ(0, map.saveCountdown) << "marks are not written";
}

TEST(NavMapMarks, AnUnrefreshedMarkDiesWhenItsAgeReachesTheLifeTime) {
  NavMap map;
  map.mode = NavMap::kModeNavigation;
  ASSERT_TRUE(map.AddOrRefreshMark(0, 0));
  ASSERT_TRUE(map.AddOrRefreshMark(100, 0));
  for (int i = 0; i < 8; ++i) map.Step(nullptr, 0, 0, 0, 0.5);  // 4 s
  ASSERT_TRUE(map.AddOrRefreshMark(100, 0));  // the second one lives on
  for (int i = 0; i < 7; ++i) map.Step(nullptr, 0, 0, 0, 0.5);
  ASSERT_EQ(2, map.markCount);
  EXPECT_EQ(7.5, map.marks[0].age);
  map.Step(nullptr, 0, 0, 0, 0.5);  // age 8 = life time
  ASSERT_EQ(1, map.markCount);
  EXPECT_EQ(100.0f, map.marks[0].x);
  EXPECT_EQ(4.0, map.marks[0].age);
  for (int i = 0; i < 8; ++i) map.Step(nullptr, 0, 0, 0, 0.5);
  EXPECT_EQ(0, map.markCount);
  EXPECT_EQ(nullptr, map.marks);
}

TEST(NavMapMarks, FindAndRemove) {
  NavMap map;
  map.obstacleRadius = 0;  // every mark a new one
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(map.AddOrRefreshMark(10.0 * i, 0));
  EXPECT_EQ(1, map.FindMark(13, 4, 5)) << "(3, 4) away: 25 <= 25";
  EXPECT_EQ(-1, map.FindMark(13, 4.5, 5));
  EXPECT_EQ(0, map.FindMark(15, 0, 20)) << "the first within the radius";
  EXPECT_TRUE(map.RemoveMark(1));
  ASSERT_EQ(3, map.markCount);
  EXPECT_EQ(0.0f, map.marks[0].x);
  EXPECT_EQ(20.0f, map.marks[1].x);
  EXPECT_EQ(30.0f, map.marks[2].x);
  EXPECT_FALSE(map.RemoveMark(3));
  EXPECT_FALSE(map.RemoveMark(-1));
  NavMap empty;
  EXPECT_EQ(-1, empty.FindMark(0, 0, 100));
}

}  // namespace
