// The transistors: creation, database rows with the drawn gain and
// threshold, records, symbols and package footprints, and their
// simulation: the bipolar junction formulas, NPN and PNP, the field-effect
// switch and its body diode, burn-out, and the data hand-over.
#include "components/electronic/discrete/bi_transistor.h"
#include "components/electronic/discrete/cmos_transistor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "component_kit.h"
#include "discrete_kit.h"
#include "support/test_support.h"

namespace {

using comptest::Bench;
using comptest::DbRow;
using comptest::Golden;
using comptest::LogCapture;

const COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);
const COLORREF kLead = RGB(204, 238, 255);

TEST(BiTransistor, CreatedThroughTheRegistryWithItsDefaults) {
  Bench bench;
  auto* t = bench.Create<CSCHBiTransistor>("BiTransistor");
  ASSERT_NE(t, nullptr);
  EXPECT_STREQ(t->instanceName, L"VT1");
  EXPECT_EQ(t->rect.right - t->rect.left, 31);
  EXPECT_EQ(t->rect.bottom - t->rect.top, 31);
  EXPECT_EQ(t->pnp, 0);
  EXPECT_EQ(t->Uceo, 50.0f);
  EXPECT_EQ(t->Ic, 1.0f);
  EXPECT_EQ(t->Icp, 1.5f);
  EXPECT_EQ(t->Ib, 10.0f);
  EXPECT_EQ(t->gain, 100.0f);
  EXPECT_EQ(t->Uebo, 5.0f);
  EXPECT_EQ(t->Pc, 1.0f);
  EXPECT_EQ(t->Uce, 0.0f);
  EXPECT_EQ(t->UbeSat, 0.0f);
  EXPECT_EQ(t->form, kElecTransistorRectangle);
  EXPECT_EQ(t->bodyLength, 5.0f);
  EXPECT_EQ(t->footprintWidth, 0.0f);  // sized by the first record
  ASSERT_EQ(t->pinCount, 3);
  const struct {
    const wchar_t* description;
    int side, offset;
  } pins[] = {{L"База", kSchSideLeft, 15}, {L"Эмиттер", kSchSideBottom, 23}, {L"Коллектор", kSchSideTop, 8}};
  for (int i = 0; i < 3; i++) {
    EXPECT_STREQ(t->pins[i].description, pins[i].description);
    EXPECT_EQ(t->pins[i].side, pins[i].side);
    EXPECT_EQ(t->pins[i].offset, pins[i].offset);
    EXPECT_EQ(t->pins[i].name, nullptr);
  }
}

TEST(CMOSTransistor, CreatedThroughTheRegistryWithItsDefaults) {
  Bench bench;
  auto* t = bench.Create<CSCHCMOSTransistor>("CMOSTransistor");
  ASSERT_NE(t, nullptr);
  EXPECT_STREQ(t->instanceName, L"VT1");
  EXPECT_EQ(t->pChannel, 0);
  EXPECT_EQ(t->Id, 43.0f);
  EXPECT_EQ(t->Idm, 170.0f);
  EXPECT_EQ(t->Ugsmax, 20.0f);
  EXPECT_EQ(t->threshold, 3.0f);
  EXPECT_EQ(t->bodyDiode, 1);
  ASSERT_EQ(t->pinCount, 3);
  const struct {
    const wchar_t* description;
    int side, offset;
  } pins[] = {{L"Затвор", kSchSideLeft, 23}, {L"Исток", kSchSideRight, 8}, {L"Сток", kSchSideRight, 24}};
  for (int i = 0; i < 3; i++) {
    EXPECT_STREQ(t->pins[i].description, pins[i].description);
    EXPECT_EQ(t->pins[i].side, pins[i].side);
    EXPECT_EQ(t->pins[i].offset, pins[i].offset);
  }
}

void ApplyBipolar(CSCHBiTransistor* t, const char* structure, const char* h21max = "300") {
  DbRow row(L"bitransistor",
            {{"model", "KT315"}, {"structure", structure}, {"Uceo", "45"}, {"Uce", "0.2"}, {"Ic", "0.1"},
             {"Icp", "0.2"}, {"Ib", "5"}, {"h21min", "100"}, {"h21max", h21max}, {"Uebo", "6"},
             {"Pc", "0.5"}, {"UbeSat", "0.7"}, {"form", "3"}, {"length", "4.6"}, {"width", "3.6"},
             {"radiator", "0"}, {"radColor", "0"}, {"piping", "0"}, {"color", "1"},
             {"legWidth", "2.5"}, {"legStep", "-1.27"}, {"price", "2"}});
  t->ApplyDbRecord(row.Record());
}

TEST(BiTransistor, DatabaseRowSetsEveryField) {
  Bench bench;
  auto* t = bench.Create<CSCHBiTransistor>("BiTransistor");
  ApplyBipolar(t, "NPN", "100");  // no spread: gain 100
  EXPECT_STREQ(t->model, "KT315");
  EXPECT_EQ(t->price, 2.0);
  EXPECT_EQ(t->pnp, 0);
  EXPECT_EQ(t->Uceo, 45.0f);
  EXPECT_EQ(t->Uce, 0.2f);
  EXPECT_EQ(t->Ic, 0.1f);
  EXPECT_EQ(t->Icp, 0.2f);
  EXPECT_FLOAT_EQ(t->Ib, 0.005f);  // milliamperes
  EXPECT_EQ(t->gain, 100.0f);
  EXPECT_EQ(t->Uebo, 6.0f);
  EXPECT_EQ(t->Pc, 0.5f);
  EXPECT_EQ(t->UbeSat, 0.7f);
  EXPECT_EQ(t->form, kElecTransistorFlatCan);
  EXPECT_EQ(t->bodyLength, 4.6f);
  EXPECT_EQ(t->bodyWidth, 3.6f);
  EXPECT_EQ(t->bodyColor, 1);
  EXPECT_EQ(t->leadLength, 2.5f);
  EXPECT_EQ(t->leadPitch, -1.27f);
  EXPECT_EQ(t->footprintWidth, 4.6f);
  EXPECT_EQ(t->footprintLength, 3.6f);
}

TEST(BiTransistor, StructureTextSelectsPnpExactly) {
  const struct {
    const char* text;
    int pnp;
  } cases[] = {{"PNP", 1}, {"NPN", 0}, {"pnp", 0}, {"PNP ", 0}, {"", 0}};
  for (const auto& c : cases) {
    CSCHBiTransistor t;
    ApplyBipolar(&t, c.text);
    EXPECT_EQ(t.pnp, c.pnp) << c.text;
  }
  CSCHBiTransistor t;
  t.pnp = 1;
  DbRow row(L"bitransistor", {{"model", "X"}});  // no column: NPN
  t.ApplyDbRecord(row.Record());
  EXPECT_EQ(t.pnp, 0);
}

TEST(BiTransistor, GainIsDrawnOverItsWholeRange) {
  CSCHBiTransistor t;
  float low = 1e9f, high = 0;
  for (int i = 0; i < 300; i++) {
    ApplyBipolar(&t, "NPN");
    ASSERT_GE(t.gain, 100.0f);
    ASSERT_LE(t.gain, 300.0f);
    low = std::min(low, t.gain);
    high = std::max(high, t.gain);
  }
  EXPECT_LT(low, 110.0f);
  EXPECT_GT(high, 290.0f);
}

TEST(CMOSTransistor, ChannelTextAndDrawnThreshold) {
  const struct {
    const char* channel;
    int p;
  } cases[] = {{"P", 1}, {"P-канал", 1}, {"N", 0}, {"p", 0}, {"p-канал", 0}, {"", 0}};
  for (const auto& c : cases) {
    CSCHCMOSTransistor t;
    DbRow row(L"cmostransistor", {{"model", "IRF"}, {"channel", c.channel}, {"Id", "33"}, {"Idm", "110"},
                                  {"Ugsmax", "20"}, {"Ugsthmin", "2"}, {"Ugsthmax", "4"}, {"diod", "0"}});
    t.ApplyDbRecord(row.Record());
    EXPECT_EQ(t.pChannel, c.p) << c.channel;
    EXPECT_EQ(t.Id, 33.0f);
    EXPECT_EQ(t.Idm, 110.0f);
    EXPECT_EQ(t.Ugsmax, 20.0f);
    EXPECT_EQ(t.bodyDiode, 0);
    EXPECT_GE(t.threshold, 2.0f);
    EXPECT_LE(t.threshold, 4.0f);
  }
  CSCHCMOSTransistor t;
  t.pChannel = 1;
  DbRow row(L"cmostransistor", {{"model", "X"}, {"diod", "2"}});  // no channel: N
  t.ApplyDbRecord(row.Record());
  EXPECT_EQ(t.pChannel, 0);
  EXPECT_EQ(t.bodyDiode, 1);
}

TEST(BiTransistor, SampleDatabaseRows) {
  comptest::RegistryScope registry;
  comptest::SampleTable bipolar(L"bitransistor");
  ASSERT_TRUE(bipolar.loaded);
  auto t = comptest::NewDetached<CSCHBiTransistor>("BiTransistor");
  ASSERT_TRUE(t);
  ASSERT_NE(bipolar.Find("BC557B"), nullptr);
  t->ApplyDbRecord(bipolar.Find("BC557B"));
  EXPECT_EQ(t->pnp, 1);
  EXPECT_GE(t->gain, 200.0f);
  EXPECT_LE(t->gain, 450.0f);
  comptest::SampleTable field(L"cmostransistor");
  ASSERT_TRUE(field.loaded);
  auto f = comptest::NewDetached<CSCHCMOSTransistor>("CMOSTransistor");
  ASSERT_TRUE(f);
  ASSERT_NE(field.Find("IRF9540N"), nullptr);
  f->ApplyDbRecord(field.Find("IRF9540N"));
  EXPECT_EQ(f->pChannel, 1);
  EXPECT_EQ(f->footprintWidth, 10.0f);
}

TEST(BiTransistor, RecordAfterTheBaseRecord) {
  Bench bench;
  auto* t = bench.Create<CSCHBiTransistor>("BiTransistor");
  ApplyBipolar(t, "PNP");
  t->gain = 123.25f;
  std::vector<uint8_t> expected = Golden()
                                      .B(3)        // form
                                      .F(4.6f)     // length
                                      .F(3.6f)     // width
                                      .F(0)        // tab
                                      .B(0)        // tab colour
                                      .F(0)        // rim
                                      .B(1)        // body colour
                                      .F(2.5f)     // lead length
                                      .F(-1.27f)   // lead pitch
                                      .B(1)        // PNP
                                      .F(45)       // Uceo
                                      .F(0.2f)     // Uce
                                      .F(0.1f)     // Ic
                                      .F(0.2f)     // Icp
                                      .F(0.005f)   // Ib
                                      .F(123.25f)  // gain
                                      .F(6)        // Uebo
                                      .F(0.5f)     // Pc
                                      .F(0.7f)     // UbeSat
                                      .Bytes();
  EXPECT_TRUE(velktest::BytesEqual(comptest::FieldsAfter<CSCHBlock>(t), expected));
}

TEST(CMOSTransistor, RecordAfterTheBaseRecord) {
  Bench bench;
  auto* t = bench.Create<CSCHCMOSTransistor>("CMOSTransistor");
  t->form = 1;
  t->bodyLength = 10;
  t->bodyWidth = 4.5f;
  t->tabSize = 1.3f;
  t->tabColor = 1;
  t->rim = 0.25f;
  t->bodyColor = 2;
  t->leadLength = 3;
  t->leadPitch = 2.54f;
  t->pChannel = 1;
  t->Id = 23;
  t->Idm = 76;
  t->Ugsmax = 20;
  t->threshold = 2.75f;
  t->bodyDiode = 0;
  std::vector<uint8_t> expected = Golden()
                                      .B(1).F(10).F(4.5f).F(1.3f).B(1).F(0.25f).B(2).F(3).F(2.54f)
                                      .B(1).F(23).F(76).F(20).F(2.75f).B(0)
                                      .Bytes();
  EXPECT_TRUE(velktest::BytesEqual(comptest::FieldsAfter<CSCHBlock>(t), expected));
}

TEST(BiTransistor, RoundTripKeepsTheDrawnGainAndEveryTruncationLoads) {
  Bench bench;
  auto* t = bench.Create<CSCHBiTransistor>("BiTransistor");
  ApplyBipolar(t, "NPN");
  const float gain = t->gain;
  std::vector<uint8_t> bytes = comptest::SaveBytes(t);
  auto copy = comptest::NewDetached<CSCHBiTransistor>("BiTransistor");
  ASSERT_TRUE(copy);
  comptest::LoadBytes(copy.get(), bytes);
  EXPECT_EQ(copy->gain, gain);  // no new draw
  EXPECT_EQ(copy->UbeSat, 0.7f);
  EXPECT_EQ(copy->footprintWidth, 4.6f);
  EXPECT_EQ(copy->footprintLength, 3.6f);
  copy->flags &= ~kSchLoaded;
  EXPECT_TRUE(velktest::BytesEqual(comptest::SaveBytes(copy.get()), bytes));
  // The scheme stream keeps it too.
  auto scheme = comptest::ReadBack(bench.scheme);
  ASSERT_TRUE(scheme);
  auto* back = dynamic_cast<CSCHBiTransistor*>(scheme->blocks);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->gain, gain);

  const size_t end = bytes.size();
  comptest::ForEachTruncation<CSCHBiTransistor>("BiTransistor", bytes, [&](CSCHBiTransistor* c, size_t n) {
    if (n == end) {
      EXPECT_EQ(c->gain, gain);
    } else if (n <= end - 16) {
      EXPECT_EQ(c->gain, 0.0f);  // cut before the gain
    }
    EXPECT_LT(c->bodyColor, kElecTransistorColorCount);
    EXPECT_TRUE(std::isfinite(c->footprintWidth));
  });
  // A corrupted body colour never indexes past the tables.
  std::vector<uint8_t> corrupted = bytes;
  corrupted[end - 37 - 9] = 200;  // the body colour byte
  comptest::LoadBytes(copy.get(), corrupted);
  EXPECT_EQ(copy->bodyColor, kElecTransistorColorCount - 1);
}

TEST(CMOSTransistor, RoundTripKeepsTheDrawnThreshold) {
  Bench bench;
  auto* t = bench.Create<CSCHCMOSTransistor>("CMOSTransistor");
  DbRow row(L"cmostransistor", {{"model", "IRF540N"}, {"channel", "N"}, {"Ugsthmin", "2"}, {"Ugsthmax", "4"},
                                {"diod", "1"}, {"Id", "33"}});
  t->ApplyDbRecord(row.Record());
  std::vector<uint8_t> bytes = comptest::SaveBytes(t);
  auto copy = comptest::NewDetached<CSCHCMOSTransistor>("CMOSTransistor");
  ASSERT_TRUE(copy);
  comptest::LoadBytes(copy.get(), bytes);
  EXPECT_EQ(copy->threshold, t->threshold);
  EXPECT_EQ(copy->Id, 33.0f);
  EXPECT_EQ(copy->bodyDiode, 1);
  comptest::ForEachTruncation<CSCHCMOSTransistor>("CMOSTransistor", bytes, [&](CSCHCMOSTransistor* c, size_t n) {
    EXPECT_EQ(c->bodyDiode, n == bytes.size() ? 1 : 0);
  });
}

// ------------------------------------------------------------ bipolar simulation

// A bipolar transistor with base, emitter and collector sources (a null
// source leaves that pin unconnected).
struct BipolarBench {
  BipolarBench(bool pnp, float baseU, float baseR, float emitterU, float emitterR, float collectorU,
               float collectorR, bool connectBase = true) {
    t = bench.Create<CSCHBiTransistor>("BiTransistor");
    t->pnp = pnp ? 1 : 0;
    t->UbeSat = 0.7f;
    t->Uce = 0.2f;
    if (connectBase) {
      base = bench.Source(baseU, baseR);
      bench.Wire(base, 0, t, kElecBiBase);
    }
    emitter = bench.Source(emitterU, emitterR);
    collector = bench.Source(collectorU, collectorR);
    bench.Wire(emitter, 0, t, kElecBiEmitter);
    bench.Wire(collector, 0, t, kElecBiCollector);
    bench.Build();
    bench.Start();
  }
  ~BipolarBench() { bench.Stop(); }
  Bench bench;
  CSCHBiTransistor* t;
  circuit::Part* base = nullptr;
  circuit::Part* emitter;
  circuit::Part* collector;
};

TEST(BiTransistor, OpenBaseIsolatesCollectorAndEmitter) {
  LogCapture log;
  BipolarBench b(false, 0, 0, 0, kSchMinResistance, 10, 1000, false);
  b.bench.Step(5, 0.01f);
  EXPECT_EQ(b.t->burnt, 0);
  float R = 0;
  Bench::Read(b.collector, 0, &R);
  EXPECT_GT(R, 4.9e6f);  // Rce = 5,000,000
  // The emitter sees the open base (5e6 + Rbe 5e6) beside the collector
  // side (1000 + Rce 5e6).
  Bench::Read(b.emitter, 0, &R);
  EXPECT_NEAR(R, 1 / (1 / 1e7 + 1 / (5e6 + 1000)), 100);
  EXPECT_LT(b.t->smoothedCollectorCurrent, 1e-5f);
  EXPECT_EQ(log.Count(), 0);
}

// What the junction formulas give for 1 V (behind 1 kOhm) between base and
// emitter (behind 10 microohms), 5 V behind 1 kOhm on the collector,
// UbeSat 0.7, Uce 0.2, gain 100, worked as written.
struct Driven {
  double Vbe, Ibase, Rbe, Vsat, Icol, baseU, baseR, emitterU, emitterR, collectorU, collectorR;
  Driven() {
    const double Ube = 1, Ucep = 5, Rb0 = 1000, Re0 = 1e-5, Rc0 = 1000;
    Vbe = (1 - std::exp(-4.2 * Ube)) * 0.7;                  // 0.6895
    Ibase = (Ube - Vbe) / (Rb0 + Re0);                        // 3.105e-4 A
    Rbe = Ube / Ibase - Re0 - Rb0;                             // 2220.6
    const double Rce = 1e-5;                                   // 5 / (100 Ibase) - 2000 is below
    Vsat = (1 - std::exp(-4.2 * Ucep)) * 0.2;
    Icol = (Ucep - Vsat) / (Rc0 + Re0 + Rce);                  // 4.8 mA
    const double Rb = Rb0 + Rbe, Rc = Rc0 + Rce;
    baseU = (5 / Rc + 0 / Re0) / (1 / Rc + 1 / Re0) + Vbe;
    baseR = 1 / (1 / Rc + 1 / Re0) + Rbe;
    emitterU = ((1 - Vbe) / Rb + (5 - Vsat) / Rc) / (1 / Rb + 1 / Rc);
    emitterR = 1 / (1 / Rb + 1 / Rc);
    collectorU = (1 / Rb + 0 / Re0) / (1 / Rb + 1 / Re0) + Vsat;
    collectorR = 1 / (1 / Rb + 1 / Re0) + Rce;
  }
};

TEST(BiTransistor, DrivenBaseFollowsTheJunctionFormulas) {
  const Driven x;
  EXPECT_NEAR(x.Vbe, 0.6895, 1e-4);
  EXPECT_NEAR(x.Ibase, 0.3105e-3, 1e-7);
  LogCapture log;
  BipolarBench b(false, 1, 1000, 0, kSchMinResistance, 5, 1000);
  b.bench.Step(1, 0.01f);
  EXPECT_EQ(b.t->burnt, 0);
  float R = 0;
  // The base source sees Vbe behind Rbe (which carries the base current).
  EXPECT_NEAR(Bench::Read(b.base, 0, &R), x.baseU, 1e-4);
  EXPECT_NEAR(R, x.baseR, 0.05);
  EXPECT_NEAR(Bench::Read(b.emitter, 0, &R), x.emitterU, 1e-3);
  EXPECT_NEAR(R, x.emitterR, 0.05);
  EXPECT_NEAR(Bench::Read(b.collector, 0, &R), x.collectorU, 1e-4);
  EXPECT_NEAR(R, x.collectorR, 1e-5);
  // One step of the smoothed collector current: Icol x dt / 1 s.
  EXPECT_NEAR(b.t->smoothedCollectorCurrent, x.Icol * 0.01, 1e-7);
  EXPECT_EQ(log.Count(), 0);
}

TEST(BiTransistor, PnpIsTheMirror) {
  // The emitter at 5 V, the base 1 V below it, the collector 5 V below it.
  const Driven x;
  BipolarBench b(true, 4, 1000, 5, kSchMinResistance, 0, 1000);
  b.bench.Step(1, 0.01f);
  EXPECT_EQ(b.t->burnt, 0);
  float R = 0;
  EXPECT_NEAR(Bench::Read(b.base, 0, &R), 5 - x.Vbe, 1e-3);
  EXPECT_NEAR(R, x.baseR, 0.05);
  EXPECT_NEAR(Bench::Read(b.collector, 0, &R), 5 - x.Vsat, 1e-3);
  EXPECT_NEAR(R, x.collectorR, 1e-5);
  EXPECT_NEAR(b.t->smoothedCollectorCurrent, x.Icol * 0.01, 1e-7);
}

TEST(BiTransistor, ReverseBaseVoltageBurnsAtOnce) {
  LogCapture log;
  BipolarBench b(false, -6, 1000, 0, kSchMinResistance, 5, 1000);  // 6 V below the emitter, Uebo 5
  b.bench.Step(1, 0.01f);
  EXPECT_EQ(b.t->burnt, 1);
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.Messages()[0], L"Транзистор \"VT1\" сгорел.");
  // From the next step on every pin is 0 V behind 5,000,000 ohms.
  b.bench.Step(2, 0.01f);
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(b.t->pins[i].G, 1 / 5e6f) << i;
    EXPECT_EQ(b.t->pins[i].I, 0.0f) << i;
  }
  EXPECT_EQ(log.Count(), 1);
}

TEST(BiTransistor, CollectorEmitterVoltageLimit) {
  LogCapture log;
  BipolarBench b(false, 0, 1000, 0, kSchMinResistance, 60, 1000);  // 60 V > Uceo 50
  b.bench.Step(1, 0.01f);
  EXPECT_EQ(b.t->burnt, 1);
  EXPECT_EQ(log.Count(), 1);
}

TEST(BiTransistor, SmoothedCurrentFollowsTheWholeCurrentOncePerStep) {
  // Saturated: 5 V behind 10 ohm on the collector, 5 V behind 100 ohm on
  // the base: Icol = (5 - 0.2) / 10 = 0.48 A. Updated once a step the
  // smoothed current approaches 0.48 A (not half of it).
  {
    BipolarBench b(false, 5, 100, 0, kSchMinResistance, 5, 10);
    b.bench.Step(1000, 0.01f);
    EXPECT_EQ(b.t->burnt, 0);
    EXPECT_NEAR(b.t->smoothedCollectorCurrent, 0.48f, 1e-3f);
  }
  {
    // With Ic 0.4 A: 0.48 (1 - 0.99^n) > 0.4 when 0.99^n < 1/6.
    LogCapture log;
    BipolarBench b(false, 5, 100, 0, kSchMinResistance, 5, 10);
    b.t->Ic = 0.4f;
    const double I = 4.8 / (10 + 2e-5);
    const int expected = static_cast<int>(std::ceil(std::log(1 - 0.4 / I) / std::log(0.99)));
    EXPECT_EQ(expected, 179);
    int burntAt = 0;
    for (int n = 1; n <= 400 && !burntAt; n++) {
      b.bench.Step(1, 0.01f);
      if (b.t->burnt) burntAt = n;
    }
    EXPECT_NEAR(burntAt, expected, 1);
    EXPECT_EQ(log.Count(), 1);
  }
}

TEST(BiTransistor, LimitThatIsNotANumberBurns) {
  LogCapture log;
  BipolarBench b(false, 1, 1000, 0, kSchMinResistance, 5, 1000);
  b.t->gain = NAN;
  b.bench.Step(1, 0.01f);
  EXPECT_EQ(b.t->burnt, 1);
  EXPECT_EQ(log.Count(), 1);
}

TEST(BiTransistor, DataOnTheEmitterPassesToTheCollector) {
  Bench bench;
  auto* t = bench.Create<CSCHBiTransistor>("BiTransistor");
  t->UbeSat = 0.7f;
  t->Uce = 0.2f;
  circuit::Part* driver = bench.Part(1);
  circuit::Part* reader = bench.Part(1);
  bench.Wire(driver, 0, t, kElecBiEmitter);
  bench.Wire(t, kElecBiCollector, reader, 0);
  bench.Build();
  bench.Start();
  SchSignalSource source = {nullptr, 0.5f};
  driver->SetPinState(0, comptest::SerialDataState(&source));
  bench.Step(1);
  SchPinState seen = Bench::State(reader, 0);
  EXPECT_EQ(seen.sourceKind, kSchSourceSerial);
  EXPECT_EQ(seen.source, &source);
  EXPECT_EQ(t->lastSourceWeight, 0.75f);  // the weight of serial data
  bench.Stop();
}

// ------------------------------------------------------------ field-effect simulation

struct FieldBench {
  FieldBench(bool p, float gateU, float sourceU, float sourceR, float drainU, float drainR) {
    t = bench.Create<CSCHCMOSTransistor>("CMOSTransistor");
    t->pChannel = p ? 1 : 0;
    gate = bench.Source(gateU, kSchMinResistance);
    source = bench.Source(sourceU, sourceR);
    drain = bench.Source(drainU, drainR);
    bench.Wire(gate, 0, t, kElecCmosGate);
    bench.Wire(source, 0, t, kElecCmosSource);
    bench.Wire(drain, 0, t, kElecCmosDrain);
    bench.Build();
    bench.Start();
  }
  ~FieldBench() { bench.Stop(); }
  Bench bench;
  CSCHCMOSTransistor* t;
  circuit::Part* gate;
  circuit::Part* source;
  circuit::Part* drain;
};

TEST(CMOSTransistor, ChannelResistanceRules) {
  CSCHCMOSTransistor t;  // threshold 3 V, with a body diode
  EXPECT_EQ(t.ChannelResistance(5, 5), 0.2f);
  EXPECT_EQ(t.ChannelResistance(5, 3), 5e6f);  // equal to the threshold: off
  EXPECT_EQ(t.ChannelResistance(0, 5), 0.2f);
  EXPECT_EQ(t.ChannelResistance(-1, 0), 0.2f);  // body diode
  EXPECT_EQ(t.ChannelResistance(-0.6f, 0), 5e6f);
  EXPECT_EQ(t.ChannelResistance(-1, 5), 0.2f);
  t.bodyDiode = 0;
  EXPECT_EQ(t.ChannelResistance(-1, 0), 5e6f);
  EXPECT_EQ(t.ChannelResistance(-1, 5), 5e6f);
}

TEST(CMOSTransistor, OnAndOff) {
  {
    // Gate 5 V above the source, threshold 3 V: on, 0.2 ohm; the drain
    // current 5 / (10 + 0.2) A.
    LogCapture log;
    FieldBench f(false, 5, 0, kSchMinResistance, 5, 10);
    f.bench.Step(1, 0.01f);
    float R = 0;
    EXPECT_NEAR(Bench::Read(f.source, 0, &R), 5.0f, 1e-4f);
    EXPECT_NEAR(R, 10.2f, 1e-4f);
    EXPECT_NEAR(Bench::Read(f.drain, 0, &R), 0.0f, 1e-5f);
    EXPECT_NEAR(R, 0.2f, 1e-4f);
    EXPECT_NEAR(f.t->smoothedDrainCurrent, 5 / 10.2 * 0.01, 1e-6);
    // Steady it approaches the whole current (updated once a step).
    f.bench.Step(1000, 0.01f);
    EXPECT_NEAR(f.t->smoothedDrainCurrent, 5 / 10.2, 1e-3);
    EXPECT_EQ(log.Count(), 0);
  }
  {
    // Gate 2 V: off.
    FieldBench f(false, 2, 0, kSchMinResistance, 5, 10);
    f.bench.Step(3, 0.01f);
    float R = 0;
    Bench::Read(f.drain, 0, &R);
    EXPECT_GT(R, 4.9e6f);
    EXPECT_LT(f.t->smoothedDrainCurrent, 1e-5f);
  }
}

TEST(CMOSTransistor, BodyDiodeConductsBackwards) {
  {
    // The drain 1 V below the source, the gate low: through the body diode.
    FieldBench f(false, 0, 1, kSchMinResistance, 0, 10);
    f.bench.Step(1, 0.01f);
    float R = 0;
    EXPECT_NEAR(Bench::Read(f.drain, 0, &R), 1.0f, 1e-4f);
    EXPECT_NEAR(R, 0.2f, 1e-4f);
  }
  {
    FieldBench f(false, 0, 1, kSchMinResistance, 0, 10);
    f.t->bodyDiode = 0;
    f.bench.Step(1, 0.01f);
    float R = 0;
    Bench::Read(f.drain, 0, &R);
    EXPECT_GT(R, 4.9e6f);
  }
}

TEST(CMOSTransistor, PChannelIsTheMirror) {
  {
    // The source at 5 V, the gate 5 V below it: on.
    FieldBench f(true, 0, 5, kSchMinResistance, 0, 10);
    f.bench.Step(1, 0.01f);
    float R = 0;
    EXPECT_NEAR(Bench::Read(f.drain, 0, &R), 5.0f, 1e-4f);
    EXPECT_NEAR(R, 0.2f, 1e-4f);
  }
  {
    FieldBench f(true, 5, 5, kSchMinResistance, 0, 10);  // gate at the source: off
    f.bench.Step(1, 0.01f);
    float R = 0;
    Bench::Read(f.drain, 0, &R);
    EXPECT_GT(R, 4.9e6f);
  }
}

TEST(CMOSTransistor, GateVoltageBurnsAndTheGateIsNeverDriven) {
  LogCapture log;
  FieldBench f(false, 25, 0, kSchMinResistance, 5, 10);  // 25 V > 20 V
  f.bench.Step(1, 0.01f);
  EXPECT_EQ(f.t->burnt, 1);
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.Messages()[0], L"Транзистор \"VT1\" вышел из строя.");
  f.bench.Step(2, 0.01f);
  // Every pin is 0 V behind 5,000,000 ohms: source and drain driven so, the
  // gate left as it started.
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(f.t->pins[i].G, 1 / 5e6f) << i;
    EXPECT_EQ(f.t->pins[i].I, 0.0f) << i;
  }
  EXPECT_EQ(log.Count(), 1);
}

TEST(CMOSTransistor, PeakDrainCurrentBurns) {
  LogCapture log;
  FieldBench f(false, 5, 0, kSchMinResistance, 50, 0.1f);  // 50 / 0.3 = 167 A > Idm 100
  f.t->Idm = 100;
  f.bench.Step(1, 0.01f);
  EXPECT_EQ(f.t->burnt, 1);
  EXPECT_EQ(log.Count(), 1);
}

TEST(CMOSTransistor, DataOnTheGateSwitchesTheChannelAndPassesOn) {
  // A serial line on the gate: 5 V idle (on), 0 V for the other level
  // (off). The source pin takes the gate's data: its first pair sees the
  // drain through the closed channel, its second the open one.
  Bench bench;
  auto* t = bench.Create<CSCHCMOSTransistor>("CMOSTransistor");
  circuit::Part* gate = bench.Part(1);
  circuit::Part* reader = bench.Part(1);
  circuit::Part* drain = bench.Source(5, 10);
  bench.Wire(gate, 0, t, kElecCmosGate);
  bench.Wire(t, kElecCmosSource, reader, 0);
  bench.Wire(drain, 0, t, kElecCmosDrain);
  bench.Build();
  bench.Start();
  SchSignalSource source = {nullptr, 0.5f};
  SchPinState s = {};
  s.U = 5;
  s.R = 10;
  s.U2 = 0;
  s.R2 = 10;
  s.ownR = 5e6f;
  s.sourceKind = kSchSourceSerial;
  s.source = &source;
  gate->SetPinState(0, s);
  bench.Step(1);
  EXPECT_EQ(t->lastSourceWeight, 0.75f);
  SchPinState seen = Bench::State(reader, 0);
  EXPECT_EQ(seen.sourceKind, kSchSourceSerial);
  EXPECT_EQ(seen.source, &source);
  EXPECT_NEAR(seen.U, 5.0f, 1e-3f);
  EXPECT_NEAR(seen.R, 10.2f, 1e-3f);
  EXPECT_NEAR(seen.R2, 5e6f, 100);
  EXPECT_EQ(t->burnt, 0);
  bench.Stop();
}

// ------------------------------------------------------------ drawing

TEST(BiTransistor, SymbolNpnAndPnp) {
  Bench bench;
  auto* t = bench.Create<CSCHBiTransistor>("BiTransistor");
  comptest::SymbolCanvas canvas(90, 70);
  EXPECT_TRUE(canvas.Paint(t, 10, 10));  // 10..41 x 10..41
  EXPECT_EQ(canvas.Pixel(14, 25), kBlack);  // base lead
  EXPECT_EQ(canvas.Pixel(20, 20), kBlack);  // base bar
  EXPECT_EQ(canvas.Pixel(28, 33), kBlack);  // NPN arrow
  EXPECT_EQ(canvas.Pixel(22, 30), kWhite);
  EXPECT_EQ(canvas.Pixel(36, 25), kWhite);  // white inside the circle
  EXPECT_GT(canvas.InkIn(0, 43, 31, 62), 0);  // the name, ending at x = 30
  EXPECT_EQ(canvas.InkIn(31, 43, 90, 62), 0);
  EXPECT_TRUE(canvas.Save(L"bitransistor_symbol_npn.bmp"));
  canvas.Clear();
  t->pnp = 1;
  EXPECT_TRUE(canvas.Paint(t, 10, 10));
  EXPECT_EQ(canvas.Pixel(22, 30), kBlack);  // PNP arrow
  EXPECT_EQ(canvas.Pixel(28, 33), kWhite);
  EXPECT_TRUE(canvas.Save(L"bitransistor_symbol_pnp.bmp"));
}

TEST(CMOSTransistor, SymbolNAndPChannel) {
  Bench bench;
  auto* t = bench.Create<CSCHCMOSTransistor>("CMOSTransistor");
  comptest::SymbolCanvas canvas(90, 70);
  canvas.Clear();
  EXPECT_TRUE(canvas.Paint(t, 10, 10));
  EXPECT_EQ(canvas.Pixel(14, 33), kBlack);  // gate
  EXPECT_EQ(canvas.Pixel(20, 20), kBlack);
  EXPECT_EQ(canvas.Pixel(25, 20), kBlack);  // channel
  EXPECT_EQ(canvas.Pixel(35, 17), kBlack);  // drain
  EXPECT_EQ(canvas.Pixel(35, 33), kBlack);  // source
  EXPECT_EQ(canvas.Pixel(33, 29), kBlack);  // body connection
  EXPECT_EQ(canvas.Pixel(28, 24), kBlack);  // N arrow
  EXPECT_EQ(canvas.Pixel(28, 23), kWhite);
  EXPECT_TRUE(canvas.Save(L"cmostransistor_symbol_n.bmp"));
  canvas.Clear();
  t->pChannel = 1;
  EXPECT_TRUE(canvas.Paint(t, 10, 10));
  EXPECT_EQ(canvas.Pixel(28, 23), kBlack);  // P arrow
  EXPECT_EQ(canvas.Pixel(28, 24), kWhite);
}

TEST(BiTransistor, PackageFootprints) {
  CSCHBiTransistor t;
  t.bodyLength = 4;
  t.bodyWidth = 3;
  t.leadLength = 2;
  t.leadPitch = -2.54f;
  t.bodyColor = 0;
  const COLORREF first = RGB(51, 51, 51), second = RGB(102, 102, 102);
  {
    // Form 0 with a rim; two leads on the -y edge only.
    t.rim = 0.5f;
    comptest::FootprintCanvas board(20, 300, 300);
    EXPECT_TRUE(board.Paint(&t));
    EXPECT_EQ(board.At(0, 0), first);
    EXPECT_EQ(board.At(1.9f, 0), first);
    EXPECT_EQ(board.At(2.3f, 0), kWhite);
    EXPECT_EQ(board.At(-2.54f, -2.5f), kLead);
    EXPECT_EQ(board.At(2.54f, -2.5f), kLead);
    EXPECT_EQ(board.At(0, 2.5f), kWhite);
  }
  {
    // Form 1: two colours; three leads with a positive pitch.
    t.form = kElecTransistorTwoColour;
    t.leadPitch = 0.95f;
    comptest::FootprintCanvas board(20, 300, 300);
    EXPECT_TRUE(board.Paint(&t));
    EXPECT_EQ(board.At(0, -1), first);
    EXPECT_EQ(board.At(0, 1), second);
    EXPECT_EQ(board.At(0.95f, -2.5f), kLead);
    EXPECT_EQ(board.At(-0.95f, -2.5f), kLead);
    EXPECT_EQ(board.At(0, 2.5f), kLead);  // the middle lead on the other edge
    EXPECT_EQ(board.At(0, -2.5f), kWhite);
  }
  {
    // Form 2: a can of diameter 4.
    t.form = kElecTransistorCan;
    t.leadPitch = 0;
    t.leadLength = 0;
    t.bodyColor = 2;
    comptest::FootprintCanvas board(20, 300, 300);
    EXPECT_TRUE(board.Paint(&t));
    EXPECT_EQ(board.At(0, 0), RGB(255, 102, 102));
    EXPECT_EQ(board.At(1.6f, 1.6f), kWhite);
  }
  {
    // Form 3: round with a flat chord at y = -1 (cos 60 x 2).
    t.form = kElecTransistorFlatCan;
    comptest::FootprintCanvas board(20, 300, 300);
    EXPECT_TRUE(board.Paint(&t));
    EXPECT_EQ(board.At(0, 1.5f), RGB(255, 102, 102));
    EXPECT_EQ(board.At(0, -0.7f), RGB(255, 102, 102));
    EXPECT_EQ(board.At(0, -1.5f), kWhite);
  }
  {
    // A tab in the lead colour along the +y edge; a strip lead without pitch.
    t.form = kElecTransistorRectangle;
    t.rim = 0;
    t.tabSize = 1;
    t.tabColor = 1;
    t.leadLength = 1;
    comptest::FootprintCanvas board(20, 300, 300);
    EXPECT_TRUE(board.Paint(&t));
    EXPECT_EQ(board.At(0, 1.2f), kLead);
    EXPECT_EQ(board.At(0, -0.8f), RGB(255, 102, 102));
  }
  {
    // Another form draws no body; a colour out of the table is clamped.
    t.form = 9;
    t.tabSize = 0;
    t.leadLength = 0;
    t.bodyColor = 77;
    comptest::FootprintCanvas board(20, 300, 300);
    EXPECT_TRUE(board.Paint(&t));
    EXPECT_EQ(board.InkCount(), 0);
  }
}

TEST(BiTransistor, ScreenshotOfPackages) {
  Bench bench;
  comptest::FootprintCanvas board(12, 480, 200);
  const struct {
    const char *form, *length, *width, *radiator, *color, *legWidth, *legStep;
    float x;
  } shown[] = {{"3", "4.6", "3.6", "0", "0", "2.5", "-1.27", -14}, {"0", "10", "4.5", "1.3", "1", "3", "2.54", -3},
               {"2", "5", "5", "0", "3", "0", "0", 7},             {"1", "2.9", "1.3", "0", "2", "0.6", "0.95", 14}};
  for (const auto& s : shown) {
    auto* t = bench.Create<CSCHBiTransistor>("BiTransistor");
    DbRow row(L"bitransistor", {{"model", "X"}, {"form", s.form}, {"length", s.length}, {"width", s.width},
                                {"radiator", s.radiator}, {"radColor", "1"}, {"piping", "0.3"},
                                {"color", s.color}, {"legWidth", s.legWidth}, {"legStep", s.legStep}});
    t->ApplyDbRecord(row.Record());
    t->boardX = s.x;
    EXPECT_TRUE(board.Paint(t));
  }
  EXPECT_TRUE(board.Save(L"transistor_footprints.bmp"));
}

}  // namespace
