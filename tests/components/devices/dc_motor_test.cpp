// The DC motor: creation, pins of every configuration, database rows, its
// record, the winding (time constant, back EMF, heating and burn-out), the
// encoders with their output stages, the tachogenerator, and its picture.
#include "components/devices/drives/dc_motor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "components/electronic/battery.h"
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

const float kPi = 3.1415927f;

struct PinRow {
  int side, offset;
  const wchar_t* description;
};

void ExpectPin(const CSCHDCMotor* m, int i, const PinRow& row) {
  ASSERT_LT(i, m->pinCount);
  EXPECT_EQ(m->pins[i].side, row.side) << i;
  EXPECT_EQ(m->pins[i].offset, row.offset) << i;
  EXPECT_STREQ(m->pins[i].description, row.description) << i;
  EXPECT_EQ(m->pins[i].name, nullptr) << i;
  EXPECT_EQ(m->pins[i].kind, kSchPinElectric) << i;
}

TEST(DCMotor, CreatedThroughTheRegistryWithItsDefaults) {
  DeviceBench bench;
  auto* m = bench.Create<CSCHDCMotor>("DCMotor");
  ASSERT_NE(m, nullptr);
  EXPECT_STREQ(m->className, "DCMotor");
  EXPECT_EQ(m->rect.right - m->rect.left, 96);
  EXPECT_EQ(m->rect.bottom - m->rect.top, 48);
  ASSERT_EQ(m->pinCount, 2);
  ExpectPin(m, 0, {kSchSideLeft, 11, L"Обмотка ротора"});
  ExpectPin(m, 1, {kSchSideLeft, 38, L"Обмотка ротора"});
  EXPECT_EQ(m->Un, 12.0f);
  EXPECT_EQ(m->reduction, 1.0f);
  EXPECT_EQ(m->Te, 0.01f);
  EXPECT_EQ(m->Tm, 0.1f);
  EXPECT_EQ(m->Istart, 1.0f);
  EXPECT_EQ(m->Iidle, 0.1f);
  EXPECT_EQ(m->Mstart, 1.0f);
  EXPECT_EQ(m->Widle, 10.0f);
  EXPECT_EQ(m->TicksPerRot, 1.0f);
  EXPECT_EQ(m->Ktacho, 1.0f);
  EXPECT_EQ(m->sensorType, 0);
  EXPECT_EQ(m->mass, 0.5f);
  EXPECT_EQ(m->staterDiameter, 0.02f);
  EXPECT_EQ(m->foreHeight, 0.001f);
  EXPECT_EQ(m->rotterHeight1, 0.01f);
  EXPECT_EQ(m->soundRate, 1.0f);
  EXPECT_EQ(m->sound, nullptr);
  // 10 rpm is 10 pi / 30 rad/s; 12 V / 1 A; 0.01 s x 12 ohm.
  EXPECT_FLOAT_EQ(m->outputIdleSpeed, 1.0471976f);
  EXPECT_FLOAT_EQ(m->windingResistance, 12.0f);
  EXPECT_FLOAT_EQ(m->windingInductance, 0.12f);
}

TEST(DCMotor, PinsOfEveryConfiguration) {
  struct Case {
    unsigned char field, sensor;
    int count;
    std::vector<std::pair<int, PinRow>> pins;  // beyond the two rotor pins
  };
  const PinRow field1 = {kSchSideBottom, 40, L"Обмотка возбуждения"}, field2 = {kSchSideBottom, 60, L"Обмотка возбуждения"};
  const Case cases[] = {
      {0, 0, 2, {}},
      {1, 0, 4, {{2, field1}, {3, field2}}},
      {0, 1, 5,
       {{2, {kSchSideTop, 40, L"+ Питание энкодера"}},
        {3, {kSchSideTop, 55, L"Выход энкодера"}},
        {4, {kSchSideTop, 70, L"\"Земля\" энкодера"}}}},
      {1, 2, 8,
       {{2, field1},
        {3, field2},
        {4, {kSchSideTop, 30, L"+ Питание энкодера"}},
        {5, {kSchSideTop, 45, L"Выход A энкодера"}},
        {6, {kSchSideTop, 60, L"Выход B энкодера"}},
        {7, {kSchSideTop, 75, L"\"Земля\" энкодера"}}}},
      {0, 3, 4, {{2, {kSchSideTop, 30, L"+ Тахогенератора"}}, {3, {kSchSideTop, 42, L"- Тахогенератора"}}}},
      {1, 3, 6, {{4, {kSchSideTop, 30, L"+ Тахогенератора"}}, {5, {kSchSideTop, 66, L"- Тахогенератора"}}}},
      {0, 7, 2, {}},  // a sensor type the motor does not know adds nothing
  };
  DeviceBench bench;
  auto* m = bench.Create<CSCHDCMotor>("DCMotor");
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "field " << int(c.field) << " sensor " << int(c.sensor));
    m->staterWinding = c.field;
    m->sensorType = c.sensor;
    ASSERT_TRUE(m->BuildPins());
    ASSERT_EQ(m->pinCount, c.count);
    EXPECT_EQ(m->ExpectedPinCount(), c.count);
    ExpectPin(m, 0, {kSchSideLeft, 11, L"Обмотка ротора"});
    ExpectPin(m, 1, {kSchSideLeft, 38, L"Обмотка ротора"});
    for (const auto& p : c.pins) ExpectPin(m, p.first, p.second);
  }
}

TEST(DCMotor, DatabaseRowSetsEveryField) {
  DeviceBench bench;
  auto* m = bench.Create<CSCHDCMotor>("DCMotor");
  // "мотор.wav" in code page 1251.
  DbRow row(L"dcmotors",
            {{"model", "GM-1"}, {"Un", "24"}, {"reduction", "50"}, {"staterWindingR", "15"}, {"Te", "0.004"},
             {"Tm", "0.05"}, {"Istart", "4"}, {"Iidle", "0.2"}, {"Mstart", "0.3"}, {"Widle", "3000"},
             {"TicksPerRot", "12"}, {"Ktacho", "0.05"}, {"sensorCurrent", "0.02"}, {"sensorMinVoltage", "3.5"},
             {"sensorMaxVoltage", "5.5"}, {"sensorMaxOutCurrent", "0.025"}, {"Luft", "0.5"}, {"mass", "0.3"},
             {"soundRate", "1.5"}, {"staterWinding", "2"}, {"sensorType", "2"}, {"sensorOutType", "3"},
             {"staterForm", "1"}, {"foreForm", "2"}, {"staterDiameter", "28"}, {"staterHeight", "40"},
             {"foreDiameter", "25"}, {"rotterDiameter", "4"}, {"foreHeight", "20"}, {"rotterHeight1", "12"},
             {"rotterHeight2", "3"}, {"sound", "\xEC\xEE\xF2\xEE\xF0.wav"}, {"price", "900"}});
  m->ApplyDbRecord(row.Record());
  EXPECT_EQ(m->Un, 24.0f);
  EXPECT_EQ(m->reduction, 50.0f);
  EXPECT_EQ(m->staterWindingR, 15.0f);
  EXPECT_EQ(m->Te, 0.004f);
  EXPECT_EQ(m->Tm, 0.05f);
  EXPECT_EQ(m->Istart, 4.0f);
  EXPECT_EQ(m->Iidle, 0.2f);
  EXPECT_EQ(m->Mstart, 0.3f);
  EXPECT_EQ(m->Widle, 3000.0f);
  EXPECT_EQ(m->TicksPerRot, 12.0f);
  EXPECT_EQ(m->Ktacho, 0.05f);
  EXPECT_EQ(m->sensorCurrent, 0.02f);
  EXPECT_EQ(m->sensorMinVoltage, 3.5f);
  EXPECT_EQ(m->sensorMaxVoltage, 5.5f);
  EXPECT_EQ(m->sensorMaxOutCurrent, 0.025f);
  EXPECT_EQ(m->Luft, 0.5f);
  EXPECT_EQ(m->mass, 0.3f);
  EXPECT_EQ(m->soundRate, 1.5f);
  EXPECT_EQ(m->staterWinding, 1);
  EXPECT_EQ(m->sensorType, 2);
  EXPECT_EQ(m->sensorOutType, 3);
  EXPECT_EQ(m->staterForm, 1);
  EXPECT_EQ(m->foreForm, 2);
  // Millimetres to metres.
  EXPECT_FLOAT_EQ(m->staterDiameter, 0.028f);
  EXPECT_FLOAT_EQ(m->staterHeight, 0.04f);
  EXPECT_FLOAT_EQ(m->foreDiameter, 0.025f);
  EXPECT_FLOAT_EQ(m->rotterDiameter, 0.004f);
  EXPECT_FLOAT_EQ(m->foreHeight, 0.02f);
  EXPECT_FLOAT_EQ(m->rotterHeight1, 0.012f);
  EXPECT_FLOAT_EQ(m->rotterHeight2, 0.003f);
  ASSERT_NE(m->sound, nullptr);
  EXPECT_STREQ(m->sound, L"мотор.wav");
  EXPECT_STREQ(m->model, "GM-1");
  EXPECT_STREQ(m->tableName, L"dcmotors");
  EXPECT_EQ(m->price, 900.0);
  // The pins and derived values follow: 3000 rpm = 100 pi rad/s, 24 V / 4 A.
  EXPECT_EQ(m->pinCount, 8);
  EXPECT_FLOAT_EQ(m->outputIdleSpeed, 314.15927f / 50);
  EXPECT_FLOAT_EQ(m->windingResistance, 6.0f);
  EXPECT_FLOAT_EQ(m->windingInductance, 0.024f);

  // A row without the columns reads 0 and no sound; the divisions by 0 are
  // guarded.
  DbRow bare(L"dcmotors", {{"model", "bare"}});
  m->ApplyDbRecord(bare.Record());
  EXPECT_EQ(m->Un, 0.0f);
  EXPECT_EQ(m->sensorType, 0);
  EXPECT_EQ(m->staterWinding, 0);
  EXPECT_EQ(m->sound, nullptr);
  EXPECT_EQ(m->pinCount, 2);
  EXPECT_EQ(m->windingResistance, 0.0f);
  EXPECT_EQ(m->outputIdleSpeed, 0.0f);
}

TEST(DCMotor, SampleDatabaseRows) {
  devtest::DeviceRegistryScope registry;
  comptest::SampleTable table(L"dcmotors");
  ASSERT_TRUE(table.loaded);
  ASSERT_GE(table.table.GetRecordCount(), 2);
  for (int i = 0; i < table.table.GetRecordCount(); i++) {
    CompDbRecord* row = table.table.GetRecord(i);
    EXPECT_STREQ(row->GetTextByName("class"), "DCMotor");
    auto m = comptest::NewDetached<CSCHDCMotor>(row->GetTextByName("class"));
    ASSERT_TRUE(m);
    m->ApplyDbRecord(row);
    EXPECT_GT(m->Un, 0.0f);
    EXPECT_GT(m->Istart, 0.0f);
    EXPECT_GT(m->outputIdleSpeed, 0.0f);
    EXPECT_EQ(m->pinCount, m->ExpectedPinCount());
  }
  // The first row's encoder is an option: without it, and as an A/B encoder.
  CompDbRecord* gm = table.Find("GM25-370");
  ASSERT_NE(gm, nullptr);
  auto m = comptest::NewDetached<CSCHDCMotor>("DCMotor");
  m->ApplyDbRecord(gm);
  EXPECT_EQ(m->sensorType, 0);
  EXPECT_EQ(m->pinCount, 2);
  gm->SetOptions("1:1;");
  m->ApplyDbRecord(gm);
  EXPECT_EQ(m->sensorType, 2);
  EXPECT_EQ(m->pinCount, 6);
  EXPECT_STREQ(m->options, "1:1;");
}

// ------------------------------------------------------------ record

// A motor with a field winding and an A/B encoder and every field set.
void FillMotor(CSCHDCMotor* m) {
  m->Un = 24;
  m->reduction = 50;
  m->staterWinding = 1;
  m->staterWindingR = 15;
  m->Te = 0.004f;
  m->Tm = 0.05f;
  m->Istart = 4;
  m->Iidle = 0.2f;
  m->Mstart = 0.3f;
  m->Widle = 3000;
  m->sensorType = 2;
  m->TicksPerRot = 12;
  m->Ktacho = 0.05f;
  m->sensorOutType = 3;
  m->sensorCurrent = 0.02f;
  m->sensorMinVoltage = 3.5f;
  m->sensorMaxVoltage = 5.5f;
  m->sensorMaxOutCurrent = 0.025f;
  m->mass = 0.3f;
  m->staterForm = 1;
  m->staterDiameter = 0.028f;
  m->staterHeight = 0.04f;
  m->foreForm = 2;
  m->foreDiameter = 0.025f;
  m->foreHeight = 0.02f;
  m->rotterHeight1 = 0.012f;
  m->rotterHeight2 = 0.003f;
  m->rotterDiameter = 0.004f;
  ReplaceString(&m->sound, L"мотор.wav");
  m->soundRate = 1.5f;
  m->Luft = 0.5f;
  m->BuildPins();
  m->SetName(L"M1");
  m->SetModel("GM-1");
}

TEST(DCMotor, RecordLayout) {
  DeviceBench bench;
  auto* m = bench.Create<CSCHDCMotor>("DCMotor");
  FillMotor(m);
  std::vector<uint8_t> expected = Golden()
                                      .F(24).F(50)
                                      .B(0x81)  // field winding, backlash stored
                                      .F(15)
                                      .F(0.004f).F(0.05f).F(4).F(0.2f).F(0.3f).F(3000)
                                      .B(2).F(12).F(0.05f)
                                      .B(3).F(0.02f).F(3.5f).F(5.5f).F(0.025f)
                                      .F(0.3f).B(1).F(0.028f).F(0.04f)
                                      .B(2).F(0.025f).F(0.02f).F(0.012f).F(0.003f).F(0.004f)
                                      .Bytes();
  expected = devtest::Concat(expected, devtest::WideBytes(L"мотор.wav"));
  expected = devtest::Concat(expected, Golden().F(1.5f).F(0.5f).Bytes());
  EXPECT_TRUE(velktest::BytesEqual(devtest::FieldsBefore<CSCHBlock>(m), expected));

  // Without a field winding and a sensor: no field resistance, no sensor
  // fields, a lone 0 unit for no sound.
  auto* plain = bench.Create<CSCHDCMotor>("DCMotor");
  std::vector<uint8_t> bare = Golden()
                                  .F(12).F(1).B(0x80)
                                  .F(0.01f).F(0.1f).F(1).F(0.1f).F(1).F(10)
                                  .B(0).F(1).F(1)
                                  .F(0.5f).B(0).F(0.02f).F(0.02f)
                                  .B(0).F(0.02f).F(0.001f).F(0.01f).F(0.002f).F(0.001f)
                                  .B(0).B(0).F(1).F(0)
                                  .Bytes();
  EXPECT_TRUE(velktest::BytesEqual(devtest::FieldsBefore<CSCHBlock>(plain), bare));
}

TEST(DCMotor, RecordReadsBackAndEveryCutLoadsSafely) {
  devtest::DeviceRegistryScope registry;
  auto m = comptest::NewDetached<CSCHDCMotor>("DCMotor");
  FillMotor(m.get());
  std::vector<uint8_t> bytes = comptest::SaveBytes(m.get());
  size_t own = devtest::FieldsBefore<CSCHBlock>(m.get()).size();
  comptest::ForEachTruncation<CSCHDCMotor>("DCMotor", bytes, [&](CSCHDCMotor* copy, size_t n) {
    // The pins always follow the fields read.
    EXPECT_EQ(copy->pinCount, copy->ExpectedPinCount());
    if (n >= own) {
      EXPECT_EQ(copy->Un, 24.0f);
      EXPECT_EQ(copy->staterWinding, 1);
      EXPECT_EQ(copy->sensorType, 2);
      EXPECT_EQ(copy->sensorMaxOutCurrent, 0.025f);
      EXPECT_EQ(copy->rotterDiameter, 0.004f);
      EXPECT_STREQ(copy->sound, L"мотор.wav");
      EXPECT_EQ(copy->Luft, 0.5f);
      EXPECT_EQ(copy->pinCount, 8);
    }
    if (n == bytes.size()) {
      EXPECT_STREQ(copy->instanceName, L"M1");
      EXPECT_STREQ(copy->model, "GM-1");
      EXPECT_TRUE(velktest::BytesEqual(devtest::ResavedBytes(copy), bytes));
    }
  });
}

TEST(DCMotor, ARecordWithoutTheBacklashFlagKeepsTheBacklash) {
  devtest::DeviceRegistryScope registry;
  auto source = comptest::NewDetached<CSCHDCMotor>("DCMotor");
  source->SetName(L"M7");
  CMemoryStream base;
  source->CSCHBlock::Save(&base);
  std::vector<uint8_t> bytes = Golden()
                                   .F(12).F(3).B(0x00)  // no bit 7: no backlash at the end
                                   .F(0.01f).F(0.1f).F(2).F(0.1f).F(1).F(100)
                                   .B(0).F(1).F(1)
                                   .F(0.5f).B(0).F(0.02f).F(0.02f)
                                   .B(0).F(0.02f).F(0.001f).F(0.01f).F(0.002f).F(0.001f)
                                   .B(0).B(0).F(1)
                                   .Bytes();
  bytes = devtest::Concat(bytes, comptest::StreamBytes(base));
  auto m = comptest::NewDetached<CSCHDCMotor>("DCMotor");
  m->Luft = 0.25f;
  comptest::LoadBytes(m.get(), bytes);
  EXPECT_EQ(m->Luft, 0.25f);
  EXPECT_EQ(m->reduction, 3.0f);
  EXPECT_EQ(m->Istart, 2.0f);
  EXPECT_STREQ(m->instanceName, L"M7");  // the base record was read in step
}

TEST(DCMotor, SchemeWithAMotorReadsBack) {
  DeviceBench bench;
  auto* m = bench.Create<CSCHDCMotor>("DCMotor");
  FillMotor(m);
  auto* battery = bench.Create<CSCHBattery>("Battery");
  auto* pullUp = bench.Create<CSCHResister>("Resister");
  auto* load = bench.Create<CSCHResister>("Resister");
  bench.Wire(battery, kElecBatteryPlus, m, 1);
  bench.Wire(m, 0, battery, kElecBatteryMinus);
  bench.Wire(pullUp, 0, m, 4);  // encoder supply
  bench.Wire(m, 5, load, 0);    // output A
  std::unique_ptr<SchScheme> copy = comptest::ReadBack(bench.scheme);
  ASSERT_TRUE(copy);
  auto* back = dynamic_cast<CSCHDCMotor*>(copy->FindBlockByName(L"M1"));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->pinCount, 8);
  EXPECT_EQ(back->sensorType, 2);
  EXPECT_STREQ(back->sound, L"мотор.wav");
  for (int i = 0; i < 8; i++) EXPECT_EQ(back->pins[i].wire != nullptr, i <= 1 || i == 4 || i == 5) << i;
  EXPECT_EQ(copy->WireCount(), 4);
}

// ------------------------------------------------------------ winding

// A motor between an ideal source on its second rotor pin and ground on its
// first, the current positive.
struct WindingRig {
  explicit WindingRig(float volts) {
    m = bench.Create<CSCHDCMotor>("DCMotor");
    m->SetName(L"M1");
    supply = bench.Source(volts);
    ground = bench.Ground();
    bench.Wire(supply, 0, m, 1);
    bench.Wire(m, 0, ground, 0);
  }
  DeviceBench bench;
  CSCHDCMotor* m;
  circuit::Part* supply;
  circuit::Part* ground;
};

TEST(DCMotor, StalledOnItsNominalVoltageSettlesAtTheStallCurrent) {
  WindingRig rig(12);
  rig.m->Istart = 2;  // 6 ohm, 0.06 H: a time constant of 0.01 s
  rig.m->Mstart = 0.5f;
  rig.m->reduction = 4;
  rig.m->BuildPins();
  rig.bench.Build();
  rig.bench.Start();
  // dt = 1 ms is below a third of the time constant: one Euler step of it.
  const float target = 12 / (6 + 2e-5f);
  rig.bench.Step(1, 1e-3f);
  EXPECT_NEAR(rig.m->winding.current, 0.1f * target, 1e-6f);
  rig.bench.Step(299, 1e-3f);
  EXPECT_NEAR(rig.m->winding.current, 2.0f, 1e-4f);
  // Torque: Mstart x current / Istart x reduction.
  EXPECT_NEAR(rig.m->shaft.torque, 0.5f * 4, 1e-3f);
  EXPECT_FALSE(rig.m->burnt);
  // The source sees the winding: 12 V - 0 V behind the effective resistance.
  float R = 0;
  float U = comptest::Bench::Read(rig.supply, 0, &R);
  EXPECT_NEAR(U, 0.0f, 1e-4f);
  EXPECT_NEAR(R, 6.0f, 1e-3f);
  rig.bench.Stop();
}

TEST(DCMotor, AStepLongerThanAThirdOfTheTimeConstantJumpsToTheTarget) {
  WindingRig rig(12);
  rig.m->Istart = 2;
  rig.m->BuildPins();  // 6 ohm, a time constant of 0.01 s
  rig.bench.Build();
  rig.bench.Start();
  // Half the no-load speed: 6 V of back EMF.
  rig.m->SetShaftMotion(rig.m->outputIdleSpeed / 2, 0);
  rig.bench.Step(1, 0.01f);
  EXPECT_NEAR(rig.m->winding.current, 6 / (6 + 2e-5f), 1e-6f);
  rig.bench.Stop();
}

// The test plays the robot's mechanical simulation: a shaft of inertia J
// under the motor's torque and a load torque.
void RunShaft(WindingRig* rig, float J, float load, int steps, float dt) {
  float speed = 0, angle = 0;
  for (int i = 0; i < steps; i++) {
    rig->m->SetShaftMotion(speed, angle);
    rig->bench.Step(1, dt);
    speed += dt * (rig->m->GetShaft().torque - load) / J;
    angle += dt * speed;
  }
  rig->m->SetShaftMotion(speed, angle);
}

TEST(DCMotor, SpeedAndCurrentSettleWithoutAndUnderLoad) {
  struct Case {
    float load;           // N·m on the output shaft
    float speed, current;  // worked out from the equations
  };
  // 12 V, 2 A stall (6 ohm), 0.5 N·m stall at the motor shaft, 3000 rpm,
  // gear 10: the output shaft runs at 31.4159 rad/s without load and gives
  // 5 N·m at stall. Steady: current = load / (0.5 x 10 / 2), speed = no-load
  // speed x (1 - current / 2).
  const Case cases[] = {
      {0, 31.415927f, 0},
      {2, 31.415927f * 0.6f, 0.8f},
      {4, 31.415927f * 0.2f, 1.6f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "load " << c.load);
    WindingRig rig(12);
    rig.m->Istart = 2;
    rig.m->Mstart = 0.5f;
    rig.m->Widle = 3000;
    rig.m->reduction = 10;
    rig.m->Te = 0.001f;
    rig.m->BuildPins();
    rig.bench.Build();
    rig.bench.Start();
    RunShaft(&rig, 0.01f, c.load, 2000, 1e-3f);
    EXPECT_NEAR(rig.m->GetShaft().speed, c.speed, 1e-3f * 31.4f);
    EXPECT_NEAR(rig.m->winding.current, c.current, 1e-3f);
    EXPECT_NEAR(rig.m->GetShaft().torque, c.load, 1e-3f);
    rig.bench.Stop();
  }
}

TEST(DCMotor, ThreeTimesTheStallCurrentBurnsItAfterTwentyTimesLnThreeSeconds) {
  LogCapture log;
  WindingRig rig(36);  // stalled on 3 x Un: 3 x Istart
  rig.bench.Build();
  rig.bench.Start();
  // 10 ms steps: each jumps to the target current.
  const float dt = 0.01f;
  const float burnTime = 20 * std::log(3.0f);  // 21.97 s
  int before = static_cast<int>(std::floor((burnTime - 0.07f) / dt));
  rig.bench.Step(before, dt);
  EXPECT_NEAR(rig.m->winding.current, 3.0f, 1e-4f);
  EXPECT_FALSE(rig.m->burnt);
  EXPECT_EQ(log.Count(), 0);
  rig.bench.Step(14, dt);
  EXPECT_TRUE(rig.m->burnt);
  EXPECT_EQ(log.Messages(), std::vector<std::wstring>{L"Двигатель M1 сгорел!"});
  // Burnt: both rotor pins open, no torque, no further message.
  rig.bench.Step(10, dt);
  float R = 0;
  EXPECT_NEAR(comptest::Bench::Read(rig.supply, 0, &R), 0.0f, 0.01f);
  EXPECT_NEAR(R, kSchOpenResistance, 0.01f * kSchOpenResistance);
  EXPECT_EQ(rig.m->shaft.torque, 0.0f);
  EXPECT_EQ(log.Count(), 1);
  // Start clears the burnt flag.
  rig.bench.Start();
  EXPECT_FALSE(rig.m->burnt);
  rig.bench.Stop();
}

TEST(DCMotor, TwiceTheStallCurrentNeverBurnsIt) {
  LogCapture log;
  WindingRig rig(24);
  rig.bench.Build();
  rig.bench.Start();
  rig.bench.Step(4000, 0.05f);  // 200 s
  EXPECT_FALSE(rig.m->burnt);
  EXPECT_NEAR(rig.m->winding.heating, 2.0f, 1e-3f);
  EXPECT_LE(rig.m->winding.heating, 2.0f);
  EXPECT_EQ(log.Count(), 0);
  rig.bench.Stop();
}

// ------------------------------------------------------------ sensors

// A motor with an encoder on a 5 V supply and a probe on every output.
struct EncoderRig {
  EncoderRig(unsigned char type, unsigned char stage, float volts = 5) {
    m = bench.Create<CSCHDCMotor>("DCMotor");
    m->SetName(L"M1");
    m->sensorType = type;
    m->sensorOutType = stage;
    m->TicksPerRot = 16;
    m->reduction = 2;
    m->sensorCurrent = 0.02f;
    m->sensorMinVoltage = 3;
    m->sensorMaxVoltage = 6;
    m->sensorMaxOutCurrent = 0.05f;
    m->BuildPins();
    supply = bench.Source(volts);
    ground = bench.Ground();
    bench.Wire(supply, 0, m, 2);
    bench.Wire(m, type == CSCHDCMotor::kSensorEncoderAB ? 5 : 4, ground, 0);
    for (int i = 0; i < (type == CSCHDCMotor::kSensorEncoderAB ? 2 : 1); i++) {
      probes[i] = bench.Part(1);
      bench.Wire(m, 3 + i, probes[i], 0);
    }
  }
  // Turns the output shaft from its angle by turns in steps, summing the
  // edge counts a probe's net carries.
  long long Turn(float turns, int steps, int probe = 0) {
    long long edges = 0;
    const float start = m->GetShaft().angle;
    for (int i = 1; i <= steps; i++) {
      m->SetShaftMotion(0, start + 2 * kPi * turns * i / steps);
      bench.Step(1, 1e-3f);
      SchPinState s = devtest::StateAt(probes[probe], 0);
      EXPECT_EQ(s.source, &m->pulseRecord);
      edges += GetPulseEdges(s.source);
    }
    return edges;
  }
  DeviceBench bench;
  CSCHDCMotor* m;
  circuit::Part* supply;
  circuit::Part* ground;
  circuit::Part* probes[2] = {nullptr, nullptr};
};

TEST(DCMotor, EncoderEdgesPerTurnAndLevelsOfEveryOutputStage) {
  struct Case {
    unsigned char stage;
    float U, R, U2, R2;  // the levels the output hands its net (Up 5, Ug 0)
  };
  const Case cases[] = {
      {CSCHDCMotor::kOutOpenCollector, 0.1f, 1e-5f, 5, kSchOpenResistance},
      {CSCHDCMotor::kOutOpenCollectorHigh, 5, kSchOpenResistance, 0.1f, 1e-5f},
      {CSCHDCMotor::kOutPushPull, 4.9f, 1e-5f, 0.1f, 1e-5f},
      {CSCHDCMotor::kOutPullUp, 5, 1000, 0.1f, 1e-5f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "stage " << int(c.stage));
    EncoderRig rig(CSCHDCMotor::kSensorEncoder, c.stage);
    rig.bench.Build();
    rig.bench.Start();
    // Off any edge first (0.1 tick), then one output turn forwards and one
    // back: two edges a tick, 16 ticks a motor turn, 2 motor turns.
    rig.m->SetShaftMotion(0, 0.1f * kPi / 32);
    rig.bench.Step(1, 1e-3f);
    EXPECT_EQ(rig.Turn(1, 1000), 64);
    EXPECT_EQ(rig.Turn(-1, 1000), 64);  // no sign on a single output
    SchPinState s = devtest::StateAt(rig.probes[0], 0);
    EXPECT_EQ(s.sourceKind, kDevPulseSourceA);
    EXPECT_NEAR(s.U, c.U, 1e-5f * std::max(1.0f, c.U));
    EXPECT_NEAR(s.R, c.R, 1e-4f * c.R);
    EXPECT_NEAR(s.U2, c.U2, 1e-5f * std::max(1.0f, c.U2));
    EXPECT_NEAR(s.R2, c.R2, 1e-4f * c.R2);
    EXPECT_FALSE(rig.m->sensorBurnt);
    rig.bench.Stop();
  }
}

TEST(DCMotor, ABEncoderCountsFourEdgesATickWithTheDirection) {
  EncoderRig rig(CSCHDCMotor::kSensorEncoderAB, CSCHDCMotor::kOutPushPull);
  rig.bench.Build();
  rig.bench.Start();
  rig.m->SetShaftMotion(0, 0.1f * kPi / 64);
  rig.bench.Step(1, 1e-3f);
  EXPECT_EQ(rig.Turn(1, 1000), 128);
  EXPECT_EQ(rig.Turn(-1, 1000, 1), -128);  // channel B carries the same record
  EXPECT_EQ(devtest::StateAt(rig.probes[0], 0).sourceKind, kDevPulseSourceA);
  EXPECT_EQ(devtest::StateAt(rig.probes[1], 0).sourceKind, kDevPulseSourceB);
  // The tick change of the last step: 4 x 16 x 2 / 1000 ticks backwards.
  EXPECT_NEAR(GetPulseTicks(&rig.m->pulseRecord), -0.128f, 1e-3f);
  rig.bench.Stop();
}

TEST(DCMotor, EncoderSupplyLimits) {
  LogCapture log;
  {
    // Not above the lowest supply voltage: the output is left open, no data.
    EncoderRig rig(CSCHDCMotor::kSensorEncoder, CSCHDCMotor::kOutPushPull, 2.9f);
    rig.bench.Build();
    rig.bench.Start();
    rig.bench.Step(2, 1e-3f);
    SchPinState s = devtest::StateAt(rig.probes[0], 0);
    EXPECT_EQ(s.source, nullptr);
    EXPECT_NEAR(s.U, 0.0f, 1e-6f);
    EXPECT_NEAR(s.R, kSchOpenResistance, 1.0f);
    // The encoder loads its supply with (3 + 6) / 2 / 0.02 = 225 ohm.
    float R = 0;
    comptest::Bench::Read(rig.supply, 0, &R);
    EXPECT_NEAR(R, 225.0f, 1e-3f);
    EXPECT_FALSE(rig.m->sensorBurnt);
    rig.bench.Stop();
  }
  EXPECT_EQ(log.Count(), 0);
  {
    // Above the highest: the sensor burns once; its pins go open; the
    // winding keeps working.
    EncoderRig rig(CSCHDCMotor::kSensorEncoder, CSCHDCMotor::kOutPushPull, 6.1f);
    auto* rotor = rig.bench.Source(12);
    rig.bench.Wire(rotor, 0, rig.m, 1);
    rig.bench.Wire(rig.m, 0, rig.bench.Ground(), 0);
    rig.bench.Build();
    rig.bench.Start();
    rig.bench.Step(5, 1e-3f);
    EXPECT_TRUE(rig.m->sensorBurnt);
    EXPECT_FALSE(rig.m->burnt);
    EXPECT_EQ(log.Messages(), std::vector<std::wstring>{L"Датчик двигателя M1 сгорел!"});
    float R = 0;
    EXPECT_NEAR(comptest::Bench::Read(rig.supply, 0, &R), 0.0f, 0.01f);
    EXPECT_NEAR(R, kSchOpenResistance, 0.01f * kSchOpenResistance);
    EXPECT_GT(rig.m->winding.current, 0.1f);
    rig.bench.Stop();
  }
}

TEST(DCMotor, EncoderOutputOverloadBurnsTheSensor) {
  struct Case {
    unsigned char stage;
    float U, R;  // what the output is wired to
    bool burns;
  };
  // Sink: (Uo - 0.1) / (Ro + Rg); source (stages 2, 3): (5 - Uo - 0.1) / (Ro + Rg); limit 0.05 A.
  const Case cases[] = {
      {CSCHDCMotor::kOutOpenCollector, 5, 100, false},  // 0.049 A sink
      {CSCHDCMotor::kOutOpenCollector, 5, 90, true},    // 0.0544 A sink
      {CSCHDCMotor::kOutOpenCollector, 0, 1e-5f, false}, // nothing to sink
      {CSCHDCMotor::kOutPushPull, 0, 100, false},       // 0.049 A source
      {CSCHDCMotor::kOutPullUp, 0, 90, true},           // 0.0544 A source
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "stage " << int(c.stage) << " " << c.U << " V " << c.R << " ohm");
    LogCapture log;
    EncoderRig rig(CSCHDCMotor::kSensorEncoder, c.stage);
    rig.probes[0]->Drive(0, c.U, c.R);
    rig.bench.Build();
    rig.bench.Start();
    rig.bench.Step(3, 1e-3f);
    EXPECT_EQ(rig.m->sensorBurnt != 0, c.burns);
    EXPECT_EQ(log.Count(), c.burns ? 1 : 0);
    rig.bench.Stop();
  }
}

TEST(DCMotor, ABurntMotorStillCountsItsEncoder) {
  EncoderRig rig(CSCHDCMotor::kSensorEncoderAB, CSCHDCMotor::kOutOpenCollector);
  rig.bench.Build();
  rig.bench.Start();
  rig.m->burnt = 1;
  rig.m->SetShaftMotion(0, 0.1f * kPi / 64);
  rig.bench.Step(1, 1e-3f);
  EXPECT_EQ(rig.Turn(0.5f, 500), 64);
  rig.bench.Stop();
}

// A motor with a tachogenerator (and a field winding: its pins are 4 and
// 5), the minus pin grounded, the plus pin on a probe and, when given, a
// load to ground.
struct TachoRig {
  explicit TachoRig(float loadOhms) {
    m = bench.Create<CSCHDCMotor>("DCMotor");
    m->sensorType = CSCHDCMotor::kSensorTacho;
    m->staterWinding = 1;
    m->Ktacho = 0.05f;
    m->reduction = 2;
    m->BuildPins();
    probe = bench.Part(1);
    bench.Wire(m, 5, bench.Ground(), 0);
    if (loadOhms > 0) {
      auto* load = bench.Add<circuit::Load>(loadOhms);
      bench.Star({{m, 4}, {probe, 0}, {load, 0}});
      bench.Wire(load, 1, bench.Ground(), 0);
    } else {
      bench.Wire(m, 4, probe, 0);
    }
    bench.Build();
    bench.Start();
  }
  ~TachoRig() { bench.Stop(); }
  DeviceBench bench;
  CSCHDCMotor* m;
  circuit::Part* probe;
};

TEST(DCMotor, TachogeneratorVoltage) {
  {
    TachoRig rig(0);
    // 100 rad/s x 2 x 0.05 V per rad/s = 10 V behind 50 ohm.
    rig.m->SetShaftMotion(100, 0);
    rig.bench.Step(2, 1e-3f);
    float R = 0;
    EXPECT_NEAR(comptest::Bench::Read(rig.probe, 0, &R), 10.0f, 1e-4f);
    EXPECT_NEAR(R, 50.0f, 1e-3f);
    rig.m->SetShaftMotion(-100, 0);
    rig.bench.Step(2, 1e-3f);
    EXPECT_NEAR(comptest::Bench::Read(rig.probe, 0), -10.0f, 1e-4f);
  }
  {
    // Loaded with 950 ohm: 10 V x 950 / 1000.
    TachoRig rig(950);
    rig.m->SetShaftMotion(100, 0);
    rig.bench.Step(3, 1e-3f);
    EXPECT_NEAR(comptest::Bench::Read(rig.probe, 0), 9.5f, 1e-3f);
  }
}

// ------------------------------------------------------------ drawing

TEST(DCMotor, PictureAndName) {
  comptest::IconsFolderScope icons(devtest::ShippedIconsFolder());
  DeviceBench bench;
  auto* m = bench.Create<CSCHDCMotor>("DCMotor");
  m->SetName(L"M1");
  comptest::SymbolCanvas canvas(140, 80);
  EXPECT_TRUE(canvas.Paint(m, 20, 10));
  // The picture at its own size: a rotor lead at the first pin, the can,
  // the gearbox, the shaft.
  EXPECT_EQ(canvas.Pixel(20 + 5, 10 + 11), RGB(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(20 + 42, 10 + 24), RGB(150, 155, 165));
  EXPECT_EQ(canvas.Pixel(20 + 72, 10 + 24), RGB(185, 150, 60));
  EXPECT_EQ(canvas.Pixel(20 + 88, 10 + 24), RGB(210, 210, 210));
  // The name below, centred over the 96 px.
  EXPECT_GT(canvas.InkIn(20 + 30, 58, 20 + 66, 78), 0);
  EXPECT_EQ(canvas.InkIn(0, 58, 20 + 30, 80), 0);
  EXPECT_EQ(canvas.InkIn(20 + 66, 58, 140, 80), 0);
  EXPECT_TRUE(canvas.Save(L"dc_motor_symbol.bmp"));
  // No footprint.
  comptest::FootprintCanvas board(10, 100, 100);
  EXPECT_TRUE(board.Paint(m));
  EXPECT_EQ(board.InkCount(), 0);
}

TEST(DCMotor, ShippedPictureFitsTheSymbol) {
  CKestImage picture;
  ASSERT_EQ(picture.Load((devtest::ShippedIconsFolder() + L"motor.png").c_str()), S_OK);
  EXPECT_EQ(picture.GetWidth(), 96);
  EXPECT_EQ(picture.GetHeight(), 48);
}

}  // namespace
