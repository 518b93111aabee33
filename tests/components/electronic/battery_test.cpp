// The battery: creation, database rows, the discharge curves, its record and
// run state, the ground reference, discharge and charge reports, and a
// battery driving a resistor until it burns.
#include "components/electronic/battery.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "components/electronic/resister.h"
#include "component_kit.h"
#include "kestui/graphics/image.h"
#include "support/test_support.h"

namespace {

using comptest::Bench;
using comptest::DbRow;
using comptest::Golden;
using comptest::LogCapture;

TEST(Battery, CreatedThroughTheRegistryWithItsDefaults) {
  Bench bench;
  auto* b = bench.Create<CSCHBattery>("Battery");
  ASSERT_NE(b, nullptr);
  EXPECT_STREQ(b->className, "Battery");
  EXPECT_EQ(b->instanceName, nullptr);  // no designator prefix
  EXPECT_EQ(b->nominalVoltage, 12.0f);
  EXPECT_EQ(b->capacity, 60.0f);
  EXPECT_EQ(b->dischargeType, 0);
  EXPECT_EQ(b->internalResistance, 0.01f);
  EXPECT_EQ(b->groundReference, 0);
  EXPECT_EQ(b->rect.right - b->rect.left, 90);
  EXPECT_EQ(b->rect.bottom - b->rect.top, 80);
  ASSERT_EQ(b->pinCount, 2);
  EXPECT_STREQ(b->pins[kElecBatteryMinus].description, L"Минус");
  EXPECT_STREQ(b->pins[kElecBatteryPlus].description, L"Плюс");
  EXPECT_EQ(b->pins[kElecBatteryMinus].side, kSchSideLeft);
  EXPECT_EQ(b->pins[kElecBatteryPlus].side, kSchSideRight);
  EXPECT_EQ(b->pins[kElecBatteryMinus].offset, 23);
  EXPECT_EQ(b->pins[kElecBatteryPlus].offset, 57);
  for (int i = 0; i < 2; i++) {
    EXPECT_EQ(b->pins[i].name, nullptr);
    EXPECT_EQ(b->pins[i].number, -1);
    EXPECT_EQ(b->pins[i].kind, kSchPinElectric);
  }
  // Both pins sit 23 px below the top edge.
  EXPECT_EQ(b->GetPinAnchor(kElecBatteryMinus).y, b->rect.top + 23);
  EXPECT_EQ(b->GetPinAnchor(kElecBatteryPlus).y, b->rect.top + 23);
}

TEST(Battery, ElectromotiveForceByTypeAndDepth) {
  struct Case {
    int type;
    float d, E;
  };
  // U = 12 V; the curves worked out by hand.
  const Case cases[] = {
      {0, 0, 13.7000004f},    // 12 x 1.1416667
      {0, 0.5f, 8.9000004f},  // 12 x 0.7416667
      {0, 1, 4.1000004f},     // 12 x 0.3416667
      {0, 1.5f, 0},           // 12 x -0.0583333: none
      {1, 0, 13.1890574f},    // 12 x (1 - e^-7 + 0.1)
      {1, 1, 10.3759834f},    // 12 x (1 - e^-2 + 0.1 e^-20)
      {3, 1, 10.3759834f},
      {5, 1, 10.3759834f},
      {1, 2, 0},              // 1 - e^3 < 0
      {2, 0, 11.9187988f},    // 12 x (1 - e^-100 - 0.05 e^-2)
      {2, 0.5f, 11.3994529f}, // 12 x (1 - e^-50 - 0.05 - 0.05 e^-7)
      {2, 1, 0},              // 1 - 1 - 0.1 - ...: none
      {4, 0, 12.0f},          // 12 x (1 - 0.6 e^-20)
      {4, 0.5f, 9.5996731f},  // 12 x (0.8 - 0.6 e^-10)
      {4, 1, 0},              // 12 x (1 - 0.4 - 0.6)
      {6, 0, 12},
      {6, 5, 12},             // no curve: U whatever the charge
      {255, -3, 12},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(BatteryEmf(12, c.type, c.d), c.E, 2e-5f) << "type " << c.type << " depth " << c.d;
}

TEST(Battery, DatabaseRowSetsEveryField) {
  Bench bench;
  auto* b = bench.Create<CSCHBattery>("Battery");
  DbRow row(L"batteries", {{"model", "LP-103450"}, {"U", "3.7"}, {"Q", "2"}, {"R", "0.08"},
                           {"type", "4"}, {"Length", "50"}, {"Width", "34"}, {"Height", "10"},
                           {"mass", "40"}, {"Form", "1"}, {"price", "450"}});
  b->ApplyDbRecord(row.Record());
  EXPECT_EQ(b->nominalVoltage, 3.7f);
  EXPECT_EQ(b->capacity, 2.0f);
  EXPECT_EQ(b->internalResistance, 0.08f);
  EXPECT_EQ(b->dischargeType, 4);
  EXPECT_FLOAT_EQ(b->length, 0.05f);
  EXPECT_FLOAT_EQ(b->width, 0.034f);
  EXPECT_FLOAT_EQ(b->height, 0.01f);
  EXPECT_EQ(b->mass, 40.0f);
  EXPECT_EQ(b->form, 1);
  EXPECT_STREQ(b->model, "LP-103450");
  EXPECT_STREQ(b->tableName, L"batteries");
  EXPECT_EQ(b->price, 450.0);
  // A missing column reads 0.
  DbRow bare(L"batteries", {{"model", "bare"}});
  b->ApplyDbRecord(bare.Record());
  EXPECT_EQ(b->nominalVoltage, 0.0f);
  EXPECT_EQ(b->capacity, 0.0f);
  EXPECT_EQ(b->dischargeType, 0);
}

TEST(Battery, SampleDatabaseRows) {
  comptest::RegistryScope registry;
  comptest::SampleTable table(L"batteries");
  ASSERT_TRUE(table.loaded);
  auto b = comptest::NewDetached<CSCHBattery>("Battery");
  ASSERT_TRUE(b);
  CompDbRecord* lead = table.table.GetRecord(2);
  ASSERT_NE(lead, nullptr);
  b->ApplyDbRecord(lead);
  EXPECT_EQ(b->nominalVoltage, 12.0f);
  EXPECT_EQ(b->capacity, 7.0f);
  EXPECT_EQ(b->internalResistance, 0.025f);
  EXPECT_EQ(b->dischargeType, 2);
  EXPECT_FLOAT_EQ(b->length, 0.151f);
  EXPECT_EQ(b->mass, 2300.0f);  // as the row holds it
}

TEST(Battery, RecordAfterTheDeviceRecord) {
  Bench bench;
  auto* b = bench.Create<CSCHBattery>("Battery");
  b->nominalVoltage = 4.8f;
  b->capacity = 2.3f;
  b->dischargeType = 1;
  b->internalResistance = 0.2f;
  EXPECT_TRUE(velktest::BytesEqual(comptest::FieldsAfter<CSCHDevice>(b),
                                   Golden().F(4.8f).F(2.3f).B(1).F(0.2f).Bytes()));
  // The device fields come before: form, mass, length, width, height.
  b->form = 2;
  b->mass = 2.3f;
  b->length = 0.151f;
  b->width = 0.065f;
  b->height = 0.094f;
  EXPECT_TRUE(velktest::BytesEqual(
      comptest::FieldsAfter<CSCHBlock>(b),
      Golden().B(2).F(2.3f).F(0.151f).F(0.065f).F(0.094f).F(4.8f).F(2.3f).B(1).F(0.2f).Bytes()));
}

TEST(Battery, RecordRoundTripAndEveryTruncation) {
  Bench bench;
  auto* b = bench.Create<CSCHBattery>("Battery");
  b->SetName(L"GB1");
  b->nominalVoltage = 3.7f;
  b->capacity = 2;
  b->dischargeType = 2;
  b->internalResistance = 0.08f;
  b->mass = 40;
  std::vector<uint8_t> bytes = comptest::SaveBytes(b);
  auto copy = comptest::NewDetached<CSCHBattery>("Battery");
  ASSERT_TRUE(copy);
  comptest::LoadBytes(copy.get(), bytes);
  EXPECT_STREQ(copy->instanceName, L"GB1");
  EXPECT_EQ(copy->nominalVoltage, 3.7f);
  EXPECT_EQ(copy->capacity, 2.0f);
  EXPECT_EQ(copy->dischargeType, 2);
  EXPECT_EQ(copy->internalResistance, 0.08f);
  EXPECT_EQ(copy->mass, 40.0f);
  copy->flags &= ~kSchLoaded;
  EXPECT_TRUE(velktest::BytesEqual(comptest::SaveBytes(copy.get()), bytes));

  const size_t base = bytes.size() - 13;
  comptest::ForEachTruncation<CSCHBattery>("Battery", bytes, [&](CSCHBattery* c, size_t n) {
    EXPECT_EQ(c->nominalVoltage, n >= base + 4 ? 3.7f : n <= base ? 0.0f : c->nominalVoltage);
    EXPECT_EQ(c->capacity, n >= base + 8 ? 2.0f : n <= base + 4 ? 0.0f : c->capacity);
    EXPECT_EQ(c->dischargeType, n >= base + 9 ? 2 : 0);
    EXPECT_EQ(c->internalResistance, n >= base + 13 ? 0.08f : n <= base + 9 ? 0.0f : c->internalResistance);
  });
}

TEST(Battery, SchemeStreamKeepsTheBattery) {
  Bench bench;
  auto* b = bench.Create<CSCHBattery>("Battery");
  b->nominalVoltage = 7.2f;
  b->dischargeType = 5;
  auto copy = comptest::ReadBack(bench.scheme);
  ASSERT_TRUE(copy);
  auto* back = dynamic_cast<CSCHBattery*>(copy->blocks);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->nominalVoltage, 7.2f);
  EXPECT_EQ(back->dischargeType, 5);
  EXPECT_EQ(back->groundReference, 0);  // not saved
}

TEST(Battery, RunState) {
  Bench bench;
  auto* b = bench.Create<CSCHBattery>("Battery");
  b->burnt = 1;
  b->dischargedWarningGiven = 1;
  b->charge = 59.5;
  std::vector<uint8_t> bytes = comptest::SaveRunStateBytes(b);
  EXPECT_TRUE(velktest::BytesEqual(bytes, Golden().Raw("Battery", 8).B(1).B(1).F(59.5f).Bytes()));
  auto other = comptest::NewDetached<CSCHBattery>("Battery");
  ASSERT_TRUE(other);
  EXPECT_TRUE(comptest::LoadRunStateBytes(other.get(), bytes));
  EXPECT_EQ(other->burnt, 1);
  EXPECT_EQ(other->dischargedWarningGiven, 1);
  EXPECT_EQ(other->charge, 59.5);
  // Another class's record: nothing more is read.
  other->charge = 3;
  other->dischargedWarningGiven = 0;
  EXPECT_FALSE(comptest::LoadRunStateBytes(other.get(), Golden().Raw("Resister", 9).B(1).B(1).F(1).Bytes()));
  EXPECT_EQ(other->charge, 3.0);
  EXPECT_EQ(other->dischargedWarningGiven, 0);
}

// Two batteries with both pins on 1-ohm loads to ground.
struct TwoBatteries {
  TwoBatteries() {
    older = bench.Create<CSCHBattery>("Battery");
    newer = bench.Create<CSCHBattery>("Battery");
    for (CSCHBattery* b : {older, newer})
      for (int pin : {kElecBatteryMinus, kElecBatteryPlus}) wires.push_back(bench.Wire(b, pin, bench.Source(0, 1), 0));
  }
  Bench bench;
  CSCHBattery* older;
  CSCHBattery* newer;
  std::vector<SchWire*> wires;
};

TEST(Battery, OnlyTheNewestConnectedBatteryBecomesTheReference) {
  TwoBatteries t;
  t.bench.Run(2);
  EXPECT_EQ(t.newer->groundReference, 1);
  EXPECT_EQ(t.older->groundReference, 0);
  EXPECT_EQ(t.bench.scheme->startedToken, 0);
  // The reference drives its minus pin at 0 V behind 10 microohms.
  EXPECT_EQ(t.newer->pins[kElecBatteryMinus].G, 1 / 0.00001f);
  EXPECT_EQ(t.newer->pins[kElecBatteryMinus].I, 0.0f);
  t.bench.Stop();
}

TEST(Battery, ReferenceIsTakenAfreshAtEveryStart) {
  TwoBatteries t;
  t.bench.Run(1);
  t.bench.Stop();
  ASSERT_EQ(t.newer->groundReference, 1);
  // The newer battery loses its plus wire: the older one is the reference
  // of the next run, the newer one no longer.
  delete t.wires[3];
  t.bench.Run(1);
  EXPECT_EQ(t.newer->groundReference, 0);
  EXPECT_EQ(t.older->groundReference, 1);
  // The unconnected pin reads 0 V behind 5 megohms.
  float R = 0;
  EXPECT_EQ(Bench::Read(t.newer, kElecBatteryPlus, &R), 0.0f);
  EXPECT_EQ(R, 5e6f);
  t.bench.Stop();
}

// A battery of type 6 (E = U whatever the charge), no internal resistance,
// its plus pin on a source that Drive changes and its minus pin on ground.
struct Charger {
  Charger() {
    b = bench.Create<CSCHBattery>("Battery");
    b->SetName(L"GB1");
    b->nominalVoltage = 3.6f;
    b->capacity = 0.001f;
    b->dischargeType = 6;
    b->internalResistance = 0;
    source = bench.Source(0, 1);
    bench.Wire(b, kElecBatteryPlus, source, 0);
    bench.Wire(b, kElecBatteryMinus, bench.Ground(), 0);
    bench.Build();
    bench.Start();
  }
  ~Charger() { bench.Stop(); }
  Bench bench;
  CSCHBattery* b;
  circuit::Part* source;
};

TEST(Battery, DischargeReportsOnceAndRuinsTheBattery) {
  LogCapture log;
  Charger c;
  // Discharging through 1 ohm (and ground's 10 microohms): I = 3.6 / 1.00001
  // A; a step of 0.1 s takes I x 0.1 / 3600 = 0.0999990 Q.
  const double Q = c.b->capacity;
  const double take = (3.6f / (1 + 0.00001f)) * 0.1 / 3600;
  struct Expect {
    int step;
    double charge;
    int messages;
  };
  const Expect table[] = {
      {1, Q, 0},              // the first step draws nothing
      {2, Q - take, 0},
      {3, Q - 2 * take, 0},
      {4, Q - 3 * take, 0},   // the fourth step is like every other
      {11, Q - 10 * take, 0}, // 0.00001 Q left
      {12, Q - 11 * take, 1}, // below 0: fully discharged
      {13, Q - 12 * take, 2}, // below -Q/10: ruined
  };
  int step = 0;
  for (const Expect& e : table) {
    while (step < e.step) {
      c.bench.Step(1, 0.1f);
      step++;
    }
    EXPECT_NEAR(c.b->charge, e.charge, 1e-10) << "step " << e.step;
    EXPECT_EQ(log.Count(), e.messages) << "step " << e.step;
  }
  ASSERT_EQ(log.Count(), 2);
  EXPECT_EQ(log.Messages()[0], L"Батарея GB1 полностью разряжена!");
  EXPECT_EQ(log.Messages()[1], L"Батарея GB1 разряжена до состояния, неподлежащего восстановлению.");
  EXPECT_EQ(c.b->burnt, 1);
  // Burnt: no force, a plain resistance (here none) between the pins; the
  // source reads the minus pin's 0 V.
  c.bench.Step(3, 0.1f);
  EXPECT_NEAR(Bench::Read(c.source, 0), 0.0f, 1e-5f);
  EXPECT_EQ(log.Count(), 2);
  // The next run has a whole battery again.
  c.bench.Stop();
  c.bench.Build();
  c.bench.Start();
  EXPECT_EQ(c.b->burnt, 0);
  EXPECT_EQ(c.b->charge, Q);
  EXPECT_EQ(c.b->dischargedWarningGiven, 0);
}

TEST(Battery, RechargeReArmsTheDischargeReport) {
  LogCapture log;
  Charger c;
  c.bench.Step(12, 0.1f);  // -0.099989 Q: reported
  ASSERT_EQ(log.Count(), 1);
  c.source->Drive(0, 7.2f, 1);  // now 3.6 V the other way: +0.0999990 Q a step
  c.bench.Step(1, 0.1f);        // +0.00001 Q: not yet above Q/20
  EXPECT_EQ(c.b->dischargedWarningGiven, 1);
  c.bench.Step(1, 0.1f);        // 0.1 Q: re-armed
  EXPECT_EQ(c.b->dischargedWarningGiven, 0);
  c.source->Drive(0, 0, 1);
  c.bench.Step(1, 0.1f);  // 0.00001 Q
  EXPECT_EQ(log.Count(), 1);
  c.bench.Step(1, 0.1f);  // -0.09999 Q: reported again
  ASSERT_EQ(log.Count(), 2);
  EXPECT_EQ(log.Messages()[1], L"Батарея GB1 полностью разряжена!");
  EXPECT_EQ(c.b->burnt, 0);
}

TEST(Battery, OverchargeExplodes) {
  LogCapture log;
  Charger c;
  c.source->Drive(0, 10, 1);
  c.b->SetName(nullptr);
  // I = (3.6 - 10) / 1.00001 A: 0.17778 Q a step, above 1.1 Q at once.
  c.bench.Step(1, 0.1f);
  EXPECT_EQ(c.b->burnt, 0);
  c.bench.Step(1, 0.1f);
  EXPECT_NEAR(c.b->charge, double(c.b->capacity) + (6.4f / 1.00001f) * 0.1 / 3600, 1e-10);
  EXPECT_EQ(c.b->burnt, 1);
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.Messages()[0], L"Взорвалась батарея !");  // a battery without a name
  c.bench.Step(5, 0.1f);
  EXPECT_EQ(log.Count(), 1);
}

TEST(Battery, SmallCurrentsDischargeALargeBattery) {
  // 12 V type 6 into 1 kOhm: 12 mA; a 1 ms step takes 3.3e-9 Ah, far below
  // what a single-precision 60 Ah could keep.
  Bench bench;
  auto* b = bench.Create<CSCHBattery>("Battery");
  b->dischargeType = 6;
  b->internalResistance = 0;
  bench.Wire(b, kElecBatteryPlus, bench.Source(0, 1000), 0);
  bench.Wire(b, kElecBatteryMinus, bench.Ground(), 0);
  bench.Run(1001);
  const double I = 12.0f / (1000 + 0.00001f);
  EXPECT_NEAR(b->charge, 60 - 1000 * I * 0.001 / 3600, 1e-9);
  EXPECT_LT(b->charge, 60 - 3e-6);
  bench.Stop();
}

TEST(Battery, DrivesAResistorUntilItBurns) {
  // A 12 V battery of type 6 (internal 0.01 ohm), the reference of the run,
  // across a 100-ohm resistor rated 1.4 W. The battery steps first (it is
  // the newest block): minus at 0 V behind 10 uOhm, plus at 12 V behind
  // 0.01001 ohm. The resistor sees that in series with both sources:
  // I = 12 / (100 + 0.01001 + 0.00001) A in every step from the first.
  LogCapture log;
  Bench bench;
  auto* r = bench.Create<CSCHResister>("Resister");
  r->actualResistance = 100;
  r->powerRating = 1.4f;
  auto* b = bench.Create<CSCHBattery>("Battery");
  b->dischargeType = 6;
  bench.Wire(b, kElecBatteryPlus, r, 0);
  bench.Wire(r, 1, b, kElecBatteryMinus);
  bench.Run(1, 0.01f);
  EXPECT_EQ(b->groundReference, 1);
  // What the resistor's pin reads of the battery, and the plus net's voltage
  // (12 V behind 0.01001 ohm against 0 V behind 100.00001 ohm).
  SchPinState s = Bench::State(r, 0);
  EXPECT_NEAR(s.U, 12.0f, 1e-4f);
  EXPECT_NEAR(s.R, 0.01001f, 1e-6f);
  SchNet* plus = bench.NetOf(b, kElecBatteryPlus);
  const double g1 = 1 / 0.01001, g2 = 1 / 100.00001;
  EXPECT_NEAR(plus->sumI / plus->sumG, 12 * g1 / (g1 + g2), 1e-4);
  // The smoothed power P (1 - 0.995^n) passes 1.4 W at step n.
  const double I = 12 / (100 + 0.01001 + 0.00001);
  const double P = I * I * 100;
  const int expected = static_cast<int>(std::ceil(std::log(1 - 1.4 / P) / std::log(0.995)));
  EXPECT_EQ(expected, 717);
  int burntAt = r->burnt ? 1 : 0;
  for (int n = 2; n <= 900 && !burntAt; n++) {
    bench.Step(1, 0.01f);
    if (r->burnt) burntAt = n;
  }
  EXPECT_NEAR(burntAt, expected, 1);
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.Messages()[0], L"Резистор \"R1\" вышел из строя!");
  // Open from then on: the battery's plus pin reads 0 V behind 5 megohms.
  bench.Step(2, 0.01f);
  float R = 0;
  EXPECT_NEAR(Bench::Read(b, kElecBatteryPlus, &R), 0.0f, 1e-4f);
  EXPECT_NEAR(R, 5e6f, 500);
  bench.Stop();
}

TEST(Battery, ZeroCapacityCountsAsEmpty) {
  LogCapture log;
  Charger c;
  c.bench.Stop();
  c.b->capacity = 0;
  c.b->dischargeType = 0;  // E = U x (1.1416667 - 0.8) when empty
  c.bench.Build();
  c.bench.Start();
  c.bench.Step(1, 0.1f);
  EXPECT_NEAR(Bench::Read(c.source, 0), 3.6f * 0.3416667f, 1e-4f);
  c.bench.Step(1, 0.1f);  // below 0: reported
  EXPECT_EQ(log.Count(), 1);
  c.bench.Step(1, 0.1f);  // below -Q/10 = 0: ruined
  EXPECT_EQ(log.Count(), 2);
  EXPECT_EQ(c.b->burnt, 1);
  EXPECT_TRUE(std::isfinite(c.b->charge));
}

TEST(Battery, CapacityThatIsNoNumberBreaksTheFirstLimit) {
  for (float Q : {NAN, INFINITY}) {
    LogCapture log;
    Charger c;
    c.bench.Stop();
    c.b->capacity = Q;
    c.bench.Build();
    c.bench.Start();
    c.bench.Step(1, 0.1f);
    EXPECT_EQ(c.b->burnt, 1) << Q;
    ASSERT_EQ(log.Count(), 1);
    EXPECT_EQ(log.Messages()[0], L"Взорвалась батарея GB1!");
    c.bench.Step(3, 0.1f);
    EXPECT_EQ(log.Count(), 1);
  }
}

// ------------------------------------------------------------ drawing

// The folder of the symbol pictures copied beside the test programs.
std::wstring ShippedIconsFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring exe(path, n);
  return exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"schemeIcons\\";
}

TEST(Battery, PictureAndName) {
  comptest::IconsFolderScope icons(ShippedIconsFolder());
  Bench bench;
  auto* b = bench.Create<CSCHBattery>("Battery");
  b->SetName(L"GB1");
  comptest::SymbolCanvas canvas(140, 120);
  EXPECT_TRUE(canvas.Paint(b, 20, 10));
  // The picture at its own size from the symbol's top-left corner: the
  // lead to the minus pin 23 px down, the body, a charge cell.
  EXPECT_EQ(canvas.Pixel(20 + 5, 10 + 22), RGB(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(20 + 5, 10 + 5), RGB(255, 255, 255));
  EXPECT_EQ(canvas.Pixel(20 + 40, 10 + 40), RGB(88, 92, 100));
  EXPECT_EQ(canvas.Pixel(20 + 30, 10 + 55), RGB(60, 190, 80));
  EXPECT_EQ(canvas.Pixel(20 + 84, 10 + 23), RGB(0, 0, 0));  // the lead to the plus pin
  // The name under the picture, centred over 96 px.
  EXPECT_GT(canvas.InkIn(20, 90, 140, 110), 0);
  EXPECT_EQ(canvas.InkIn(0, 90, 20 + 30, 110), 0);
  EXPECT_EQ(canvas.InkIn(20 + 66, 90, 140, 110), 0);
  EXPECT_TRUE(canvas.Save(L"battery_symbol.bmp"));
  // Without a name nothing is written under it.
  canvas.Clear();
  b->SetName(nullptr);
  EXPECT_TRUE(canvas.Paint(b, 20, 10));
  EXPECT_EQ(canvas.InkIn(0, 90, 140, 120), 0);
}

TEST(Battery, ScreenshotOfABatteryAndAResistor) {
  comptest::IconsFolderScope icons(ShippedIconsFolder());
  Bench bench;
  auto* b = bench.Create<CSCHBattery>("Battery");
  b->SetName(L"GB1");
  auto* r = bench.Create<CSCHResister>("Resister");
  comptest::SymbolCanvas canvas(220, 120);
  EXPECT_TRUE(canvas.Paint(b, 10, 10));
  EXPECT_TRUE(canvas.Paint(r, 140, 20));
  EXPECT_TRUE(canvas.Save(L"battery_and_resister_symbols.bmp"));
}

TEST(Battery, ShippedPictureFitsTheSymbol) {
  std::wstring file = ShippedIconsFolder() + L"battery.png";
  CKestImage picture;
  ASSERT_EQ(picture.Load(file.c_str()), S_OK);
  EXPECT_EQ(picture.GetWidth(), 90);
  EXPECT_EQ(picture.GetHeight(), 80);
}

TEST(Battery, NoFootprint) {
  Bench bench;
  auto* b = bench.Create<CSCHBattery>("Battery");
  comptest::FootprintCanvas board(10, 100, 100);
  EXPECT_TRUE(board.Paint(b));
  EXPECT_EQ(board.InkCount(), 0);
}

}  // namespace
