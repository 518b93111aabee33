// The L6203 and L6205 bridge drivers: pins, application circuits, the PWM
// input reading, the bridge outputs as PWM sources, enables, the joined
// ground pins and burn-outs with their repair at the next start.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "chip_rig.h"
#include "component_kit.h"
#include "components/electronic/discrete/capacitor.h"
#include "components/electronic/discrete/diod.h"
#include "components/electronic/motor/h_bridge.h"
#include "components/electronic/motor/l6203.h"
#include "components/electronic/motor/l6205.h"
#include "components/electronic/resister.h"
#include "scheme/model/junction.h"
#include "scheme/model/wire.h"

namespace {

using comptest::Bench;
using comptest::LogCapture;

int CountWires(SchScheme* s) {
  int n = 0;
  for (SchWire* w = s->wires; w; w = w->next) n++;
  return n;
}
int CountJunctions(SchScheme* s) {
  int n = 0;
  for (SchJunction* j = s->junctions; j; j = j->next) n++;
  return n;
}
int CountBlocks(SchScheme* s) {
  int n = 0;
  for (CSCHBlock* b = s->blocks; b; b = b->next) n++;
  return n;
}

TEST(L6203, CreatedWithItsPins) {
  Bench bench;
  auto* chip = bench.Create<CSCH_L6203>("L6203");
  ASSERT_NE(chip, nullptr);
  EXPECT_STREQ(chip->instanceName, L"DA1");
  EXPECT_FLOAT_EQ(chip->footprintWidth, 20.2f);
  EXPECT_FLOAT_EQ(chip->footprintLength, 10.16f);
  EXPECT_EQ(chip->rect.right - chip->rect.left, 120);
  EXPECT_EQ(chip->rect.bottom - chip->rect.top, 140);
  ASSERT_EQ(chip->pinCount, 11);
  const struct {
    const wchar_t* name;
    int side, offset;
  } pins[11] = {{L"OUT2", kSchSideRight, 90},  {L"Vs", kSchSideTop, 90},    {L"OUT1", kSchSideRight, 50},
                {L"BOOT1", kSchSideRight, 30}, {L"IN1", kSchSideLeft, 40},  {L"GND", kSchSideBottom, 60},
                {L"IN2", kSchSideLeft, 100},   {L"BOOT2", kSchSideRight, 110}, {L"Vref", kSchSideTop, 40},
                {L"SENSE", kSchSideLeft, 120}, {L"ENABLE", kSchSideLeft, 70}};
  for (int i = 0; i < 11; i++) {
    EXPECT_STREQ(chip->pins[i].name, pins[i].name);
    EXPECT_EQ(chip->pins[i].side, pins[i].side) << i;
    EXPECT_EQ(chip->pins[i].offset, pins[i].offset) << i;
    EXPECT_EQ(chip->pins[i].number, i + 1);
  }
  EXPECT_STREQ(chip->pins[kElecL6203ENABLE].description, L"Разрешение работы. Необходимо подать \"1\".");
  EXPECT_EQ(chip->out1.weight, 1.0f);
  EXPECT_EQ(GetPwmPeriod(&chip->out1), 0.0f);
}

TEST(L6205, CreatedWithItsPins) {
  Bench bench;
  auto* chip = bench.Create<CSCH_L6205>("L6205");
  ASSERT_NE(chip, nullptr);
  EXPECT_STREQ(chip->instanceName, L"DA1");
  EXPECT_EQ(chip->rect.right - chip->rect.left, 150);
  EXPECT_EQ(chip->rect.bottom - chip->rect.top, 200);
  EXPECT_FLOAT_EQ(chip->footprintWidth, 7.62f);
  EXPECT_NEAR(chip->footprintLength, 24.638f, 1e-4f);
  ASSERT_EQ(chip->pinCount, 20);
  for (int i = 0; i < 20; i++) {
    EXPECT_EQ(chip->pins[i].side, i < 10 ? kSchSideLeft : kSchSideRight);
    EXPECT_EQ(chip->pins[i].number, i + 1);
  }
  EXPECT_STREQ(chip->pins[kElecL6205VCP].name, L"VCP");
  EXPECT_STREQ(chip->pins[kElecL6205SENSEB].description, L"Вход SENSE моста B (земля или резистор для измерения тока)");
}

TEST(MotorDrivers, TheRecordIsTheBlockRecordAlone) {
  Bench bench;
  auto* a = bench.Create<CSCH_L6203>("L6203");
  auto* b = bench.Create<CSCH_L6205>("L6205");
  EXPECT_TRUE(comptest::FieldsAfter<CSCHBlock>(a).empty());
  EXPECT_TRUE(comptest::FieldsAfter<CSCHBlock>(b).empty());
}

TEST(L6203, ApplicationCircuitOnce) {
  Bench bench;
  auto* chip = bench.Create<CSCH_L6203>("L6203");
  chip->MoveTo(300, 200);
  chip->boardX = 50;
  chip->boardY = 60;
  comptest::DbRow row(L"drivers", {{"model", "L6203"}, {"price", "420"}});
  chip->ApplyDbRecord(row.Record());
  ASSERT_EQ(chip->childCount, 4);
  const float farads[3] = {1.5e-8f, 1.5e-8f, 2.2e-7f};
  const float bx[3] = {52.54f, 47.46f, 57.62f};
  const POINT at[3] = {{420 + 46, 200 + 10}, {420 + 46, 340 - 30}, {420 - 52, 200 - 50}};
  for (int i = 0; i < 3; i++) {
    auto* c = dynamic_cast<CCapacitor*>(chip->children[i]);
    ASSERT_NE(c, nullptr);
    EXPECT_FLOAT_EQ(c->capacitance, farads[i]);
    EXPECT_EQ(c->kind, kElecCapacitorChip);
    EXPECT_EQ(c->symbolOrientation, 0);
    EXPECT_EQ(c->orientation, 1);
    EXPECT_EQ(c->flags & 0x0E, 0x0E);
    EXPECT_NEAR(c->boardX, bx[i], 1e-4f);
    EXPECT_NEAR(c->boardY, 60 - 8.89f, 1e-4f);
    EXPECT_EQ(c->rect.left, at[i].x);
    EXPECT_EQ(c->rect.top, at[i].y);
  }
  EXPECT_STREQ(chip->children[0]->pins[1].description, L"Подключить к OUT2");
  EXPECT_STREQ(chip->children[1]->pins[0].description, L"Подключить к OUT1");
  CSCHBlock* g = chip->children[3];
  EXPECT_STREQ(g->className, "GND");
  EXPECT_EQ(g->flags & 0x04, 0x04);
  EXPECT_EQ(g->rect.left, 420);
  EXPECT_EQ(g->rect.top, 150);
  EXPECT_EQ(CountWires(bench.scheme), 4);
  EXPECT_EQ(chip->pins[kElecL6203BOOT1].wire != nullptr, true);
  EXPECT_EQ(chip->pins[kElecL6203Vref].wire != nullptr, true);
  chip->ApplyDbRecord(row.Record());
  EXPECT_EQ(chip->childCount, 4);
  EXPECT_EQ(CountWires(bench.scheme), 4);
  EXPECT_EQ(CountBlocks(bench.scheme), 5);
}

TEST(L6205, ApplicationCircuitOnce) {
  Bench bench;
  auto* chip = bench.Create<CSCH_L6205>("L6205");
  chip->MoveTo(300, 300);
  comptest::DbRow row(L"drivers", {{"model", "L6205N"}, {"price", "390"}});
  chip->ApplyDbRecord(row.Record());
  ASSERT_EQ(chip->childCount, 7);
  auto* c1 = dynamic_cast<CCapacitor*>(chip->children[0]);
  auto* c2 = dynamic_cast<CCapacitor*>(chip->children[1]);
  auto* r = dynamic_cast<CSCHResister*>(chip->children[2]);
  auto* d1 = dynamic_cast<CSCHDiod*>(chip->children[3]);
  auto* d2 = dynamic_cast<CSCHDiod*>(chip->children[4]);
  ASSERT_TRUE(c1 && c2 && r && d1 && d2);
  EXPECT_FLOAT_EQ(c1->capacitance, 1e-8f);
  EXPECT_FLOAT_EQ(c2->capacitance, 2.2e-7f);
  EXPECT_STREQ(c2->pins[0].description, L"К плюсу силового питания");
  EXPECT_EQ(c1->rect.left, 450 + 46);
  EXPECT_EQ(c1->rect.top, 300 - 40);
  EXPECT_FLOAT_EQ(r->actualResistance, 100);
  EXPECT_FLOAT_EQ(r->nominalResistance, 100);
  EXPECT_FLOAT_EQ(r->bodyLength, 6);
  EXPECT_FLOAT_EQ(r->leadSize, 0.6f);
  EXPECT_EQ(r->bodyColor, 2);
  EXPECT_STREQ(r->model, chiptest::Cp1251(L"Выводные, 0.25Вт, 5%").c_str());
  EXPECT_STREQ(d1->model, "1N4148");
  EXPECT_STREQ(d1->pins[0].description, L"К плюсу силового питания");
  EXPECT_EQ(d2->rect.left, 450 + 120);
  for (int i = 0; i < 5; i++) EXPECT_EQ(chip->children[i]->flags & 0x0E, 0x0E) << i;
  EXPECT_EQ(chip->children[5]->rect.left, 450 + 40);
  EXPECT_EQ(chip->children[6]->rect.left, 300 - 50);
  EXPECT_EQ(chip->children[6]->rect.top, 500 + 24);
  EXPECT_EQ(CountJunctions(bench.scheme), 4);
  EXPECT_EQ(CountWires(bench.scheme), 14);
  POINT a14 = chip->GetPinAnchor(kElecL6205GND3);
  bool ja = false;
  for (SchJunction* j = bench.scheme->junctions; j; j = j->next)
    if (j->x == a14.x + 40 && j->y == a14.y) ja = true;
  EXPECT_TRUE(ja);
  // Every wire reaches both its ends.
  for (SchWire* w = bench.scheme->wires; w; w = w->next) {
    EXPECT_NE(w->endKind[0], kSchWireEndFree);
    EXPECT_NE(w->endKind[1], kSchWireEndFree);
    EXPECT_EQ(w->flags & 0x0C, 0x0C);
  }
  // Again: the old circuit goes, junctions included.
  chip->ApplyDbRecord(row.Record());
  EXPECT_EQ(chip->childCount, 7);
  EXPECT_EQ(CountJunctions(bench.scheme), 4);
  EXPECT_EQ(CountWires(bench.scheme), 14);
  EXPECT_EQ(CountBlocks(bench.scheme), 8);
}

// A part whose pin hands its net a PWM source: first level U1, second U2.
struct PwmLine : chiptest::DataLine {
  PwmLine(float period, float duty) {
    kind = kSchSourceOwnWeight;
    SetPwmSource(&source, period, duty);
  }
};

// An L6203 on 24 V with its ground and sense grounded, ENABLE and IN1 high,
// IN2 low, and probes on the outputs and Vref.
struct Rig6203 {
  Rig6203() {
    chip = bench.Create<CSCH_L6203>("L6203");
    vs = bench.Source(24);
    bench.Wire(vs, 0, chip, kElecL6203Vs);
    bench.Wire(bench.Ground(), 0, chip, kElecL6203GND);
    bench.Wire(bench.Ground(), 0, chip, kElecL6203SENSE);
    enable = bench.Source(5);
    bench.Wire(enable, 0, chip, kElecL6203ENABLE);
    out1 = bench.Part(1);
    out2 = bench.Part(1);
    vref = bench.Part(1);
    bench.Wire(out1, 0, chip, kElecL6203OUT1);
    bench.Wire(out2, 0, chip, kElecL6203OUT2);
    bench.Wire(vref, 0, chip, kElecL6203Vref);
  }
  void In(int pin, CSCHBlock* b) { bench.Wire(b, 0, chip, pin); }
  Bench bench;
  CSCH_L6203* chip;
  circuit::Part *vs, *enable, *out1, *out2, *vref;
};

TEST(L6203, OutputsFollowTheInputs) {
  Rig6203 rig;
  rig.In(kElecL6203IN1, rig.bench.Source(5));
  rig.In(kElecL6203IN2, rig.bench.Source(0));
  LogCapture log;
  rig.bench.Run(2);
  EXPECT_EQ(log.Count(), 0);
  // OUT1 high all the time: top pair the supply, source duty 1, period 0.7.
  SchPinState s = Bench::State(rig.out1, 0);
  EXPECT_EQ(s.sourceKind, kSchSourceOwnWeight);
  ASSERT_EQ(s.source, &rig.chip->out1);
  EXPECT_FLOAT_EQ(s.source->weight, 1);
  EXPECT_FLOAT_EQ(GetPwmPeriod(s.source), 0.7f);
  EXPECT_NEAR(s.U, 24, 1e-3f);
  EXPECT_NEAR(s.U2, 0, 1e-3f);
  EXPECT_NEAR(Bench::Read(rig.out1, 0), 24, 1e-3f);
  // OUT2 low: duty 0.
  EXPECT_FLOAT_EQ(rig.chip->out2.weight, 0);
  EXPECT_NEAR(Bench::Read(rig.out2, 0), 0, 1e-3f);
  // Vref: 13.6 V behind 6800 ohms.
  float R = 0;
  EXPECT_NEAR(Bench::Read(rig.vref, 0, &R), 13.6f, 1e-3f);
  EXPECT_NEAR(R, 6800, 0.1f);
}

TEST(L6203, PwmInputsGiveTheirDuty) {
  const struct {
    const char* what;
    float period, duty, U1, U2;
    float expectDuty, expectPeriod;
  } cases[] = {
      {"duty 0.5", 1e-3f, 0.5f, 5, 0, 0.5f, 1e-3f},
      {"duty 0", 1e-3f, 0, 5, 0, 0, 1e-3f},
      {"duty 1", 1e-3f, 1, 5, 0, 1, 1e-3f},
      {"inverted 0.3", 1e-3f, 0.3f, 0, 5, 0.7f, 1e-3f},
      {"period below 1/30000 s", 1e-5f, 0.5f, 5, 0, 0, 0.7f},
      {"period 0", 0, 0.5f, 5, 0, 0, 0.7f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig6203 rig;
    auto* in1 = rig.bench.Add<PwmLine>(c.period, c.duty);
    in1->U1 = c.U1;
    in1->U2 = c.U2;
    rig.In(kElecL6203IN1, in1);
    rig.In(kElecL6203IN2, rig.bench.Source(0));
    rig.bench.Run(2);
    EXPECT_NEAR(rig.chip->out1.weight, c.expectDuty, 1e-6f);
    EXPECT_FLOAT_EQ(GetPwmPeriod(&rig.chip->out1), c.expectPeriod);
  }
}

TEST(L6203, DataOnAnInputAndTheEnablePeriod) {
  Rig6203 rig;
  // Serial data on IN1 reads as duty 0.3; a PWM enable of 2 ms at 0.5
  // halves it and lowers the period.
  chiptest::OwnedSet set;
  auto* in1 = rig.bench.Add<chiptest::DataLine>();
  in1->source.packets = set.set;
  rig.In(kElecL6203IN1, in1);
  rig.In(kElecL6203IN2, rig.bench.Source(5));
  rig.enable->Drive(0, 0, kSchOpenResistance);
  auto* en = rig.bench.Add<PwmLine>(2e-3f, 0.5f);
  rig.bench.Wire(en, 0, rig.enable, 0);
  rig.bench.Run(2);
  EXPECT_NEAR(rig.chip->out1.weight, 0.15f, 1e-6f);
  EXPECT_FLOAT_EQ(GetPwmPeriod(&rig.chip->out1), 2e-3f);
  EXPECT_NEAR(rig.chip->out2.weight, 0.5f, 1e-6f);
}

TEST(L6203, ADisabledBridgeLetsItsOutputsGo) {
  Rig6203 rig;
  rig.In(kElecL6203IN1, rig.bench.Source(5));
  rig.enable->Drive(0, 0, kSchMinResistance);
  rig.bench.Run(2);
  EXPECT_FLOAT_EQ(rig.chip->out1.weight, 0);
  float R = 0;
  Bench::Read(rig.out1, 0, &R);
  EXPECT_GT(R, 1e6f);
  Bench::Read(rig.out2, 0, &R);
  EXPECT_GT(R, 1e6f);
}

TEST(L6203, OverVoltageBurnsAndStartRepairs) {
  Rig6203 rig;
  rig.In(kElecL6203IN1, rig.bench.Source(5));
  rig.vs->Drive(0, 60, kSchMinResistance);
  LogCapture log;
  rig.bench.Run(3);
  EXPECT_EQ(rig.chip->burnt, 1);
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.Messages()[0], L"Ключ \"DA1\" (L6203) вышел из строя!");
  float R = 0;
  Bench::Read(rig.out1, 0, &R);
  EXPECT_GT(R, 1e6f);
  rig.bench.Stop();
  rig.vs->Drive(0, 24, kSchMinResistance);
  rig.bench.Run(2);
  EXPECT_EQ(rig.chip->burnt, 0);
  EXPECT_EQ(log.Count(), 1);
  EXPECT_NEAR(Bench::Read(rig.out1, 0), 24, 1e-3f);
}

TEST(L6203, SenseCurrentLimits) {
  {
    // 12 V behind 0.2 ohm on the low-side output: 24 A at once.
    Rig6203 rig;
    rig.In(kElecL6203IN2, rig.bench.Source(0));
    rig.out2->Drive(0, 12, 0.2f);
    LogCapture log;
    rig.bench.Run(1);
    EXPECT_EQ(rig.chip->burnt, 1);
    EXPECT_EQ(log.Count(), 1);
  }
  {
    // 3 V behind 0.2 ohm: 6 A, smoothed over 3000 s in 100 s steps:
    // 6 (1 - (29/30)^n) passes 5 A at n = 53.
    Rig6203 rig;
    rig.In(kElecL6203IN2, rig.bench.Source(0));
    rig.out2->Drive(0, 3, 0.2f);
    LogCapture log;
    rig.bench.Build();
    rig.bench.Start();
    rig.bench.Step(52, 100);
    EXPECT_EQ(rig.chip->burnt, 0);
    EXPECT_NEAR(rig.chip->senseCurrent, 6 * (1 - std::pow(29.0 / 30, 52)), 1e-3);
    rig.bench.Step(1, 100);
    EXPECT_EQ(rig.chip->burnt, 1);
    EXPECT_EQ(log.Count(), 1);
  }
}

// An L6205 with both bridges on one supply level each, grounds joined
// through the chip, and probes on bridge A's outputs.
struct Rig6205 {
  explicit Rig6205(float vsA) {
    chip = bench.Create<CSCH_L6205>("L6205");
    bench.Wire(bench.Source(vsA), 0, chip, kElecL6205VSA);
    bench.Wire(bench.Source(24), 0, chip, kElecL6205VSB);
    bench.Wire(bench.Ground(), 0, chip, kElecL6205GND1);
    bench.Wire(bench.Ground(), 0, chip, kElecL6205SENSEA);
    bench.Wire(bench.Ground(), 0, chip, kElecL6205SENSEB);
    out1 = bench.Part(1);
    out2 = bench.Part(1);
    bench.Wire(out1, 0, chip, kElecL6205OUT1A);
    bench.Wire(out2, 0, chip, kElecL6205OUT2A);
    bench.Wire(bench.Source(5), 0, chip, kElecL6205IN1A);
  }
  Bench bench;
  CSCH_L6205* chip;
  circuit::Part *out1, *out2;
};

TEST(L6205, GroundPinsAreJoined) {
  Bench bench;
  auto* chip = bench.Create<CSCH_L6205>("L6205");
  bench.Wire(bench.Ground(), 0, chip, kElecL6205GND1);
  bench.Wire(bench.Part(1), 0, chip, kElecL6205GND4);
  bench.Build();
  EXPECT_NE(Bench::NetOf(chip, kElecL6205GND1), nullptr);
  EXPECT_EQ(Bench::NetOf(chip, kElecL6205GND1), Bench::NetOf(chip, kElecL6205GND4));
  EXPECT_TRUE(circuit::NetPointersLive({bench.scheme}));
}

TEST(L6205, EnabledBridgeDrivesItsOutputs) {
  Rig6205 rig(24);
  rig.bench.Wire(rig.bench.Source(5), 0, rig.chip, kElecL6205ENA);
  LogCapture log;
  rig.bench.Run(2);
  EXPECT_EQ(log.Count(), 0);
  EXPECT_FLOAT_EQ(rig.chip->out1A.weight, 1);
  EXPECT_FLOAT_EQ(GetPwmPeriod(&rig.chip->out1A), 0.7f);
  EXPECT_NEAR(Bench::Read(rig.out1, 0), 24, 1e-3f);
  // IN2.A open reads low: duty 0.
  EXPECT_FLOAT_EQ(rig.chip->out2A.weight, 0);
  EXPECT_NEAR(Bench::Read(rig.out2, 0), 0, 1e-3f);
}

TEST(L6205, ADisabledBridgeIsHighImpedanceOrReleased) {
  {
    Rig6205 rig(24);  // EN.A open: disabled, V above 7 V
    rig.bench.Run(2);
    SchPinState s = Bench::State(rig.out1, 0);
    EXPECT_EQ(s.source, &rig.chip->out1A);
    EXPECT_NEAR(s.R, 5e6f, 1);
  }
  {
    Rig6205 rig(5);  // V at most 7 V: released, no source
    rig.bench.Run(2);
    SchPinState s = Bench::State(rig.out1, 0);
    EXPECT_EQ(s.source, nullptr);
    EXPECT_NEAR(s.R, 5e6f, 1);
  }
}

TEST(L6205, OverVoltageAndInputBurnOuts) {
  {
    Rig6205 rig(65);
    rig.chip->SetName(L"DA7");
    LogCapture log;
    rig.bench.Run(2);
    EXPECT_EQ(rig.chip->burnt, 1);
    ASSERT_EQ(log.Count(), 1);
    EXPECT_EQ(log.Messages()[0], L"Ключ \"DA7\" (L6205) вышел из строя!");
    rig.bench.Stop();
    rig.bench.Build();
    rig.bench.Start();
    EXPECT_EQ(rig.chip->burnt, 0);
  }
  {
    Rig6205 rig(24);
    rig.bench.Wire(rig.bench.Source(9), 0, rig.chip, kElecL6205IN1B);  // above 7 V
    LogCapture log;
    rig.bench.Run(1);
    EXPECT_EQ(rig.chip->burnt, 1);
    EXPECT_EQ(log.Count(), 1);
  }
}

TEST(MotorDrivers, SymbolsAndFootprints) {
  Bench bench;
  auto* a = bench.Create<CSCH_L6203>("L6203");
  auto* b = bench.Create<CSCH_L6205>("L6205");
  comptest::SymbolCanvas canvas(400, 260);
  EXPECT_TRUE(canvas.Paint(a, 30, 40));
  EXPECT_TRUE(canvas.Paint(b, 220, 30));
  EXPECT_GT(canvas.InkIn(30, 40, 150, 180), 100);
  EXPECT_GT(canvas.InkIn(220, 30, 370, 230), 100);
  EXPECT_TRUE(canvas.Save(L"motor_drivers_symbols.bmp"));
  for (CSCHBlock* chip : {static_cast<CSCHBlock*>(a), static_cast<CSCHBlock*>(b)}) {
    comptest::FootprintCanvas board(12, 400, 400);
    chip->boardX = chip->boardY = 0;
    EXPECT_TRUE(board.Paint(chip));
    EXPECT_GT(board.InkCount(), 500);
    EXPECT_TRUE(board.Save(chip == a ? L"l6203_footprint.bmp" : L"l6205_footprint.bmp"));
  }
}

}  // namespace
