// The limit switch: creation, the pins of each contact technology, database
// rows, its record, the contact just before and at its angle for the three
// technologies, a pulse source passing the changeover contact, and its
// symbol.
#include "components/devices/sensors/limit_switcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/devices/device_classes.h"
#include "components/devices/sensors/encoder.h"
#include "components/devices/sensors/potentiometric.h"
#include "components/electronic/resister.h"
#include "support/test_support.h"
#include "tests/components/devices/sensors/sensor_kit.h"

namespace {

using comptest::DbRow;
using comptest::Golden;
using comptest::LogCapture;
using devtest::DeviceBench;

const float kOpen = kSchOpenResistance;
// A reader sees an open pin's 5 megohm through the difference of its net's
// sums, exact to some parts in a million.
const float kOpenTolerance = 1e-4f * kSchOpenResistance;

TEST(SensorClasses, TheSensorRowsGetTheirCreators) {
  devtest::DeviceRegistryScope scope;
  EXPECT_EQ(g_schClassRegistry.Find("Encoder")->creator, CreateCSCHEncoder);
  EXPECT_EQ(g_schClassRegistry.Find("potentiometric")->creator, CreateCSCHPotentiometric);
  EXPECT_EQ(g_schClassRegistry.Find("LimitSwitcher")->creator, CreateCSCHLimitSwitcher);
}

void ExpectPinOffsets(const CSCHLimitSwitcher* s, const std::vector<int>& offsets) {
  ASSERT_EQ(s->pinCount, static_cast<int>(offsets.size()));
  for (int i = 0; i < s->pinCount; i++) {
    EXPECT_EQ(s->pins[i].side, kSchSideRight) << i;
    EXPECT_EQ(s->pins[i].offset, offsets[i]) << i;
    EXPECT_EQ(s->pins[i].description, nullptr) << i;
    EXPECT_EQ(s->pins[i].name, nullptr) << i;
  }
}

TEST(LimitSwitcher, CreatedThroughTheRegistryWithItsDefaults) {
  DeviceBench bench;
  auto* s = bench.Create<CSCHLimitSwitcher>("LimitSwitcher");
  ASSERT_NE(s, nullptr);
  EXPECT_STREQ(s->className, "LimitSwitcher");
  EXPECT_EQ(s->rect.right - s->rect.left, 50);
  EXPECT_EQ(s->rect.bottom - s->rect.top, 60);
  EXPECT_EQ(s->tech, CSCHLimitSwitcher::kNormallyOpen);
  EXPECT_EQ(s->friction, 0.0f);
  ExpectPinOffsets(s, {55, 5});
}

TEST(LimitSwitcher, PinsOfEachTechnology) {
  devtest::DeviceRegistryScope registry;
  auto s = comptest::NewDetached<CSCHLimitSwitcher>("LimitSwitcher");
  s->tech = CSCHLimitSwitcher::kChangeover;
  ASSERT_TRUE(s->BuildPins());
  ExpectPinOffsets(s.get(), {55, 20, 5});
  // Another technology leaves the pins as they were.
  s->tech = 7;
  ASSERT_TRUE(s->BuildPins());
  ExpectPinOffsets(s.get(), {55, 20, 5});
  s->tech = CSCHLimitSwitcher::kNormallyClosed;
  ASSERT_TRUE(s->BuildPins());
  ExpectPinOffsets(s.get(), {55, 5});
}

TEST(LimitSwitcher, DatabaseRowsSetTheTechnologyAndPins) {
  DeviceBench bench;
  auto* s = bench.Create<CSCHLimitSwitcher>("LimitSwitcher");
  DbRow row(L"limitswitch", {{"model", "D2F-L"}, {"tech", "2"}, {"Form", "1"}, {"mass", "0.008"},
                             {"Length", "13"}, {"price", "90"}});
  s->ApplyDbRecord(row.Record());
  EXPECT_EQ(s->tech, CSCHLimitSwitcher::kChangeover);
  EXPECT_EQ(s->form, 1);
  EXPECT_EQ(s->mass, 0.008f);
  EXPECT_FLOAT_EQ(s->length, 0.013f);
  EXPECT_STREQ(s->model, "D2F-L");
  EXPECT_STREQ(s->tableName, L"limitswitch");
  ExpectPinOffsets(s, {55, 20, 5});

  comptest::SampleTable table(L"limitswitch");
  ASSERT_TRUE(table.loaded);
  bool techs[3] = {};
  for (int i = 0; i < table.table.GetRecordCount(); i++) {
    CompDbRecord* sample = table.table.GetRecord(i);
    EXPECT_STREQ(sample->GetTextByName("class"), "LimitSwitcher");
    auto made = comptest::NewDetached<CSCHLimitSwitcher>("LimitSwitcher");
    made->ApplyDbRecord(sample);
    ASSERT_LE(made->tech, 2);
    techs[made->tech] = true;
    EXPECT_EQ(made->pinCount, made->tech == CSCHLimitSwitcher::kChangeover ? 3 : 2);
  }
  EXPECT_TRUE(techs[0] && techs[1] && techs[2]);
}

TEST(LimitSwitcher, RecordLayoutReadsBackAndEveryCutLoadsSafely) {
  devtest::DeviceRegistryScope registry;
  auto s = comptest::NewDetached<CSCHLimitSwitcher>("LimitSwitcher");
  s->tech = CSCHLimitSwitcher::kChangeover;
  s->BuildPins();
  s->SetName(L"S1");
  s->mass = 0.01f;
  EXPECT_TRUE(velktest::BytesEqual(devtest::FieldsBefore<CSCHDevice>(s.get()), Golden().B(2).Bytes()));
  std::vector<uint8_t> bytes = comptest::SaveBytes(s.get());
  comptest::ForEachTruncation<CSCHLimitSwitcher>("LimitSwitcher", bytes, [&](CSCHLimitSwitcher* copy, size_t n) {
    // The pins are built from the first byte, before the device record
    // reads one wire identity a pin.
    EXPECT_EQ(copy->tech, n == 0 ? 0 : 2);
    EXPECT_EQ(copy->pinCount, n == 0 ? 2 : 3);
    if (n == bytes.size()) {
      EXPECT_STREQ(copy->instanceName, L"S1");
      EXPECT_EQ(copy->mass, 0.01f);
      EXPECT_TRUE(velktest::BytesEqual(devtest::ResavedBytes(copy), bytes));
    }
  });
}

// A technology byte beyond the three leaves the pins as they were made (two)
// and reads back byte for byte; such a switch drives nothing.
TEST(LimitSwitcher, AnUnknownTechnologyByteReadsBack) {
  devtest::DeviceRegistryScope registry;
  for (int tech : {3, 0x7F, 0xFF}) {
    SCOPED_TRACE(tech);
    auto source = comptest::NewDetached<CSCHLimitSwitcher>("LimitSwitcher");
    source->SetName(L"S1");
    CMemoryStream device;
    source->CSCHDevice::Save(&device);
    const std::vector<uint8_t> bytes = devtest::Concat(Golden().B(tech).Bytes(), comptest::StreamBytes(device));
    auto s = comptest::NewDetached<CSCHLimitSwitcher>("LimitSwitcher");
    comptest::LoadBytes(s.get(), bytes);
    EXPECT_EQ(s->tech, tech);
    EXPECT_EQ(s->pinCount, 2);
    EXPECT_EQ(s->pins[0].offset, 55);
    EXPECT_EQ(s->pins[1].offset, 5);
    EXPECT_STREQ(s->instanceName, L"S1");
    EXPECT_TRUE(velktest::BytesEqual(devtest::ResavedBytes(s.get()), bytes));
  }
}

TEST(LimitSwitcher, SchemeWithAChangeoverSwitchReadsBack) {
  DeviceBench bench;
  auto* s = bench.Create<CSCHLimitSwitcher>("LimitSwitcher");
  s->tech = CSCHLimitSwitcher::kChangeover;
  s->BuildPins();
  s->SetName(L"S1");
  // A part the registry knows: the reader makes every block by its class.
  bench.Wire(s, 2, bench.Create<CSCHResister>("Resister"), 0);
  std::unique_ptr<SchScheme> copy = comptest::ReadBack(bench.scheme);
  ASSERT_TRUE(copy);
  auto* back = dynamic_cast<CSCHLimitSwitcher*>(copy->FindBlockByName(L"S1"));
  ASSERT_NE(back, nullptr);
  ASSERT_EQ(back->pinCount, 3);
  EXPECT_TRUE(back->pins[2].wire && !back->pins[0].wire && !back->pins[1].wire);
}

// A switch of the technology, its first pin (the common) on 5 V behind 100
// ohm, a probe on each other pin.
struct SwitchRig : sensortest::ProbedSensor<CSCHLimitSwitcher> {
  explicit SwitchRig(unsigned char tech) : ProbedSensor("LimitSwitcher") {
    sensor->tech = tech;
    EXPECT_TRUE(sensor->BuildPins());
    Wire();
    Drive(0, 5, 100);
  }
  // Whether the pin is joined to the common: its probe then sees 5 V behind
  // 100 ohm, else an open pin.
  bool Joined(int pin) {
    float R = 0;
    float U = Read(pin, &R);
    if (R < 101) {
      EXPECT_NEAR(U, 5.0f, 1e-4f);
      EXPECT_NEAR(R, 100.0f, 1e-3f);
      return true;
    }
    EXPECT_NEAR(U, 0.0f, 1e-6f);
    EXPECT_NEAR(R, kOpen, kOpenTolerance);
    return false;
  }
};

TEST(LimitSwitcher, EachTechnologyJustBeforeAndAtItsAngle) {
  struct Case {
    unsigned char tech;
    float angle;
    bool pressed;
  };
  const float angles[] = {0, 0.029f, -0.029f, 0.03f, -0.03f, 0.5f};
  const bool pressed[] = {true, true, true, false, false, false};
  for (unsigned char tech : {0, 1, 2}) {
    SwitchRig rig(tech);
    rig.Start();
    for (int i = 0; i < 6; i++) {
      SCOPED_TRACE(testing::Message() << "tech " << int(tech) << " angle " << angles[i]);
      rig.StepAt(angles[i], 2);
      EXPECT_EQ(rig.sensor->Pressed(), pressed[i]);
      if (tech == CSCHLimitSwitcher::kChangeover) {
        EXPECT_EQ(rig.Joined(1), pressed[i]);
        EXPECT_EQ(rig.Joined(2), !pressed[i]);
      } else {
        // Normally open: closed when pressed; normally closed: the opposite.
        EXPECT_EQ(rig.Joined(1), pressed[i] == (tech == CSCHLimitSwitcher::kNormallyOpen));
      }
    }
    rig.bench.Stop();
  }
}

TEST(LimitSwitcher, AClosedContactPassesBothWays) {
  SwitchRig rig(CSCHLimitSwitcher::kNormallyClosed);
  rig.Drive(1, 2, 300);
  rig.Start();
  rig.StepAt(1, 2);
  float R = 0;
  // Each side sees the other's net.
  EXPECT_NEAR(rig.Read(0, &R), 2.0f, 1e-4f);
  EXPECT_NEAR(R, 300.0f, 1e-2f);
  EXPECT_NEAR(rig.Read(1, &R), 5.0f, 1e-4f);
  EXPECT_NEAR(R, 100.0f, 1e-2f);
  rig.bench.Stop();
}

TEST(LimitSwitcher, AChangeoverContactPassesAPulseSource) {
  DeviceBench bench;
  auto* s = bench.Create<CSCHLimitSwitcher>("LimitSwitcher");
  s->tech = CSCHLimitSwitcher::kChangeover;
  s->BuildPins();
  auto* driver = bench.Add<devtest::StateDriver>();
  driver->SetLevels(5, 10, 0, 10, kSchSourcePower7);
  bench.Wire(driver, 0, s, CSCHLimitSwitcher::kCommonPin);
  circuit::Part* probes[3] = {nullptr, bench.Part(1), bench.Part(1)};
  bench.Wire(s, 1, probes[1], 0);
  bench.Wire(s, 2, probes[2], 0);
  bench.Build();
  bench.Start();
  for (float angle : {0.0f, 0.2f, 0.01f}) {
    SCOPED_TRACE(angle);
    const int joined = angle < 0.03f ? 1 : 2, open = 3 - joined;
    s->SetShaftAngle(angle);
    bench.Step(2, 1e-3f);
    SchPinState on = devtest::StateAt(probes[joined], 0);
    EXPECT_EQ(on.source, &driver->source);
    EXPECT_EQ(on.sourceKind, kSchSourcePower7);
    sensortest::ExpectLevels(on, 5, 10, 0, 10);
    SchPinState off = devtest::StateAt(probes[open], 0);
    EXPECT_EQ(off.source, nullptr);
    sensortest::ExpectLevels(off, 0, kOpen, 0, kOpen);
  }
  bench.Stop();
}

TEST(LimitSwitcher, NeverBurnsAndSwitchesWhateverItsBurntFlag) {
  LogCapture log;
  SwitchRig rig(CSCHLimitSwitcher::kNormallyOpen);
  rig.Drive(0, 1000, 1e-5f);
  rig.Start();
  rig.sensor->burnt = 1;
  rig.StepAt(0, 2);
  float R = 0;
  EXPECT_NEAR(rig.Read(1, &R), 1000.0f, 1e-2f);
  EXPECT_LT(R, 1e-3f);
  rig.StepAt(1, 2);
  rig.Read(1, &R);
  EXPECT_NEAR(R, kOpen, kOpenTolerance);
  EXPECT_EQ(log.Count(), 0);
  rig.bench.Stop();
}

TEST(LimitSwitcher, AnUnknownTechnologyDrivesNothing) {
  DeviceBench bench;
  auto* s = bench.Create<CSCHLimitSwitcher>("LimitSwitcher");
  s->tech = 5;
  auto* a = bench.Source(3, 100);
  auto* probe = bench.Part(1);
  bench.Wire(a, 0, s, 0);
  bench.Wire(s, 1, probe, 0);
  bench.Build();
  bench.Start();
  s->SetShaftAngle(0);
  bench.Step(2, 1e-3f);
  float R = 0;
  EXPECT_NEAR(comptest::Bench::Read(probe, 0, &R), 0.0f, 1e-6f);
  EXPECT_NEAR(R, kOpen, kOpenTolerance);  // the pin's start-up 5 megohm
  bench.Stop();
}

// ------------------------------------------------------------ drawing

TEST(LimitSwitcher, SymbolOfEachTechnology) {
  DeviceBench bench;
  struct Probe {
    int x, y;  // from the block's top-left corner; the block is 50 x 60
    bool ink;
  };
  struct Case {
    unsigned char tech;
    std::vector<Probe> probes;
  };
  const std::vector<Probe> always = {
      {49, 5, true},   // the lead of the first pin
      {30, 15, true},  // the fixed contact
      {8, 34, true},   // the arrow's lower end pixel
      {4, 28, true},   // its upper stroke
      {4, 32, true},   // its lower stroke
      {40, 30, false},
  };
  const Case cases[] = {
      // Normally open: the moving contact down to (20, 35); the lower
      // contact from (30, 35) down and out to the second pin at 55.
      {0, {{25, 30, true}, {24, 25, false}, {30, 45, true}, {49, 55, true}, {49, 40, false}}},
      // Normally closed: across to (20, 25) and down to (33, 38).
      {1, {{24, 25, true}, {32, 37, true}, {30, 45, true}, {49, 55, true}}},
      // Changeover: to (20, 38); a contact out at 40 px (pin 1) and one at 55
      // (pin 2) round the left.
      {2, {{30, 38, true}, {49, 40, true}, {30, 50, false}, {18, 45, true}, {49, 55, true}, {24, 25, false}}},
  };
  int x = 10;
  comptest::SymbolCanvas gallery(250, 100);
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.tech));
    auto* s = bench.Create<CSCHLimitSwitcher>("LimitSwitcher");
    s->tech = c.tech;
    s->BuildPins();
    s->SetName(L"S1");
    comptest::SymbolCanvas canvas(80, 90);
    EXPECT_TRUE(canvas.Paint(s, 10, 10));
    for (const Probe& p : always) EXPECT_EQ(canvas.Pixel(10 + p.x, 10 + p.y) != RGB(255, 255, 255), p.ink) << p.x << "," << p.y;
    for (const Probe& p : c.probes)
      EXPECT_EQ(canvas.Pixel(10 + p.x, 10 + p.y) != RGB(255, 255, 255), p.ink) << p.x << "," << p.y;
    // The moving contact crosses the row 32 px down left of the fixed one.
    EXPECT_GT(canvas.InkIn(10 + 22, 10 + 32, 10 + 28, 10 + 33), 0);
    // The dotted push rod: some of its 25 pixels inked, not all.
    int dots = canvas.InkIn(10 + 9, 10 + 30, 10 + 19, 10 + 31);
    EXPECT_GT(dots, 2);
    EXPECT_LT(dots, 10);
    // The name below, centred.
    EXPECT_GT(canvas.InkIn(10 + 10, 70, 10 + 40, 88), 0);
    EXPECT_EQ(canvas.InkIn(0, 72, 10 + 5, 90), 0);
    EXPECT_TRUE(gallery.Paint(s, x, 10));
    x += 80;
  }
  EXPECT_TRUE(gallery.Save(L"limit_switch_symbols.bmp"));
}

}  // namespace
