// The linear actuator: creation, pins, database rows, its record, the
// winding with its end-of-stroke switches and burn-out, the rod travelling
// to both ends with its encoder, the potentiometer, and its picture.
#include "components/devices/drives/actuator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "components/electronic/resister.h"
#include "device_kit.h"
#include "foundation/buffers.h"
#include "kestui/graphics/image.h"
#include "support/test_support.h"

namespace {

using comptest::DbRow;
using comptest::Golden;
using comptest::LogCapture;
using devtest::DeviceBench;

TEST(Actuator, CreatedThroughTheRegistryWithItsDefaults) {
  DeviceBench bench;
  auto* a = bench.Create<CSCHActuator>("ACTUATOR");
  ASSERT_NE(a, nullptr);
  EXPECT_STREQ(a->className, "ACTUATOR");
  EXPECT_EQ(a->rect.right - a->rect.left, 64);
  EXPECT_EQ(a->rect.bottom - a->rect.top, 100);
  ASSERT_EQ(a->pinCount, 2);
  for (int i = 0; i < 2; i++) {
    EXPECT_STREQ(a->pins[i].description, L"Обмотка ротора");
    EXPECT_EQ(a->pins[i].side, kSchSideRight);
    EXPECT_EQ(a->pins[i].offset, 20 + 15 * i);
  }
  EXPECT_EQ(a->Un, 12.0f);
  EXPECT_EQ(a->reduction, 5.0f);
  EXPECT_EQ(a->range, 0.2f);
  EXPECT_EQ(a->sensor, 0);
  EXPECT_EQ(a->maxLoad, 800.0f);
  EXPECT_EQ(a->maxSpeed, 0.045f);
  EXPECT_EQ(a->loadSpeed, 0.04f);
  EXPECT_EQ(a->limitSensors, 1);
  EXPECT_EQ(a->ticksPerMetre, 1.0);
  EXPECT_EQ(a->minImp, 300.0f);
  EXPECT_EQ(a->maxImp, 9600.0f);
  EXPECT_EQ(a->deltaImp, 300.0f);
  EXPECT_EQ(a->minSensorU, 3.6f);
  EXPECT_EQ(a->maxSensorU, 20.0f);
  EXPECT_EQ(a->Te, 0.007f);
  EXPECT_EQ(a->Imax, 2.0f);
  EXPECT_EQ(a->mass, 0.55f);
  EXPECT_EQ(a->length, 350.0f);
  EXPECT_EQ(a->initialPosition, 0.0f);  // no operation sets it: 0
  EXPECT_FLOAT_EQ(a->windingResistance, 6.0f);
  EXPECT_FLOAT_EQ(a->windingInductance, 0.042f);
}

TEST(Actuator, PinsOfEverySensor) {
  struct Case {
    unsigned char sensor;
    std::vector<const wchar_t*> descriptions;  // beyond the winding pins
  };
  const Case cases[] = {
      {0, {}},
      {1, {L"+ Питание энкодера", L"Выход энкодера", L"\"Земля\" энкодера"}},
      {2, {L"+ Питание энкодера", L"Выход A энкодера", L"Выход B энкодера", L"\"Земля\" энкодера"}},
      {3, {L"Конец обмотки датчика", L"Подвижный контакт", L"Начало обмотки датчика"}},
      {9, {}},
  };
  DeviceBench bench;
  auto* a = bench.Create<CSCHActuator>("ACTUATOR");
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "sensor " << int(c.sensor));
    a->sensor = c.sensor;
    ASSERT_TRUE(a->BuildPins());
    ASSERT_EQ(a->pinCount, 2 + static_cast<int>(c.descriptions.size()));
    for (int i = 0; i < a->pinCount; i++) {
      EXPECT_STREQ(a->pins[i].description, i < 2 ? L"Обмотка ротора" : c.descriptions[i - 2]);
      EXPECT_EQ(a->pins[i].side, kSchSideRight);
      EXPECT_EQ(a->pins[i].offset, 20 + 15 * i);
    }
  }
}

TEST(Actuator, DatabaseRowSetsEveryField) {
  DeviceBench bench;
  auto* a = bench.Create<CSCHActuator>("ACTUATOR");
  DbRow row(L"actuators",
            {{"model", "LA-1"}, {"Un", "24"}, {"reduction", "10"}, {"range", "150"}, {"sensor", "3"},
             {"maxLoad", "1500"}, {"maxSpeed", "25"}, {"loadSpeed", "20"}, {"limitSensors", "0"},
             {"ticksPerMM", "2.5"}, {"minImp", "200"}, {"maxImp", "10200"}, {"deltaImp", "150"},
             {"minSensorU", "4.5"}, {"maxSensorU", "24"}, {"Tm", "0.05"}, {"Te", "0.005"}, {"Iidle", "0.6"},
             {"Imax", "5"}, {"mass", "1850"}, {"height1", "220"}, {"height2", "260"}, {"baseHeight", "25"},
             {"holder1Height", "20"}, {"soundRate", "1.25"}, {"sound", "\xF8\xF2\xEE\xEA.wav"}, {"price", "6400"}});
  a->ApplyDbRecord(row.Record());
  EXPECT_EQ(a->Un, 24.0f);
  EXPECT_EQ(a->reduction, 10.0f);
  EXPECT_FLOAT_EQ(a->range, 0.15f);
  EXPECT_EQ(a->sensor, 3);
  EXPECT_EQ(a->maxLoad, 1500.0f);
  EXPECT_FLOAT_EQ(a->maxSpeed, 0.025f);
  EXPECT_FLOAT_EQ(a->loadSpeed, 0.02f);
  EXPECT_EQ(a->limitSensors, 0);
  EXPECT_DOUBLE_EQ(a->ticksPerMetre, 2500.0);
  EXPECT_EQ(a->minImp, 200.0f);
  EXPECT_EQ(a->maxImp, 10200.0f);
  EXPECT_EQ(a->deltaImp, 150.0f);
  EXPECT_EQ(a->minSensorU, 4.5f);
  EXPECT_EQ(a->maxSensorU, 24.0f);
  EXPECT_EQ(a->Tm, 0.05f);
  EXPECT_EQ(a->Te, 0.005f);
  EXPECT_EQ(a->Iidle, 0.6f);
  EXPECT_EQ(a->Imax, 5.0f);
  EXPECT_FLOAT_EQ(a->mass, 1.85f);
  EXPECT_FLOAT_EQ(a->length, 0.525f);  // (220 + 260 + 25 + 20) / 1000
  EXPECT_EQ(a->soundRate, 1.25f);
  EXPECT_STREQ(a->sound, L"шток.wav");
  EXPECT_EQ(a->pinCount, 5);
  EXPECT_FLOAT_EQ(a->windingResistance, 4.8f);
  EXPECT_FLOAT_EQ(a->windingInductance, 0.024f);
  // Any non-zero "limitSensors" means switches.
  DbRow two(L"actuators", {{"model", "LA-2"}, {"limitSensors", "2"}});
  a->ApplyDbRecord(two.Record());
  EXPECT_EQ(a->limitSensors, 1);
  EXPECT_EQ(a->sound, nullptr);
  EXPECT_EQ(a->pinCount, 2);
}

TEST(Actuator, SampleDatabaseRows) {
  devtest::DeviceRegistryScope registry;
  comptest::SampleTable table(L"actuators");
  ASSERT_TRUE(table.loaded);
  ASSERT_GE(table.table.GetRecordCount(), 2);
  for (int i = 0; i < table.table.GetRecordCount(); i++) {
    CompDbRecord* row = table.table.GetRecord(i);
    auto a = comptest::NewDetached<CSCHActuator>(row->GetTextByName("class"));
    ASSERT_TRUE(a);
    a->ApplyDbRecord(row);
    EXPECT_GT(a->range, 0.0f);
    EXPECT_GT(a->maxSpeed, 0.0f);
    EXPECT_GT(a->windingResistance, 0.0f);
    EXPECT_EQ(a->pinCount, a->ExpectedPinCount());
  }
  CompDbRecord* la12 = table.Find("LA-12-100");
  ASSERT_NE(la12, nullptr);
  auto a = comptest::NewDetached<CSCHActuator>("ACTUATOR");
  la12->SetOptions("1:1;");  // with the potentiometer
  a->ApplyDbRecord(la12);
  EXPECT_EQ(a->sensor, CSCHActuator::kSensorPot);
  EXPECT_FLOAT_EQ(a->range, 0.1f);
  EXPECT_EQ(a->pinCount, 5);
}

// ------------------------------------------------------------ record

void FillActuator(CSCHActuator* a) {
  a->Un = 24;
  a->reduction = 10;
  a->range = 0.15f;
  a->sensor = 2;
  a->maxLoad = 1500;
  a->maxSpeed = 0.025f;
  a->loadSpeed = 0.02f;
  a->limitSensors = 1;
  a->ticksPerMetre = 2500;
  a->minImp = 200;
  a->maxImp = 10200;
  a->deltaImp = 150;
  a->minSensorU = 4.5f;
  a->maxSensorU = 24;
  a->Tm = 0.05f;
  a->Te = 0.005f;
  a->Iidle = 0.6f;
  a->Imax = 5;
  a->mass = 1.85f;
  a->length = 0.525f;
  ReplaceString(&a->sound, L"шток.wav");
  a->soundRate = 1.25f;
  a->BuildPins();
  a->SetName(L"A1");
}

TEST(Actuator, RecordLayoutReadBackAndCuts) {
  devtest::DeviceRegistryScope registry;
  auto a = comptest::NewDetached<CSCHActuator>("ACTUATOR");
  FillActuator(a.get());
  std::vector<uint8_t> expected = Golden()
                                      .F(24).F(10).F(0.15f).B(2).F(1500).F(0.025f).F(0.02f).B(1).D(2500)
                                      .F(200).F(10200).F(150).F(4.5f).F(24).F(0.05f).F(0.005f).F(0.6f).F(5)
                                      .F(1.85f).F(0.525f)
                                      .Bytes();
  expected = devtest::Concat(expected, devtest::WideBytes(L"шток.wav"));
  expected = devtest::Concat(expected, Golden().F(1.25f).Bytes());
  EXPECT_TRUE(velktest::BytesEqual(devtest::FieldsBefore<CSCHBlock>(a.get()), expected));

  std::vector<uint8_t> bytes = comptest::SaveBytes(a.get());
  comptest::ForEachTruncation<CSCHActuator>("ACTUATOR", bytes, [&](CSCHActuator* copy, size_t n) {
    EXPECT_EQ(copy->pinCount, copy->ExpectedPinCount());
    if (n >= expected.size()) {
      EXPECT_EQ(copy->sensor, 2);
      EXPECT_EQ(copy->ticksPerMetre, 2500.0);
      EXPECT_EQ(copy->length, 0.525f);
      EXPECT_STREQ(copy->sound, L"шток.wav");
      EXPECT_EQ(copy->pinCount, 6);
    }
    if (n == bytes.size()) {
      EXPECT_STREQ(copy->instanceName, L"A1");
      EXPECT_TRUE(velktest::BytesEqual(devtest::ResavedBytes(copy), bytes));
    }
  });
}

TEST(Actuator, SchemeWithAnActuatorReadsBack) {
  DeviceBench bench;
  auto* a = bench.Create<CSCHActuator>("ACTUATOR");
  FillActuator(a);
  auto* load = bench.Create<CSCHResister>("Resister");
  bench.Wire(a, 4, load, 0);  // output B
  std::unique_ptr<SchScheme> copy = comptest::ReadBack(bench.scheme);
  ASSERT_TRUE(copy);
  auto* back = dynamic_cast<CSCHActuator*>(copy->FindBlockByName(L"A1"));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->pinCount, 6);
  EXPECT_NE(back->pins[4].wire, nullptr);
  EXPECT_EQ(back->pins[3].wire, nullptr);
  EXPECT_STREQ(back->sound, L"шток.wav");
}

// ------------------------------------------------------------ winding

// An actuator whose winding pin 1 is on a source and pin 0 on another: the
// current is positive (extending) when pin 1 is the higher.
struct WindingRig {
  WindingRig(float u1, float u0) {
    a = bench.Create<CSCHActuator>("ACTUATOR");
    a->SetName(L"A1");
    one = bench.Source(u1);
    zero = bench.Source(u0);
    bench.Wire(one, 0, a, 1);
    bench.Wire(a, 0, zero, 0);
  }
  void Start() {
    bench.Build();
    bench.Start();
  }
  DeviceBench bench;
  CSCHActuator* a;
  circuit::Part* one;
  circuit::Part* zero;
};

TEST(Actuator, EndSwitchesCutTheWindingInTheDirectionOfTravel) {
  struct Case {
    float position;
    float u1, u0;
    bool switches;
    float current;  // after settling, the rod at rest
  };
  // 12 V on 6 ohm: 2 A either way unless a switch has opened.
  const Case cases[] = {
      {0.195f, 12, 0, true, 0},     // extended, driven further out
      {0.195f, 0, 12, true, -2},    // extended, driven back
      {0.005f, 0, 12, true, 0},     // retracted, driven further in
      {0.005f, 12, 0, true, 2},
      {0.1f, 12, 0, true, 2},       // mid-stroke
      {0.195f, 12, 0, false, 2},    // no switches
      {0.189f, 12, 0, true, 2},     // outside the last centimetre
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "at " << c.position << " m, " << c.u1 << " V / " << c.u0 << " V");
    WindingRig rig(c.u1, c.u0);
    rig.a->limitSensors = c.switches ? 1 : 0;
    rig.Start();
    rig.a->rodPosition = c.position;
    rig.bench.Step(300, 1e-3f);
    EXPECT_NEAR(rig.a->winding.current, c.current, 1e-4f);
    EXPECT_NEAR(rig.a->force, 800 * c.current / 2, 0.05f);
    rig.bench.Stop();
  }
}

TEST(Actuator, TwiceTheStallCurrentBurnsItAfterFiveTimesLnFourSeconds) {
  LogCapture log;
  WindingRig rig(24, 0);  // stalled on 2 x Un: 2 x Imax
  rig.a->initialPosition = 0.1f;
  rig.Start();
  EXPECT_EQ(rig.a->rodPosition, 0.1f);
  // The heating mean passes 1.5 x Imax when 1 - e^(-t/5) passes 3/4.
  const float dt = 0.01f;
  const float burnTime = 5 * std::log(4.0f);  // 6.93 s
  rig.bench.Step(static_cast<int>((burnTime - 0.07f) / dt), dt);
  EXPECT_FALSE(rig.a->burnt);
  rig.bench.Step(14, dt);
  EXPECT_TRUE(rig.a->burnt);
  EXPECT_EQ(log.Messages(), std::vector<std::wstring>{L"Двигатель актуатора A1 сгорел!"});
  rig.bench.Step(5, dt);
  EXPECT_EQ(rig.a->force, 0.0f);
  float R = 0;
  EXPECT_NEAR(comptest::Bench::Read(rig.one, 0, &R), 0.0f, 0.01f);
  EXPECT_NEAR(R, kSchOpenResistance, 0.01f * kSchOpenResistance);
  EXPECT_EQ(log.Count(), 1);
  rig.bench.Stop();
}

// ------------------------------------------------------------ travel

// An actuator with an encoder on a 5 V supply, a probe on each output, its
// winding between two sources; the test plays the mechanical simulation: a
// 100 kg rod pushed by the force, stopped at both ends.
struct TravelRig {
  explicit TravelRig(unsigned char sensor) {
    a = bench.Create<CSCHActuator>("ACTUATOR");
    a->SetName(L"A1");
    a->sensor = sensor;
    a->ticksPerMetre = 1000;
    a->BuildPins();
    one = bench.Source(12);
    zero = bench.Source(0);
    bench.Wire(one, 0, a, 1);
    bench.Wire(a, 0, zero, 0);
    bench.Wire(bench.Source(5), 0, a, 2);
    bench.Wire(a, sensor == CSCHActuator::kSensorEncoderAB ? 5 : 4, bench.Ground(), 0);
    for (int i = 0; i < (sensor == CSCHActuator::kSensorEncoderAB ? 2 : 1); i++) {
      probes[i] = bench.Part(1);
      bench.Wire(a, 3 + i, probes[i], 0);
    }
    bench.Build();
    bench.Start();
  }
  ~TravelRig() { bench.Stop(); }
  // One step; answers the edges the first output's net carries.
  long long StepCounting(float dt) {
    bench.Step(1, dt);
    SchPinState s = devtest::StateAt(probes[0], 0);
    return s.source ? GetPulseEdges(s.source) : 0;
  }
  // Steps until the rod rests at an end or the time is up; answers the
  // edges counted on the first output and the time taken.
  long long Travel(float seconds, float* taken) {
    const float dt = 1e-3f;
    long long edges = 0;
    int steps = static_cast<int>(seconds / dt);
    for (int i = 0; i < steps; i++) {
      edges += StepCounting(dt);
      speed += dt * a->force / 100;
      position += dt * speed;
      if (position >= a->range) position = a->range, speed = speed > 0 ? 0 : speed;
      if (position <= 0) position = 0, speed = speed < 0 ? 0 : speed;
      a->rodSpeed = speed;
      a->rodPosition = position;
      if (speed == 0 && (position == 0 || position == a->range)) {
        *taken = (i + 1) * dt;
        // A few more steps at rest: the switch keeps the winding open.
        for (int k = 0; k < 20; k++) edges += StepCounting(dt);
        return edges;
      }
    }
    *taken = seconds;
    return edges;
  }
  DeviceBench bench;
  CSCHActuator* a;
  circuit::Part* one;
  circuit::Part* zero;
  circuit::Part* probes[2] = {nullptr, nullptr};
  float speed = 0, position = 0;
};

TEST(Actuator, TheRodReachesEachEndAndItsEncoderCountsTheStroke) {
  TravelRig rig(CSCHActuator::kSensorEncoderAB);
  float taken = 0;
  // Out: 0.2 m at 45 mm/s takes about 4.4 s; 1000 ticks a metre.
  EXPECT_EQ(rig.Travel(8, &taken), 200);
  EXPECT_NEAR(taken, 0.2f / 0.045f, 0.3f);
  EXPECT_EQ(rig.a->rodPosition, 0.2f);
  EXPECT_NEAR(rig.a->winding.current, 0.0f, 1e-4f);  // the switch opened
  // Back: the voltage reversed, the A/B encoder counts down.
  rig.one->Drive(0, 0, kSchMinResistance);
  rig.zero->Drive(0, 12, kSchMinResistance);
  EXPECT_EQ(rig.Travel(8, &taken), -200);
  EXPECT_EQ(rig.a->rodPosition, 0.0f);
  EXPECT_NEAR(rig.a->winding.current, 0.0f, 1e-4f);
  EXPECT_EQ(devtest::StateAt(rig.probes[1], 0).sourceKind, kDevPulseSourceB);
  EXPECT_FALSE(rig.a->burnt);
  EXPECT_FALSE(rig.a->sensorBurnt);
}

TEST(Actuator, ASingleOutputEncoderCountsWithoutSign) {
  TravelRig rig(CSCHActuator::kSensorEncoder);
  float taken = 0;
  EXPECT_EQ(rig.Travel(8, &taken), 200);
  rig.one->Drive(0, 0, kSchMinResistance);
  rig.zero->Drive(0, 12, kSchMinResistance);
  EXPECT_EQ(rig.Travel(8, &taken), 200);
  // The open-collector output: released on the first level, conducting on
  // the second.
  SchPinState s = devtest::StateAt(rig.probes[0], 0);
  EXPECT_EQ(s.sourceKind, kDevPulseSourceA);
  EXPECT_NEAR(s.U, 5.0f, 1e-4f);
  EXPECT_NEAR(s.R, kSchOpenResistance, 1.0f);
  EXPECT_NEAR(s.U2, 0.1f, 1e-5f);
  EXPECT_NEAR(s.R2, 1e-5f, 1e-9f);
}

TEST(Actuator, StartTakesTheInitialPositionIntoTheTickMemory) {
  DeviceBench bench;
  auto* a = bench.Create<CSCHActuator>("ACTUATOR");
  a->sensor = CSCHActuator::kSensorEncoderAB;
  a->ticksPerMetre = 1000;
  a->initialPosition = 0.0426f;
  a->BuildPins();
  bench.Build();
  bench.Start();
  EXPECT_EQ(a->rodPosition, 0.0426f);
  EXPECT_EQ(a->ticks.lastCount, 42);  // truncated
  EXPECT_FLOAT_EQ(a->ticks.lastValue, 42.6f);
  bench.Stop();
}

TEST(Actuator, EncoderSupplyAndOutputLimits) {
  struct Case {
    unsigned char sensor;
    float supply;
    float outU, outR;  // what output A is wired to (0 V behind 5 MOhm: nothing)
    bool burns;
  };
  // Sink current (Uo - 0.1) / (Ro + Rg): above 0.1 A on the single output,
  // 0.01 A on either output of the pair.
  const Case cases[] = {
      {CSCHActuator::kSensorEncoder, 20, 0, kSchOpenResistance, false},
      {CSCHActuator::kSensorEncoder, 20.1f, 0, kSchOpenResistance, true},
      {CSCHActuator::kSensorEncoder, -0.6f, 0, kSchOpenResistance, true},
      {CSCHActuator::kSensorEncoder, 5, 5, 50, false},   // 0.098 A
      {CSCHActuator::kSensorEncoder, 5, 5, 45, true},    // 0.109 A
      {CSCHActuator::kSensorEncoderAB, 5, 5, 500, false},  // 0.0098 A
      {CSCHActuator::kSensorEncoderAB, 5, 5, 450, true},   // 0.0109 A
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "sensor " << int(c.sensor) << ", " << c.supply << " V, " << c.outR);
    LogCapture log;
    DeviceBench bench;
    auto* a = bench.Create<CSCHActuator>("ACTUATOR");
    a->SetName(L"A1");
    a->sensor = c.sensor;
    a->BuildPins();
    auto* supply = bench.Source(c.supply);
    bench.Wire(supply, 0, a, 2);
    bench.Wire(a, c.sensor == CSCHActuator::kSensorEncoderAB ? 5 : 4, bench.Ground(), 0);
    bench.Wire(a, 3, bench.Source(c.outU, c.outR), 0);
    bench.Build();
    bench.Start();
    bench.Step(3, 1e-3f);
    EXPECT_EQ(a->sensorBurnt != 0, c.burns);
    if (c.burns) {
      EXPECT_EQ(log.Messages(), std::vector<std::wstring>{L"Датчик актуатора A1 сгорел!"});
      EXPECT_FALSE(a->burnt);  // the winding is not touched
    } else {
      EXPECT_EQ(log.Count(), 0);
      // The encoder loads its supply with 500 ohm.
      float R = 0;
      comptest::Bench::Read(supply, 0, &R);
      EXPECT_NEAR(R, 500.0f, 1e-3f);
    }
    bench.Stop();
  }
}

TEST(Actuator, BelowTheLowestSupplyTheOutputsStayOpen) {
  DeviceBench bench;
  auto* a = bench.Create<CSCHActuator>("ACTUATOR");
  a->sensor = CSCHActuator::kSensorEncoder;
  a->BuildPins();
  bench.Wire(bench.Source(3.6f), 0, a, 2);
  bench.Wire(a, 4, bench.Ground(), 0);
  auto* probe = bench.Part(1);
  bench.Wire(a, 3, probe, 0);
  bench.Build();
  bench.Start();
  bench.Step(2, 1e-3f);
  SchPinState s = devtest::StateAt(probe, 0);
  EXPECT_EQ(s.source, nullptr);
  EXPECT_NEAR(s.R, kSchOpenResistance, 1.0f);
  EXPECT_FALSE(a->sensorBurnt);
  bench.Stop();
}

// ------------------------------------------------------------ potentiometer

TEST(Actuator, PotentiometerFollowsTheRodWithItsRipple) {
  DeviceBench bench;
  auto* a = bench.Create<CSCHActuator>("ACTUATOR");
  a->sensor = CSCHActuator::kSensorPot;
  a->BuildPins();
  bench.Wire(bench.Source(5), 0, a, CSCHActuator::kPotEnd);
  bench.Wire(a, CSCHActuator::kPotStart, bench.Ground(), 0);
  auto* probe = bench.Part(1);
  bench.Wire(a, CSCHActuator::kPotWiper, probe, 0);
  bench.Build();
  bench.Start();
  // Start 0 V, end 5 V through the ideal sources: the wiper reads
  // 5 x Rw / (minImp + maxImp) with Rw = 300 + 9300 x p / 0.2 + 300 sin(p /
  // 0.002 + phase), the phase below 0.01 rad.
  for (float p : {0.0f, 0.0031f, 0.05f, 0.1f, 0.137f, 0.2f}) {
    SCOPED_TRACE(testing::Message() << "at " << p << " m");
    a->rodPosition = p;
    bench.Step(1, 1e-3f);
    float R = 0;
    float U = comptest::Bench::Read(probe, 0, &R);
    double Rw = 300 + 9300 * p / 0.2 + 300 * std::sin(p / 0.002);
    EXPECT_NEAR(U / 5 * 9900, Rw, 3.1);
    // The wiper's resistance: Rw parallel to the rest of the winding.
    EXPECT_NEAR(R, Rw * (9900 - Rw) / 9900, 3.1);
  }
  bench.Stop();
}

// ------------------------------------------------------------ drawing

TEST(Actuator, PictureLeadsAndName) {
  comptest::IconsFolderScope icons(devtest::ShippedIconsFolder());
  DeviceBench bench;
  auto* a = bench.Create<CSCHActuator>("ACTUATOR");
  a->sensor = CSCHActuator::kSensorPot;
  a->BuildPins();
  a->SetName(L"A1");
  comptest::SymbolCanvas canvas(140, 140);
  EXPECT_TRUE(canvas.Paint(a, 40, 10));
  EXPECT_EQ(canvas.Pixel(40 + 28, 10 + 60), RGB(90, 95, 100));    // the housing
  EXPECT_EQ(canvas.Pixel(40 + 29, 10 + 20), RGB(205, 205, 210));  // the rod
  // A lead from the cable exit (51, 80) to every pin at (63, 100 - offset):
  // pin 0 (offset 20) runs level, pin 4 (offset 80) starts at the top right.
  EXPECT_EQ(canvas.Pixel(40 + 62, 10 + 80), RGB(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(40 + 63, 10 + 20), RGB(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(40 + 60, 10 + 20), RGB(255, 255, 255));
  // The name below, its left edge 21 px right of the block's left edge less
  // half its width.
  EXPECT_GT(canvas.InkIn(40 + 5, 110, 40 + 40, 130), 0);
  EXPECT_EQ(canvas.InkIn(40 + 45, 110, 140, 140), 0);
  EXPECT_TRUE(canvas.Save(L"actuator_symbol.bmp"));
}

TEST(Actuator, ShippedPictureFitsTheSymbol) {
  CKestImage picture;
  ASSERT_EQ(picture.Load((devtest::ShippedIconsFolder() + L"actuator.png").c_str()), S_OK);
  EXPECT_EQ(picture.GetWidth(), 64);
  EXPECT_EQ(picture.GetHeight(), 100);
}

}  // namespace
