// The relay: creation, pins rebuilt from the database row, its record, the
// coil's pull-in, release and burn-out, latching, the contact groups and
// their burn-out, the symbol, the footprint and its marking escapes.
#include "components/electronic/switching/relay.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "component_kit.h"
#include "foundation/buffers.h"
#include "support/test_support.h"

namespace {

using comptest::Bench;
using comptest::DbRow;
using comptest::Golden;
using comptest::LogCapture;

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

TEST(Relay, CreatedThroughTheRegistryWithItsDefaults) {
  Bench bench;
  auto* r = bench.Create<CSCHRelay>("Relay");
  ASSERT_NE(r, nullptr);
  auto* r2 = bench.Create<CSCHRelay>("Relay");
  ASSERT_NE(r2, nullptr);
  EXPECT_STREQ(r->className, "Relay");
  EXPECT_STREQ(r->instanceName, L"Р1");
  EXPECT_STREQ(r2->instanceName, L"Р2");
  EXPECT_EQ(r->ratedVoltage, 5.0f);
  EXPECT_EQ(r->polarityMode, 0);
  EXPECT_EQ(r->pullInVoltage, 4.75f);
  EXPECT_EQ(r->coilVoltageLimit, 6.2f);
  EXPECT_EQ(r->coilCurrent, 0.1f);
  EXPECT_EQ(r->releaseCurrent, 0.08f);
  EXPECT_EQ(r->dcSwitchingPower, 300.0f);
  EXPECT_EQ(r->acSwitchingVoltage, 277.0f);
  EXPECT_EQ(r->acSwitchingPower, 27710.0f);
  EXPECT_EQ(r->relayKind, 0);
  EXPECT_EQ(r->groupCount, 1);
  for (int g = 0; g < 4; g++) EXPECT_EQ(r->groupKinds[g], 0);
  EXPECT_EQ(r->packageShape, 0);
  EXPECT_EQ(r->colorScheme, 0);
  EXPECT_EQ(r->bodyLength, 10.0f);
  EXPECT_EQ(r->bodyWidth, 10.0f);
  EXPECT_EQ(r->cornerRadius, 0.0f);
  EXPECT_EQ(r->rim, 0.0f);
  EXPECT_EQ(r->earLength, 0.0f);
  for (int i = 0; i < 3; i++) EXPECT_EQ(r->marking[i], nullptr);
  EXPECT_EQ(r->rect.right - r->rect.left, 40);
  EXPECT_EQ(r->rect.bottom - r->rect.top, 80);  // 30 + 50
  EXPECT_EQ(r->footprintWidth, 10.0f);
  EXPECT_EQ(r->footprintLength, 10.0f);
  EXPECT_FLOAT_EQ(r->CoilResistance(), 50.0f);
}

TEST(Relay, ColourTables) {
  const COLORREF body[6] = {RGB(170, 170, 187), RGB(255, 204, 170), RGB(85, 85, 85),
                            RGB(255, 102, 51),  RGB(204, 170, 153), RGB(204, 204, 204)};
  const COLORREF text[6] = {RGB(102, 102, 102), RGB(255, 238, 238), RGB(204, 204, 204),
                            RGB(255, 153, 85),  RGB(204, 238, 204), RGB(102, 102, 102)};
  for (int i = 0; i < 6; i++) {
    EXPECT_EQ(kElecRelayBodyColors[i], body[i]) << i;
    EXPECT_EQ(kElecRelayMarkingColors[i], text[i]) << i;
  }
}

// ------------------------------------------------------------ pins

struct PinPlace {
  int side, offset;
};

struct Layout {
  const char* what;
  unsigned char kind, n, kinds[4];
  int height;
  std::vector<PinPlace> pins;
};

TEST(Relay, PinLayouts) {
  const Layout layouts[] = {
      {"default", 0, 1, {0, 0, 0, 0}, 80, {{0, 60}, {2, 20}, {0, 30}, {2, 50}}},
      {"two changeover groups",
       0,
       2,
       {2, 2, 0, 0},
       110,
       {{0, 90}, {2, 20}, {0, 60}, {2, 50}, {2, 65}, {0, 30}, {2, 80}, {2, 95}}},
      {"reset coil, changeover and open",
       1,
       2,
       {2, 0, 0, 0},
       150,
       {{0, 130}, {2, 20}, {0, 100}, {2, 50}, {2, 65}, {0, 70}, {2, 80}, {0, 20}, {2, 130}}},
      {"closed, unknown kind", 0, 2, {1, 7, 0, 0}, 110, {{0, 90}, {2, 20}, {0, 60}, {2, 50}, {0, 30}, {2, 80}}},
      {"no groups", 0, 0, {0, 0, 0, 0}, 50, {{0, 30}, {2, 20}}},
      {"latching without reset coil", 2, 1, {0, 0, 0, 0}, 160, {{0, 140}, {2, 20}, {0, 110}, {2, 50}}},
  };
  for (const Layout& l : layouts) {
    SCOPED_TRACE(l.what);
    CSCHRelay r;
    r.relayKind = l.kind;
    r.groupCount = l.n;
    for (int g = 0; g < 4; g++) r.groupKinds[g] = l.kinds[g];
    r.MoveTo(100, 200);
    r.BuildPins();
    EXPECT_EQ(r.rect.bottom - r.rect.top, l.height);
    ASSERT_EQ(r.pinCount, static_cast<int>(l.pins.size()));
    for (int i = 0; i < r.pinCount; i++) {
      EXPECT_EQ(r.pins[i].side, l.pins[i].side) << "pin " << i;
      EXPECT_EQ(r.pins[i].offset, l.pins[i].offset) << "pin " << i;
      EXPECT_EQ(r.pins[i].name, nullptr);
      EXPECT_EQ(r.pins[i].description, nullptr);
      EXPECT_EQ(r.pins[i].kind, kSchPinElectric);
    }
    // The coil pins both stand 20 px above the bottom edge.
    EXPECT_EQ(r.GetPinAnchor(0).y, r.rect.bottom - 20);
    EXPECT_EQ(r.GetPinAnchor(1).y, r.rect.bottom - 20);
  }
}

TEST(Relay, PinsOfAGroupStandLevel) {
  CSCHRelay r;
  r.relayKind = 1;
  r.groupCount = 2;
  r.groupKinds[0] = 2;
  r.groupKinds[1] = 0;
  r.MoveTo(0, 0);
  r.BuildPins();
  // Group 1: common and contact at bottom - 50, the changeover contact
  // 15 px higher; group 2 30 px above; the reset coil 20 px below the top.
  const int b = r.rect.bottom, t = r.rect.top;
  const int expected[9] = {b - 20, b - 20, b - 50, b - 50, b - 65, b - 80, b - 80, t + 20, t + 20};
  for (int i = 0; i < 9; i++) EXPECT_EQ(r.GetPinAnchor(i).y, expected[i]) << i;
  EXPECT_EQ(r.GroupFirstPin(0), 2);
  EXPECT_EQ(r.GroupFirstPin(1), 5);
  EXPECT_EQ(r.GroupFirstPin(2), -1);
}

TEST(Relay, FootprintSizeWithEars) {
  CSCHRelay r;
  r.bodyLength = 20;
  r.bodyWidth = 12;
  r.BuildPins();
  EXPECT_EQ(r.footprintWidth, 20.0f);
  EXPECT_EQ(r.footprintLength, 12.0f);
  r.earLength = 4;
  r.BuildPins();
  EXPECT_EQ(r.footprintWidth, 28.0f);
  EXPECT_EQ(r.footprintLength, 12.0f);
}

// A two-changeover 12 V relay row of the kind the sample table holds.
DbRow TwoChangeoverRow() {
  return DbRow(L"relays", {{"model", "RL-12"}, {"U", "12"},   {"polar", "1"},        {"Umin", "9"},
                           {"Umax", "13.2"},   {"I", "30"},   {"Ioff", "5"},         {"Ucommutation", "30"},
                           {"Icommutation", "5"}, {"UcommutationAC", "250"}, {"IcommutationAC", "4"},
                           {"type", "1"},      {"n", "2"},    {"pair1", "2"},        {"pair2", "1"},
                           {"pair3", "1"},     {"pair4", "2"}, {"form", "1"},        {"color", "3"},
                           {"length", "20"},   {"width", "10"}, {"radius", "1.5"},   {"kant", "0.5"},
                           {"ears", "2"},      {"str1", "\\BRL-12"}, {"str2", "\xD0\xE5\xEB\xE5"}, {"price", "80"}});
}

TEST(Relay, DatabaseRowSetsEveryField) {
  Bench bench;
  auto* r = bench.Create<CSCHRelay>("Relay");
  DbRow row = TwoChangeoverRow();
  r->ApplyDbRecord(row.Record());
  EXPECT_STREQ(r->model, "RL-12");
  EXPECT_STREQ(r->tableName, L"relays");
  EXPECT_EQ(r->price, 80.0);
  EXPECT_EQ(r->ratedVoltage, 12.0f);
  EXPECT_EQ(r->polarityMode, 1);
  EXPECT_EQ(r->pullInVoltage, 9.0f);
  EXPECT_EQ(r->coilVoltageLimit, 13.2f);
  EXPECT_FLOAT_EQ(r->coilCurrent, 0.03f);
  EXPECT_FLOAT_EQ(r->releaseCurrent, 0.005f);
  EXPECT_EQ(r->dcSwitchingPower, 150.0f);    // 30 V x 5 A
  EXPECT_EQ(r->acSwitchingVoltage, 250.0f);
  EXPECT_EQ(r->acSwitchingPower, 1000.0f);   // 4 A x 250 V
  EXPECT_EQ(r->relayKind, 1);
  EXPECT_EQ(r->groupCount, 2);
  const unsigned char kinds[4] = {2, 1, 1, 2};
  for (int g = 0; g < 4; g++) EXPECT_EQ(r->groupKinds[g], kinds[g]);
  EXPECT_EQ(r->packageShape, 1);
  EXPECT_EQ(r->colorScheme, 3);
  EXPECT_EQ(r->bodyLength, 20.0f);
  EXPECT_EQ(r->bodyWidth, 10.0f);
  EXPECT_EQ(r->cornerRadius, 1.5f);
  EXPECT_EQ(r->rim, 0.5f);
  EXPECT_EQ(r->earLength, 2.0f);
  EXPECT_STREQ(r->marking[0], L"\\BRL-12");
  EXPECT_STREQ(r->marking[1], L"Реле");  // from code page 1251
  EXPECT_EQ(r->marking[2], nullptr);      // no column: no text
  // Pins rebuilt: 2 + 3 + 2 + 2 = 9, the symbol 40 + 60 + 50 high.
  EXPECT_EQ(r->pinCount, 9);
  EXPECT_EQ(r->rect.bottom - r->rect.top, 150);
  EXPECT_EQ(r->footprintWidth, 24.0f);
  EXPECT_FLOAT_EQ(r->CoilResistance(), 400.0f);
}

TEST(Relay, GroupCountIsClampedToFour) {
  struct Case {
    const char* n;
    int count, pins;
  };
  const Case cases[] = {{"7", 4, 2 + 8}, {"4", 4, 10}, {"-1", 0, 2}, {"0", 0, 2}, {"300", 4, 10}};
  for (const Case& c : cases) {
    Bench bench;
    auto* r = bench.Create<CSCHRelay>("Relay");
    DbRow row(L"relays", {{"model", "X"}, {"n", c.n}});
    r->ApplyDbRecord(row.Record());
    EXPECT_EQ(r->groupCount, c.count) << c.n;
    EXPECT_EQ(r->pinCount, c.pins) << c.n;
  }
}

TEST(Relay, NewRowKeepsTheWiresOfKeptPins) {
  Bench bench;
  auto* r = bench.Create<CSCHRelay>("Relay");  // 4 pins
  auto* a = bench.Part(1);
  auto* b = bench.Part(1);
  SchWire* kept = bench.Wire(a, 0, r, 0);
  bench.Wire(b, 0, r, 3);
  EXPECT_EQ(bench.scheme->WireCount(), 2);
  DbRow row(L"relays", {{"model", "X"}, {"U", "5"}, {"I", "100"}, {"n", "0"}});
  r->ApplyDbRecord(row.Record());
  ASSERT_EQ(r->pinCount, 2);
  EXPECT_EQ(r->pins[0].wire, kept);
  EXPECT_EQ(bench.scheme->WireCount(), 1);
  EXPECT_EQ(b->pins[0].wire, nullptr);
  // Growing again adds free pins.
  DbRow three(L"relays", {{"model", "X"}, {"n", "3"}, {"pair2", "2"}});
  r->ApplyDbRecord(three.Record());
  EXPECT_EQ(r->pinCount, 2 + 2 + 3 + 2);
  EXPECT_EQ(r->pins[0].wire, kept);
  for (int i = 2; i < r->pinCount; i++) EXPECT_EQ(r->pins[i].wire, nullptr);
}

// ------------------------------------------------------------ records

TEST(Relay, RecordBeforeTheBaseRecord) {
  Bench bench;
  auto* r = bench.Create<CSCHRelay>("Relay");
  DbRow row = TwoChangeoverRow();
  r->ApplyDbRecord(row.Record());
  std::vector<uint8_t> own = Golden()
                                 .F(12)       // rated voltage
                                 .B(1)        // polarity mode
                                 .F(9)        // pull-in voltage
                                 .F(13.2f)    // coil voltage limit
                                 .F(0.03f)    // coil current
                                 .F(0.005f)   // release current
                                 .F(150)      // DC switching power
                                 .F(250)      // AC switching voltage
                                 .F(1000)     // AC switching power
                                 .B(1)        // relay kind
                                 .B(2)        // group count
                                 .B(2).B(1).B(1).B(2)  // group kinds
                                 .B(1)        // package shape
                                 .B(3)        // colour scheme
                                 .F(20).F(10).F(1.5f).F(0.5f).F(2)  // L, W, radius, rim, ears
                                 .Raw(L"\\BRL-12", 16)  // "\BRL-12" and its terminator
                                 .Raw(L"Реле", 10)
                                 .B(0).B(0)   // no third line
                                 .Bytes();
  std::vector<uint8_t> full = comptest::SaveBytes(r);
  CMemoryStream base;
  r->CSCHBlock::Save(&base);
  std::vector<uint8_t> expected = own;
  expected.insert(expected.end(), base.data, base.data + base.size);
  EXPECT_TRUE(velktest::BytesEqual(full, expected));
}

TEST(Relay, RecordRoundTrip) {
  Bench bench;
  auto* r = bench.Create<CSCHRelay>("Relay");
  DbRow row = TwoChangeoverRow();
  r->ApplyDbRecord(row.Record());
  r->MoveTo(30, 40);
  std::vector<uint8_t> bytes = comptest::SaveBytes(r);
  auto copy = comptest::NewDetached<CSCHRelay>("Relay");
  ASSERT_TRUE(copy);
  comptest::LoadBytes(copy.get(), bytes);
  EXPECT_EQ(copy->ratedVoltage, 12.0f);
  EXPECT_EQ(copy->relayKind, 1);
  EXPECT_EQ(copy->groupCount, 2);
  EXPECT_EQ(copy->groupKinds[3], 2);
  EXPECT_STREQ(copy->marking[0], L"\\BRL-12");
  EXPECT_STREQ(copy->marking[1], L"Реле");
  EXPECT_EQ(copy->marking[2], nullptr);
  EXPECT_EQ(copy->pinCount, 9);
  EXPECT_EQ(copy->rect.left, 30);
  EXPECT_EQ(copy->rect.bottom, 40 + 150);
  EXPECT_STREQ(copy->instanceName, L"Р1");
  copy->flags &= ~kSchLoaded;
  EXPECT_TRUE(velktest::BytesEqual(comptest::SaveBytes(copy.get()), bytes));
}

TEST(Relay, LoadedGroupCountIsClamped) {
  comptest::RegistryScope registry;
  CSCHRelay r;
  r.groupCount = 4;
  r.BuildPins();
  std::vector<uint8_t> bytes = comptest::SaveBytes(&r);
  bytes[4 + 1 + 7 * 4 + 1] = 9;  // the group count byte
  auto copy = comptest::NewDetached<CSCHRelay>("Relay");
  ASSERT_TRUE(copy);
  comptest::LoadBytes(copy.get(), bytes);
  EXPECT_EQ(copy->groupCount, 4);
  EXPECT_EQ(copy->pinCount, 10);
}

TEST(Relay, EveryTruncatedRecordLoads) {
  Bench bench;
  auto* r = bench.Create<CSCHRelay>("Relay");
  DbRow row = TwoChangeoverRow();
  r->ApplyDbRecord(row.Record());
  std::vector<uint8_t> bytes = comptest::SaveBytes(r);
  struct Field {
    size_t end;
    std::function<float(CSCHRelay*)> read;
    float full;
  };
  const Field fields[] = {
      {4, [](CSCHRelay* c) { return c->ratedVoltage; }, 12},
      {5, [](CSCHRelay* c) { return float(c->polarityMode); }, 1},
      {9, [](CSCHRelay* c) { return c->pullInVoltage; }, 9},
      {13, [](CSCHRelay* c) { return c->coilVoltageLimit; }, 13.2f},
      {17, [](CSCHRelay* c) { return c->coilCurrent; }, 0.03f},
      {21, [](CSCHRelay* c) { return c->releaseCurrent; }, 0.005f},
      {25, [](CSCHRelay* c) { return c->dcSwitchingPower; }, 150},
      {29, [](CSCHRelay* c) { return c->acSwitchingVoltage; }, 250},
      {33, [](CSCHRelay* c) { return c->acSwitchingPower; }, 1000},
      {34, [](CSCHRelay* c) { return float(c->relayKind); }, 1},
      {35, [](CSCHRelay* c) { return float(c->groupCount); }, 2},
      {36, [](CSCHRelay* c) { return float(c->groupKinds[0]); }, 2},
      {39, [](CSCHRelay* c) { return float(c->groupKinds[3]); }, 2},
      {40, [](CSCHRelay* c) { return float(c->packageShape); }, 1},
      {41, [](CSCHRelay* c) { return float(c->colorScheme); }, 3},
      {45, [](CSCHRelay* c) { return c->bodyLength; }, 20},
      {61, [](CSCHRelay* c) { return c->earLength; }, 2},
  };
  comptest::ForEachTruncation<CSCHRelay>("Relay", bytes, [&](CSCHRelay* c, size_t n) {
    size_t start = 0;
    for (const Field& f : fields) {
      if (n >= f.end) {
        EXPECT_EQ(f.read(c), f.full) << "field ending at " << f.end;
      } else if (n <= start) {
        EXPECT_EQ(f.read(c), 0.0f) << "field ending at " << f.end;
      }
      start = f.end;
    }
    // The pins always follow what was read.
    int expected = 2;
    for (int g = 0; g < c->groupCount; g++) expected += c->groupKinds[g] == 2 ? 3 : 2;
    if (c->relayKind == 1) expected += 2;
    EXPECT_EQ(c->pinCount, expected);
    EXPECT_LE(c->groupCount, 4);
    // A cut first marking line reads as far as it goes.
    if (n < 61 + 16) {
      EXPECT_TRUE(c->marking[0] == nullptr || wcslen(c->marking[0]) < 7);
    } else {
      EXPECT_STREQ(c->marking[0], L"\\BRL-12");
    }
  });
}

TEST(Relay, SchemeStreamKeepsTheRelayAndItsWires) {
  Bench bench;
  auto* r = bench.Create<CSCHRelay>("Relay");
  DbRow row = TwoChangeoverRow();
  r->ApplyDbRecord(row.Record());
  auto* other = bench.Create<CSCHRelay>("Relay");
  bench.Wire(other, 0, r, 8);  // the reset coil's last pin
  auto copy = comptest::ReadBack(bench.scheme);
  ASSERT_TRUE(copy);
  CSCHRelay* back = nullptr;
  for (CSCHBlock* b = copy->blocks; b; b = b->next) {
    auto* relay = dynamic_cast<CSCHRelay*>(b);
    if (relay && relay->pinCount == 9) back = relay;
  }
  ASSERT_NE(back, nullptr);
  EXPECT_STREQ(back->className, "Relay");
  EXPECT_EQ(back->pinCount, 9);
  EXPECT_NE(back->pins[8].wire, nullptr);
  EXPECT_EQ(back->pins[7].wire, nullptr);
  EXPECT_STREQ(back->marking[0], L"\\BRL-12");
}

TEST(Relay, RunStateIsTheBaseOne) {
  Bench bench;
  auto* r = bench.Create<CSCHRelay>("Relay");
  r->burnt = 1;
  std::vector<uint8_t> bytes = comptest::SaveRunStateBytes(r);
  EXPECT_TRUE(velktest::BytesEqual(bytes, Golden().Raw("Relay", 6).B(1).Bytes()));
  auto other = comptest::NewDetached<CSCHRelay>("Relay");
  ASSERT_TRUE(other);
  EXPECT_TRUE(comptest::LoadRunStateBytes(other.get(), bytes));
  EXPECT_EQ(other->burnt, 1);
  other->burnt = 0;
  EXPECT_FALSE(comptest::LoadRunStateBytes(other.get(), Golden().Raw("Button", 7).B(1).B(1).Bytes()));
  EXPECT_EQ(other->burnt, 0);
}

TEST(Relay, SampleDatabaseRows) {
  comptest::RegistryScope registry;
  comptest::SampleTable table(L"relays");
  ASSERT_TRUE(table.loaded);
  ASSERT_GE(table.table.GetRecordCount(), 4);
  auto r = comptest::NewDetached<CSCHRelay>("Relay");
  ASSERT_TRUE(r);
  r->ApplyDbRecord(table.table.GetRecord(0));  // RT-5, one normally open group
  EXPECT_EQ(r->ratedVoltage, 5.0f);
  EXPECT_FLOAT_EQ(r->coilCurrent, 0.072f);
  EXPECT_EQ(r->dcSwitchingPower, 300.0f);
  EXPECT_EQ(r->acSwitchingPower, 2500.0f);
  EXPECT_EQ(r->pinCount, 4);
  EXPECT_STREQ(r->marking[0], L"\\BRT-5");
  r->ApplyDbRecord(table.table.GetRecord(2));  // latching with a reset coil
  EXPECT_EQ(r->relayKind, 1);
  EXPECT_EQ(r->polarityMode, 2);
  EXPECT_EQ(r->pinCount, 2 + 3 + 2);
  r->ApplyDbRecord(table.table.GetRecord(3));  // four groups, ears
  EXPECT_EQ(r->groupCount, 4);
  EXPECT_EQ(r->pinCount, 2 + 3 + 3 + 2 + 2);
  EXPECT_EQ(r->footprintWidth, 43.0f);
}

// ------------------------------------------------------------ the coil

// A relay whose coil pins 0 and 1 sit between a stiff source and ground.
struct CoilBench {
  explicit CoilBench(float volts) {
    r = bench.Create<CSCHRelay>("Relay");
    source = bench.Source(volts);
    ground = bench.Ground();
    bench.Wire(source, 0, r, 0);
    bench.Wire(r, 1, ground, 0);
  }
  void Begin() {
    bench.Build();
    bench.Start();
  }
  ~CoilBench() { bench.Stop(); }
  // Steps until the armature reaches the state; the step count, 0 when it
  // does not within the limit.
  int StepsUntil(unsigned char state, int limit, float dt = 1e-3f) {
    for (int n = 1; n <= limit; n++) {
      bench.Step(1, dt);
      if (r->armature == state) return n;
    }
    return 0;
  }
  Bench bench;
  CSCHRelay* r;
  circuit::Part* source;
  circuit::Part* ground;
};

// The smoothed current after n steps toward a target from x: the steps of
// 1 ms are a tenth of the coil's 10 ms.
int FirstStepAbove(double from, double target, double threshold, double factor) {
  double x = from;
  for (int n = 1; n < 100000; n++) {
    x += (target - x) * factor;
    if (x > threshold) return n;
  }
  return 0;
}

TEST(Relay, PullInAndReleaseOfTheDefaultCoil) {
  LogCapture log;
  CoilBench c(5);
  c.Begin();
  // Rcoil = 5 V / 0.1 A = 50 ohm; I = 5 / (50 + 2e-5) A. Pull-in above
  // 4.75 / 50 = 0.095 A: 0.1 (1 - 0.9^n) > 0.095 when 0.9^n < 0.05, at
  // n = 29 (0.9^28 = 0.0523, 0.9^29 = 0.0471): about 0.01 ln 20 = 0.03 s.
  EXPECT_EQ(FirstStepAbove(0, 5 / (50 + 2e-5), 0.095, 0.1), 29);
  EXPECT_EQ(c.StepsUntil(1, 100), 29);
  // The coil is a 50 ohm load to the source.
  float R = 0;
  EXPECT_NEAR(Bench::Read(c.source, 0, &R), 0.0f, 1e-4f);
  EXPECT_NEAR(R, 50.0f, 1e-3f);
  c.bench.Step(500);
  EXPECT_NEAR(c.r->smoothedCoilCurrent, 0.1f, 1e-6f);
  EXPECT_EQ(c.r->armature, 1);
  // Off: 0.1 x 0.9^m < 0.08 when 0.9^m < 0.8: m = 3 (0.81, then 0.729).
  c.source->Drive(0, 0, kSchMinResistance);
  EXPECT_EQ(c.StepsUntil(0, 100), 3);
  EXPECT_EQ(log.Count(), 0);
  EXPECT_EQ(c.r->burnt, 0);
}

TEST(Relay, StepsLongerThanTheCoilConstantDoNotOvershoot) {
  // 15 ms steps: the smoothed current lands on 0.1 A, 5 V across the coil:
  // no burn-out at the rated voltage.
  LogCapture log;
  CoilBench c(5);
  c.Begin();
  c.bench.Step(20, 0.015f);
  EXPECT_NEAR(c.r->smoothedCoilCurrent, 0.1f, 1e-6f);
  EXPECT_EQ(c.r->armature, 1);
  EXPECT_EQ(c.r->coilBurnt, 0);
  EXPECT_EQ(log.Count(), 0);
}

TEST(Relay, OverVoltageBurnsTheCoilOnceAndReleases) {
  LogCapture log;
  CoilBench c(7);
  c.Begin();
  // 7 V: I = 0.14 A. Pull-in when 0.14 (1 - 0.9^n) > 0.095 (n = 11); the
  // coil burns when 50 x 0.14 (1 - 0.9^n) > 6.2 V (0.9^n < 0.1143, n = 21).
  const double I = 7 / (50 + 2e-5);
  const int pullIn = FirstStepAbove(0, I, 0.095, 0.1);
  const int burn = FirstStepAbove(0, I, 6.2 / 50.0, 0.1);
  EXPECT_EQ(pullIn, 11);
  EXPECT_EQ(burn, 21);
  EXPECT_EQ(c.StepsUntil(1, 100), pullIn);
  c.bench.Step(burn - pullIn - 1);
  EXPECT_EQ(c.r->coilBurnt, 0);
  EXPECT_EQ(c.r->armature, 1);
  c.bench.Step(1);
  EXPECT_EQ(c.r->coilBurnt, 1);
  EXPECT_EQ(c.r->burnt, 1);
  EXPECT_EQ(c.r->armature, 0);  // a standard relay drops out with I = 0
  c.bench.Step(50);
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.Messages()[0], L"В реле \"Р1\" перегорела обмотка");
  // Open from the next step on.
  EXPECT_EQ(c.r->pins[0].G, 1 / 5e6f);
  EXPECT_EQ(c.r->pins[1].G, 1 / 5e6f);
  EXPECT_EQ(c.r->armature, 0);
  // The next run starts afresh.
  c.bench.Stop();
  c.source->Drive(0, 5, kSchMinResistance);
  c.Begin();
  EXPECT_EQ(c.r->coilBurnt, 0);
  EXPECT_EQ(c.StepsUntil(1, 100), 29);
}

TEST(Relay, CoilWithoutResistanceBurnsAtOnce) {
  struct Case {
    const char* U;
    const char* I;
  };
  const Case cases[] = {{"5", "0"}, {"0", "0"}, {"0", "100"}, {"-5", "100"}};
  for (const Case& k : cases) {
    LogCapture log;
    CoilBench c(5);
    DbRow row(L"relays", {{"model", "X"}, {"U", k.U}, {"I", k.I}, {"Umin", "4"}, {"Umax", "6"}, {"n", "1"}});
    c.r->ApplyDbRecord(row.Record());
    c.Begin();
    c.bench.Step(3);
    EXPECT_EQ(c.r->coilBurnt, 1) << k.U << " V " << k.I << " mA";
    EXPECT_EQ(c.r->armature, 0);
    EXPECT_EQ(log.Count(), 1);
    EXPECT_TRUE(std::isfinite(c.bench.NetOf(c.source, 0)->sumI));
  }
}

TEST(Relay, PolarisedRelayIgnoresReverseCurrent) {
  LogCapture log;
  CoilBench c(-5);
  c.r->polarityMode = kElecRelayPolarised;
  c.Begin();
  EXPECT_EQ(c.StepsUntil(1, 500), 0);
  EXPECT_NEAR(c.r->smoothedCoilCurrent, -0.1f, 1e-5f);
  EXPECT_EQ(log.Count(), 0);
  // Forward it pulls in as an unpolarised one.
  c.bench.Stop();
  c.source->Drive(0, 5, kSchMinResistance);
  c.Begin();
  EXPECT_EQ(c.StepsUntil(1, 100), 29);
}

TEST(Relay, SlowCoilPullsInLater) {
  CoilBench c(5);
  c.r->polarityMode = kElecRelaySlowUnpolarised;
  c.Begin();
  // Steps of 2 ms, a fiftieth of the 0.1 s constant: 0.98^n < 0.05 at
  // n = 149 (0.98^148 = 0.0503, 0.98^149 = 0.0493).
  EXPECT_EQ(FirstStepAbove(0, 5 / (50 + 2e-5), 0.095, 0.02), 149);
  EXPECT_EQ(c.StepsUntil(1, 1000, 2e-3f), 149);
}

TEST(Relay, LatchingRelayHoldsUntilAReversePulse) {
  LogCapture log;
  CoilBench c(5);
  c.r->relayKind = 2;
  c.r->polarityMode = kElecRelayPolarised;
  c.r->BuildPins();
  c.Begin();
  EXPECT_EQ(c.StepsUntil(1, 100), 29);  // the pulse pulls in
  c.bench.Step(100);
  c.source->Drive(0, 0, kSchMinResistance);
  c.bench.Step(500);  // no current: held
  EXPECT_EQ(c.r->armature, 1);
  EXPECT_NEAR(c.r->smoothedCoilCurrent, 0.0f, 1e-6f);
  // Reverse: -0.1 (1 - 0.9^n) < -0.095 at n = 29.
  c.source->Drive(0, -5, kSchMinResistance);
  EXPECT_EQ(c.StepsUntil(0, 100), 29);
  c.source->Drive(0, 0, kSchMinResistance);
  c.bench.Step(200);
  EXPECT_EQ(c.r->armature, 0);
  EXPECT_EQ(log.Count(), 0);
}

TEST(Relay, LatchingRelayWithoutPolarityNeverReleases) {
  CoilBench c(5);
  c.r->relayKind = 2;
  c.r->BuildPins();
  c.Begin();
  EXPECT_EQ(c.StepsUntil(1, 100), 29);
  c.source->Drive(0, -5, kSchMinResistance);  // |I|: pulls in again
  c.bench.Step(300);
  c.source->Drive(0, 0, kSchMinResistance);
  c.bench.Step(300);
  EXPECT_EQ(c.r->armature, 1);
}

TEST(Relay, ResetCoilReleasesALatchedRelay) {
  LogCapture log;
  Bench bench;
  auto* r = bench.Create<CSCHRelay>("Relay");
  r->relayKind = kElecRelayWithResetCoil;
  r->BuildPins();
  ASSERT_EQ(r->pinCount, 6);
  auto* set = bench.Source(5);
  auto* reset = bench.Source(0);
  auto* g1 = bench.Ground();
  auto* g2 = bench.Ground();
  bench.Wire(set, 0, r, 0);
  bench.Wire(r, 1, g1, 0);
  bench.Wire(reset, 0, r, 4);
  bench.Wire(r, 5, g2, 0);
  bench.Build();
  bench.Start();
  bench.Step(100);
  EXPECT_EQ(r->armature, 1);
  set->Drive(0, 0, kSchMinResistance);
  bench.Step(200);
  EXPECT_EQ(r->armature, 1);  // latched
  reset->Drive(0, 5, kSchMinResistance);
  int released = 0;
  for (int n = 1; n <= 100 && !released; n++) {
    bench.Step(1);
    if (r->armature == 0) released = n;
  }
  EXPECT_EQ(released, 29);
  // The reset coil is a 50 ohm load too.
  float R = 0;
  Bench::Read(reset, 0, &R);
  EXPECT_NEAR(R, 50.0f, 1e-3f);
  // Over-voltage on the reset coil: its own message.
  reset->Drive(0, 8, kSchMinResistance);
  bench.Step(100);
  EXPECT_EQ(r->resetCoilBurnt, 1);
  EXPECT_EQ(r->coilBurnt, 0);
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.Messages()[0], L"В реле \"Р1\" перегорела обмотка 2");
  // The main coil still pulls in.
  set->Drive(0, 5, kSchMinResistance);
  bench.Step(100);
  EXPECT_EQ(r->armature, 1);
  bench.Stop();
}

// ------------------------------------------------------------ contacts

// A relay with its coil on a switchable source, and a source and a load
// reader on the contacts of its first group.
struct ContactBench {
  ContactBench(unsigned char kind, float volts, float ohms) {
    r = bench.Create<CSCHRelay>("Relay");
    r->groupKinds[0] = kind;
    r->BuildPins();
    coil = bench.Source(0);
    coilGround = bench.Ground();
    bench.Wire(coil, 0, r, 0);
    bench.Wire(r, 1, coilGround, 0);
    supply = bench.Source(volts, ohms);
    bench.Wire(supply, 0, r, 2);
    for (int i = 3; i < r->pinCount; i++) {
      circuit::Part* p = bench.Ground();
      bench.Wire(r, i, p, 0);
      loads.push_back(p);
    }
    bench.Build();
    bench.Start();
  }
  ~ContactBench() { bench.Stop(); }
  // What the supply sees: the resistance behind its pin.
  float SupplyLoad() {
    float R = 0;
    Bench::Read(supply, 0, &R);
    return R;
  }
  // What a contact's far end sees: the voltage of the rest of its net.
  float ContactVoltage(int load) { return Bench::Read(loads[load], 0); }
  Bench bench;
  CSCHRelay* r;
  circuit::Part* coil;
  circuit::Part* coilGround;
  circuit::Part* supply;
  std::vector<circuit::Part*> loads;
};

TEST(Relay, ContactGroupsJoinAndReleaseTheirNets) {
  struct Case {
    unsigned char kind;
    unsigned char armature;
    std::vector<bool> joined;  // per contact
  };
  const Case cases[] = {
      {kElecRelayNormallyOpen, 0, {false}},       {kElecRelayNormallyOpen, 1, {true}},
      {kElecRelayNormallyClosed, 0, {true}},      {kElecRelayNormallyClosed, 1, {false}},
      {kElecRelayChangeover, 0, {false, true}},   {kElecRelayChangeover, 1, {true, false}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << int(k.kind) << ", armature " << int(k.armature));
    // 12 V behind 100 ohm: far below every contact limit.
    ContactBench c(k.kind, 12, 100);
    c.coil->Drive(0, k.armature ? 5.0f : 0.0f, kSchMinResistance);
    c.bench.Step(100);
    ASSERT_EQ(c.r->armature, k.armature);
    for (size_t i = 0; i < k.joined.size(); i++) {
      // A joined contact shows the supply to its load: 12 V behind 100 ohm.
      float R = 0;
      float U = Bench::Read(c.loads[i], 0, &R);
      if (k.joined[i]) {
        EXPECT_NEAR(U, 12.0f, 1e-3f) << "contact " << i;
        EXPECT_NEAR(R, 100.0f, 1e-2f) << "contact " << i;
      } else {
        EXPECT_NEAR(U, 0.0f, 1e-3f) << "contact " << i;
        EXPECT_GT(R, 4e6f) << "contact " << i;
      }
    }
    // The supply sees the load of the joined contact or nothing.
    bool any = false;
    for (bool j : k.joined) any = any || j;
    if (any) EXPECT_NEAR(c.SupplyLoad(), 0.0f, 1e-3f);
    else EXPECT_GT(c.SupplyLoad(), 4e6f);
    EXPECT_EQ(c.r->burnt, 0);
  }
}

TEST(Relay, ContactBelowItsLimitsHolds) {
  // 12 V behind 1 ohm into ground: dU 12 V, P = 144 W, below 27710 W, and
  // the smoothed power approaches 144 W < 300 W.
  LogCapture log;
  ContactBench c(kElecRelayNormallyOpen, 12, 1);
  c.coil->Drive(0, 5, kSchMinResistance);
  c.bench.Step(100, 1e-3f);
  c.bench.Step(2000, 0.01f);
  EXPECT_EQ(c.r->armature, 1);
  EXPECT_NEAR(c.r->smoothedContactPower[0], 144.0f, 0.2f);
  EXPECT_LT(c.r->smoothedContactPower[0], 144.0f);
  EXPECT_EQ(c.r->groupBurnt[0], 0);
  EXPECT_EQ(log.Count(), 0);
}

TEST(Relay, ContactBurnsOnItsSmoothedPower) {
  // 12 V behind 0.1 ohm: P = 144 / (0.1 + 1e-5) = 1439.86 W; smoothed with
  // 1 s, it passes 300 W when 0.999^n < 1 - 300 / P: n = 234 steps after
  // the contact first closes.
  LogCapture log;
  ContactBench c(kElecRelayNormallyOpen, 12, 0.1f);
  c.coil->Drive(0, 5, kSchMinResistance);
  int closed = 0;
  for (int n = 1; n <= 100 && !closed; n++) {
    c.bench.Step(1);
    if (c.r->armature) closed = n;
  }
  ASSERT_EQ(closed, 29);
  const double P = 144 / (0.1 + 1e-5);
  const int expected = FirstStepAbove(0, P, 300, 1e-3);
  EXPECT_EQ(expected, 234);
  // The closing step already counted once.
  int burntAt = 0;
  for (int n = 2; n <= 400 && !burntAt; n++) {
    c.bench.Step(1);
    if (c.r->groupBurnt[0]) burntAt = n;
  }
  EXPECT_EQ(burntAt, expected);
  EXPECT_EQ(c.r->burnt, 1);
  // Joined in the burning step, isolated from the next one on.
  EXPECT_NEAR(c.ContactVoltage(0), 12.0f, 1e-2f);
  c.bench.Step(3);
  EXPECT_GT(c.SupplyLoad(), 4e6f);
  EXPECT_NEAR(c.ContactVoltage(0), 0.0f, 1e-3f);
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.Messages()[0], L"В реле \"Р1\" перегорели контакты!");
  // The coil works on.
  EXPECT_EQ(c.r->coilBurnt, 0);
  EXPECT_EQ(c.r->armature, 1);
}

TEST(Relay, ContactBurnsAtOnceAboveTheInstantLimits) {
  struct Case {
    float volts, ohms;
    const char* what;
  };
  // 300 V > 277 V across the contact; 100 V behind 0.1 ohm is 100000 W >
  // 27710 W.
  const Case cases[] = {{300, 1e6f, "voltage"}, {100, 0.1f, "power"}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    LogCapture log;
    ContactBench c(kElecRelayChangeover, k.volts, k.ohms);
    c.bench.Step(1);  // released: common on the normally closed contact
    EXPECT_EQ(c.r->groupBurnt[0], 1);
    c.bench.Step(5);
    EXPECT_EQ(log.Count(), 1);
    for (size_t i = 0; i < c.loads.size(); i++) EXPECT_NEAR(c.ContactVoltage(static_cast<int>(i)), 0.0f, 1e-3f);
  }
}

TEST(Relay, BurntGroupLeavesTheOthersWorking) {
  LogCapture log;
  Bench bench;
  auto* r = bench.Create<CSCHRelay>("Relay");
  r->groupCount = 2;
  r->groupKinds[0] = kElecRelayNormallyClosed;
  r->groupKinds[1] = kElecRelayNormallyClosed;
  r->BuildPins();
  ASSERT_EQ(r->pinCount, 6);
  auto* hot = bench.Source(400);
  auto* cold = bench.Source(5, 100);
  auto* g1 = bench.Ground();
  auto* g2 = bench.Ground();
  bench.Wire(hot, 0, r, 2);
  bench.Wire(r, 3, g1, 0);
  bench.Wire(cold, 0, r, 4);
  bench.Wire(r, 5, g2, 0);
  bench.Build();
  bench.Start();
  bench.Step(5);
  EXPECT_EQ(r->groupBurnt[0], 1);
  EXPECT_EQ(r->groupBurnt[1], 0);
  float R = 0;
  Bench::Read(cold, 0, &R);
  EXPECT_NEAR(R, 0.0f, 1e-3f);  // the second group still joins
  Bench::Read(hot, 0, &R);
  EXPECT_GT(R, 4e6f);
  EXPECT_EQ(log.Count(), 1);
  bench.Stop();
}

TEST(Relay, ContactPassesADataSource) {
  // A serial line driven at 5 V idle and 0 V for the other level, through
  // the closed contact of a released relay to a reader.
  Bench bench;
  auto* r = bench.Create<CSCHRelay>("Relay");
  r->groupKinds[0] = kElecRelayNormallyClosed;
  r->BuildPins();
  circuit::Part* driver = bench.Part(1);
  circuit::Part* reader = bench.Part(1);
  bench.Wire(driver, 0, r, 2);
  bench.Wire(r, 3, reader, 0);
  bench.Build();
  bench.Start();
  SchSignalSource source = {nullptr, 0.5f};
  driver->SetPinState(0, comptest::SerialDataState(&source));
  bench.Step(2);
  SchPinState seen = Bench::State(reader, 0);
  EXPECT_EQ(seen.sourceKind, kSchSourceSerial);
  EXPECT_EQ(seen.source, &source);
  EXPECT_NEAR(seen.U, 5.0f, 1e-3f);
  EXPECT_NEAR(seen.U2, 0.0f, 1e-3f);
  EXPECT_EQ(r->burnt, 0);
  bench.Stop();
}

// ------------------------------------------------------------ drawing

TEST(Relay, MarkingEscapes) {
  struct Case {
    const wchar_t* text;
    const wchar_t* shown;
    float height;
  };
  const Case cases[] = {
      {L"\\B\\BK1", L"K1", 3.125f},  // 2 x 1.25 x 1.25
      {L"\\BK1", L"K1", 2.5f},       {L"\\sK1", L"K1", 1.6f},   {L"\\B\\sK1", L"K1", 2.0f},
      {L"\\xK1", L"xK1", 2.0f},      {L"\\\\BK", L"K", 2.5f},   {L"K\\B1", L"K\\B1", 2.0f},
      {L"\\", L"", 2.0f},            {L"\\B", L"", 2.5f},       {L"", L"", 2.0f},
  };
  for (const Case& c : cases) {
    float h = 0;
    EXPECT_STREQ(ParseRelayMarking(c.text, &h), c.shown) << c.text;
    EXPECT_FLOAT_EQ(h, c.height) << c.text;
  }
}

TEST(Relay, SymbolOfTheDefaultRelay) {
  Bench bench;
  auto* r = bench.Create<CSCHRelay>("Relay");
  comptest::SymbolCanvas canvas(80, 120);
  EXPECT_TRUE(canvas.Paint(r, 10, 10));  // 10..50 x 10..90, cx 30
  // The coil 20..40 x 50..90, white inside, leads at y 70 out to 9 and 51.
  EXPECT_EQ(canvas.Pixel(20, 70), kBlack);
  EXPECT_EQ(canvas.Pixel(39, 70), kBlack);
  EXPECT_EQ(canvas.Pixel(25, 60), kWhite);
  EXPECT_EQ(canvas.Pixel(10, 70), kBlack);
  EXPECT_EQ(canvas.Pixel(15, 70), kBlack);
  EXPECT_EQ(canvas.Pixel(45, 70), kBlack);
  EXPECT_EQ(canvas.Pixel(50, 70), kBlack);
  // The open contact at y 40: the common lead, the blade up to (40, 28),
  // the fixed contact from the right, a gap between.
  EXPECT_EQ(canvas.Pixel(12, 40), kBlack);
  EXPECT_EQ(canvas.Pixel(45, 40), kBlack);
  EXPECT_EQ(canvas.Pixel(37, 40), kWhite);
  EXPECT_GT(canvas.InkIn(36, 28, 40, 32), 0);
  // The mechanical link: dotted from the coil up to y 34.
  EXPECT_GT(canvas.InkIn(30, 35, 31, 50), 0);
  EXPECT_LT(canvas.InkIn(30, 35, 31, 50), 15);
  EXPECT_EQ(canvas.InkIn(30, 10, 31, 30), 0);
  // No "+" without polarity; the name below the body.
  EXPECT_EQ(canvas.InkIn(10, 71, 19, 85), 0);
  EXPECT_GT(canvas.InkIn(10, 90, 50, 110), 0);
  EXPECT_TRUE(canvas.Save(L"relay_symbol.bmp"));
}

TEST(Relay, SymbolOfALatchingRelayWithGroups) {
  Bench bench;
  auto* r = bench.Create<CSCHRelay>("Relay");
  r->relayKind = kElecRelayWithResetCoil;
  r->polarityMode = kElecRelayPolarised;
  r->groupCount = 3;
  r->groupKinds[0] = kElecRelayNormallyOpen;
  r->groupKinds[1] = kElecRelayNormallyClosed;
  r->groupKinds[2] = kElecRelayChangeover;
  r->BuildPins();
  comptest::SymbolCanvas canvas(80, 260);
  EXPECT_TRUE(canvas.Paint(r, 10, 10));  // height 40 + 90 + 50 = 180: 10..190
  const int bottom = 190, top = 10;
  // "+" by both coils.
  EXPECT_GT(canvas.InkIn(10, bottom - 19, 19, bottom - 5), 0);
  EXPECT_GT(canvas.InkIn(10, top + 8, 19, top + 20), 0);
  // The reset coil 20..40 x 10..50.
  EXPECT_EQ(canvas.Pixel(20, top + 30), kBlack);
  EXPECT_GT(canvas.InkIn(10, top + 20, 20, top + 21), 0);  // partly under the "+"
  EXPECT_EQ(canvas.Pixel(50, top + 20), kBlack);
  // Group 2 (closed) at y = 110: its blade dips to (20, 106) and rises to
  // (42, 114); group 3 (changeover) at y = 80 with the contact at 65.
  EXPECT_EQ(canvas.Pixel(20, 108), kBlack);
  EXPECT_EQ(canvas.Pixel(45, 65), kBlack);
  EXPECT_EQ(canvas.Pixel(40, 68), kBlack);
  // The link runs up to the reset coil.
  EXPECT_GT(canvas.InkIn(30, 52, 31, 60), 0);
  EXPECT_TRUE(canvas.Save(L"relay_symbol_latching.bmp"));
}

TEST(Relay, SymbolWithoutGroupsHasNoLink) {
  Bench bench;
  auto* r = bench.Create<CSCHRelay>("Relay");
  r->groupCount = 0;
  r->BuildPins();
  r->SetName(nullptr);
  comptest::SymbolCanvas canvas(80, 80);
  EXPECT_TRUE(canvas.Paint(r, 10, 10));  // 10..60
  EXPECT_EQ(canvas.InkIn(0, 0, 80, 20), 0);
  EXPECT_EQ(canvas.InkIn(0, 60, 80, 80), 0);  // no name either
}

// Pixels of the two canvases that differ.
int Differences(const comptest::FootprintCanvas& a, const comptest::FootprintCanvas& b) {
  int n = 0;
  for (int y = 0; y < a.painter.height; y++)
    for (int x = 0; x < a.painter.width; x++)
      if (GetPixel(a.painter.dc, x, y) != GetPixel(b.painter.dc, x, y)) n++;
  return n;
}

// Whether a pixel next to the point (or the point itself) is black.
bool BlackNear(const comptest::FootprintCanvas& c, float x, float y) {
  POINT p = c.painter.MapPoint(x, y);
  for (int dy = -1; dy <= 1; dy++)
    for (int dx = -1; dx <= 1; dx++)
      if (GetPixel(c.painter.dc, p.x + dx, p.y + dy) == kBlack) return true;
  return false;
}

TEST(Relay, FootprintBoxes) {
  Bench bench;
  auto* r = bench.Create<CSCHRelay>("Relay");
  const COLORREF body = RGB(170, 170, 187);
  {
    comptest::FootprintCanvas board(20, 400, 400);
    EXPECT_TRUE(board.Paint(r));  // 10 x 10 mm box
    EXPECT_EQ(board.At(0, 0), body);
    EXPECT_EQ(board.At(4.7f, 4.7f), body);
    EXPECT_EQ(board.At(5.3f, 0), kWhite);
    EXPECT_TRUE(BlackNear(board, -5, 0));  // the outline
  }
  {
    r->cornerRadius = 3;
    comptest::FootprintCanvas board(20, 400, 400);
    EXPECT_TRUE(board.Paint(r));
    EXPECT_EQ(board.At(0, 0), body);
    EXPECT_EQ(board.At(4.6f, 4.6f), kWhite);  // the rounded corner
    EXPECT_EQ(board.At(4.6f, 0), body);
  }
  {
    r->packageShape = kElecRelayCylinder;
    r->colorScheme = 9;  // past the table: its last colour
    comptest::FootprintCanvas board(20, 400, 400);
    EXPECT_TRUE(board.Paint(r));
    EXPECT_EQ(board.At(0, 0), RGB(204, 204, 204));
    EXPECT_EQ(board.At(4.0f, 4.0f), kWhite);
    EXPECT_EQ(board.At(4.5f, 0), RGB(204, 204, 204));
  }
  {
    r->packageShape = 5;  // no body
    comptest::FootprintCanvas board(20, 400, 400);
    EXPECT_TRUE(board.Paint(r));
    EXPECT_EQ(board.InkCount(), 0);
  }
}

TEST(Relay, FootprintRimDrawsASecondOutline) {
  Bench bench;
  auto* r = bench.Create<CSCHRelay>("Relay");
  r->colorScheme = 1;
  comptest::FootprintCanvas plain(20, 400, 400);
  EXPECT_TRUE(plain.Paint(r));
  r->rim = 1;
  comptest::FootprintCanvas rimmed(20, 400, 400);
  EXPECT_TRUE(rimmed.Paint(r));
  // The inner outline 1 mm in: a black line at x = 4 mm.
  POINT p = rimmed.painter.MapPoint(4, 0);
  EXPECT_TRUE(BlackNear(rimmed, 4, 0));
  EXPECT_EQ(GetPixel(plain.painter.dc, p.x, p.y), RGB(255, 204, 170));
  EXPECT_EQ(rimmed.At(0, 0), RGB(255, 204, 170));
}

TEST(Relay, FootprintWithEars) {
  Bench bench;
  auto* r = bench.Create<CSCHRelay>("Relay");
  r->bodyLength = 20;
  r->bodyWidth = 10;
  r->earLength = 5;
  r->colorScheme = 2;
  r->BuildPins();
  r->boardX = 1.27f;
  r->boardY = -2.54f;
  comptest::FootprintCanvas board(15, 600, 400);
  EXPECT_TRUE(board.Paint(r));
  const COLORREF body = RGB(85, 85, 85), hole = RGB(0, 102, 0);
  // Ears from x -15 to 15, y -4 to 4; holes of 1.5 mm at x = +-11.
  EXPECT_EQ(board.At(-11, 0), hole);
  EXPECT_EQ(board.At(11, 0), hole);
  EXPECT_EQ(board.At(-13.5f, 0), body);
  EXPECT_EQ(board.At(-11, 3.2f), body);
  EXPECT_EQ(board.At(-11, 4.5f), kWhite);
  EXPECT_EQ(board.At(-15.5f, 0), kWhite);
  EXPECT_EQ(board.At(0, 4.5f), body);  // the body is wider than the ears
  EXPECT_TRUE(board.Save(L"relay_footprint_ears.bmp"));
}

TEST(Relay, MarkingIsDrawnWithoutItsEscapes) {
  Bench bench;
  auto* r = bench.Create<CSCHRelay>("Relay");
  r->bodyLength = 20;
  r->bodyWidth = 12;
  r->BuildPins();
  DbRow row(L"relays", {{"model", "X"}, {"U", "5"}, {"I", "100"}, {"n", "1"}, {"length", "20"},
                        {"width", "12"}, {"str1", "\\B\\BK1"}, {"str3", "\\s5V"}});
  r->ApplyDbRecord(row.Record());
  comptest::FootprintCanvas marked(20, 500, 400);
  EXPECT_TRUE(marked.Paint(r));
  // The same body with the texts drawn by hand: "K1" 3.125 mm high at
  // (0, -W/4), "5V" 1.6 mm high at (0, W/4), in the marking colour.
  for (wchar_t*& text : r->marking) {
    FreeBuffer(text);
    text = nullptr;
  }
  comptest::FootprintCanvas expected(20, 500, 400);
  EXPECT_TRUE(expected.Paint(r));
  EXPECT_GT(Differences(marked, expected), 50);  // the texts
  COLORREF old = SetTextColor(expected.painter.dc, RGB(102, 102, 102));
  expected.painter.DrawText(0, -3, 3.125f, L"K1", 0);
  expected.painter.DrawText(0, 3, 1.6f, L"5V", 0);
  SetTextColor(expected.painter.dc, old);
  EXPECT_EQ(Differences(marked, expected), 0);
  EXPECT_TRUE(marked.Save(L"relay_footprint_marking.bmp"));
}

TEST(Relay, ScreenshotOfTheSampleRelays) {
  comptest::RegistryScope registry;
  comptest::SampleTable table(L"relays");
  ASSERT_TRUE(table.loaded);
  comptest::FootprintCanvas board(6, 680, 200);
  comptest::SymbolCanvas symbols(400, 300);
  const float x[4] = {-40, -18, 0, 32};
  for (int i = 0; i < table.table.GetRecordCount() && i < 4; i++) {
    auto r = comptest::NewDetached<CSCHRelay>("Relay");
    ASSERT_TRUE(r);
    r->ApplyDbRecord(table.table.GetRecord(i));
    r->boardX = x[i];
    EXPECT_TRUE(board.Paint(r.get()));
    EXPECT_TRUE(symbols.Paint(r.get(), 20 + 95 * i, 20));
  }
  EXPECT_TRUE(board.Save(L"relay_footprints.bmp"));
  EXPECT_TRUE(symbols.Save(L"relay_symbols.bmp"));
}

}  // namespace
