// The power supply unit and the voltage labels of its pins: creation, pins
// by configuration, its record, the input measurement, the outputs, the
// board connector, protection and burn-out.
#include "components/electronic/power/power_supply.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "component_kit.h"
#include "components/electronic/voltage_label.h"
#include "support/test_support.h"

namespace {

using comptest::Bench;
using comptest::DbRow;
using comptest::Golden;
using comptest::LogCapture;

TEST(VoltageLabel, Table) {
  struct Case {
    float volts;
    bool ac;
    const wchar_t* label;
  };
  const Case cases[] = {
      {12, false, L"+12V"},     {3.3f, false, L"+3.3V"},  {-12, false, L"-12V"},
      {-5.5f, false, L"-5.5V"}, {0, false, L"-0V"},       {220, true, L"~220V"},
      {11.995f, false, L"+12.0V"},  // the fraction 0.995 is not below 0.01
      {5.004f, false, L"+5V"},      // 0.004 is: whole, truncated
      {-3.3f, false, L"-3.3V"},     {1.25f, false, L"+1.2V"},  {12.5f, true, L"~12.5V"},
      {-12.0f, true, L"~-12V"},     {24.0f, false, L"+24V"},
  };
  for (const Case& c : cases) {
    wchar_t buffer[kElecVoltageLabelSize];
    FormatVoltageLabel(buffer, c.volts, c.ac);
    EXPECT_STREQ(buffer, c.label) << c.volts;
  }
}

TEST(VoltageLabel, HugeValuesStayInsideTheBuffer) {
  wchar_t buffer[kElecVoltageLabelSize + 4];
  for (wchar_t& ch : buffer) ch = L'#';
  FormatVoltageLabel(buffer, 3.0e30f, false);
  EXPECT_EQ(buffer[0], L'+');
  EXPECT_EQ(buffer[kElecVoltageLabelSize], L'#');  // nothing written past the buffer
  EXPECT_LT(wcslen(buffer), static_cast<size_t>(kElecVoltageLabelSize));
  FormatVoltageLabel(buffer, -3.0e9f, false);
  EXPECT_STREQ(buffer, L"-3000000000V");
}

// A database row of a unit: 12 V DC input (9..15 V), outputs +12 V 1 A,
// +5 V 2 A, -12 V 0.5 A.
DbRow ThreeOutputRow(const char* outType = "0", const char* inType = "0", const char* stab = "1",
                     const char* uin = "12") {
  return DbRow(L"powersupply", {{"model", "PS-3"},
                                {"InType", inType},
                                {"Uin", uin},
                                {"UinMin", "9"},
                                {"UinMax", "15"},
                                {"OutType", outType},
                                {"Uout1", "12"},
                                {"Iout1", "1"},
                                {"Uout2", "5"},
                                {"Iout2", "2"},
                                {"Uout3", "-12"},
                                {"Iout3", "0.5"},
                                {"stab", stab},
                                {"mass", "300"}});
}

TEST(PowerSupply, CreatedThroughTheRegistryWithoutPins) {
  Bench bench;
  auto* p = bench.Create<CSCHPowerSupply>("POWER_SUPPLY");
  ASSERT_NE(p, nullptr);
  EXPECT_STREQ(p->className, "POWER_SUPPLY");
  EXPECT_EQ(p->instanceName, nullptr);  // no designator prefix
  EXPECT_EQ(p->pinCount, 0);
  EXPECT_EQ(p->rect.right - p->rect.left, 250);
  EXPECT_EQ(p->efficiency, 88.0f);
  EXPECT_EQ(p->stabilised, 1);
  EXPECT_EQ(p->inputVoltage, 12.0f);
  EXPECT_EQ(p->outputType, 0);
  // Without pins a run steps over it harmlessly.
  bench.Run(3);
  bench.Stop();
}

struct PinRow {
  const wchar_t* name;
  const wchar_t* description;
  int side, kind, offset;
};

void ExpectPins(CSCHPowerSupply* p, const std::vector<PinRow>& rows) {
  ASSERT_EQ(p->pinCount, static_cast<int>(rows.size()));
  for (size_t i = 0; i < rows.size(); i++) {
    SCOPED_TRACE("pin " + std::to_string(i));
    EXPECT_STREQ(p->pins[i].name, rows[i].name);
    EXPECT_STREQ(p->pins[i].description, rows[i].description);
    EXPECT_EQ(p->pins[i].side, rows[i].side);
    EXPECT_EQ(p->pins[i].kind, rows[i].kind);
    EXPECT_EQ(p->pins[i].offset, rows[i].offset);
  }
}

TEST(PowerSupply, PinsOfAThreeOutputUnit) {
  Bench bench;
  auto* p = bench.Create<CSCHPowerSupply>("POWER_SUPPLY");
  DbRow row = ThreeOutputRow();
  p->ApplyDbRecord(row.Record());
  // Six pins: 100 px high; left side 100/3 and 200/3, right side 20, 40,
  // 60, 80 turned to run from the top down.
  EXPECT_EQ(p->rect.bottom - p->rect.top, 100);
  ExpectPins(p, {{L"Вход +12V", L"Входное напряжение", kSchSideLeft, 0, 33},
                 {L"\"Земля\"", L"Входное напряжение", kSchSideLeft, 0, 66},
                 {L"Общий", L"Общий выход", kSchSideRight, 0, 80},
                 {L"Выход +12V", L"Выход", kSchSideRight, 0, 60},
                 {L"Выход +5V", L"Выход", kSchSideRight, 0, 40},
                 {L"Выход -12V", L"Выход", kSchSideRight, 0, 20}});
  EXPECT_EQ(p->mass, 300.0f);
  EXPECT_STREQ(p->model, "PS-3");
  // The right-side pins follow each other from the top down.
  for (int i = 3; i < 6; i++) EXPECT_GT(p->GetPinAnchor(i).y, p->GetPinAnchor(i - 1).y);
}

TEST(PowerSupply, PinsWithABoardConnectorAndAnAcOutput) {
  Bench bench;
  auto* p = bench.Create<CSCHPowerSupply>("POWER_SUPPLY");
  DbRow atx = ThreeOutputRow("2", "1", "1", "220");
  p->ApplyDbRecord(atx.Record());
  // Seven pins, 120 px: left 40, 80; right 20..100 step 20, turned.
  ExpectPins(p, {{L"Вход ~220V", L"Входное напряжение", kSchSideLeft, 0, 40},
                 {L"\"Земля\"", L"Входное напряжение", kSchSideLeft, 0, 80},
                 {L"ATX", L"Стандартный разъем ATX 24", kSchSideRight, kSchPinAtx24, 100},
                 {L"Общий", L"Общий выход", kSchSideRight, 0, 80},
                 {L"Выход +12V", L"Выход", kSchSideRight, 0, 60},
                 {L"Выход +5V", L"Выход", kSchSideRight, 0, 40},
                 {L"Выход -12V", L"Выход", kSchSideRight, 0, 20}});
  DbRow itx = ThreeOutputRow("3");
  p->ApplyDbRecord(itx.Record());
  ASSERT_EQ(p->pinCount, 7);
  EXPECT_STREQ(p->pins[2].name, L"ITX");
  EXPECT_EQ(p->pins[2].kind, kSchPinItx);
  DbRow ac = ThreeOutputRow("1");
  p->ApplyDbRecord(ac.Record());
  ASSERT_EQ(p->pinCount, 6);
  EXPECT_STREQ(p->pins[3].name, L"Выход ~12V");  // only output 1 is AC
  EXPECT_STREQ(p->pins[4].name, L"Выход +5V");
}

TEST(PowerSupply, WithoutOutputOneThereIsNoCommonPin) {
  Bench bench;
  auto* p = bench.Create<CSCHPowerSupply>("POWER_SUPPLY");
  DbRow row(L"powersupply", {{"model", "X"}, {"Uin", "12"}, {"UinMax", "15"}, {"Uout2", "5"}, {"Iout2", "1"}});
  p->ApplyDbRecord(row.Record());
  ASSERT_EQ(p->pinCount, 3);
  EXPECT_STREQ(p->pins[2].name, L"Выход +5V");
  // The output pin is not merged with the input ground.
  auto* in = bench.Source(12);
  auto* gnd = bench.Ground();
  auto* out = bench.Part(1);
  bench.Wire(in, 0, p, kElecPsuInput);
  bench.Wire(gnd, 0, p, kElecPsuInputGround);
  bench.Wire(out, 0, p, 2);
  bench.Run(5);
  EXPECT_NE(Bench::NetOf(p, 2), Bench::NetOf(p, kElecPsuInputGround));
  EXPECT_NEAR(Bench::Read(out, 0), 0.0f, 1e-4f);  // drives no output
  bench.Stop();
}

TEST(PowerSupply, RecordBeforeTheDeviceRecord) {
  Bench bench;
  auto* p = bench.Create<CSCHPowerSupply>("POWER_SUPPLY");
  DbRow row = ThreeOutputRow("2", "1", "0");
  p->ApplyDbRecord(row.Record());
  p->efficiency = 75.5f;
  std::vector<uint8_t> bytes = comptest::SaveBytes(p);
  Golden own;
  own.B(1).F(12).F(9).F(15).B(2);
  own.F(12).F(5).F(-12).F(0).F(0).F(0);
  own.F(1).F(2).F(0.5f).F(0).F(0).F(0);
  own.F(75.5f).B(0);
  ASSERT_EQ(own.Bytes().size(), 67u);
  ASSERT_GE(bytes.size(), 67u);
  EXPECT_TRUE(velktest::BytesEqual(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 67), own.Bytes()));
  CMemoryStream device;
  p->CSCHDevice::Save(&device);
  EXPECT_TRUE(velktest::BytesEqual(std::vector<uint8_t>(bytes.begin() + 67, bytes.end()),
                                   comptest::StreamBytes(device)));

  // Read back: the same record and the pins rebuilt before the base record.
  auto copy = comptest::NewDetached<CSCHPowerSupply>("POWER_SUPPLY");
  ASSERT_TRUE(copy);
  comptest::LoadBytes(copy.get(), bytes);
  EXPECT_EQ(copy->pinCount, 7);
  EXPECT_STREQ(copy->pins[0].name, L"Вход ~12V");
  EXPECT_STREQ(copy->pins[2].name, L"ATX");
  EXPECT_EQ(copy->efficiency, 75.5f);
  EXPECT_EQ(copy->stabilised, 0);
  EXPECT_EQ(copy->mass, 300.0f);
  EXPECT_STREQ(copy->model, "PS-3");
  std::vector<uint8_t> again = comptest::SaveBytes(copy.get());
  EXPECT_TRUE(velktest::BytesEqual(std::vector<uint8_t>(again.begin(), again.begin() + 67), own.Bytes()));
  // Through a whole scheme stream.
  auto read = comptest::ReadBack(bench.scheme);
  ASSERT_TRUE(read);
  auto* back = dynamic_cast<CSCHPowerSupply*>(read->blocks);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->pinCount, 7);
  EXPECT_EQ(back->efficiency, 75.5f);
}

TEST(PowerSupply, EveryTruncatedRecordLoads) {
  Bench bench;
  auto* p = bench.Create<CSCHPowerSupply>("POWER_SUPPLY");
  DbRow row = ThreeOutputRow("2");
  p->ApplyDbRecord(row.Record());
  std::vector<uint8_t> bytes = comptest::SaveBytes(p);
  comptest::ForEachTruncation<CSCHPowerSupply>(
      "POWER_SUPPLY", bytes, [&](CSCHPowerSupply* c, size_t n) {
        // A field cut inside reads its bytes that are there; whole fields
        // read intact, missing ones as 0.
        auto field = [&](float value, float expected, size_t start, size_t end) {
          if (n >= end) {
            EXPECT_EQ(value, expected) << "field ending at " << end;
          } else if (n <= start) {
            EXPECT_EQ(value, 0.0f) << "field starting at " << start;
          }
        };
        field(c->inputVoltage, 12, 1, 5);
        field(c->maximumInput, 15, 9, 13);
        EXPECT_EQ(c->outputType, n >= 14 ? 2 : 0);
        field(c->outputVoltage[2], -12, 22, 26);
        field(c->outputCurrent[1], 2, 42, 46);
        field(c->efficiency, 88, 62, 66);
        EXPECT_EQ(c->stabilised, n >= 67 ? 1 : 0);
        EXPECT_EQ(c->pinCount, c->ExpectedPinCount());
        // A cut unit steps without harm.
        c->Start();
        c->Step(1e-3f);
      });
}

// A unit of the three-output row on a bench: the input from a source
// behind 1 ohm, the input ground at 0 V.
struct PsuBench {
  explicit PsuBench(const DbRow& row, float input = 12, const wchar_t* name = L"БП1") {
    psu = bench.Create<CSCHPowerSupply>("POWER_SUPPLY");
    psu->ApplyDbRecord(row.Record());
    psu->SetName(name);
    in = bench.Source(input, 1);
    gnd = bench.Ground();
    bench.Wire(in, 0, psu, kElecPsuInput);
    bench.Wire(gnd, 0, psu, kElecPsuInputGround);
  }
  // A probe that drives nothing (5 megohm to 0 V) on a pin.
  circuit::Part* Probe(int pin) {
    auto* probe = bench.Part(1);
    bench.Wire(probe, 0, psu, pin);
    return probe;
  }
  Bench bench;
  CSCHPowerSupply* psu;
  circuit::Part* in;
  circuit::Part* gnd;
};

TEST(PowerSupply, LoadedOutputAndTheInputItDraws) {
  DbRow row = ThreeOutputRow();
  PsuBench b(row);
  // Output 2 (+5 V, 2 A: k = 5 / 2 / 20 = 0.125 ohm) into 10 ohm to the
  // common pin.
  auto* load = b.bench.Add<circuit::Load>(10.0f);
  b.bench.Wire(load, 1, b.psu, 2);
  auto* p12 = b.Probe(3);
  auto* m12 = b.Probe(5);
  auto* across = b.bench.Part(1);
  b.bench.Star({{b.psu, 4}, {load, 0}, {across, 0}});
  b.bench.Run(50);
  // The common pin is the input ground's net.
  EXPECT_EQ(Bench::NetOf(b.psu, 2), Bench::NetOf(b.psu, kElecPsuInputGround));
  // 5 x 10 / 10.125 across the load; the unloaded rails at their voltages.
  EXPECT_NEAR(Bench::Read(across, 0), 4.93827f, 2e-4f);
  EXPECT_NEAR(Bench::Read(p12, 0), 12.0f, 1e-3f);
  EXPECT_NEAR(Bench::Read(m12, 0), -12.0f, 1e-3f);
  // The load takes I = 5 / 10.125 = 0.493827 A, P = 2.469136 W; the input
  // P x 100 / 88 = 2.805836 W at 12 V: 144 / 2.805836 = 51.3217 ohm in
  // parallel with 100 kilohm = 51.2954 ohm, what the source sees.
  float R = 0;
  Bench::Read(b.in, 0, &R);
  EXPECT_NEAR(R, 51.2954f, 0.02f);
  b.bench.Stop();
}

TEST(PowerSupply, UnderVoltageReleasesTheOutputsUntilTheInputReturns) {
  DbRow row = ThreeOutputRow();
  PsuBench b(row, 6);
  auto* probe = b.Probe(3);
  LogCapture log;
  b.bench.Run(50);
  EXPECT_NEAR(Bench::Read(probe, 0), 0.0f, 1e-4f);
  float R = 0;
  Bench::Read(probe, 0, &R);
  EXPECT_GT(R, 1e6f);  // 5 megohm
  // The input is back: after the settling 35 ms the smoothed input follows
  // with a time constant of 0.1 s, from 6 V towards 12 V: above 9 V within
  // 0.1 x ln 2 = 69 ms.
  b.in->Drive(0, 12, 1);
  b.bench.Step(60);
  EXPECT_NEAR(Bench::Read(probe, 0), 0.0f, 1e-4f);
  b.bench.Step(20);
  EXPECT_NEAR(Bench::Read(probe, 0), 12.0f, 1e-3f);
  EXPECT_EQ(log.Count(), 0);  // silently
  b.bench.Stop();
}

TEST(PowerSupply, ShortedOutputTripsTheProtectionUntilStart) {
  DbRow row = ThreeOutputRow();
  PsuBench b(row);
  auto* shortCircuit = b.bench.Source(0, kSchMinResistance);
  b.bench.Wire(shortCircuit, 0, b.psu, 3);  // +12 V straight to 0 V
  auto* probe = b.Probe(4);
  LogCapture log;
  b.bench.Run(5);
  EXPECT_EQ(b.psu->protectionTripped, 1);
  EXPECT_EQ(b.psu->burnt, 0);
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.Messages()[0], L"В блоке питания \"БП1\" сработала защита от короткого замыкания.");
  // Off: every pin 0 V behind 5 megohm, also after the short is gone.
  shortCircuit->Drive(0, 0, kSchOpenResistance);
  b.bench.Step(20);
  float R = 0;
  EXPECT_NEAR(Bench::Read(probe, 0, &R), 0.0f, 1e-4f);
  EXPECT_GT(R, 1e6f);
  Bench::Read(b.in, 0, &R);
  EXPECT_GT(R, 1e6f);
  EXPECT_EQ(log.Count(), 1);
  b.bench.Stop();
  // The next run starts afresh.
  b.bench.Run(5);
  EXPECT_EQ(b.psu->protectionTripped, 0);
  EXPECT_NEAR(Bench::Read(probe, 0), 5.0f, 1e-3f);
  b.bench.Stop();
}

TEST(PowerSupply, OverVoltageBurnsTheUnitForGood) {
  DbRow row = ThreeOutputRow();
  PsuBench b(row, 20);
  auto* probe = b.Probe(3);
  LogCapture log;
  b.bench.Run(3);
  EXPECT_EQ(b.psu->burnt, 1);
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.Messages()[0], L"Блок питания \"БП1\" вышел из строя!");
  b.bench.Stop();
  // Start does not clear it.
  b.in->Drive(0, 12, 1);
  b.bench.Run(5);
  EXPECT_EQ(b.psu->burnt, 1);
  EXPECT_NEAR(Bench::Read(probe, 0), 0.0f, 1e-4f);
  EXPECT_EQ(log.Count(), 1);
  b.bench.Stop();
}

TEST(PowerSupply, NonStabilisedUnitAtHalfInputDrivesHalfVoltages) {
  DbRow row = ThreeOutputRow("0", "0", "0");
  row.Record();
  // 12 V nominal, 6 V in: the minimum must let it run.
  PsuBench b(row, 6);
  b.psu->minimumInput = 3;
  auto* p12 = b.Probe(3);
  auto* p5 = b.Probe(4);
  auto* m12 = b.Probe(5);
  b.bench.Run(30);
  // The input draws almost nothing: S = 6 x Rl / (Rl + 1) with Rl near
  // 100 kilohm, g = S / 12 = 0.499995.
  EXPECT_NEAR(Bench::Read(p12, 0), 6.0f, 2e-3f);
  EXPECT_NEAR(Bench::Read(p5, 0), 2.5f, 2e-3f);
  EXPECT_NEAR(Bench::Read(m12, 0), -6.0f, 2e-3f);
  b.bench.Stop();
}

TEST(PowerSupply, AcInputIsOnFromTheFirstStepAndMeasuresTheRateOfChange) {
  DbRow row = ThreeOutputRow("0", "1", "1", "220");
  PsuBench b(row, 0);
  b.psu->minimumInput = 180;
  b.psu->maximumInput = 400;
  auto* probe = b.Probe(3);
  b.bench.Run(1);
  EXPECT_FLOAT_EQ(b.psu->smoothedInput, 180.1f);  // minimum + 0.1 while settling
  EXPECT_NEAR(Bench::Read(probe, 0), 12.0f, 1e-3f);
  // A steady input has no rate of change: after settling the measure decays
  // and the outputs go off.
  b.bench.Step(40);
  EXPECT_LT(b.psu->smoothedInput, 180.0f);
  EXPECT_NEAR(Bench::Read(probe, 0), 0.0f, 1e-4f);
  b.bench.Stop();

  // A 50 Hz sine of amplitude 311 V: the mean |dU/dt| is 200 x 311, so the
  // measure settles near 0.00614824 x 62200 = 382.4 V (time constant 0.5 s).
  b.bench.Build();
  b.bench.Start();
  const float dt = 1e-4f;
  for (int i = 1; i <= 30000; i++) {
    b.in->Drive(0, 311.0f * std::sin(2 * 3.14159265f * 50 * i * dt), 1);
    b.bench.Step(1, dt);
  }
  EXPECT_NEAR(b.psu->smoothedInput, 382.4f, 4.0f);
  EXPECT_NEAR(Bench::Read(probe, 0), 12.0f, 1e-3f);
  EXPECT_EQ(b.psu->burnt, 0);
  b.bench.Stop();
}

TEST(PowerSupply, AcOutputFollowsASineAt50Hz) {
  DbRow row = ThreeOutputRow("1");
  PsuBench b(row);
  auto* p12 = b.Probe(3);
  auto* p5 = b.Probe(4);
  b.bench.Build();
  b.bench.Start();
  // dt = 1 ms: the phase advances by pi / 10 a step; output 1 is driven at
  // 12 sin of the phase before the advance.
  for (int i = 0; i < 25; i++) {
    b.bench.Step(1);
    EXPECT_NEAR(Bench::Read(p12, 0), 12.0f * std::sin(3.14159265f / 10 * i), 2e-3f) << i;
    EXPECT_NEAR(Bench::Read(p5, 0), 5.0f, 1e-3f);
  }
  EXPECT_LT(b.psu->phase, 6.2831855f);
  b.bench.Stop();
}

// A board at the far end of an ATX or ITX cable: writes its load into the
// cable net's conductance sum and reads the first current sum.
class CableBoard : public circuit::Part {
public:
  CableBoard(int kind, float conductance) : circuit::Part(1, kind), G(conductance) {}
  void Step(float) override {
    SchNet* net = pins[0].net;
    if (!net) return;
    seen = static_cast<float>(net->sumI);
    net->sumG = G;
  }
  float G;
  float seen = -1;
};

TEST(PowerSupply, BoardConnectorPowersTheBoardOverTheCable) {
  DbRow row = ThreeOutputRow("2");
  PsuBench b(row);
  // The board takes 0.4 S at 5 V: 10 W.
  auto* board = b.bench.Add<CableBoard>(kSchPinAtx24, 0.4f);
  b.bench.Wire(b.psu, kElecPsuConnector, board, 0);
  b.bench.Run(10);
  EXPECT_EQ(board->seen, 5.0f);
  // The input carries 10 W / 0.88 = 11.3636 W: 144 / 11.3636 = 12.672 ohm,
  // 12.6704 with the 100 kilohm beside it.
  float R = 0;
  Bench::Read(b.in, 0, &R);
  EXPECT_NEAR(R, 12.6704f, 0.01f);
  // Input gone: the cable carries no 5 V.
  b.in->Drive(0, 0, 1);
  b.bench.Step(100);
  EXPECT_EQ(board->seen, 0.0f);
  b.bench.Stop();
}

TEST(PowerSupply, ItxUnitWithoutABoardSetsNoCableSum) {
  DbRow row = ThreeOutputRow("3");
  PsuBench b(row);
  auto* probe = b.Probe(4);  // the common pin is 3 after the connector
  b.Probe(3);
  b.bench.Run(10);
  EXPECT_EQ(b.psu->pins[kElecPsuConnector].net, nullptr);
  EXPECT_NEAR(Bench::Read(probe, 0), 12.0f, 1e-3f);
  EXPECT_EQ(Bench::NetOf(b.psu, 3), Bench::NetOf(b.psu, kElecPsuInputGround));
  b.bench.Stop();
}

TEST(PowerSupply, RebuildingThePinsKeepsNoStaleNames) {
  Bench bench;
  auto* p = bench.Create<CSCHPowerSupply>("POWER_SUPPLY");
  for (int round = 0; round < 50; round++) {
    DbRow row = ThreeOutputRow(round % 2 ? "2" : "0");
    p->ApplyDbRecord(row.Record());
    ASSERT_EQ(p->pinCount, round % 2 ? 7 : 6);
    EXPECT_STREQ(p->pins[p->pinCount - 1].name, L"Выход -12V");
  }
}

TEST(PowerSupply, SampleDatabaseRows) {
  comptest::RegistryScope registry;
  comptest::SampleTable table(L"powersupply");
  ASSERT_TRUE(table.loaded);
  auto p = comptest::NewDetached<CSCHPowerSupply>("POWER_SUPPLY");
  ASSERT_TRUE(p);
  CompDbRecord* atx = table.Find("ATX-300");
  ASSERT_NE(atx, nullptr);
  p->ApplyDbRecord(atx);
  EXPECT_EQ(p->inputType, kElecPsuAcInput);
  EXPECT_EQ(p->inputVoltage, 220.0f);
  EXPECT_EQ(p->minimumInput, 180.0f);
  EXPECT_EQ(p->maximumInput, 250.0f);
  EXPECT_EQ(p->outputType, kElecPsuAtx24);
  EXPECT_EQ(p->outputVoltage[2], 3.3f);
  EXPECT_EQ(p->outputCurrent[3], 0.3f);
  EXPECT_EQ(p->outputVoltage[4], 0.0f);
  EXPECT_EQ(p->stabilised, 1);
  ASSERT_EQ(p->pinCount, 8);
  EXPECT_STREQ(p->pins[0].name, L"Вход ~220V");
  EXPECT_STREQ(p->pins[2].name, L"ATX");
  EXPECT_STREQ(p->pins[6].name, L"Выход +3.3V");
  EXPECT_STREQ(p->pins[7].name, L"Выход -12V");
  // "ТП-220-24" in code page 1251.
  CompDbRecord* plain = table.Find("\xD2\xCF-220-24");
  ASSERT_NE(plain, nullptr);
  p->ApplyDbRecord(plain);
  EXPECT_EQ(p->stabilised, 0);
  EXPECT_EQ(p->pinCount, 4);
}

TEST(PowerSupply, NegativeOutputHasAPositiveInternalResistance) {
  DbRow row = ThreeOutputRow();
  PsuBench b(row);
  // -12 V, 0.5 A, stabilised: k = 12 / 0.5 / 20 = 1.2 ohm; into 10 ohm to
  // the common pin: -12 x 10 / 11.2 = -10.7143 V, 1.0714 A... above the
  // 0.5 A limit, so 20 ohm: -12 x 20 / 21.2 = -11.3208 V, 0.566 A: still
  // above; 40 ohm: -12 x 40 / 41.2 = -11.6505 V, 0.2913 A.
  auto* load = b.bench.Add<circuit::Load>(40.0f);
  auto* across = b.bench.Part(1);
  b.bench.Star({{b.psu, 5}, {load, 0}, {across, 0}});
  b.bench.Wire(load, 1, b.psu, 2);
  LogCapture log;
  b.bench.Run(20);
  EXPECT_NEAR(Bench::Read(across, 0), -11.6505f, 5e-4f);
  EXPECT_EQ(b.psu->protectionTripped, 0);
  EXPECT_EQ(log.Count(), 0);
  b.bench.Stop();
  // 20 ohm draws 0.566 A from a 0.5 A output: the protection trips.
  load->R = 20;
  b.bench.Run(5);
  EXPECT_EQ(b.psu->protectionTripped, 1);
  EXPECT_EQ(log.Count(), 1);
  b.bench.Stop();
}

TEST(PowerSupply, ValuesThatAreNoNumbersBreakTheLimits) {
  {
    DbRow row = ThreeOutputRow();
    PsuBench b(row);
    b.psu->outputCurrent[1] = std::nanf("");
    LogCapture log;
    b.bench.Run(2);
    EXPECT_EQ(b.psu->protectionTripped, 1);
    EXPECT_EQ(log.Count(), 1);
    b.bench.Stop();
  }
  {
    DbRow row = ThreeOutputRow();
    PsuBench b(row);
    b.psu->maximumInput = std::nanf("");
    LogCapture log;
    b.bench.Run(2);
    EXPECT_EQ(b.psu->burnt, 1);
    EXPECT_EQ(log.Count(), 1);
    b.bench.Stop();
  }
  {
    // An efficiency of 0 in a document does not divide by zero: the unit
    // draws as at 88 %.
    DbRow row = ThreeOutputRow("2");
    PsuBench b(row);
    b.psu->efficiency = 0;
    auto* board = b.bench.Add<CableBoard>(kSchPinAtx24, 0.4f);
    b.bench.Wire(b.psu, kElecPsuConnector, board, 0);
    b.bench.Run(10);
    float R = 0;
    Bench::Read(b.in, 0, &R);
    EXPECT_NEAR(R, 12.6704f, 0.01f);
    b.bench.Stop();
  }
}

TEST(PowerSupply, SymbolAndScreenshot) {
  Bench bench;
  auto* p = bench.Create<CSCHPowerSupply>("POWER_SUPPLY");
  DbRow row = ThreeOutputRow();
  p->ApplyDbRecord(row.Record());
  p->SetName(L"БП1");
  comptest::SymbolCanvas canvas(300, 160);
  EXPECT_TRUE(canvas.Paint(p, 20, 30));
  // Grey body (204) between the texts; black outline; the name above.
  EXPECT_EQ(canvas.Pixel(25, 120), RGB(204, 204, 204));
  EXPECT_EQ(canvas.Pixel(20, 100), RGB(0, 0, 0));
  EXPECT_GT(canvas.InkIn(20, 0, 270, 28), 0);     // the instance name
  EXPECT_GT(canvas.InkIn(100, 34, 190, 50), 0);   // "Блок питания"
  EXPECT_EQ(canvas.InkIn(0, 0, 300, 160) - canvas.InkIn(20, 0, 271, 131), 0);
  EXPECT_TRUE(canvas.Save(L"power_supply_symbol.bmp"));
}

}  // namespace
