// The local map's model on its own: the virtual walls, range-finder
// readings (the worked example of a first reading, readings beyond the
// range), scan-sector columns, the motion with its bounds and thinning
// (against a direct pairwise reading of the rule), and the zone counts.
#include <cmath>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "blocks/library/navigation/local_map_model.h"
#include "blocks/library/navigation/scan_sector_model.h"
#include "foundation/buffer_failure_scope.h"
#include "foundation/buffers.h"

namespace {

const float kSixtyDegrees = 1.0471976f;

std::vector<LocalMapPoint> Points(const LocalMapModel& m, int layer) {
  const LocalMapLayer& l = m.layers[layer];
  return std::vector<LocalMapPoint>(l.points, l.points + l.pointCount);
}

// Makes the layer hold exactly these points (grown with the foundation's
// heap, as the model grows its layers).
void Fill(LocalMapModel* m, int layer, const std::vector<LocalMapPoint>& points) {
  LocalMapLayer& target = m->layers[layer];
  if (target.capacity < static_cast<int>(points.size())) {
    void* grown = ReallocBuffer(target.points, sizeof(LocalMapPoint) * points.size());
    ASSERT_NE(nullptr, grown);
    target.points = static_cast<LocalMapPoint*>(grown);
    target.capacity = static_cast<int>(points.size());
  }
  for (size_t i = 0; i < points.size(); ++i) target.points[i] = points[i];
  target.pointCount = static_cast<int>(points.size());
}

TEST(LocalMapModel, StartsWithoutLayersAndTheWallsComeWithTheFirstLayer) {
  LocalMapModel m;
  m.Init();
  EXPECT_EQ(0, m.layerCount);
  EXPECT_EQ(0, m.zoneCount);
  ASSERT_TRUE(m.SetLayerCount(1));
  std::vector<LocalMapPoint> p = Points(m, 0);
  ASSERT_EQ(40u, p.size());
  // yj = 0.4 + j * (-0.8) / 20: 0.4, 0.36, ... -0.36.
  for (int j = 0; j < 20; ++j) {
    EXPECT_EQ(0.4f, p[2 * j].x) << j;
    EXPECT_EQ(-0.4f, p[2 * j + 1].x) << j;
    EXPECT_NEAR(0.4 - 0.04 * j, p[2 * j].y, 1e-6) << j;
    EXPECT_EQ(p[2 * j].y, p[2 * j + 1].y) << j;
  }
  // Without the walls a reset empties the layers.
  m.virtualWalls = 0;
  m.Reset();
  EXPECT_EQ(0, m.layers[0].pointCount);
}

TEST(LocalMapModel, EveryChangeOfTheLayerCountClearsTheMap) {
  LocalMapModel m;
  ASSERT_TRUE(m.SetLayerCount(2));
  Fill(&m, 1, {{0.1f, 0.1f}});
  // The same count changes nothing.
  ASSERT_TRUE(m.SetLayerCount(2));
  EXPECT_EQ(1, m.layers[1].pointCount);
  ASSERT_TRUE(m.SetLayerCount(3));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(40, m.layers[i].pointCount) << i;
  Fill(&m, 0, {{0.1f, 0.1f}});
  ASSERT_TRUE(m.SetLayerCount(1));
  EXPECT_EQ(40, m.layers[0].pointCount);
  {
    CBufferFailureScope refuse(0);
    EXPECT_FALSE(m.SetLayerCount(5));
  }
  EXPECT_EQ(1, m.layerCount);
  EXPECT_FALSE(m.SetLayerCount(-1));
  m.Free();
  EXPECT_EQ(0, m.layerCount);
  EXPECT_EQ(nullptr, m.layers);
}

// The worked example: a range finder at (0, 0.3 m) looking ahead with a
// view of 60 degrees (trunc(1.0471976 / 0.02) = 52 points, held to 40),
// range 0.04 to 5 m, reads 1 m: one layer of the 40 wall points (none of
// them in its sector: the nearest ahead, (0.4, 0.4), is 76 degrees off its
// axis) and 40 points on the arc 1 m ahead of the sensor.
TEST(LocalMapModel, AFirstRangeReadingGivesTheWallsAndAnArc) {
  LocalMapModel m;
  ASSERT_TRUE(m.AddRangeReading(0.0f, 0.3f, 0.0f, 1.0f, kSixtyDegrees, 0.04f, 5.0f));
  ASSERT_EQ(1, m.layerCount);
  std::vector<LocalMapPoint> p = Points(m, 0);
  ASSERT_EQ(80u, p.size());
  EXPECT_EQ(0.4f, p[0].x);
  EXPECT_EQ(0.4f, p[0].y);
  for (int l = 0; l < 40; ++l) {
    // At the angle fov * (l - 20) / 40 from the axis.
    double angle = kSixtyDegrees * (l - 20) / 40.0;
    EXPECT_NEAR(std::sin(angle), p[40 + l].x, 1e-6) << l;
    EXPECT_NEAR(0.3 + std::cos(angle), p[40 + l].y, 1e-6) << l;
  }
  EXPECT_EQ(0.0f, p[60].x);
  EXPECT_FLOAT_EQ(1.3f, p[60].y);
}

TEST(LocalMapModel, ViewsBelowOneStepAddOnePointAndNarrowViewsFewer) {
  LocalMapModel m;
  m.virtualWalls = 0;
  ASSERT_TRUE(m.AddRangeReading(0, 0, 0, 1.0f, 0.01f, 0.04f, 5.0f));
  EXPECT_EQ(1, m.layers[0].pointCount);
  // 0.1 / 0.02: 5 points.
  ASSERT_TRUE(m.AddRangeReading(0, 0, 1.0f, 2.0f, 0.1f, 0.04f, 5.0f));
  EXPECT_EQ(1 + 5, m.layers[0].pointCount);
}

// Points in the sector go, the others stay, and a reading that is not
// inside (min, max) adds nothing: the count falls by exactly the points
// removed.
TEST(LocalMapModel, AReadingAtOrBeyondTheRangeOnlyClearsTheSector) {
  const std::vector<LocalMapPoint> points = {
      {0.0f, 1.3f},   // ahead: goes
      {0.2f, 1.3f},   // 11 degrees off the axis: goes
      {0.9f, 1.3f},   // 42 degrees off: stays
      {0.0f, 0.32f},  // nearer than the minimum range: stays
      {0.0f, 5.4f},   // farther than the maximum: stays
      {0.0f, 0.2f},   // behind: stays
      {-0.5f, 4.0f},  // 7.7 degrees off, 3.73 m: goes
  };
  for (float d : {5.0f, 6.0f, 0.04f, 0.0f, -1.0f}) {
    SCOPED_TRACE(d);
    LocalMapModel m;
    m.virtualWalls = 0;
    ASSERT_TRUE(m.SetLayerCount(2));
    Fill(&m, 0, points);
    Fill(&m, 1, points);
    ASSERT_TRUE(m.AddRangeReading(0.0f, 0.3f, 0.0f, d, kSixtyDegrees, 0.04f, 5.0f));
    for (int layer = 0; layer < 2; ++layer) {
      std::vector<LocalMapPoint> p = Points(m, layer);
      ASSERT_EQ(4u, p.size());
      EXPECT_EQ(0.9f, p[0].x);
      EXPECT_EQ(0.32f, p[1].y);
      EXPECT_EQ(5.4f, p[2].y);
      EXPECT_EQ(0.2f, p[3].y);
    }
  }
}

TEST(LocalMapModel, ATurnedSensorClearsAlongItsOwnAxis) {
  LocalMapModel m;
  m.virtualWalls = 0;
  ASSERT_TRUE(m.SetLayerCount(1));
  // Looking along +x (a = pi/2) from the origin.
  Fill(&m, 0, {{1.0f, 0.0f}, {0.0f, 1.0f}, {-1.0f, 0.0f}});
  ASSERT_TRUE(m.AddRangeReading(0, 0, 1.5707964f, 5.0f, kSixtyDegrees, 0.04f, 5.0f));
  std::vector<LocalMapPoint> p = Points(m, 0);
  ASSERT_EQ(2u, p.size());
  EXPECT_EQ(1.0f, p[0].y);
  EXPECT_EQ(-1.0f, p[1].x);
}

// A sector of one slice, view 90 degrees (k = 20 / tan 45 = 20): column l
// at u lies (l - 20) * u / 20 to the side.
TEST(LocalMapModel, ScanSectorColumnsBecomePointsOfTheirSlicesLayer) {
  ScanSectorModel sector;
  sector.viewAngle = 1.5707964f;
  sector.zMin = 0.1f;
  sector.zMax = 3.0f;
  ASSERT_TRUE(sector.SetSliceCount(2));
  sector.slices[0].columns[20] = 1.0f;
  sector.slices[0].columns[30] = 2.0f;
  sector.slices[0].columns[39] = 3.0f;  // not below zMax: nothing seen
  sector.slices[1].columns[0] = 0.5f;

  LocalMapModel m;
  m.virtualWalls = 0;
  ASSERT_TRUE(m.SetLayerCount(2));
  Fill(&m, 0, {{0.0f, 1.5f}, {1.5f, 1.5f}, {0.0f, 0.35f}});
  ASSERT_TRUE(m.AddScanSector(0.0f, 0.3f, 0.0f, sector));
  std::vector<LocalMapPoint> p = Points(m, 0);
  // (0, 1.5) is seen through and goes; (1.5, 1.5) is outside 18 half-columns
  // (1.5 * 20 / 1.2 = 25); (0, 0.35) is nearer than zMin.
  ASSERT_EQ(4u, p.size());
  EXPECT_EQ(1.5f, p[0].x);
  EXPECT_EQ(0.35f, p[1].y);
  EXPECT_NEAR(0.0, p[2].x, 1e-6);
  EXPECT_NEAR(1.3, p[2].y, 1e-6);
  EXPECT_NEAR(1.0, p[3].x, 1e-6);  // (30 - 20) * 2 / 20
  EXPECT_NEAR(2.3, p[3].y, 1e-6);
  std::vector<LocalMapPoint> q = Points(m, 1);
  ASSERT_EQ(1u, q.size());
  EXPECT_NEAR(-0.5, q[0].x, 1e-6);  // (0 - 20) * 0.5 / 20
  EXPECT_NEAR(0.8, q[0].y, 1e-6);

  // A turned sensor (a = pi/2, looking along +x) puts column 20 along +x
  // and columns above 20 towards -y.
  LocalMapModel turned;
  turned.virtualWalls = 0;
  ASSERT_TRUE(turned.AddScanSector(0.0f, 0.0f, 1.5707964f, sector));
  std::vector<LocalMapPoint> t = Points(turned, 0);
  ASSERT_EQ(2u, t.size());
  EXPECT_NEAR(1.0, t[0].x, 1e-6);
  EXPECT_NEAR(0.0, t[0].y, 1e-6);
  EXPECT_NEAR(2.0, t[1].x, 1e-6);
  EXPECT_NEAR(-1.0, t[1].y, 1e-6);
}

TEST(LocalMapModel, ASectorWithAnotherSliceCountClearsTheMapFirst) {
  ScanSectorModel sector;
  ASSERT_TRUE(sector.SetSliceCount(3));
  LocalMapModel m;
  ASSERT_TRUE(m.SetLayerCount(1));
  Fill(&m, 0, {{0.9f, -0.9f}});
  ASSERT_TRUE(m.AddScanSector(0, 0, 0, sector));
  ASSERT_EQ(3, m.layerCount);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(40, m.layers[i].pointCount) << i;
  // A sector of no slices leaves no layers.
  ASSERT_TRUE(sector.SetSliceCount(0));
  ASSERT_TRUE(m.AddScanSector(0, 0, 0, sector));
  EXPECT_EQ(0, m.layerCount);
}

TEST(LocalMapModel, MovingForwardShiftsThePointsBackAndDropsThoseBehindTheRear) {
  LocalMapModel m;
  m.virtualWalls = 0;
  ASSERT_TRUE(m.SetLayerCount(1));
  Fill(&m, 0, {{0.0f, 1.0f}, {0.5f, -0.4f}, {-0.3f, -0.5f}, {0.2f, -0.6f}, {0.0f, 0.25f}});
  m.Shift(0.5f, 0.0f);
  std::vector<LocalMapPoint> p = Points(m, 0);
  // -0.5 - 0.5 = -1.0 is not above the rear bound.
  ASSERT_EQ(3u, p.size());
  EXPECT_EQ(0.5f, p[0].y);
  EXPECT_EQ(0.5f, p[1].x);
  EXPECT_FLOAT_EQ(-0.9f, p[1].y);
  EXPECT_EQ(0.0f, p[2].x);
  EXPECT_EQ(-0.25f, p[2].y);
}

TEST(LocalMapModel, PointsLeaveThroughEachBound) {
  struct Case {
    LocalMapPoint point;
    float a, b;
    bool stays;
  } cases[] = {
      {{0.99f, 0.0f}, 0, 0, true},     {{1.0f, 0.0f}, 0, 0, false},    // half-width, excluded
      {{-1.0f, 0.0f}, 0, 0, false},    {{-0.99f, 0.0f}, 0, 0, true},
      {{0.0f, 1.99f}, 0, 0, true},     {{0.0f, 2.0f}, 0, 0, false},    // front
      {{0.0f, 1.5f}, -0.5f, 0, false},                                  // backing up to the front
      {{0.0f, -0.99f}, 0, 0, true},    {{0.0f, -1.0f}, 0, 0, false},   // rear
      {{0.0f, 0.5f}, 0, 1.5707964f, true},                              // turned to (-0.5, 0)
      {{0.0f, 1.5f}, 0, 1.5707964f, false},                             // turned to (-1.5, 0)
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.point.x << ", " << c.point.y << " by " << c.a << ", " << c.b);
    LocalMapModel m;
    m.virtualWalls = 0;
    ASSERT_TRUE(m.SetLayerCount(1));
    Fill(&m, 0, {c.point});
    m.Shift(c.a, c.b);
    EXPECT_EQ(c.stays ? 1 : 0, m.layers[0].pointCount);
  }
}

TEST(LocalMapModel, TurningRotatesThePointsAboutTheRobot) {
  LocalMapModel m;
  m.virtualWalls = 0;
  ASSERT_TRUE(m.SetLayerCount(1));
  Fill(&m, 0, {{0.0f, 0.5f}, {0.5f, 0.0f}});
  // A quarter turn towards +x: x' = x cos b - y sin b, y' = x sin b + y cos b.
  m.Shift(0.0f, 1.5707964f);
  std::vector<LocalMapPoint> p = Points(m, 0);
  ASSERT_EQ(2u, p.size());
  EXPECT_NEAR(-0.5, p[0].x, 1e-6);
  EXPECT_NEAR(0.0, p[0].y, 1e-6);
  EXPECT_NEAR(0.0, p[1].x, 1e-6);
  EXPECT_NEAR(0.5, p[1].y, 1e-6);
}

TEST(LocalMapModel, PointsWithinTwoCentimetresInBothAxesMergeIntoTheFirst) {
  LocalMapModel m;
  m.virtualWalls = 0;
  ASSERT_TRUE(m.SetLayerCount(1));
  Fill(&m, 0,
       {{0.1f, 0.5f},
        {0.115f, 0.51f},   // near in both: goes
        {0.13f, 0.5f},     // 0.03 away in x: stays
        {0.1f, 0.525f},    // 0.025 away in y: stays
        {0.131f, 0.51f}}); // near the third: goes
  m.Shift(0.1f, 0.0f);
  std::vector<LocalMapPoint> p = Points(m, 0);
  ASSERT_EQ(3u, p.size());
  EXPECT_EQ(0.1f, p[0].x);
  EXPECT_EQ(0.13f, p[1].x);
  EXPECT_EQ(0.1f, p[2].x);
}

// ------------------------------------------------------------ the rule, pairwise

// The retain rule as the rule reads: each moved point inside the bounds is
// compared with every point kept before it in the layer.
std::vector<LocalMapPoint> PairwiseShift(const std::vector<LocalMapPoint>& in, const LocalMapModel& bounds, float a,
                                         float b) {
  std::vector<LocalMapPoint> kept;
  for (const LocalMapPoint& p : in) {
    double c = std::cos(static_cast<double>(b)), s = std::sin(static_cast<double>(b));
    float x = static_cast<float>(p.x * c - p.y * s);
    float y = static_cast<float>(p.x * s + p.y * c - a);
    if (!(std::fabs(x) < bounds.halfWidth && bounds.rearBound < y && y < bounds.frontBound)) continue;
    bool near = false;
    for (const LocalMapPoint& k : kept)
      if (std::fabs(static_cast<double>(k.x) - x) < 0.02f && std::fabs(static_cast<double>(k.y) - y) < 0.02f)
        near = true;
    if (!near) kept.push_back({x, y});
  }
  return kept;
}

// A small generator of its own, so the layers are the same on every run.
struct Lcg {
  uint32_t state;
  float Uniform(float lo, float hi) {
    state = state * 1664525u + 1013904223u;
    return lo + (hi - lo) * static_cast<float>((state >> 8) / 16777216.0);
  }
};

TEST(LocalMapModel, TheCellGridKeepsExactlyWhatThePairwiseRuleKeeps) {
  for (int size : {10, 100, 1000, 5000}) {
    for (int trial = 0; trial < 3; ++trial) {
      SCOPED_TRACE(testing::Message() << size << " points, trial " << trial);
      Lcg random{static_cast<uint32_t>(size * 7 + trial)};
      std::vector<LocalMapPoint> layer;
      // Clusters, so that many points merge, and some beyond every bound.
      for (int i = 0; i < size; ++i) {
        if (i % 3 == 0) {
          layer.push_back({random.Uniform(-1.3f, 1.3f), random.Uniform(-1.4f, 2.4f)});
        } else {
          const LocalMapPoint base = layer[random.state % layer.size()];
          layer.push_back({base.x + random.Uniform(-0.03f, 0.03f), base.y + random.Uniform(-0.03f, 0.03f)});
        }
      }
      float a = trial == 0 ? 0.0f : random.Uniform(-0.05f, 0.05f);
      float b = trial == 2 ? random.Uniform(-0.3f, 0.3f) : 0.0f;
      LocalMapModel grid, pairwise;
      grid.virtualWalls = pairwise.virtualWalls = 0;
      ASSERT_TRUE(grid.SetLayerCount(1));
      ASSERT_TRUE(pairwise.SetLayerCount(1));
      Fill(&grid, 0, layer);
      Fill(&pairwise, 0, layer);
      grid.Shift(a, b);
      pairwise.ShiftPairwise(a, b);
      std::vector<LocalMapPoint> expected = PairwiseShift(layer, grid, a, b);
      std::vector<LocalMapPoint> got = Points(grid, 0), reference = Points(pairwise, 0);
      ASSERT_EQ(expected.size(), got.size());
      ASSERT_EQ(expected.size(), reference.size());
      EXPECT_LT(expected.size(), layer.size());
      for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(expected[i].x, got[i].x) << i;
        ASSERT_EQ(expected[i].y, got[i].y) << i;
        ASSERT_EQ(expected[i].x, reference[i].x) << i;
        ASSERT_EQ(expected[i].y, reference[i].y) << i;
      }
    }
  }
}

TEST(LocalMapModel, RefusedMemoryForTheGridFallsBackToThePairwiseRule) {
  LocalMapModel m;
  m.virtualWalls = 0;
  ASSERT_TRUE(m.SetLayerCount(1));
  Fill(&m, 0, {{0.1f, 0.5f}, {0.11f, 0.51f}, {0.5f, 0.5f}});
  {
    CBufferFailureScope refuse(0);
    m.Shift(0.0f, 0.0f);
  }
  ASSERT_EQ(2, m.layers[0].pointCount);
  EXPECT_EQ(0.5f, m.layers[0].points[1].x);
}

// ------------------------------------------------------------ zones

TEST(LocalMapModel, ZonesCountTheLayersOfTheirMaskWithinInclusiveBounds) {
  LocalMapModel m;
  m.virtualWalls = 0;
  ASSERT_TRUE(m.SetLayerCount(34));
  Fill(&m, 0, {{0.0f, 0.0f}, {0.5f, 0.5f}, {0.51f, 0.5f}});  // the corner is inside, 0.51 not
  Fill(&m, 1, {{0.2f, 0.2f}});
  Fill(&m, 2, {{-0.5f, -0.5f}, {0.1f, 0.1f}});
  Fill(&m, 32, {{0.3f, 0.3f}});  // bit 0 again
  Fill(&m, 33, {{0.3f, 0.3f}});  // bit 1 again
  ASSERT_TRUE(m.SetZoneCount(4));
  m.zones[0] = LocalMapZone{1u, -0.5f, -0.5f, 0.5f, 0.5f};
  m.zones[1] = LocalMapZone{0x5u, -0.5f, -0.5f, 0.5f, 0.5f};
  m.zones[2] = LocalMapZone{0xFFFFFFFFu, 0.0f, 0.0f, 0.25f, 0.25f};
  m.zones[3] = LocalMapZone{0u, -1.0f, -1.0f, 1.0f, 1.0f};
  EXPECT_EQ(2 + 1, m.CountZonePoints(0));      // layers 0 and 32
  EXPECT_EQ(2 + 2 + 1, m.CountZonePoints(1));  // layers 0, 2 and 32
  EXPECT_EQ(1 + 1 + 1, m.CountZonePoints(2));  // (0, 0), (0.2, 0.2), (0.1, 0.1)
  EXPECT_EQ(0, m.CountZonePoints(3));
  EXPECT_EQ(0, m.CountZonePoints(4));
  EXPECT_EQ(0, m.CountZonePoints(-1));
  EXPECT_FALSE(m.SetZoneCount(256));
  EXPECT_EQ(4, m.zoneCount);
}

}  // namespace
