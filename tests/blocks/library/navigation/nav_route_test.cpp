// Route planning and guidance of the navigation map on small maps made by
// hand. Costs are worked out with the wave's rule (an image's cost is the
// cheapest sum of squared hops to a seed plus the seed's squared distance
// to the target; the wave stops when the start image comes out of a queue)
// and the path's score K = u + cost + G^3 R 43 + P.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "blocks/library/navigation/nav_map.h"
#include "foundation/buffer_failure_scope.h"
#include "foundation/plain_array.h"

namespace {

const double kPi = 3.141592653589793;

struct Point {
  double x, y;
};

int AddImageAt(NavMap* map, double x, double y, double angle = 0) {
  const int i = map->imageCount;
  EXPECT_TRUE(ResizeSteppedArray(&map->images, map->imageCount, map->imageCount + 1, NavMap::kImageStep));
  NavImage& image = map->images[i];
  image = NavImage{};
  image.x = static_cast<float>(x);
  image.y = static_cast<float>(y);
  image.angle = static_cast<float>(angle);
  map->imageCount++;
  return i;
}

std::vector<Point> Route(const NavMap& map) {
  std::vector<Point> points;
  for (int i = 0; i < map.routePointCount; ++i) points.push_back({map.routePoints[i].x, map.routePoints[i].y});
  return points;
}

void ExpectRoute(const NavMap& map, const std::vector<Point>& expected) {
  std::vector<Point> route = Route(map);
  ASSERT_EQ(expected.size(), route.size());
  for (size_t i = 0; i < route.size(); ++i) {
    EXPECT_EQ(expected[i].x, route[i].x) << "point " << i;
    EXPECT_EQ(expected[i].y, route[i].y) << "point " << i;
  }
}

void SetRoute(NavMap* map, const std::vector<Point>& points, int index = 0) {
  ASSERT_TRUE(map->SetRouteSize(0));
  for (const Point& p : points) ASSERT_TRUE(map->AddRoutePoint(p.x, p.y));
  map->routeIndex = index;
}

// Five images 30 cm apart up the +y axis; the place 30 cm beyond the last.
class LineMap : public ::testing::Test {
protected:
  void SetUp() override {
    for (int k = 0; k < 5; ++k) AddImageAt(&map, 0, 30.0 * k);
    ASSERT_TRUE(map.AddPlace(0, 150, 0.25, 7));
  }
  NavMap map;
};

TEST_F(LineMap, PlansAlongTheLineWithTheCostsOfTheWave) {
  ASSERT_TRUE(map.PlanRouteToPlace(7));
  EXPECT_EQ(7, map.targetPlaceId);
  // Seeds within 100 cm of (0, 150): images 2, 3, 4 at 8100, 3600, 900.
  // Round 1 lowers 1 to 9000, 2 to 4500, 3 to 1800; round 2 lowers 0 to
  // 9900, 1 to 5400, 2 to 2700; round 3 meets the start image 0.
  const double costs[] = {9900, 5400, 2700, 1800, 900};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(costs[i], map.images[i].cost) << i;
  // The robot's position, the images ahead of it one by one, the place.
  ExpectRoute(map, {{0, 0}, {0, 30}, {0, 60}, {0, 90}, {0, 120}, {0, 150}});
  EXPECT_EQ(0, map.routeIndex);
  EXPECT_FLOAT_EQ(0.25f, static_cast<float>(map.targetAngle));
  // The search's queues and grid are gone.
  EXPECT_EQ(nullptr, map.searchQueue[0]);
  EXPECT_EQ(nullptr, map.searchQueue[1]);
  EXPECT_EQ(0, map.searchQueueCount[0]);
}

TEST_F(LineMap, AnUnknownPlaceKeepsThePreviousRoute) {
  ASSERT_TRUE(map.PlanRouteToPlace(7));
  map.routeIndex = 2;
  EXPECT_FALSE(map.PlanRouteToPlace(99));
  EXPECT_EQ(99, map.targetPlaceId);
  EXPECT_EQ(6, map.routePointCount);
  EXPECT_EQ(2, map.routeIndex);
}

TEST_F(LineMap, NoStartImageWithinTwiceTheRangeEmptiesTheRoute) {
  ASSERT_TRUE(map.PlanRouteToPlace(7));
  // 60 cm aside of the line and facing away from it: every image's f is at
  // least 2R.
  map.x = -60;
  map.angle = -kPi / 2;
  EXPECT_FALSE(map.PlanRouteToPlace(7));
  EXPECT_EQ(0, map.routePointCount);
  EXPECT_EQ(0, map.routeIndex);
  EXPECT_EQ(nullptr, map.searchQueue[0]);
}

TEST_F(LineMap, AGapLongerThanTheRangeStopsTheWave) {
  // Image 1 moved out of reach of its neighbours: the wave from the seeds
  // never reaches the start image 0.
  map.images[1].x = 200;
  EXPECT_FALSE(map.PlanRouteToPlace(7));
  EXPECT_EQ(0, map.routePointCount);
  EXPECT_EQ(1e20, map.images[0].cost);
}

TEST_F(LineMap, RefusedMemoryPlansNothing) {
  ASSERT_TRUE(map.PlanRouteToPlace(7));
  {
    CBufferFailureScope fail(0);
    EXPECT_FALSE(map.PlanRouteToPlace(7));
  }
  EXPECT_EQ(0, map.routePointCount);
  EXPECT_EQ(nullptr, map.searchQueue[0]);
  EXPECT_TRUE(map.PlanRouteToPlace(7));
}

TEST(NavRoute, AMapWithoutImagesNeverPlans) {
  NavMap map;
  ASSERT_TRUE(map.AddPlace(0, 100, 0, 1));
  EXPECT_FALSE(map.PlanRouteToPlace(1));
  EXPECT_FALSE(map.PlanRoute(0, 100, 0));
  EXPECT_EQ(0, map.routePointCount);
  NavGuidance g = {5, 6, 7};
  EXPECT_EQ(-1, map.Guide(10, 20, 0.5, &g));
  EXPECT_EQ(5, g.bearing);
  EXPECT_EQ(6, g.lateral);
  EXPECT_EQ(7, g.forward);
}

// A fork: from S at the robot two branches of two images each lead to the
// place at (0, 65); R = 30 (R^2 = 900), obstacle radius 10.
//   S (0,0); L1 (-20,20), L2 (-20,45); R1 (20,20), R2 (20,45).
// Hops S-L1, S-R1 800; L1-L2, R1-R2 625; every other pair is out of reach.
// Seeds: L2, R2 at 800; L1, R1 at 2425.
class ForkMap : public ::testing::Test {
protected:
  void SetUp() override {
    map.imageSearchRange = 30;
    map.obstacleRadius = 10;
    AddImageAt(&map, 0, 0);
    AddImageAt(&map, -20, 20);
    AddImageAt(&map, -20, 45);
    AddImageAt(&map, 20, 20);
    AddImageAt(&map, 20, 45);
    ASSERT_TRUE(map.AddPlace(0, 65, 0, 3));
  }
  NavMap map;
  enum { S, L1, L2, R1, R2 };
};

TEST_F(ForkMap, EqualBranchesTakeTheFirstImage) {
  ASSERT_TRUE(map.PlanRouteToPlace(3));
  // Round 1: S = 2425 + 800 = 3225; L1 and R1 = 800 + 625 = 1425.
  const double costs[] = {3225, 1425, 800, 1425, 800};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(costs[i], map.images[i].cost) << i;
  // From the robot both first images score 800 + 1425 + 0.5^3 30 43 =
  // 2386.25: the first wins.
  ExpectRoute(map, {{0, 0}, {-20, 20}, {-20, 45}, {0, 65}});
}

TEST_F(ForkMap, AMarkedImageIsNeitherEnteredNorChosen) {
  ASSERT_TRUE(map.AddOrRefreshMark(-20, 20));
  ASSERT_TRUE(map.PlanRouteToPlace(3));
  // L1 keeps its seed cost (the wave does not enter it); R1 is lowered.
  const double costs[] = {3225, 2425, 800, 1425, 800};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(costs[i], map.images[i].cost) << i;
  ExpectRoute(map, {{0, 0}, {20, 20}, {20, 45}, {0, 65}});
  // Both branches marked: the path cannot leave the robot's own image.
  ASSERT_TRUE(map.AddOrRefreshMark(20, 20));
  EXPECT_FALSE(map.PlanRouteToPlace(3));
  EXPECT_EQ(0, map.routePointCount);
}

// The path's score: images facing away cost 10000 unless within 8 cm^2.
TEST(NavRoute, AnImageFacingAwayIsADetourUnlessRightThere) {
  struct Case {
    double ax, ay;
    std::vector<Point> route;
  } cases[] = {
      // A (0,20) facing back: K = 400 + 100 + 10000; B (0,30) along: K =
      // 900 + 1000. B first; from B, A (cost 100 < 1000) lies straight
      // behind: turn pi, G = 2, K = 100 + 100 + 8 50 43 = 17400 < 1e20.
      {0, 20, {{0, 0}, {0, 30}, {0, 20}}},
      // A (2,2), u = 8: facing back costs nothing; K = 8 + 100.
      {2, 2, {{0, 0}, {2, 2}}},
  };
  for (const Case& c : cases) {
    NavMap map;
    const int s = AddImageAt(&map, 0, 0);
    const int a = AddImageAt(&map, c.ax, c.ay, kPi);
    const int b = AddImageAt(&map, 0, 30, 0);
    ASSERT_TRUE(map.InitSearch());
    map.images[s].cost = 1e6;
    map.images[a].cost = 100;
    map.images[b].cost = 1000;
    EXPECT_TRUE(map.ExtractPath(s, 0, 0, 0)) << c.ax;
    ExpectRoute(map, c.route);
    map.FreeSearch();
  }
}

TEST(NavRoute, EnqueueTakesAnImageOncePerRound) {
  NavMap map;
  for (int k = 0; k < 3; ++k) AddImageAt(&map, k, 0);
  ASSERT_TRUE(map.InitSearch());
  map.Enqueue(2);
  map.Enqueue(0);
  map.Enqueue(2);
  map.Enqueue(7);
  ASSERT_EQ(2, map.searchQueueCount[0]);
  EXPECT_EQ(2, map.searchQueue[0][0]);
  EXPECT_EQ(0, map.searchQueue[0][1]);
  map.FreeSearch();
}

// ---------------------------------------------------------------------------
// Guidance (place near zone 40, accuracy 10)

TEST(NavGuide, TheRobotsOwnPointIsPassedFirst) {
  NavMap map;
  SetRoute(&map, {{0, 0}, {0, 100}});
  NavGuidance g = {9, 9, 9};
  EXPECT_EQ(100, map.Guide(0, 0, 0, &g));
  EXPECT_EQ(1, map.routeIndex);
  EXPECT_EQ(0, g.bearing);
  EXPECT_EQ(0, g.lateral);
  EXPECT_EQ(0, g.forward);
  // Moving ahead at 50 cm/s: the pose 0.4 s on is 20 cm nearer.
  EXPECT_DOUBLE_EQ(80, map.Guide(0, 50, 0, &g));
  EXPECT_EQ(0, g.bearing);
  EXPECT_DOUBLE_EQ(80, g.forward);
  EXPECT_EQ(1, map.routeIndex);
}

TEST(NavGuide, BearingAndProjectionsOfTheCurrentPoint) {
  struct Case {
    Point target;
    double bearing, lateral, forward;
  } cases[] = {
      // 20 right, 40 ahead.
      {{20, 40}, std::atan2(20.0, 40.0), 20, 40},
      // 40 right, 10 ahead: too far aside for a lateral projection.
      {{40, 10}, std::atan2(40.0, 10.0), 0, 10},
      // 2 left, 45 ahead: too little aside to turn for.
      {{-2, 45}, 0, -2, 45},
  };
  for (const Case& c : cases) {
    NavMap map;
    SetRoute(&map, {{0, 0}, c.target}, 1);
    NavGuidance g = {};
    const double d = std::hypot(c.target.x, c.target.y);
    EXPECT_DOUBLE_EQ(d, map.Guide(0, 0, 0, &g)) << c.target.x;
    EXPECT_NEAR(c.bearing, g.bearing, 1e-12) << c.target.x;
    EXPECT_NEAR(c.lateral, g.lateral, 1e-9) << c.target.x;
    EXPECT_NEAR(c.forward, g.forward, 1e-9) << c.target.x;
  }
}

TEST(NavGuide, PredictsThePoseFromSpeedAndTurn) {
  NavMap map;
  map.angle = kPi / 2;  // facing +x
  SetRoute(&map, {{0, 0}, {100, 0}}, 1);
  NavGuidance g = {};
  // 25 cm/s forward: 10 cm on along +x; 0.3 rad/s: the heading counts
  // 0.4 0.3 / 3 = 0.04 rad on.
  EXPECT_NEAR(90, map.Guide(0, 25, 0.3, &g), 1e-9);
  EXPECT_NEAR(-0.04, g.bearing, 1e-12);
  EXPECT_NEAR(90 * std::sin(-0.04), g.lateral, 1e-9);
  EXPECT_NEAR(90 * std::cos(0.04), g.forward, 1e-9);
}

TEST(NavGuide, AStraightStretchSteersAlongItAndPassesThePoint) {
  NavMap map;
  map.x = 5;
  map.y = 40;
  SetRoute(&map, {{0, 0}, {0, 50}, {0, 100}}, 1);
  NavGuidance g = {};
  // The point (0, 50) lies 5 left and 10 ahead; the stretch runs along +y,
  // so the bearing follows it (0), and 11.2 cm passes the point.
  EXPECT_DOUBLE_EQ(std::hypot(5.0, 60.0), map.Guide(0, 0, 0, &g));
  EXPECT_NEAR(0, g.bearing, 1e-12);
  EXPECT_NEAR(-5, g.lateral, 1e-9);
  EXPECT_NEAR(10, g.forward, 1e-9);
  EXPECT_EQ(2, map.routeIndex);
}

TEST(NavGuide, PathDirectionNeedsPointsFortyCentimetresEachSide) {
  NavMap map;
  double p = 99;
  EXPECT_FALSE(map.PathDirection(&p));
  SetRoute(&map, {{0, 0}, {0, 50}, {0, 100}}, 1);
  ASSERT_TRUE(map.PathDirection(&p));
  EXPECT_EQ(0, p);
  // Around (30, 70): 40 cm ahead (30, 110); behind (25, 30), 7.1 degrees
  // off the way ahead: the stretch runs from (25, 30) to (30, 110).
  SetRoute(&map, {{0, 0}, {25, 30}, {30, 70}, {30, 110}}, 2);
  ASSERT_TRUE(map.PathDirection(&p));
  EXPECT_DOUBLE_EQ(std::atan2(5.0, 80.0), p);
  // Behind (20, 30): 14 degrees off, beyond 12.5.
  SetRoute(&map, {{0, 0}, {20, 30}, {30, 70}, {30, 110}}, 2);
  EXPECT_FALSE(map.PathDirection(&p));
  SetRoute(&map, {{0, 0}, {0, 50}, {50, 50}}, 1);
  EXPECT_FALSE(map.PathDirection(&p));  // a right angle
  SetRoute(&map, {{0, 0}, {0, 50}, {0, 100}}, 0);
  EXPECT_FALSE(map.PathDirection(&p));  // no point behind the first
  SetRoute(&map, {{0, 0}, {0, 20}, {0, 50}}, 1);
  EXPECT_FALSE(map.PathDirection(&p));  // nothing 40 cm behind (0, 20)
}

TEST(NavGuide, ArrivalNeedsAccuracyAndTheTargetHeading) {
  struct Case {
    double angle;
    bool arrives;
  } cases[] = {{0.1, true}, {-0.17, true}, {0.3, false}, {-0.2, false}};
  for (const Case& c : cases) {
    NavMap map;
    map.angle = c.angle;
    SetRoute(&map, {{0, 0}, {0, 30}, {0, 5}}, 0);
    map.targetAngle = 0;
    NavGuidance g = {7, 7, 7};
    const double d = map.Guide(0, 0, 0, &g);
    if (c.arrives) {
      EXPECT_EQ(-1, d) << c.angle;
      EXPECT_EQ(7, g.bearing);
      EXPECT_EQ(0, map.routePointCount);
      EXPECT_EQ(0, map.routeIndex);
      EXPECT_EQ(-1, map.Guide(0, 0, 0, &g));
    } else {
      // Within the near zone: the last point is current, the bearing that
      // of the target heading.
      EXPECT_DOUBLE_EQ(5, d) << c.angle;
      EXPECT_EQ(2, map.routeIndex);
      EXPECT_NEAR(-c.angle, g.bearing, 1e-12);
      EXPECT_EQ(3, map.routePointCount);
    }
  }
}

TEST(NavGuide, OnePointIsPassedPerStep) {
  NavMap map;
  // Every point within 25 cm of the robot.
  SetRoute(&map, {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 200}});
  NavGuidance g = {};
  for (int step = 1; step <= 4; ++step) {
    map.Guide(0, 0, 0, &g);
    EXPECT_EQ(step, map.routeIndex);
  }
  map.Guide(0, 0, 0, &g);
  EXPECT_EQ(4, map.routeIndex);
}

}  // namespace
