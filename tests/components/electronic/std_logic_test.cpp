// The standard logic chip: gate sets and their pins, truth tables, input
// thresholds and the Schmitt inputs, supply and burn-out, data through the
// gates, its record, package and drawing.
#include "components/electronic/chips/std_logic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "chip_rig.h"
#include "component_kit.h"
#include "foundation/memory_stream.h"
#include "scheme/simulation/packet.h"
#include "scheme/simulation/packet_set.h"
#include "support/test_support.h"

namespace {

using chiptest::Cp1251;
using comptest::Bench;
using comptest::DbRow;
using comptest::Golden;
using comptest::LogCapture;

// Applies a row of the gate set's "Func" text (5 V, 0.033 A, the package).
void ApplyFunc(CSCHStdLogic* chip, const wchar_t* func, int package = 0) {
  std::string f = Cp1251(func), p = std::to_string(package);
  DbRow row(L"stdlogic", {{"model", "T"}, {"Func", f.c_str()}, {"U", "5"}, {"I", "0.033"}, {"corps", p.c_str()}});
  chip->ApplyDbRecord(row.Record());
}

TEST(StdLogic, FreshChipIsAnEightInputNandInDip) {
  Bench bench;
  auto* chip = bench.Create<CSCHStdLogic>("StdLogic");
  ASSERT_NE(chip, nullptr);
  EXPECT_STREQ(chip->instanceName, L"DD1");
  EXPECT_EQ(chip->gateSet, 0);
  EXPECT_EQ(chip->nominalVoltage, 5.0f);
  EXPECT_EQ(chip->nominalCurrent, 0.033f);
  EXPECT_EQ(chip->package, 0);
  EXPECT_EQ(chip->rect.right - chip->rect.left, 40);
  EXPECT_EQ(chip->rect.bottom - chip->rect.top, 160);
  EXPECT_FLOAT_EQ(chip->footprintWidth, 7.62f);
  EXPECT_FLOAT_EQ(chip->footprintLength, 17.018f);
  ASSERT_EQ(chip->pinCount, 11);
  EXPECT_EQ(chip->pins[0].side, kSchSideBottom);
  EXPECT_EQ(chip->pins[0].number, 7);
  EXPECT_STREQ(chip->pins[0].description, L"Земля");
  EXPECT_EQ(chip->pins[0].offset, 20);  // centred on the 40 px bottom edge
  EXPECT_EQ(chip->pins[1].side, kSchSideTop);
  EXPECT_EQ(chip->pins[1].number, 14);
  EXPECT_STREQ(chip->pins[1].description, L"+5В");
  EXPECT_EQ(chip->pins[1].offset, 21);
  const int numbers[8] = {1, 2, 3, 4, 5, 6, 11, 12};
  const int offsets[8] = {17, 35, 53, 71, 88, 106, 124, 142};
  for (int i = 0; i < 8; i++) {
    EXPECT_EQ(chip->pins[2 + i].side, kSchSideLeft) << i;
    EXPECT_EQ(chip->pins[2 + i].number, numbers[i]) << i;
    EXPECT_EQ(chip->pins[2 + i].offset, offsets[i]) << i;
    EXPECT_EQ(chip->pins[2 + i].name, nullptr);
  }
  EXPECT_EQ(chip->pins[10].side, kSchSideRight);
  EXPECT_EQ(chip->pins[10].number, 8);
  EXPECT_EQ(chip->pins[10].offset, 80);
}

// The gate sets: "Func" text, gates x inputs, output kind and the gate pins
// (package number, side, offset) in evaluation order.
struct PinRow {
  int number;
  char side;  // 'L' or 'R'
  int offset;
};
const std::vector<PinRow> kB = {{1, 'L', 10}, {2, 'L', 30}, {3, 'R', 140}, {4, 'L', 50}, {5, 'L', 70}, {6, 'R', 100},
                                {9, 'L', 90}, {10, 'L', 110}, {8, 'R', 60}, {12, 'L', 130}, {13, 'L', 150}, {11, 'R', 20}};
const std::vector<PinRow> kC = {{1, 'L', 10}, {2, 'L', 30}, {13, 'L', 50}, {12, 'R', 150}, {9, 'L', 70}, {10, 'L', 90},
                                {11, 'L', 110}, {6, 'R', 90}, {3, 'L', 130}, {4, 'L', 150}, {5, 'L', 170}, {8, 'R', 30}};
const std::vector<PinRow> kD = {{1, 'L', 10}, {2, 'L', 30}, {4, 'L', 50}, {5, 'L', 70}, {6, 'R', 120},
                                {9, 'L', 90}, {10, 'L', 110}, {12, 'L', 130}, {13, 'L', 150}, {8, 'R', 40}};
const std::vector<PinRow> kE = {{2, 'L', 10}, {3, 'L', 30}, {1, 'R', 150}, {5, 'L', 50}, {6, 'L', 70}, {4, 'R', 110},
                                {8, 'L', 90}, {9, 'L', 110}, {10, 'R', 70}, {11, 'L', 130}, {12, 'L', 150}, {13, 'R', 30}};
const std::vector<PinRow> kF = {{1, 'L', 15}, {2, 'R', 165}, {3, 'L', 45}, {4, 'R', 135}, {5, 'L', 75}, {6, 'R', 105},
                                {9, 'L', 105}, {8, 'R', 75}, {11, 'L', 135}, {10, 'R', 45}, {13, 'L', 165}, {12, 'R', 15}};
const std::vector<PinRow> kA = {{1, 'L', 17}, {2, 'L', 35}, {3, 'L', 53}, {4, 'L', 71}, {5, 'L', 88}, {6, 'L', 106},
                                {11, 'L', 124}, {12, 'L', 142}, {8, 'R', 80}};

enum Fn { NAND, AND, OR, NOR, INV };
struct SetRow {
  int number;
  const wchar_t* func;
  int gates, inputs;
  Fn fn;
  bool openCollector;
  int height;
  const std::vector<PinRow>* pins;
};
const SetRow kSets[] = {
    {0, L"1x6И-НЕ", 1, 8, NAND, false, 160, &kA},
    {1, L"4x2И-НЕ", 4, 2, NAND, false, 160, &kB},
    {2, L"3x3И-НЕ", 3, 3, NAND, false, 180, &kC},
    {3, L"2x4И-НЕ", 2, 4, NAND, false, 160, &kD},
    {4, L"2x4И-НЕ ОК", 2, 4, NAND, true, 160, &kD},
    {5, L"4x2И-НЕ ОК (ЛА8)", 4, 2, NAND, true, 170, &kE},
    {6, L"3x3И-НЕ ОК", 3, 3, NAND, true, 180, &kC},
    {7, L"4x2И-НЕ ОК", 4, 2, NAND, true, 160, &kB},
    {8, L"6xНЕ", 6, 1, INV, false, 180, &kF},
    {9, L"6xНЕ ОК", 6, 1, INV, true, 180, &kF},
    {10, L"4x2И", 4, 2, AND, false, 160, &kB},
    {11, L"3x3И", 3, 3, AND, true, 180, &kC},
    {13, L"4x2ИЛИ", 4, 2, OR, false, 170, &kE},
    {14, L"3x3ИЛИ-НЕ", 3, 3, NOR, true, 180, &kC},
    {15, L"ТЛ2", 6, 1, INV, false, 180, &kF},
};

bool Expected(Fn fn, const std::vector<int>& in) {
  bool all = true, any = false;
  for (int v : in) {
    all = all && v;
    any = any || v;
  }
  switch (fn) {
    case NAND: return !all;
    case AND: return all;
    case OR: return any;
    case NOR: return !any;
    case INV: return !in[0];
  }
  return false;
}

TEST(StdLogic, GateSetsHaveTheirPinsAndTruthTables) {
  for (const SetRow& row : kSets) {
    SCOPED_TRACE(row.number);
    Bench bench;
    auto* chip = bench.Create<CSCHStdLogic>("StdLogic");
    ApplyFunc(chip, row.func);
    ASSERT_EQ(chip->gateSet, row.number);
    const int gatePins = row.gates * (row.inputs + 1);
    ASSERT_EQ(chip->pinCount, 2 + gatePins);
    EXPECT_EQ(chip->rect.bottom - chip->rect.top, row.height);
    EXPECT_EQ(chip->pins[0].number, 7);
    EXPECT_EQ(chip->pins[1].number, 14);
    for (int i = 0; i < gatePins; i++) {
      const PinRow& p = (*row.pins)[i];
      EXPECT_EQ(chip->pins[2 + i].number, p.number) << i;
      EXPECT_EQ(chip->pins[2 + i].side, p.side == 'L' ? kSchSideLeft : kSchSideRight) << i;
      EXPECT_EQ(chip->pins[2 + i].offset, p.offset) << i;
    }
    // Stiff 5 V supply, a stiff source on every input, a probe on every output.
    bench.Wire(bench.Source(5), 0, chip, kElecStdLogicSupply);
    bench.Wire(bench.Ground(), 0, chip, kElecStdLogicGround);
    std::vector<circuit::Part*> inputs, probes;
    for (int g = 0; g < row.gates; g++) {
      int base = 2 + g * (row.inputs + 1);
      for (int i = 0; i < row.inputs; i++) {
        inputs.push_back(bench.Source(0));
        bench.Wire(inputs.back(), 0, chip, base + i);
      }
      probes.push_back(bench.Part(1));
      bench.Wire(probes.back(), 0, chip, base + row.inputs);
    }
    bench.Build();
    bench.Start();
    // Every combination of the inputs of a gate; for eight inputs all high
    // and each one low.
    std::vector<std::vector<int>> cases;
    if (row.inputs == 8) {
      cases.push_back(std::vector<int>(8, 1));
      for (int k = 0; k < 8; k++) {
        cases.push_back(std::vector<int>(8, 1));
        cases.back()[k] = 0;
      }
    } else {
      for (int m = 0; m < (1 << row.inputs); m++) {
        std::vector<int> c;
        for (int i = 0; i < row.inputs; i++) c.push_back((m >> i) & 1);
        cases.push_back(c);
      }
    }
    for (const auto& c : cases) {
      for (size_t i = 0; i < inputs.size(); i++) inputs[i]->Drive(0, c[i % row.inputs] ? 5.0f : 0.0f, kSchMinResistance);
      bench.Step(2);
      bool high = Expected(row.fn, c);
      for (auto* probe : probes) {
        float R = 0;
        float U = Bench::Read(probe, 0, &R);
        if (high && row.openCollector) {
          EXPECT_GT(R, 1e6f);  // released
        } else {
          EXPECT_NEAR(U, high ? 5.0f : 0.0f, 1e-3f);
          EXPECT_NEAR(R, 100.0f, 0.01f);
        }
      }
    }
    EXPECT_EQ(chip->burnt, 0);
    bench.Stop();
  }
}

TEST(StdLogic, UnknownFuncKeepsTheGateSet) {
  Bench bench;
  auto* chip = bench.Create<CSCHStdLogic>("StdLogic");
  ApplyFunc(chip, L"6xНЕ");
  ApplyFunc(chip, L"6xне");  // compared exactly
  EXPECT_EQ(chip->gateSet, 8);
  EXPECT_EQ(FindStdLogicGateSet(L"4x2И-НЕ"), 1);
  EXPECT_EQ(FindStdLogicGateSet(nullptr), -1);
  EXPECT_EQ(GetStdLogicGateSet(12), nullptr);
}

// A chip with a stiff supply whose first gate's inputs and output are wired
// to sources and a probe.
struct Rig {
  explicit Rig(const wchar_t* func, float supply = 5) {
    chip = bench.Create<CSCHStdLogic>("StdLogic");
    ApplyFunc(chip, func);
    vcc = bench.Source(supply);
    bench.Wire(vcc, 0, chip, kElecStdLogicSupply);
    bench.Wire(bench.Ground(), 0, chip, kElecStdLogicGround);
  }
  circuit::Part* In(int pin, float U) {
    auto* s = bench.Source(U);
    bench.Wire(s, 0, chip, pin);
    return s;
  }
  circuit::Part* Probe(int pin) {
    auto* p = bench.Part(1);
    bench.Wire(p, 0, chip, pin);
    return p;
  }
  Bench bench;
  CSCHStdLogic* chip;
  circuit::Part* vcc;
};

TEST(StdLogic, PlainInputsSwitchAtHalfTheSupply) {
  Rig rig(L"6xНЕ");
  auto* in = rig.In(2, 0);
  auto* out = rig.Probe(3);
  rig.bench.Run(1);
  // The threshold is 2.5 V: a voltage at it reads low, just above high.
  const struct { float U; float out; } cases[] = {{2.5f, 5}, {2.52f, 0}, {0, 5}, {5, 0}};
  for (const auto& c : cases) {
    in->Drive(0, c.U, kSchMinResistance);
    rig.bench.Step(2);
    EXPECT_NEAR(Bench::Read(out, 0), c.out, 1e-3f) << c.U;
  }
}

TEST(StdLogic, SchmittInputsHoldTheirLevelInsideTheHysteresis) {
  Rig rig(L"ТЛ2");
  auto* in = rig.In(2, 0);
  auto* out = rig.Probe(3);
  rig.bench.Build();
  rig.bench.Start();
  // m = 2.5 V, h = 0.3 x 5 / 5 = 0.3 V: switches above 2.8 V and below 2.2 V.
  const struct { float U; float out; } steps[] = {
      {2.6f, 5},   // memory starts at 0: low, inverted high
      {2.79f, 5},  // rising inside the band
      {2.82f, 0},  // above m + h
      {2.3f, 0},   // falling inside the band: holds
      {2.21f, 0},
      {2.18f, 5},  // below m - h
      {2.6f, 5},
  };
  for (const auto& s : steps) {
    in->Drive(0, s.U, kSchMinResistance);
    rig.bench.Step(2);
    EXPECT_NEAR(Bench::Read(out, 0), s.out, 1e-3f) << s.U;
  }
  rig.bench.Stop();
  // Start clears the memory.
  rig.chip->schmittMemory[0] = 1;
  in->Drive(0, 2.6f, kSchMinResistance);
  rig.bench.Run(2);
  EXPECT_EQ(rig.chip->schmittMemory[0], 0);
  EXPECT_NEAR(Bench::Read(out, 0), 5, 1e-3f);
}

TEST(StdLogic, OpenInputsReadHighThroughThePullUp) {
  Rig rig(L"4x2И-НЕ");
  auto* out = rig.Probe(4);
  auto* firstInput = rig.Probe(2);
  rig.bench.Run(2);
  EXPECT_NEAR(Bench::Read(out, 0), 0, 1e-3f);  // both inputs high: NAND low
  float R = 0;
  EXPECT_NEAR(Bench::Read(firstInput, 0, &R), 5, 1e-3f);  // the pull-up
  EXPECT_NEAR(R, 4000, 0.1f);
}

TEST(StdLogic, SupplyAtThreeQuartersReleasesTheGates) {
  struct Case {
    float supply;
    bool evaluates;
  };
  // Vc = Uv x Rs / (Rs + 2e-5): a hair below the supply.
  for (Case c : {Case{3.75f, false}, Case{3.76f, true}}) {
    Rig rig(L"6xНЕ", c.supply);
    auto* out = rig.Probe(3);
    rig.bench.Run(2);
    float R = 0;
    float U = Bench::Read(out, 0, &R);
    if (c.evaluates) {
      EXPECT_NEAR(U, 0, 1e-3f);  // open input high, inverted: low
      EXPECT_NEAR(R, 100, 0.01f);
    } else {
      EXPECT_FLOAT_EQ(R, 5e6f);
    }
    EXPECT_EQ(rig.chip->burnt, 0);
    // The chip loads the supply by Rs = 5 / 0.033 ohm.
    float Rl = 0;
    Bench::Read(rig.vcc, 0, &Rl);
    EXPECT_NEAR(Rl, 5.0f / 0.033f, 0.01f);
  }
}

TEST(StdLogic, OverVoltageSupplyBurnsWithoutAFullStop) {
  LogCapture log;
  Rig rig(L"4x2И-НЕ", 6.3f);  // above 1.25 x 5 V
  auto* out = rig.Probe(4);
  rig.bench.Run(1);
  EXPECT_EQ(rig.chip->burnt, 1);
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.Messages()[0], L"Микросхема \"DD1\" вышла из строя");
  rig.bench.Step(1);
  float R = 0;
  Bench::Read(out, 0, &R);
  EXPECT_FLOAT_EQ(R, 5e6f);  // every pin released from then on
  EXPECT_EQ(log.Count(), 1);
}

TEST(StdLogic, OutputShortedHighBurnsWithAFullStop) {
  LogCapture log;
  Rig rig(L"4x2И-НЕ");
  rig.In(4, 5);  // the first gate's output (low: inputs open) on a stiff 5 V
  rig.bench.Run(1);
  EXPECT_EQ(rig.chip->burnt, 1);
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.Messages()[0], L"Микросхема \"DD1\" вышла из строя.");
}

TEST(StdLogic, InputOverVoltageBurns) {
  LogCapture log;
  Rig rig(L"4x2И-НЕ");
  rig.In(2, 6.1f);  // above 1.2 x 5 V
  rig.bench.Run(1);
  EXPECT_EQ(rig.chip->burnt, 1);
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.Messages()[0], L"Микросхема \"DD1\" вышла из строя.");
}

TEST(StdLogic, OpenCollectorLowWithNothingConnectedDoesNotBurn) {
  Rig rig(L"4x2И-НЕ ОК");
  rig.bench.Run(3);
  EXPECT_EQ(rig.chip->burnt, 0);
}

TEST(StdLogic, ZeroSupplyCurrentInTheRowBurnsInsteadOfDividingByZero) {
  LogCapture log;
  Bench bench;
  auto* chip = bench.Create<CSCHStdLogic>("StdLogic");
  DbRow row(L"stdlogic", {{"model", "T"}, {"Func", "?"}, {"U", "5"}, {"I", "0"}, {"corps", "0"}});
  chip->ApplyDbRecord(row.Record());
  bench.Wire(bench.Source(5), 0, chip, kElecStdLogicSupply);
  bench.Wire(bench.Ground(), 0, chip, kElecStdLogicGround);
  bench.Run(1);
  EXPECT_EQ(chip->burnt, 1);
  EXPECT_EQ(log.Count(), 1);
}

TEST(StdLogic, SerialDataPassesABufferAndANand) {
  chiptest::OwnedSet data;
  for (const wchar_t* func : {L"4x2И", L"4x2И-НЕ"}) {
    SCOPED_TRACE(func);
    Rig rig(func);
    auto* line = rig.bench.Add<chiptest::DataLine>();
    line->source.packets = data.set;
    rig.bench.Wire(line, 0, rig.chip, 2);
    rig.In(3, 5);  // the second input steady high
    auto* out = rig.Probe(4);
    rig.bench.Run(3);
    SchPinState s = Bench::State(out, 0);
    ASSERT_EQ(s.sourceKind, kSchSourceSerial);
    ASSERT_NE(s.source, nullptr);
    EXPECT_TRUE(s.source->packets && s.source->packets->Equals(data.set));
    EXPECT_NE(s.source->packets, data.set);  // the gate's own clone
    // The buffer keeps the idle level high; the NAND turns it low.
    bool nand = std::wstring(func) == L"4x2И-НЕ";
    EXPECT_NEAR(s.U, nand ? 0 : 5, 1e-3f);
    EXPECT_NEAR(s.U2, nand ? 5 : 0, 1e-3f);
    // A steady low on the second input stops the data.
    rig.bench.Stop();
  }
}

TEST(StdLogic, AndGateWithTwoDifferentStreamsIsUndetermined) {
  struct Case {
    int format;
    int kind;  // gate state kind afterwards
  };
  for (Case c : {Case{9600, kSchSourceOwnWeight}, Case{0x40000000 | 9600, kSchSourceSerial}}) {
    chiptest::OwnedSet a(1, 1, c.format), b(2, 1, c.format);
    Rig rig(L"4x2И");
    auto* la = rig.bench.Add<chiptest::DataLine>();
    auto* lb = rig.bench.Add<chiptest::DataLine>();
    la->source.packets = a.set;
    lb->source.packets = b.set;
    rig.bench.Wire(la, 0, rig.chip, 2);
    rig.bench.Wire(lb, 0, rig.chip, 3);
    auto* out = rig.Probe(4);
    rig.bench.Run(2);
    SchPinState s = Bench::State(out, 0);
    EXPECT_EQ(s.sourceKind, c.kind);
    ASSERT_NE(s.source, nullptr);
    if (c.kind == kSchSourceOwnWeight) {
      EXPECT_FLOAT_EQ(s.source->weight, 0.33f);
      float period = 0;
      memcpy(&period, &s.source->packets, sizeof period);
      EXPECT_FLOAT_EQ(period, 0.001f);
    } else {
      // Merged: the gate's set holds both packets.
      ASSERT_NE(s.source->packets, nullptr);
      EXPECT_EQ(s.source->packets->count, 2);
    }
    rig.bench.Stop();
  }
}

TEST(StdLogic, LevelsMergeTheSameInAnyOrder) {
  chiptest::OwnedSet data;
  // An AND gate: one data input and one low input, both orders: low wins
  // and no data is held.
  for (int order = 0; order < 2; order++) {
    Rig rig(L"4x2И");
    auto* line = rig.bench.Add<chiptest::DataLine>();
    line->source.packets = data.set;
    rig.bench.Wire(line, 0, rig.chip, order == 0 ? 2 : 3);
    rig.In(order == 0 ? 3 : 2, 0);
    auto* out = rig.Probe(4);
    rig.bench.Run(2);
    SchPinState s = Bench::State(out, 0);
    EXPECT_EQ(s.source, nullptr) << order;
    EXPECT_NEAR(s.U, 0, 1e-3f) << order;
    EXPECT_EQ(rig.chip->gates[0].output.packets, nullptr);
    rig.bench.Stop();
  }
  // An OR gate: a high input wins over data in either order.
  for (int order = 0; order < 2; order++) {
    Rig rig(L"4x2ИЛИ");
    auto* line = rig.bench.Add<chiptest::DataLine>();
    line->source.packets = data.set;
    rig.bench.Wire(line, 0, rig.chip, order == 0 ? 2 : 3);
    rig.In(order == 0 ? 3 : 2, 5);
    auto* out = rig.Probe(4);
    rig.bench.Run(2);
    SchPinState s = Bench::State(out, 0);
    EXPECT_EQ(s.source, nullptr) << order;
    EXPECT_NEAR(s.U, 5, 1e-3f) << order;
    rig.bench.Stop();
  }
}

TEST(StdLogic, CrossCoupledNandLatchHoldsWithoutReadingFreedData) {
  const int packetsBefore = SchPacket::LiveCount();
  {
    chiptest::OwnedSet data;
    Rig rig(L"4x2И-НЕ");
    CSCHStdLogic* c = rig.chip;
    // Gate 1: pins 2, 3 -> 4 (Q); gate 2: pins 5, 6 -> 7 (not Q).
    auto* set = rig.In(2, 5);
    auto* reset = rig.bench.Add<chiptest::DataLine>();
    reset->source.packets = data.set;
    reset->on = false;
    rig.bench.Wire(reset, 0, c, 6);
    SchJunction* q = rig.bench.Star({{c, 4}, {c, 5}});
    SchJunction* nq = rig.bench.Star({{c, 7}, {c, 3}});
    (void)q;
    (void)nq;
    rig.bench.Build();
    rig.bench.Start();
    // Set: S low for a while, then high: Q stays high.
    set->Drive(0, 0, kSchMinResistance);
    rig.bench.Step(4);
    set->Drive(0, 5, kSchMinResistance);
    rig.bench.Step(20);
    EXPECT_NEAR(Bench::Read(c, 5), 5, 1e-3f);  // Q read at gate 2's input
    // Now the reset input carries data: it circulates through both gates.
    reset->on = true;
    for (int i = 0; i < 50; i++) {
      rig.bench.Step(1);
      // Every net source that points into the chip holds a live, owned set.
      for (int p = 2; p < c->pinCount; p++) {
        SchNet* net = c->pins[p].net;
        if (!net || !net->source) continue;
        for (const StdLogicGate& g : c->gates) {
          if (net->source == &g.output && g.output.packets && net->sourceKind == kSchSourceSerial) {
            EXPECT_TRUE(g.ownsOutputSet);
          }
        }
      }
    }
    EXPECT_EQ(c->burnt, 0);
    // The data went round: both gates hand on a clone of the reset line's set.
    SchPinState qs = Bench::State(c, 5);
    EXPECT_EQ(qs.sourceKind, kSchSourceSerial);
    ASSERT_NE(qs.source, nullptr);
    EXPECT_TRUE(qs.source->packets && qs.source->packets->Equals(data.set));
    EXPECT_TRUE(c->gates[1].ownsOutputSet);
    rig.bench.Stop();
    for (const StdLogicGate& g : c->gates) {
      EXPECT_EQ(g.output.packets, nullptr);
      EXPECT_FALSE(g.ownsOutputSet);
    }
  }
  EXPECT_EQ(SchPacket::LiveCount(), packetsBefore);
}

TEST(StdLogic, BurnOutInMidStepKeepsThePublishedSetAlive) {
  chiptest::OwnedSet data;
  Rig rig(L"4x2И");
  auto* line = rig.bench.Add<chiptest::DataLine>();
  line->source.packets = data.set;
  rig.bench.Wire(line, 0, rig.chip, 5);  // gate 2's first input
  auto* over = rig.In(2, 0);             // gate 1's first input
  auto* out = rig.Probe(7);
  rig.bench.Run(2);
  const StdLogicGate& g = rig.chip->gates[1];
  ASSERT_NE(g.output.packets, nullptr);
  ASSERT_TRUE(g.ownsOutputSet);
  SchPacketSet* published = g.output.packets;
  LogCapture log;
  over->Drive(0, 7, kSchMinResistance);  // burns in gate 1's read
  rig.bench.Step(1);
  ASSERT_EQ(rig.chip->burnt, 1);
  // Gate 2's output was not driven again: its net still reads the set the
  // gate still owns.
  SchPinState s = Bench::State(out, 0);
  ASSERT_NE(s.source, nullptr);
  EXPECT_EQ(s.source->packets, published);
  EXPECT_TRUE(g.ownsOutputSet);
  EXPECT_TRUE(published->Equals(data.set));
  // The next step releases every pin, then the set.
  rig.bench.Step(1);
  EXPECT_EQ(Bench::State(out, 0).source, nullptr);
  EXPECT_EQ(g.output.packets, nullptr);
  rig.bench.Stop();
}

TEST(StdLogic, RecordIsGateSetVoltageCurrentThenTheBlock) {
  comptest::RegistryScope registry;
  auto chip = comptest::NewDetached<CSCHStdLogic>("StdLogic");
  DbRow row(L"stdlogic", {{"model", "К155ЛА3"}, {"Func", Cp1251(L"4x2И").c_str()}, {"U", "5"}, {"I", "0.022"}, {"corps", "1"}});
  chip->ApplyDbRecord(row.Record());
  std::vector<uint8_t> full = comptest::SaveBytes(chip.get());
  CMemoryStream base;
  chip->CSCHBlock::Save(&base);
  std::vector<uint8_t> expected = Golden().I(10).F(5.0f).F(0.022f).Bytes();
  std::vector<uint8_t> tail = comptest::StreamBytes(base);
  expected.insert(expected.end(), tail.begin(), tail.end());
  EXPECT_TRUE(velktest::BytesEqual(full, expected));

  auto copy = comptest::NewDetached<CSCHStdLogic>("StdLogic");
  comptest::LoadBytes(copy.get(), full);
  EXPECT_EQ(copy->gateSet, 10);
  EXPECT_EQ(copy->nominalVoltage, 5.0f);
  EXPECT_EQ(copy->nominalCurrent, 0.022f);
  EXPECT_EQ(copy->pinCount, 14);
  EXPECT_STREQ(copy->model, chip->model);
  // Not found in the database: the package stays DIP.
  EXPECT_EQ(copy->package, 0);
  EXPECT_FLOAT_EQ(copy->footprintWidth, 7.62f);

  comptest::ForEachTruncation<CSCHStdLogic>("StdLogic", full, [&](CSCHStdLogic* c, size_t n) {
    // A cut field keeps the bytes read (10 is its low byte); the rest is 0.
    EXPECT_EQ(c->gateSet, n >= 1 ? 10 : 0);
    if (n >= 8 || n <= 4) {
      EXPECT_EQ(c->nominalVoltage, n >= 8 ? 5.0f : 0.0f);
    }
    if (n >= 12 || n <= 8) {
      EXPECT_EQ(c->nominalCurrent, n >= 12 ? 0.022f : 0.0f);
    }
    EXPECT_EQ(c->pinCount, n >= 1 ? 14 : 11);
  });
}

TEST(StdLogic, PackageSurvivesSaveAndLoadThroughItsDatabaseRow) {
  comptest::SampleTable table(L"stdlogic");
  ASSERT_TRUE(table.loaded);
  Bench bench;
  struct Case {
    const wchar_t* model;
    int package;
    float width;
  };
  const Case cases[] = {{L"К555ЛА3", 1, 6.2f}, {L"К555ЛИ1", 2, 10.2f}, {L"К133ЛА3", 3, 14.0f}, {L"К155ЛА3", 0, 7.62f}};
  for (const Case& c : cases) {
    auto* chip = bench.Create<CSCHStdLogic>("StdLogic");
    CompDbRecord* row = table.Find(Cp1251(c.model).c_str());
    ASSERT_NE(row, nullptr);
    chip->ApplyDbRecord(row);
    EXPECT_EQ(chip->package, c.package);
  }
  auto back = comptest::ReadBack(bench.scheme);
  ASSERT_NE(back, nullptr);
  int n = 0;
  for (CSCHBlock* b = back->blocks; b; b = b->next) {
    auto* chip = dynamic_cast<CSCHStdLogic*>(b);
    ASSERT_NE(chip, nullptr);
    for (const Case& c : cases) {
      if (Cp1251(c.model) != chip->model) continue;
      EXPECT_EQ(chip->package, c.package) << c.package;
      EXPECT_FLOAT_EQ(chip->footprintWidth, c.width);
      n++;
    }
  }
  EXPECT_EQ(n, 4);
}

TEST(StdLogic, SymbolsDrawTheirGates) {
  comptest::RegistryScope registry;
  comptest::SymbolCanvas canvas(420, 220);
  const int sets[] = {1, 2, 3, 8, 10, 15, 0, 13};
  std::vector<std::unique_ptr<CSCHStdLogic>> chips;
  int x = 10;
  for (int s : sets) {
    auto chip = comptest::NewDetached<CSCHStdLogic>("StdLogic");
    chip->gateSet = s;
    chip->BuildPins();
    EXPECT_TRUE(canvas.Paint(chip.get(), x, 10));
    x += 50;
    chips.push_back(std::move(chip));
  }
  const COLORREF black = RGB(0, 0, 0);
  // "4x2И-НЕ" at x 10: box edge at left + 5, input lead at top + 10, the
  // bubble's top on the first output's height 30 - 4.
  EXPECT_EQ(canvas.Pixel(15, 30), black);
  EXPECT_EQ(canvas.Pixel(12, 20), black);
  EXPECT_EQ(canvas.Pixel(45, 26), black);
  // "4x2И" at x 210: no bubble, an output lead from right - 5 to right.
  EXPECT_EQ(canvas.Pixel(247, 30), black);
  EXPECT_EQ(canvas.Pixel(245, 26), RGB(255, 255, 255));
  // "ТЛ2" at x 260: the hysteresis mark's bottom line from cx - 6 to cx + 2
  // at cy + 5 = 30 (cx 280).
  EXPECT_EQ(canvas.Pixel(278, 30), black);
  EXPECT_EQ(canvas.Pixel(283, 30), RGB(255, 255, 255));
  // "1x6И-НЕ" at x 310: the grey body.
  EXPECT_EQ(canvas.Pixel(330, 100), RGB(238, 238, 238));
  // The instance name from the rectangle's bottom-right corner on.
  chips[0]->SetName(L"DD7");
  canvas.Clear();
  canvas.Paint(chips[0].get(), 10, 10);
  EXPECT_GT(canvas.InkIn(50, 170, 80, 190), 0);
  EXPECT_EQ(canvas.InkIn(10, 172, 48, 190), 0);
  chips[0]->SetName(nullptr);
  canvas.Clear();
  x = 10;
  for (auto& chip : chips) {
    canvas.Paint(chip.get(), x, 10);
    x += 50;
  }
  canvas.Save(L"stdlogic_symbols.bmp");
}

TEST(StdLogic, FootprintsByPackage) {
  comptest::RegistryScope registry;
  int ink[4];
  for (int p = 0; p < 4; p++) {
    comptest::FootprintCanvas board(10, 300, 300);
    auto chip = comptest::NewDetached<CSCHStdLogic>("StdLogic");
    chip->SetModel("K155LA3");
    chip->package = static_cast<unsigned char>(p);
    chip->BuildPins();
    chip->SetName(L"DD1");
    EXPECT_TRUE(board.Paint(chip.get()));
    ink[p] = board.InkCount();
    EXPECT_GT(ink[p], 0);
    if (p == 0) board.Save(L"stdlogic_footprint_dip.bmp");
  }
  EXPECT_NE(ink[0], ink[1]);
  EXPECT_NE(ink[1], ink[2]);
}

}  // namespace
