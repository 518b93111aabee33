// The device registration and the device test kit: the creators join the
// registry's rows, the scopes put the rows back, the state driver hands its
// net a PWM signal.
#include "device_kit.h"

#include <gtest/gtest.h>

#include "components/devices/drives/actuator.h"
#include "components/devices/drives/dc_motor.h"
#include "components/devices/drives/ice.h"
#include "components/devices/drives/servo.h"
#include "components/devices/pulse_record.h"
#include "support/test_support.h"

namespace {

TEST(DeviceClasses, TheDriveRowsGetTheirCreators) {
  devtest::DeviceRegistryScope scope;
  EXPECT_EQ(g_schClassRegistry.Count(), kSchComponentClassCount);
  EXPECT_EQ(g_schClassRegistry.Find("DCMotor")->creator, CreateCSCHDCMotor);
  EXPECT_EQ(g_schClassRegistry.Find("servo")->creator, CreateCSCHServo);
  EXPECT_EQ(g_schClassRegistry.Find("ACTUATOR")->creator, CreateCSCHActuator);
  EXPECT_EQ(g_schClassRegistry.Find("ICE")->creator, CreateCSCHICE);
  // Without the rows there is nothing to give a creator to.
  g_schClassRegistry.Clear();
  EXPECT_FALSE(RegisterDeviceComponentCreators());
  RegisterComponentClasses();
  EXPECT_TRUE(RegisterDeviceComponentCreators());
}

TEST(DeviceClasses, ScopesPutTheRowsBack) {
  std::vector<SchClassRow> before;
  for (int i = 0; i < g_schClassRegistry.Count(); i++) before.push_back(g_schClassRegistry.Row(i));
  {
    devtest::DeviceBench bench;
    EXPECT_NE(bench.Create<CSCHServo>("servo"), nullptr);
  }
  ASSERT_EQ(g_schClassRegistry.Count(), static_cast<int>(before.size()));
  for (size_t i = 0; i < before.size(); i++) {
    EXPECT_EQ(g_schClassRegistry.Row(static_cast<int>(i)).name, before[i].name);
    EXPECT_EQ(g_schClassRegistry.Row(static_cast<int>(i)).creator, before[i].creator);
  }
}

TEST(DeviceClasses, EveryDriveIsCreatedByItsRegistryName) {
  devtest::DeviceBench bench;
  EXPECT_NE(bench.Create<CSCHDCMotor>("DCMotor"), nullptr);
  EXPECT_NE(bench.Create<CSCHServo>("servo"), nullptr);
  EXPECT_NE(bench.Create<CSCHActuator>("ACTUATOR"), nullptr);
  EXPECT_NE(bench.Create<CSCHICE>("ICE"), nullptr);
  EXPECT_EQ(bench.scheme->BlockCount(), 4);
}

TEST(DeviceKit, StateDriverHandsItsNetAPwmSignal) {
  devtest::DeviceBench bench;
  auto* driver = bench.Add<devtest::StateDriver>();
  auto* probe = bench.Part(1);
  bench.Wire(driver, 0, probe, 0);
  driver->SetPwm(5, 10, 0, 10, 0.02f, 0.075f);
  bench.Run(1);
  SchPinState s = devtest::StateAt(probe, 0);
  EXPECT_EQ(s.sourceKind, kSchSourceOwnWeight);
  ASSERT_EQ(s.source, &driver->source);
  EXPECT_EQ(GetPwmPeriod(s.source), 0.02f);
  EXPECT_EQ(s.source->weight, 0.075f);
  EXPECT_NEAR(s.U, 5.0f, 1e-5f);
  EXPECT_NEAR(s.U2, 0.0f, 1e-5f);
  bench.Stop();
}

TEST(PulseRecord, HoldsTheEdgesAndTheTickChange) {
  SchSignalSource record = {nullptr, 0};
  SetPulseRecord(&record, -7, -1.75f);
  EXPECT_EQ(GetPulseEdges(&record), -7);
  EXPECT_EQ(GetPulseTicks(&record), -1.75f);
  SetPulseRecord(&record, 0, 0);
  EXPECT_EQ(record.packets, nullptr);  // no edges: nothing in the first word
  EXPECT_EQ(GetPulseEdges(nullptr), 0);
}

TEST(PulseRecord, CountsEdgesWithAndWithoutSign) {
  struct Case {
    double from, to;
    bool withSign;
    int edges;
    float ticks;
  };
  const Case cases[] = {
      {0.5, 3.25, false, 3, 2.75f},
      {3.25, 0.5, false, 3, 2.75f},   // magnitudes: backwards counts up too
      {3.25, 0.5, true, -3, -2.75f},  // signed: backwards counts down
      {-0.5, 0.5, true, 1, 1},        // floor of -0.5 is -1
      {0.2, 0.7, true, 0, 0.5f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << " -> " << c.to);
    PulseTickMemory memory = {0, 0};
    SchSignalSource record = {nullptr, 0};
    CountPulseTicks(&memory, c.from, c.withSign, &record);
    CountPulseTicks(&memory, c.to, c.withSign, &record);
    EXPECT_EQ(GetPulseEdges(&record), c.edges);
    EXPECT_FLOAT_EQ(GetPulseTicks(&record), c.ticks);
    EXPECT_EQ(memory.lastCount, static_cast<int>(std::floor(c.to)));
    EXPECT_EQ(memory.lastValue, static_cast<float>(c.to));
  }
}

TEST(PulseRecord, WholePartsWrapAndNonNumbersCountNothing) {
  PulseTickMemory memory = {0, 0};
  SchSignalSource record = {nullptr, 0};
  // 2^31 + 2 wraps to INT_MIN + 2, as the stored int32 does.
  CountPulseTicks(&memory, 2147483650.0, true, &record);
  EXPECT_EQ(memory.lastCount, INT32_MIN + 2);
  CountPulseTicks(&memory, 2147483653.0, true, &record);
  EXPECT_EQ(GetPulseEdges(&record), 3);
  // An unsigned count of INT_MIN edges is the largest count.
  memory = PulseTickMemory{INT32_MIN, 0};
  CountPulseTicks(&memory, 0, false, &record);
  EXPECT_EQ(GetPulseEdges(&record), INT32_MAX);
  // No number: nothing counted, the memory kept.
  memory = PulseTickMemory{5, 5.5f};
  for (double t : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300}) {
    SetPulseRecord(&record, 9, 9);
    CountPulseTicks(&memory, t, true, &record);
    EXPECT_EQ(GetPulseEdges(&record), 0);
    EXPECT_EQ(GetPulseTicks(&record), 0.0f);
    EXPECT_EQ(memory.lastCount, 5);
    EXPECT_EQ(memory.lastValue, 5.5f);
  }
  // Reset: the whole part by truncation or by floor.
  ResetPulseTicks(&memory, -2.5, true);
  EXPECT_EQ(memory.lastCount, -2);
  ResetPulseTicks(&memory, -2.5, false);
  EXPECT_EQ(memory.lastCount, -3);
  EXPECT_EQ(memory.lastValue, -2.5f);
}

}  // namespace
