// CBEVideoNavigation: its pins for any number of range finders, the
// versioned record (golden bytes written from the layout), the inputs step
// by step (camera frames, places on rising edges, manual correction with
// the heading snapped, clearing, range readings, obstacles) and a run that
// records a corridor, marks a place at its end and is guided back to it.
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "blocks/engine/block_class_ids.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/navigation/video_navigation.h"
#include "foundation/buffer_failure_scope.h"
#include "kestui/graphics/image.h"
#include "nav_kit.h"
#include "scheme/model/scheme_icons.h"
#include "scheme/parts/camera_frame.h"
#include "tests/blocks/library/block_kit.h"

namespace {

using blocktest::BaseRecord;
using blocktest::Golden;
using V = CBEVideoNavigation;

const double kHalfPi = 1.5707963267948966;

// The scheme icons folder while alive (the previous one comes back).
class IconsFolder {
public:
  explicit IconsFolder(const std::wstring& folder)
      : had_(GetSchemeIconsFolder() != nullptr), saved_(had_ ? GetSchemeIconsFolder() : L"") {
    SetSchemeIconsFolder(folder.c_str());
  }
  ~IconsFolder() { SetSchemeIconsFolder(had_ ? saved_.c_str() : nullptr); }

private:
  bool had_;
  std::wstring saved_;
};

// A bench that offers the class as the on-board computer's catalogue does.
class NavBench : public blocktest::Bench {
public:
  NavBench() {
    EXPECT_TRUE(library.Offer(kBeVideoNavigationClassId, L"Видеонавигация", L"videonavigation.bmp"));
    nav = Create<V>(kBeVideoNavigationClassId);
  }
  // A source of that type linked to input i.
  blocktest::Source* Feed(int i, BeSignalType type) {
    blocktest::Source* s = Source(type);
    LinkAnyway(s, 0, nav, i);
    return s;
  }
  NavMap* Map() { return nav->Map(); }
  V* nav = nullptr;
};

std::wstring PinName(const wchar_t* name) { return name ? name : L"(null)"; }

// A finder's 20 name bytes.
Golden& Name(Golden& g, const wchar_t* name) {
  wchar_t chars[kNavFinderNameChars] = {};
  for (int i = 0; i < kNavFinderNameChars && name[i]; ++i) chars[i] = name[i];
  return g.Raw(chars, sizeof(chars));
}

Golden& Finder(Golden& g, double x, double y, double angle, double searchAngle, double searchDistance,
               double maxRange, int colour, const wchar_t* name) {
  g.D(x).D(y).D(angle).D(searchAngle).D(searchDistance).D(maxRange).B(colour);
  return Name(g, name);
}

// The record of a new block.
std::vector<uint8_t> NewBlockRecord(const RECT& rect) {
  Golden g;
  g.B(3).I32(3);
  Finder(g, -20, 0, -kHalfPi, 0.5235987755982988, 10, 95, 0, L"dist1");
  Finder(g, 20, 0, kHalfPi, 0.5235987755982988, 10, 95, 1, L"dist2");
  Finder(g, 0, 20, 0, 0.5235987755982988, 10, 95, 2, L"dist3");
  g.D(1).D(8).D(40).WStr(L"");
  BaseRecord base = BaseRecord::Unlinked(rect, 15, 13);
  base.caption = L"Визуальная навигация";
  g.Base(base).D(50).D(40).D(10);
  return g.Bytes();
}

// ---------------------------------------------------------------------------
// Pins and record

TEST(VideoNavigation, IsMadeWithThreeRangeFinders) {
  NavBench bench;
  V* nav = bench.nav;
  ASSERT_NE(nullptr, nav);
  EXPECT_EQ(200, nav->Width());
  EXPECT_EQ(310, nav->Height());
  EXPECT_STREQ(L"Визуальная навигация", nav->GetCaption());
  EXPECT_EQ(static_cast<COLORREF>(0x00FF00), nav->fillColor);
  EXPECT_EQ(blocktest::Costs(500000, 20000, 10000000), blocktest::CostsOf(nav));
  const wchar_t* inputs[] = {L"cam",    L"Vx",     L"Vy",     L"ω",     L"mode",  L"placeID", L"addPlace", L"man_dX",
                             L"man_dY", L"man_dA", L"clear",  L"dist1", L"dist2", L"dist3",   L"obs"};
  const BeSignalType inTypes[] = {22, 5, 5, 5, 2, 4, 1, 5, 5, 5, 1, 5, 5, 5, 1};
  ASSERT_EQ(15, nav->inputCount);
  for (int i = 0; i < 15; ++i) {
    EXPECT_EQ(std::wstring(inputs[i]), PinName(nav->Input(i)->name)) << i;
    EXPECT_EQ(inTypes[i], nav->Input(i)->type) << i;
  }
  EXPECT_STREQ(L"Показание дальномера (см)", nav->Input(12)->description);
  const wchar_t* outputs[] = {L"globalMap",  L"robotLost", L"robotX", L"robotY", L"robotA",
                              L"placeID",    L"targetDist", L"pathA", L"pathX",  L"pathY",
                              L"isWall_dist1", L"isWall_dist2", L"isWall_dist3"};
  const BeSignalType outTypes[] = {36, 1, 5, 5, 5, 4, 5, 5, 5, 5, 1, 1, 1};
  ASSERT_EQ(13, nav->outputCount);
  for (int i = 0; i < 13; ++i) {
    EXPECT_EQ(std::wstring(outputs[i]), PinName(nav->Output(i)->name)) << i;
    EXPECT_EQ(outTypes[i], nav->Output(i)->type) << i;
  }
  const NavRangeFinder& left = bench.Map()->rangeFinders[0];
  EXPECT_EQ(-20, left.x);
  EXPECT_EQ(-kHalfPi, left.angle);
  EXPECT_EQ(0.5235987755982988, left.searchAngle);
  EXPECT_EQ(10, left.searchDistance);
  EXPECT_EQ(95, left.maxRange);
  EXPECT_EQ(2, bench.Map()->rangeFinders[2].colour);
  EXPECT_FALSE(nav->ShowProperties());
}

TEST(VideoNavigation, PinsFollowTheRangeFinders) {
  NavBench bench;
  V* nav = bench.nav;
  for (int r : {0, 1, 5, V::kMaxFinders}) {
    ASSERT_TRUE(bench.Map()->SetRangeFinderCount(r));
    for (int i = 0; i < r; ++i) {
      _snwprintf(bench.Map()->rangeFinders[i].name, kNavFinderNameChars, L"f%d", i);
      bench.Map()->rangeFinders[i].wallOutputName[0] = 0;
    }
    for (int version : {2, 3}) {
      ASSERT_TRUE(nav->BuildPins(version)) << r;
      const int fixed = version == 3 ? 10 : 9;
      EXPECT_EQ(r + 12, nav->inputCount) << r;
      EXPECT_EQ(r + fixed, nav->outputCount) << r;
      EXPECT_EQ(220 + 30 * r, nav->Height()) << r;
      EXPECT_EQ(std::wstring(L"obs"), PinName(nav->Input(r + 11)->name));
      if (r > 0) {
        EXPECT_EQ(std::wstring(L"f0"), PinName(nav->Input(11)->name));
        EXPECT_EQ(std::wstring(L"isWall_f0"), PinName(nav->Output(fixed)->name));
        EXPECT_EQ(1, nav->Output(fixed + r - 1)->type);
      }
      if (version == 3) {
        EXPECT_EQ(std::wstring(L"pathY"), PinName(nav->Output(9)->name));
      }
    }
  }
}

TEST(VideoNavigation, GrowingFromNineFixedOutputsKeepsTheWallFlagPins) {
  NavBench bench;
  V* nav = bench.nav;
  ASSERT_TRUE(nav->BuildPins(2));
  BeOutputPin* walls[3] = {nav->Output(9), nav->Output(10), nav->Output(11)};
  blocktest::Source* s = bench.Source(kBeSignalBit);
  (void)s;
  ASSERT_TRUE(nav->BuildPins(3));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(walls[i], nav->Output(10 + i)) << i;
  EXPECT_EQ(std::wstring(L"pathY"), PinName(nav->Output(9)->name));
  EXPECT_EQ(std::wstring(L"isWall_dist1"), PinName(nav->Output(10)->name));
}

TEST(VideoNavigation, RecordOfANewBlock) {
  NavBench bench;
  std::vector<uint8_t> golden = NewBlockRecord(bench.nav->rect);
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(bench.nav), golden));
  auto fresh = blocktest::NewDetached<V>(kBeVideoNavigationClassId);
  ASSERT_NE(nullptr, fresh);
  std::vector<uint8_t> detached = NewBlockRecord(fresh->rect);
  blocktest::ExpectTruncationsRefused<V>(kBeVideoNavigationClassId, detached);
}

TEST(VideoNavigation, ARecordOfVersionTwoMeetsNineFixedOutputs) {
  // Two finders, the first with a name of all ten characters.
  const RECT rect = {10, 20, 210, 300};
  Golden g;
  g.B(2).I32(2);
  Finder(g, 5, 15, 0.5, 0.25, 12, 150, 4, L"abcdefghij");
  Finder(g, -5, 0, -1, 0.3, 8, 80, 5, L"left");
  g.D(2).D(5).D(30).WStr(L"maps\\a.txt");
  g.Base(BaseRecord::Unlinked(rect, 14, 11)).D(60).D(30).D(5);
  auto nav = blocktest::NewDetached<V>(kBeVideoNavigationClassId);
  ASSERT_TRUE(blocktest::LoadBytes(nav.get(), g.Bytes()));
  EXPECT_EQ(14, nav->inputCount);
  EXPECT_EQ(12, nav->outputCount);
  EXPECT_EQ(280, nav->Height());
  EXPECT_EQ(std::wstring(L"abcdefghij"), PinName(nav->Input(11)->name));
  EXPECT_EQ(std::wstring(L"left"), PinName(nav->Input(12)->name));
  EXPECT_EQ(std::wstring(L"obs"), PinName(nav->Input(13)->name));
  EXPECT_EQ(std::wstring(L"pathY"), PinName(nav->Output(9)->name));
  EXPECT_EQ(std::wstring(L"isWall_abcdefghij"), PinName(nav->Output(10)->name));
  EXPECT_EQ(std::wstring(L"isWall_left"), PinName(nav->Output(11)->name));
  const NavMap* map = nav->Map();
  EXPECT_EQ(2, map->drawingScale);
  EXPECT_EQ(5, map->obstacleLifeTime);
  EXPECT_EQ(30, map->obstacleRadius);
  EXPECT_EQ(60, map->imageSearchRange);
  EXPECT_EQ(30, map->placeNearZone);
  EXPECT_EQ(5, map->positioningAccuracy);
  EXPECT_STREQ(L"maps\\a.txt", map->mapFileName);
  EXPECT_EQ(150, map->rangeFinders[0].maxRange);
  EXPECT_EQ(5, map->rangeFinders[1].colour);
  EXPECT_EQ(0, map->imageCount);
  // Written back as version 3, with ten fixed outputs.
  Golden v3;
  v3.B(3).I32(2);
  Finder(v3, 5, 15, 0.5, 0.25, 12, 150, 4, L"abcdefghij");
  Finder(v3, -5, 0, -1, 0.3, 8, 80, 5, L"left");
  v3.D(2).D(5).D(30).WStr(L"maps\\a.txt");
  v3.Base(BaseRecord::Unlinked(rect, 14, 12)).D(60).D(30).D(5);
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(nav.get()), v3.Bytes()));
  // The same bytes as version 3 would meet 12 outputs: the base record is
  // then cut by 5 bytes (one output), so refused.
  std::vector<uint8_t> wrong = g.Bytes();
  wrong[0] = 3;
  auto other = blocktest::NewDetached<V>(kBeVideoNavigationClassId);
  EXPECT_FALSE(blocktest::LoadBytes(other.get(), wrong));
  EXPECT_EQ(15, other->inputCount);
}

// The pins match the map's range finders and are named from them.
void ExpectPinsOfTheMap(V* nav) {
  const NavMap* map = nav->Map();
  ASSERT_NE(nullptr, map);
  const int r = map->rangeFinderCount;
  ASSERT_EQ(r + 12, nav->inputCount);
  const int fixed = nav->outputCount - r;
  ASSERT_TRUE(fixed == 9 || fixed == 10) << nav->outputCount;
  for (int i = 0; i < r; ++i) {
    EXPECT_EQ(map->rangeFinders[i].name, nav->Input(11 + i)->name) << i;
    EXPECT_EQ(map->rangeFinders[i].wallOutputName, nav->Output(fixed + i)->name) << i;
  }
}

TEST(VideoNavigation, RefusedMemoryLoadsAllOrLeavesAConsistentBlock) {
  // The record of a block with two finders and a map file.
  auto model = blocktest::NewDetached<V>(kBeVideoNavigationClassId);
  ASSERT_TRUE(model->Map()->SetRangeFinderCount(2));
  ASSERT_TRUE(model->Map()->SetMapFileName(L"hall.txt"));
  ASSERT_TRUE(model->BuildPins(3));
  model->SetCaption(L"Навигатор");
  // And one of version 2 with five finders (more pins than a new block).
  Golden old;
  old.B(2).I32(5);
  for (int i = 0; i < 5; ++i) Finder(old, i, 0, 0, 0.1, 5, 90, i, L"d");
  old.D(1).D(8).D(40).WStr(L"old.txt");
  old.Base(BaseRecord::Unlinked(RECT{0, 0, 200, 370}, 17, 14)).D(50).D(40).D(10);
  for (const std::vector<uint8_t>& record : {blocktest::RecordBytes(model.get()), old.Bytes()}) {
    bool loaded = false;
    for (int grant = 0; grant < 30 && !loaded; ++grant) {
      auto nav = blocktest::NewDetached<V>(kBeVideoNavigationClassId);
      {
        CBufferFailureScope scope(grant);
        loaded = blocktest::LoadBytes(nav.get(), record);
      }
      if (loaded && record[0] == 3) {
        EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(nav.get()), record)) << grant;
      }
      // Loaded or not, the pins are those of the block's own map.
      ExpectPinsOfTheMap(nav.get());
      nav->Step(0.01f);
    }
    EXPECT_TRUE(loaded);
  }
}

TEST(VideoNavigation, ImplausibleRecordsChangeNothing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* what;
    int version, count;
    double radius, searchRange, maxRange;
  } cases[] = {
      {"version 0", 0, 1, 40, 50, 95},   {"version 4", 4, 1, 40, 50, 95},   {"count -1", 3, -1, 40, 50, 95},
      {"count 128", 3, 128, 40, 50, 95}, {"radius NaN", 3, 1, nan, 50, 95}, {"range -1", 3, 1, 40, -1, 95},
      {"max NaN", 3, 1, 40, 50, nan},    {"fits", 3, 1, 40, 50, 95},
  };
  for (const Case& c : cases) {
    auto nav = blocktest::NewDetached<V>(kBeVideoNavigationClassId);
    const std::vector<uint8_t> before = blocktest::RecordBytes(nav.get());
    const RECT rect = {0, 0, 200, 250};
    Golden g;
    g.B(c.version).I32(c.count);
    Finder(g, 0, 0, 0, 0.1, 5, c.maxRange, 0, L"d");
    g.D(1).D(8).D(c.radius).WStr(L"");
    g.Base(BaseRecord::Unlinked(rect, 13, 11)).D(c.searchRange).D(40).D(10);
    const bool fits = std::string(c.what) == "fits";
    EXPECT_EQ(fits, blocktest::LoadBytes(nav.get(), g.Bytes())) << c.what;
    if (!fits) {
      EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(nav.get()), before)) << c.what;
    }
  }
}

TEST(VideoNavigation, DrawsItsMapPicture) {
  IconsFolder icons(blocktest::ShippedIconsFolder());
  CKestImage picture;
  ASSERT_TRUE(SUCCEEDED(picture.Load((blocktest::ShippedIconsFolder() + kVideoNavigationPicture).c_str())));
  EXPECT_EQ(100, picture.GetWidth());
  EXPECT_EQ(80, picture.GetHeight());
  NavBench bench;
  blocktest::Canvas canvas(240, 340);
  EXPECT_TRUE(canvas.Draw(bench.nav, 20, 10));
  int same = 0;
  for (int y = 0; y < picture.GetHeight(); ++y)
    for (int x = 0; x < picture.GetWidth(); ++x) same += canvas.At(70 + x, 30 + y) == picture.GetPixel(x, y);
  EXPECT_GE(same, picture.GetWidth() * picture.GetHeight() * 95 / 100);
  // The green body around it.
  EXPECT_EQ(RGB(0, 255, 0), canvas.At(40, 200));
  canvas.Save(L"library_video_navigation.bmp");
}

// ---------------------------------------------------------------------------
// Steps

TEST(VideoNavigation, AddPlaceAddsOnePlacePerRisingEdge) {
  NavBench bench;
  blocktest::Source* add = bench.Feed(V::kInAddPlace, kBeSignalBit);
  bench.Map()->x = 12;
  bench.Map()->y = 34;
  add->SetBit(true);
  bench.Passes(3);
  ASSERT_EQ(1, bench.Map()->placeCount);
  EXPECT_EQ(1, bench.Map()->places[0].id);
  EXPECT_EQ(12, bench.Map()->places[0].x);
  EXPECT_EQ(34, bench.Map()->places[0].y);
  EXPECT_EQ(1, blocktest::ReadInt(bench.nav, V::kOutPlaceId));
  for (int k = 0; k < 2; ++k) {
    add->SetBit(false);
    bench.Pass();
    add->SetBit(true);
    bench.Pass();
  }
  ASSERT_EQ(3, bench.Map()->placeCount);
  EXPECT_EQ(2, bench.Map()->places[1].id);
  EXPECT_EQ(3, bench.Map()->places[2].id);
  EXPECT_EQ(3, blocktest::ReadInt(bench.nav, V::kOutPlaceId));
}

TEST(VideoNavigation, ManualCorrectionMovesThePoseAndSnapsAReleasedTurn) {
  struct Case {
    double heading;  // after the turning step
    double snapped;
  } cases[] = {
      {1.55, 1.5707963705062866},  {1.3, 1.3},    {0.05, 0},  {-1.62, -1.5707963705062866},
      {3.1, 3.1415927410125732},   {-3.1, 3.1415927410125732}, {-0.2, -0.2},
  };
  for (const Case& c : cases) {
    NavBench bench;
    blocktest::Source* turn = bench.Feed(V::kInManualA, kBeSignalFloat);
    // One step of 0.01 s at 2 rad/s turns by 0.02.
    bench.Map()->angle = c.heading - 2.0 * 0.01f;
    turn->SetFloat(2);
    bench.Pass(0.01f);
    EXPECT_TRUE(bench.nav->manualTurn);
    EXPECT_NEAR(c.heading, bench.Map()->angle, 1e-6);
    turn->SetFloat(0);
    bench.Pass(0.01f);
    EXPECT_FALSE(bench.nav->manualTurn);
    if (c.snapped == c.heading) {
      EXPECT_NEAR(c.heading, bench.Map()->angle, 1e-6) << c.heading;
    } else {
      EXPECT_EQ(c.snapped, bench.Map()->angle) << c.heading;
    }
    EXPECT_FLOAT_EQ(static_cast<float>(bench.Map()->angle), blocktest::ReadFloat(bench.nav, V::kOutRobotA));
  }
  // man_dX and man_dY move ten times their speed in cm.
  NavBench bench;
  blocktest::Source* dx = bench.Feed(V::kInManualX, kBeSignalFloat);
  blocktest::Source* dy = bench.Feed(V::kInManualY, kBeSignalFloat);
  dx->SetFloat(3);
  dy->SetFloat(-2);
  bench.Pass(0.5f);
  EXPECT_DOUBLE_EQ(15, bench.Map()->x);
  EXPECT_DOUBLE_EQ(-10, bench.Map()->y);
  EXPECT_EQ(15.0f, blocktest::ReadFloat(bench.nav, V::kOutRobotX));
  EXPECT_EQ(-10.0f, blocktest::ReadFloat(bench.nav, V::kOutRobotY));
  // Not a number moves nothing.
  dx->SetFloat(std::numeric_limits<float>::quiet_NaN());
  bench.Pass(0.5f);
  EXPECT_DOUBLE_EQ(15, bench.Map()->x);
}

TEST(VideoNavigation, TakesEachNewCameraFrameOnce) {
  blocktest::PayloadScope payloads;
  NavBench bench;
  blocktest::Source* cam = bench.Feed(V::kInCamera, kBeSignalVideo);
  blocktest::Source* mode = bench.Feed(V::kInMode, kBeSignalChar);
  mode->SetInt(NavMap::kModeRecordingFreeTurn);
  SchCameraFrame frame;
  frame.world = navtest::Camera(0, 0, 0.3f);
  int owner = 0;
  const BePayloadHandle h = payloads.Table().Add(&frame, &owner);
  ASSERT_NE(kNoPayload, h);

  cam->SetMessage(1, kSchCameraFrameTag, h);
  bench.Pass();
  EXPECT_EQ(NavMap::kModeRecordingFreeTurn, bench.Map()->mode);
  EXPECT_EQ(1, bench.Map()->imageCount);
  EXPECT_EQ(1, bench.nav->lastFrame);
  // The camera 30 cm on: a new place, but the same counter is no new frame.
  frame.world = navtest::Camera(0, 0.3f, 0.3f);
  bench.Pass();
  EXPECT_EQ(1, bench.Map()->imageCount);
  // Another tag, a null reference, another signal type: ignored.
  cam->SetMessage(2, 0x331E, h);
  bench.Pass();
  cam->SetMessage(3, kSchCameraFrameTag, kNoPayload);
  bench.Pass();
  cam->SetMessage(4, kSchCameraFrameTag, h);
  cam->SetType(kBeSignalScanSector);
  bench.Pass();
  EXPECT_EQ(1, bench.Map()->imageCount);
  EXPECT_EQ(1, bench.nav->lastFrame);
  cam->SetType(kBeSignalVideo);
  bench.Pass();
  EXPECT_EQ(2, bench.Map()->imageCount);
  EXPECT_EQ(4, bench.nav->lastFrame);
  // A frame whose record has gone: its counter is taken, nothing recorded.
  ASSERT_TRUE(payloads.Table().Release(h));
  frame.world = navtest::Camera(0, 0.6f, 0.3f);
  cam->SetMessage(5, kSchCameraFrameTag, h);
  bench.Pass();
  EXPECT_EQ(2, bench.Map()->imageCount);
  EXPECT_EQ(5, bench.nav->lastFrame);
}

TEST(VideoNavigation, RangeReadingsClearAndTheMapCounter) {
  NavBench bench;
  blocktest::Source* mode = bench.Feed(V::kInMode, kBeSignalChar);
  blocktest::Source* ahead = bench.Feed(V::kInFirstFinder + 2, kBeSignalFloat);
  blocktest::Source* clear = bench.Feed(V::kInClear, kBeSignalBit);
  mode->SetInt(NavMap::kModeRecordingFreeTurn);
  ahead->SetFloat(50);
  bench.Pass();
  EXPECT_EQ(1, bench.Map()->wallCount);
  EXPECT_EQ(1, blocktest::ReadInt(bench.nav, V::kOutFirstWall + 2));
  EXPECT_EQ(0, blocktest::ReadInt(bench.nav, V::kOutFirstWall));  // not linked: left
  // Beyond the finder's 95 cm: no wall.
  ahead->SetFloat(120);
  bench.Pass();
  EXPECT_EQ(0, blocktest::ReadInt(bench.nav, V::kOutFirstWall + 2));
  // The counter in bytes 0-1 of "globalMap" counts the steps.
  EXPECT_EQ(2, blocktest::ValueBytes(bench.nav, V::kOutGlobalMap)[0]);
  bench.nav->Output(V::kOutGlobalMap)->value[0] = 0xFF;
  bench.Pass();
  std::vector<uint8_t> counter = blocktest::ValueBytes(bench.nav, V::kOutGlobalMap);
  EXPECT_EQ(0, counter[0]);
  EXPECT_EQ(1, counter[1]);
  clear->SetBit(true);
  bench.Map()->x = 40;
  bench.Pass();
  EXPECT_EQ(0, bench.Map()->wallCount);
  EXPECT_EQ(0, bench.Map()->x);
  EXPECT_EQ(NavMap::kSaveDelay, bench.Map()->saveCountdown);
}

// Images up the +y axis every 20 cm and a place at their end.
void RecordCorridor(NavMap* map, int images, int placeId) {
  const Mat4f camera = navtest::Camera(0, 0, 0.3f);
  for (int k = 0; k < images; ++k) ASSERT_LE(0, map->AddImage(&camera, 0, 20.0 * k, 0));
  ASSERT_TRUE(map->AddPlace(0, 20.0 * (images - 1) + 20, 0, placeId));
  map->lastPlaceId = placeId;
}

TEST(VideoNavigation, PlacingATargetPlansAndGuides) {
  NavBench bench;
  RecordCorridor(bench.Map(), 6, 1);
  blocktest::Source* place = bench.Feed(V::kInPlaceId, kBeSignalInt);
  place->SetInt(0);
  bench.Pass();
  EXPECT_EQ(0, bench.Map()->routePointCount);
  EXPECT_EQ(-1.0f, blocktest::ReadFloat(bench.nav, V::kOutTargetDist));
  EXPECT_EQ(0.0f, blocktest::ReadFloat(bench.nav, V::kOutPathA));
  place->SetInt(1);
  bench.Pass();
  EXPECT_EQ(1, bench.Map()->targetPlaceId);
  EXPECT_LT(0, bench.Map()->routePointCount);
  EXPECT_FLOAT_EQ(120.0f, blocktest::ReadFloat(bench.nav, V::kOutTargetDist));
  EXPECT_EQ(1, bench.Map()->routeIndex);  // past the robot's own point
  // The same identifier again plans nothing new.
  bench.Map()->routeIndex = 3;
  bench.Pass();
  EXPECT_LE(3, bench.Map()->routeIndex);
}

TEST(VideoNavigation, AnObstacleHeldStillKeepsOneMarkAndReplansEachStep) {
  NavBench bench;
  RecordCorridor(bench.Map(), 6, 1);
  blocktest::Source* obs = bench.Feed(V::kInFirstFinder + 3, kBeSignalBit);
  // Marks age only while the map runs.
  bench.Feed(V::kInMode, kBeSignalChar)->SetInt(NavMap::kModeNavigation);
  bench.Map()->obstacleRadius = 10;
  obs->SetBit(true);
  for (int step = 0; step < 5; ++step) {
    bench.Map()->SetRouteSize(0);
    bench.Pass(0.1f);
    ASSERT_EQ(1, bench.Map()->markCount);
    // One radius and 5 % ahead of the robot (heading 0: along +y).
    EXPECT_FLOAT_EQ(0, bench.Map()->marks[0].x);
    EXPECT_FLOAT_EQ(10.5f, bench.Map()->marks[0].y);
    EXPECT_EQ(0, bench.Map()->marks[0].age);
    // Planned again to the last place, around the marked image at 20 cm:
    // the images from 40 cm on, then the place.
    EXPECT_EQ(1, bench.Map()->targetPlaceId);
    ASSERT_LT(2, bench.Map()->routePointCount);
    EXPECT_FLOAT_EQ(40.0f, bench.Map()->routePoints[1].y);
  }
  // Released, the mark ages and dies after its life time.
  obs->SetBit(false);
  bench.Passes(79, 0.1f);
  EXPECT_EQ(1, bench.Map()->markCount);
  bench.Passes(2, 0.1f);
  EXPECT_EQ(0, bench.Map()->markCount);
}

// ---------------------------------------------------------------------------
// A run: record a corridor while driving, mark a place at its end, drive
// back in navigation mode and let the guidance bring the robot to the place.

class RobotRun {
public:
  explicit RobotRun(NavBench* bench) : bench_(bench) {
    cam_ = bench->Feed(V::kInCamera, kBeSignalVideo);
    vx_ = bench->Feed(V::kInVx, kBeSignalFloat);
    vy_ = bench->Feed(V::kInVy, kBeSignalFloat);
    w_ = bench->Feed(V::kInTurn, kBeSignalFloat);
    mode_ = bench->Feed(V::kInMode, kBeSignalChar);
    place_ = bench->Feed(V::kInPlaceId, kBeSignalInt);
    add_ = bench->Feed(V::kInAddPlace, kBeSignalBit);
    handle_ = BePayloadTable::Program().Add(&frame_, this);
    place_->SetInt(0);
  }
  void Mode(int m) { mode_->SetInt(m); }
  // One step of dt with these speeds: the robot really moves so, and its
  // camera (30 cm high, looking ahead) takes a new frame.
  void Step(double vx, double vy, double w) {
    vx_->SetFloat(static_cast<float>(vx));
    vy_->SetFloat(static_cast<float>(vy));
    w_->SetFloat(static_cast<float>(w));
    a_ += static_cast<float>(w) * kDt;
    const double c = std::cos(a_), s = std::sin(a_);
    const double dx = static_cast<float>(vx) * kDt, dy = static_cast<float>(vy) * kDt;
    x_ += dx * c + dy * s;
    y_ += -dx * s + dy * c;
    frame_.world = navtest::Camera(static_cast<float>(x_ / 100), static_cast<float>(y_ / 100), 0.3f,
                                   static_cast<float>(std::sin(a_)), static_cast<float>(std::cos(a_)), 0);
    cam_->SetMessage(++counter_ & 0xFF, kSchCameraFrameTag, handle_);
    bench_->Pass(kDt);
  }
  void AddPlace() {
    add_->SetBit(true);
    Step(0, 0, 0);
    add_->SetBit(false);
    Step(0, 0, 0);
  }
  void Target(int id) { place_->SetInt(id); }
  double X() const { return x_; }
  double Y() const { return y_; }
  double A() const { return a_; }

  static constexpr float kDt = 0.05f;

private:
  NavBench* bench_;
  blocktest::Source *cam_, *vx_, *vy_, *w_, *mode_, *place_, *add_;
  SchCameraFrame frame_;
  BePayloadHandle handle_;
  int counter_ = 0;
  double x_ = 0, y_ = 0, a_ = 0;
};

double Clamp(double v, double limit) { return v > limit ? limit : (v < -limit ? -limit : v); }

TEST(VideoNavigationRun, RecordsACorridorAndIsGuidedBackToThePlaceAtItsEnd) {
  blocktest::PayloadScope payloads;
  NavBench bench;
  V* nav = bench.nav;
  RobotRun run(&bench);
  // Recording: 4 s up the corridor at 50 cm/s.
  run.Mode(NavMap::kModeRecording);
  for (int k = 0; k < 80; ++k) run.Step(0, 50, 0);
  const int images = bench.Map()->imageCount;
  EXPECT_GE(images, 7);
  EXPECT_LE(images, 11);
  run.AddPlace();
  ASSERT_EQ(1, bench.Map()->placeCount);
  EXPECT_NEAR(200, bench.Map()->places[0].y, 1e-3);
  // Back to the start in navigation mode.
  run.Mode(NavMap::kModeNavigation);
  for (int k = 0; k < 80; ++k) run.Step(0, -50, 0);
  EXPECT_NEAR(0, bench.Map()->y, 1e-3);
  EXPECT_EQ(0, blocktest::ReadInt(nav, V::kOutRobotLost));
  EXPECT_EQ(-1.0f, blocktest::ReadFloat(nav, V::kOutTargetDist));
  // The target: a route up the corridor, then guidance to the place.
  run.Target(1);
  run.Step(0, 0, 0);
  ASSERT_LT(2, bench.Map()->routePointCount);
  EXPECT_NEAR(200, blocktest::ReadFloat(nav, V::kOutTargetDist), 1e-3);
  int steps = 0;
  while (blocktest::ReadFloat(nav, V::kOutTargetDist) >= 0 && steps < 600) {
    const double vx = Clamp(0.5 * blocktest::ReadFloat(nav, V::kOutPathX), 40);
    const double vy = Clamp(0.5 * blocktest::ReadFloat(nav, V::kOutPathY), 40);
    const double w = Clamp(blocktest::ReadFloat(nav, V::kOutPathA), 1);
    run.Step(vx, vy, w);
    ++steps;
  }
  EXPECT_LT(steps, 600) << "never arrived";
  EXPECT_GT(steps, 50) << "200 cm at 40 cm/s at most";
  EXPECT_EQ(-1.0f, blocktest::ReadFloat(nav, V::kOutTargetDist));
  EXPECT_EQ(0, bench.Map()->routePointCount);
  // Where the robot really is: at the place, facing along the corridor.
  EXPECT_NEAR(0, run.X(), 5);
  EXPECT_NEAR(200, run.Y(), 15);
  EXPECT_NEAR(0, run.A(), 0.1745);
  EXPECT_NEAR(run.Y(), blocktest::ReadFloat(nav, V::kOutRobotY), 1);
}

}  // namespace
