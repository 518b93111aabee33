// The servo: creation, database rows, its record, the supply load at rest
// and moving, the 1/128 dead band, the supply limits, the decoding of the
// pulse-width control signal, and its picture.
#include "components/devices/drives/servo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device_kit.h"
#include "kestui/graphics/image.h"
#include "support/test_support.h"

namespace {

using comptest::DbRow;
using comptest::Golden;
using comptest::LogCapture;
using devtest::DeviceBench;

const float kQuarterTurn = 3.1415927f / 4;

TEST(Servo, CreatedThroughTheRegistryWithItsDefaults) {
  DeviceBench bench;
  auto* s = bench.Create<CSCHServo>("servo");
  ASSERT_NE(s, nullptr);
  EXPECT_STREQ(s->className, "servo");
  EXPECT_EQ(s->rect.right - s->rect.left, 64);
  EXPECT_EQ(s->rect.bottom - s->rect.top, 100);
  ASSERT_EQ(s->pinCount, 3);
  const wchar_t* descriptions[] = {L"+ силового питания", L"Сигнал управления", L"\"Земля\""};
  const int offsets[] = {56, 70, 85};
  for (int i = 0; i < 3; i++) {
    EXPECT_STREQ(s->pins[i].description, descriptions[i]);
    EXPECT_EQ(s->pins[i].name, nullptr);
    EXPECT_EQ(s->pins[i].side, kSchSideLeft);
    EXPECT_EQ(s->pins[i].offset, offsets[i]);
  }
  EXPECT_EQ(s->controlType, 1);
  EXPECT_EQ(s->Umin, 4.8f);
  EXPECT_EQ(s->Umax, 6.0f);
  EXPECT_EQ(s->nominalTorque, 0.8526f);
  EXPECT_EQ(s->rotTime, 0.075f);
  EXPECT_EQ(s->range, kQuarterTurn);
  EXPECT_EQ(s->holdTorque, 2.1266f);
  EXPECT_EQ(s->staterDiameter, 0.04f);
  EXPECT_EQ(s->staterWidth, 0.02f);
  EXPECT_EQ(s->staterHeight, 0.0366f);
  EXPECT_EQ(s->mass, 0.01f);
  // (pi / 4) / 2 / 0.075 s; 2.1266 N·m x that / 6 V.
  EXPECT_NEAR(s->speed, 5.2359878f, 1e-5f);
  EXPECT_NEAR(s->runningCurrent, 1.8558086f, 1e-5f);
}

TEST(Servo, DatabaseRowConvertsTorquesAndTheRange) {
  DeviceBench bench;
  auto* s = bench.Create<CSCHServo>("servo");
  DbRow row(L"servo", {{"model", "S-1"}, {"controlType", "2"}, {"Umin", "4.5"}, {"Umax", "7.2"}, {"rotTime", "0.17"},
                       {"nominalTorque", "9.4"}, {"holdTorque", "11"}, {"range", "60"}, {"staterDiameter", "0.0407"},
                       {"staterWidth", "0.0197"}, {"staterHeight", "0.0429"}, {"mass", "55"}, {"price", "690"}});
  s->ApplyDbRecord(row.Record());
  EXPECT_EQ(s->controlType, 2);
  EXPECT_EQ(s->Umin, 4.5f);
  EXPECT_EQ(s->Umax, 7.2f);
  EXPECT_EQ(s->rotTime, 0.17f);
  EXPECT_NEAR(s->nominalTorque, 0.9212f, 1e-6f);  // 9.4 kg·cm x 9.8 / 100
  EXPECT_NEAR(s->holdTorque, 1.078f, 1e-6f);      // 11 kg·cm
  EXPECT_NEAR(s->range, 2.0943951f, 1e-6f);       // 60 degrees each side: 120 degrees
  EXPECT_EQ(s->staterDiameter, 0.0407f);
  EXPECT_EQ(s->mass, 55.0f);
  EXPECT_STREQ(s->model, "S-1");
  EXPECT_EQ(s->price, 690.0);
  // 1.0472 rad / 0.17 s; 1.078 x 6.16 / 7.2.
  EXPECT_NEAR(s->speed, 6.1599856f, 1e-5f);
  EXPECT_NEAR(s->runningCurrent, 0.9222867f, 1e-5f);
  // The defaults' conversions: 8.7 and 21.7 kg·cm, 22.5 degrees.
  DbRow defaults(L"servo", {{"model", "S-2"}, {"nominalTorque", "8.7"}, {"holdTorque", "21.7"}, {"range", "22.5"}});
  s->ApplyDbRecord(defaults.Record());
  EXPECT_NEAR(s->nominalTorque, 0.8526f, 1e-6f);
  EXPECT_NEAR(s->holdTorque, 2.1266f, 1e-6f);
  EXPECT_NEAR(s->range, kQuarterTurn, 1e-6f);
  // Umax and rotTime are 0 in that row: the derived values are guarded.
  EXPECT_EQ(s->speed, 0.0f);
  EXPECT_EQ(s->runningCurrent, 0.0f);
}

TEST(Servo, SampleDatabaseRows) {
  devtest::DeviceRegistryScope registry;
  comptest::SampleTable table(L"servo");
  ASSERT_TRUE(table.loaded);
  CompDbRecord* sg90 = table.Find("SG90");
  ASSERT_NE(sg90, nullptr);
  EXPECT_STREQ(sg90->GetTextByName("class"), "servo");
  auto s = comptest::NewDetached<CSCHServo>("servo");
  s->ApplyDbRecord(sg90);
  EXPECT_EQ(s->Umin, 4.8f);
  EXPECT_EQ(s->Umax, 6.0f);
  EXPECT_NEAR(s->holdTorque, 0.1764f, 1e-6f);  // 1.8 kg·cm
  EXPECT_NEAR(s->range, 3.1415927f, 1e-6f);    // 90 degrees each side
  EXPECT_NEAR(s->speed, 3.1415927f / 2 / 0.15f, 1e-4f);
  for (int i = 0; i < table.table.GetRecordCount(); i++) {
    s->ApplyDbRecord(table.table.GetRecord(i));
    EXPECT_GT(s->range, 0.0f);
    EXPECT_GT(s->runningCurrent, 0.0f);
  }
}

// ------------------------------------------------------------ record

TEST(Servo, RecordLayoutReadBackAndCuts) {
  devtest::DeviceRegistryScope registry;
  auto s = comptest::NewDetached<CSCHServo>("servo");
  s->controlType = 3;
  s->Umin = 4.5f;
  s->Umax = 7.2f;
  s->holdTorque = 1.078f;
  s->SetName(L"S1");
  std::vector<uint8_t> expected = Golden()
                                      .B(3).F(4.5f).F(7.2f).F(0.8526f).F(0.075f).F(kQuarterTurn).F(1.078f)
                                      .F(0.04f).F(0.02f).F(0.0366f).F(0.01f)
                                      .B(0)
                                      .Bytes();
  EXPECT_TRUE(velktest::BytesEqual(devtest::FieldsBefore<CSCHBlock>(s.get()), expected));
  std::vector<uint8_t> bytes = comptest::SaveBytes(s.get());
  comptest::ForEachTruncation<CSCHServo>("servo", bytes, [&](CSCHServo* copy, size_t n) {
    EXPECT_EQ(copy->pinCount, 3);
    if (n >= expected.size()) {
      EXPECT_EQ(copy->controlType, 3);
      EXPECT_EQ(copy->Umax, 7.2f);
      EXPECT_EQ(copy->mass, 0.01f);
      // The derived values follow what was read.
      EXPECT_NEAR(copy->runningCurrent, 1.078f * copy->speed / 7.2f, 1e-6f);
    }
    if (n == bytes.size()) {
      EXPECT_STREQ(copy->instanceName, L"S1");
      EXPECT_TRUE(velktest::BytesEqual(devtest::ResavedBytes(copy), bytes));
    }
  });
}

// ------------------------------------------------------------ simulation

// A servo on a supply (power pin) and ground, its control input on a state
// driver.
struct ServoRig {
  explicit ServoRig(float volts) {
    s = bench.Create<CSCHServo>("servo");
    s->SetName(L"S1");
    supply = bench.Source(volts);
    control = bench.Add<devtest::StateDriver>();
    bench.Wire(supply, 0, s, CSCHServo::kPowerPin);
    bench.Wire(s, CSCHServo::kGroundPin, bench.Ground(), 0);
    bench.Wire(control, 0, s, CSCHServo::kControlPin);
  }
  DeviceBench bench;
  CSCHServo* s;
  circuit::Part* supply;
  devtest::StateDriver* control;
};

TEST(Servo, LoadsItsSupplyAtRestAndMoving) {
  ServoRig rig(6);
  rig.control->SetLevels(0, kSchOpenResistance, 0, kSchOpenResistance, kSchSourceOwnWeight);
  rig.control->state.source = nullptr;  // no signal
  rig.bench.Build();
  rig.bench.Start();
  struct Case {
    float shaft;  // rad; the target is 0
    float load;   // ohm the supply sees
    float torque;
  };
  // Moving: the running motor Umax / current = 3.2331 ohm parallel to 100 ohm.
  const float moving = 3.2330920f * 100 / 103.2330920f;
  const Case cases[] = {
      {0, 100, 0},
      {0.006f, 100, 0},                  // 0.98 of a step above: the same step
      {-0.006f, moving, 2.1266f},        // the step below: turns up
      {0.1f, moving, -2.1266f},
      {-0.1f, moving, 2.1266f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "shaft " << c.shaft);
    rig.s->shaftAngle = c.shaft;
    rig.bench.Step(1, 1e-3f);
    float R = 0;
    EXPECT_NEAR(comptest::Bench::Read(rig.supply, 0, &R), 0.0f, 1e-5f);
    EXPECT_NEAR(R, c.load, 1e-4f * c.load);
    EXPECT_NEAR(rig.s->torque, c.torque, 1e-4f);
  }
  EXPECT_FALSE(rig.s->burnt);
  rig.bench.Stop();
}

TEST(Servo, SupplyLimits) {
  struct Case {
    float volts;
    bool burns;
    bool turns;
  };
  // Umin 4.8, Umax 6: works from 4.3 V to 8 V.
  const Case cases[] = {
      {8.0f, false, true},  {8.01f, true, false},  {4.31f, false, true},
      {4.29f, false, false}, {-0.4f, false, false}, {-0.6f, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.volts << " V");
    LogCapture log;
    ServoRig rig(c.volts);
    rig.control->state.source = nullptr;
    rig.bench.Build();
    rig.bench.Start();
    rig.s->shaftAngle = -0.1f;  // moving
    rig.bench.Step(2, 1e-3f);
    EXPECT_EQ(rig.s->burnt != 0, c.burns);
    EXPECT_EQ(rig.s->torque != 0, c.turns);
    if (c.burns) {
      EXPECT_EQ(log.Messages(), std::vector<std::wstring>{L"Рулевая машинка \"S1\" вышла из строя"});
      // Burnt for good: Start does not clear it.
      rig.bench.Stop();
      rig.bench.Start();
      rig.bench.Step(1, 1e-3f);
      EXPECT_TRUE(rig.s->burnt);
      EXPECT_EQ(rig.s->torque, 0.0f);
      EXPECT_EQ(log.Count(), 1);
    } else {
      EXPECT_EQ(log.Count(), 0);
    }
    rig.bench.Stop();
  }
}

// Runs the rig 10 steps of 5 ms (two samples of the control signal) and
// answers the target angle.
float DecodedTarget(ServoRig* rig) {
  rig->bench.Step(10, 0.005f);
  return rig->s->targetAngle;
}

TEST(Servo, PeriodsAtTheEdgesOfTwentyPlusMinusFiveMilliseconds) {
  struct Case {
    float period;
    bool accepted;
  };
  const Case cases[] = {
      {0.02f, true},   {0.024f, true},  {0.0249f, true}, {0.025f, false},
      {0.016f, true},  {0.0151f, true}, {0.015f, false}, {0.03f, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "period " << c.period);
    ServoRig rig(6);
    rig.control->SetPwm(5, 10, 0, 10, c.period, 0.05f);  // 1 ms: +range / 2
    rig.bench.Build();
    rig.bench.Start();
    EXPECT_NEAR(DecodedTarget(&rig), c.accepted ? kQuarterTurn / 2 : 0.0f, 1e-6f);
    rig.bench.Stop();
  }
}

TEST(Servo, DutiesDecodeToAngles) {
  struct Case {
    float duty;
    float target;  // rad; 0 also for an ignored pulse (the start's target)
  };
  const Case cases[] = {
      {0.075f, 0},                      // 1.5 ms: the centre
      {0.05f, kQuarterTurn / 2},        // 1 ms
      {0.1f, -kQuarterTurn / 2},        // 2 ms
      {0.06f, 0.3f * kQuarterTurn},     // (0.075 - 0.06) / 0.05
      {0.09f, -0.3f * kQuarterTurn},
      {0.049f, 0},                      // shorter than 1 ms: ignored
      {0.101f, 0},                      // longer than 2 ms: ignored
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "duty " << c.duty);
    ServoRig rig(6);
    rig.control->SetPwm(5, 10, 0, 10, 0.02f, c.duty);
    rig.bench.Build();
    rig.bench.Start();
    EXPECT_NEAR(DecodedTarget(&rig), c.target, 1e-5f);
    rig.bench.Stop();
  }
}

TEST(Servo, WhichLevelIsThePulse) {
  ServoRig rig(6);
  // The first level high: duty 0.05 is the pulse.
  rig.control->SetPwm(5, 10, 0, 10, 0.02f, 0.05f);
  rig.bench.Build();
  rig.bench.Start();
  EXPECT_NEAR(DecodedTarget(&rig), kQuarterTurn / 2, 1e-6f);
  // Levels swapped, first low: the pulse is 1 - duty. 0.075 reads 0.925,
  // outside the window: the target stays.
  rig.control->SetPwm(0, 10, 5, 10, 0.02f, 0.075f);
  EXPECT_NEAR(DecodedTarget(&rig), kQuarterTurn / 2, 1e-6f);
  // 0.91 reads 0.09: 1.8 ms.
  rig.control->SetPwm(0, 10, 5, 10, 0.02f, 0.91f);
  EXPECT_NEAR(DecodedTarget(&rig), -0.3f * kQuarterTurn, 1e-5f);
  // A signal that is not PWM is ignored.
  rig.control->SetPwm(5, 10, 0, 10, 0.02f, 0.05f);
  rig.control->state.sourceKind = kSchSourceSerial;
  EXPECT_NEAR(DecodedTarget(&rig), -0.3f * kQuarterTurn, 1e-5f);
  // An open first level (above 100 kOhm) takes the duty as it is.
  rig.control->SetPwm(0, 200000, 0, 10, 0.02f, 0.075f);
  EXPECT_NEAR(DecodedTarget(&rig), 0.0f, 1e-6f);
  EXPECT_FALSE(rig.s->burnt);
  rig.bench.Stop();
}

TEST(Servo, AControlLevelBeyondTheSupplyBurnsIt) {
  struct Case {
    float U, R;
    bool burns;
  };
  const Case cases[] = {
      {6.4f, 10, false},      // within 0.5 V of the supply
      {6.6f, 10, true},
      {6.6f, 100000, false},  // through a high resistance
      {-0.6f, 10, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.U << " V behind " << c.R);
    LogCapture log;
    ServoRig rig(6);
    rig.control->SetPwm(c.U, c.R, 0, 10, 0.02f, 0.075f);
    rig.bench.Build();
    rig.bench.Start();
    rig.bench.Step(2, 1e-3f);
    EXPECT_EQ(rig.s->burnt != 0, c.burns);
    EXPECT_EQ(log.Count(), c.burns ? 1 : 0);
    rig.bench.Stop();
  }
}

TEST(Servo, StartClearsTheTarget) {
  ServoRig rig(6);
  rig.control->SetPwm(5, 10, 0, 10, 0.02f, 0.05f);
  rig.bench.Build();
  rig.bench.Start();
  EXPECT_NE(DecodedTarget(&rig), 0.0f);
  rig.bench.Stop();
  rig.bench.Build();
  rig.bench.Start();
  EXPECT_EQ(rig.s->targetAngle, 0.0f);
  EXPECT_EQ(rig.s->pulseTimer, 0.0f);
  rig.bench.Stop();
}

// ------------------------------------------------------------ drawing

TEST(Servo, PictureAndName) {
  comptest::IconsFolderScope icons(devtest::ShippedIconsFolder());
  DeviceBench bench;
  auto* s = bench.Create<CSCHServo>("servo");
  s->SetName(L"S1");
  comptest::SymbolCanvas canvas(120, 140);
  EXPECT_TRUE(canvas.Paint(s, 20, 10));
  // The JPEG picture: the body, the horn, the signal wire.
  EXPECT_TRUE(devtest::Near(canvas.Pixel(20 + 32, 10 + 50), RGB(40, 90, 200), 24));
  EXPECT_TRUE(devtest::Near(canvas.Pixel(20 + 20, 10 + 14), RGB(235, 235, 235), 24));
  EXPECT_TRUE(devtest::Near(canvas.Pixel(20 + 4, 10 + 70), RGB(240, 150, 20), 40));
  // The name below, centred over the picture.
  EXPECT_GT(canvas.InkIn(20 + 16, 110, 20 + 48, 130), 0);
  EXPECT_EQ(canvas.InkIn(0, 110, 20 + 16, 140), 0);
  EXPECT_EQ(canvas.InkIn(20 + 48, 110, 120, 140), 0);
  EXPECT_TRUE(canvas.Save(L"servo_symbol.bmp"));
  comptest::FootprintCanvas board(10, 100, 100);
  EXPECT_TRUE(board.Paint(s));
  EXPECT_EQ(board.InkCount(), 0);
}

TEST(Servo, ShippedPictureFitsTheSymbol) {
  CKestImage picture;
  ASSERT_EQ(picture.Load((devtest::ShippedIconsFolder() + L"servo.jpg").c_str()), S_OK);
  EXPECT_EQ(picture.GetWidth(), 64);
  EXPECT_EQ(picture.GetHeight(), 100);
}

}  // namespace
