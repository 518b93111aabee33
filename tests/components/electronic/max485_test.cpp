// The MAX485 transceiver: pins and packages, its record, the supply, the
// enables, the driver and the receiver decoding the differential pair, and
// burn-out.
#include "components/electronic/chips/max485.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "chip_rig.h"
#include "component_kit.h"
#include "components/electronic/chips/chip_text.h"
#include "support/test_support.h"

namespace {

using comptest::Bench;
using comptest::DbRow;
using comptest::Golden;
using comptest::LogCapture;

TEST(Max485, CreatedThroughTheRegistryWithItsPins) {
  Bench bench;
  auto* chip = bench.Create<CMAX485>("MAX485");
  ASSERT_NE(chip, nullptr);
  EXPECT_STREQ(chip->instanceName, L"DD1");
  EXPECT_EQ(chip->package, 0);
  EXPECT_EQ(chip->inputImpedance, 12000.0f);
  EXPECT_EQ(chip->rect.right - chip->rect.left, 100);
  EXPECT_EQ(chip->rect.bottom - chip->rect.top, 80);
  EXPECT_FLOAT_EQ(chip->footprintWidth, 7.62f);
  EXPECT_FLOAT_EQ(chip->footprintLength, 9.398f);
  ASSERT_EQ(chip->pinCount, 8);
  const wchar_t* names[8] = {L"RO", L"~RE", L"DE", L"DI", L"GND", L"A", L"B", L"Vcc"};
  for (int i = 0; i < 8; i++) {
    EXPECT_STREQ(chip->pins[i].name, names[i]);
    EXPECT_NE(chip->pins[i].description, nullptr);
    EXPECT_EQ(chip->pins[i].number, i + 1);
    EXPECT_EQ(chip->pins[i].side, i < 4 ? kSchSideLeft : kSchSideRight);
  }
  EXPECT_STREQ(chip->pins[kElecMax485RE].description, L"Разрешение работы приемника (инверсный вход)");
  EXPECT_STREQ(chip->pins[kElecMax485GND].description, L"\"Земля\"");
}

TEST(Max485, RecordIsPackageImpedanceThenTheBlock) {
  comptest::RegistryScope registry;
  auto chip = comptest::NewDetached<CMAX485>("MAX485");
  DbRow row(L"max485", {{"model", "MAX485ESA"}, {"corps", "1"}, {"inputImp", "15000"}, {"price", "90"}});
  chip->ApplyDbRecord(row.Record());
  EXPECT_FLOAT_EQ(chip->footprintWidth, 6.2f);
  EXPECT_FLOAT_EQ(chip->footprintLength, 5.38f);
  std::vector<uint8_t> full = comptest::SaveBytes(chip.get());
  CMemoryStream base;
  chip->CSCHBlock::Save(&base);
  std::vector<uint8_t> expected = Golden().B(1).F(15000.0f).Bytes();
  std::vector<uint8_t> tail = comptest::StreamBytes(base);
  expected.insert(expected.end(), tail.begin(), tail.end());
  EXPECT_TRUE(velktest::BytesEqual(full, expected));
  // Read back, a SO-8 part keeps its SO footprint.
  auto copy = comptest::NewDetached<CMAX485>("MAX485");
  comptest::LoadBytes(copy.get(), full);
  EXPECT_EQ(copy->package, 1);
  EXPECT_EQ(copy->inputImpedance, 15000.0f);
  EXPECT_FLOAT_EQ(copy->footprintWidth, 6.2f);
  EXPECT_FLOAT_EQ(copy->footprintLength, 5.38f);
  EXPECT_STREQ(copy->model, "MAX485ESA");
  comptest::ForEachTruncation<CMAX485>("MAX485", full, [&](CMAX485* c, size_t n) {
    EXPECT_EQ(c->package, n >= 1 ? 1 : 0);
    if (n >= 5 || n <= 1) {
      EXPECT_EQ(c->inputImpedance, n >= 5 ? 15000.0f : 0.0f);
    }
    EXPECT_EQ(c->pinCount, 8);
  });
}

// A transceiver on a stiff supply with sources on its enables.
struct Rig {
  explicit Rig(float supply = 5) {
    chip = bench.Create<CMAX485>("MAX485");
    vcc = bench.Source(supply);
    bench.Wire(vcc, 0, chip, kElecMax485Vcc);
    bench.Wire(bench.Ground(), 0, chip, kElecMax485GND);
  }
  circuit::Part* In(int pin, float U, float R = kSchMinResistance) {
    auto* s = bench.Source(U, R);
    bench.Wire(s, 0, chip, pin);
    return s;
  }
  circuit::Part* Probe(int pin) {
    auto* p = bench.Part(1);
    bench.Wire(p, 0, chip, pin);
    return p;
  }
  chiptest::DataLine* Data(int pin, SchPacketSet* set, float U1 = 5, float U2 = 0) {
    auto* d = bench.Add<chiptest::DataLine>();
    d->source.packets = set;
    d->U1 = U1;
    d->U2 = U2;
    bench.Wire(d, 0, chip, pin);
    return d;
  }
  Bench bench;
  CMAX485* chip;
  circuit::Part* vcc;
};

float ReadR(CSCHBlock* b, int pin) {
  float R = 0;
  Bench::Read(b, pin, &R);
  return R;
}

TEST(Max485, AtFourVoltsTheOutputsAreReleasedAndTheSupplyStillDraws) {
  Rig rig(4.0f);
  rig.In(kElecMax485DE, 5);
  rig.In(kElecMax485RE, 0);
  auto* a = rig.Probe(kElecMax485A);
  auto* b = rig.Probe(kElecMax485B);
  auto* ro = rig.Probe(kElecMax485RO);
  rig.bench.Run(2);
  EXPECT_FLOAT_EQ(ReadR(a, 0), 5e6f);
  EXPECT_FLOAT_EQ(ReadR(b, 0), 5e6f);
  EXPECT_FLOAT_EQ(ReadR(ro, 0), 5e6f);
  EXPECT_EQ(rig.chip->burnt, 0);
  // The supply sees the chip as Rs = 5 / 0.00012 ohm plus the ground's 1e-5.
  EXPECT_NEAR(ReadR(rig.vcc, 0), 5.0f / 0.00012f, 0.1f);
}

TEST(Max485, OpenEnablesReleaseTheLineAndTheReceiver) {
  Rig rig;
  auto* a = rig.Probe(kElecMax485A);
  auto* b = rig.Probe(kElecMax485B);
  auto* ro = rig.Probe(kElecMax485RO);
  rig.In(kElecMax485DI, 5);
  rig.bench.Run(2);
  EXPECT_FLOAT_EQ(ReadR(a, 0), 5e6f);
  EXPECT_FLOAT_EQ(ReadR(b, 0), 5e6f);
  EXPECT_FLOAT_EQ(ReadR(ro, 0), 5e6f);
}

TEST(Max485, EnableThresholdsAtHalfTheChipVoltage) {
  struct Case {
    float de, deR;
    bool on;
  };
  // m = Vc / 2, a hair below 2.5 V; an input behind 100 kOhm or more is open.
  for (Case c : {Case{2.6f, kSchMinResistance, true}, Case{2.4f, kSchMinResistance, false},
                 Case{5, 200000, false}, Case{5, 1000, true}}) {
    Rig rig;
    rig.In(kElecMax485DE, c.de, c.deR);
    rig.In(kElecMax485DI, 5);
    auto* a = rig.Probe(kElecMax485A);
    rig.bench.Run(2);
    float R = 0;
    float U = Bench::Read(a, 0, &R);
    if (c.on) {
      EXPECT_NEAR(U, 5, 1e-3f) << c.de;
      EXPECT_NEAR(R, 20, 1e-3f) << c.de;
    } else {
      EXPECT_FLOAT_EQ(R, 5e6f) << c.de;
    }
  }
}

TEST(Max485, LoopbackCarriesDiDataToTheLineAndRo) {
  chiptest::OwnedSet data;
  Rig rig;
  rig.In(kElecMax485DE, 5);
  rig.In(kElecMax485RE, 0);
  auto* di = rig.Data(kElecMax485DI, data.set);
  auto* a = rig.Probe(kElecMax485A);
  auto* b = rig.Probe(kElecMax485B);
  auto* ro = rig.Probe(kElecMax485RO);
  rig.bench.Run(2);
  SchPinState sa = Bench::State(a, 0), sb = Bench::State(b, 0), sr = Bench::State(ro, 0);
  EXPECT_EQ(sa.sourceKind, kSchSourceSerial);
  EXPECT_EQ(sa.source, &di->source);
  EXPECT_NEAR(sa.U, 5, 1e-3f);
  EXPECT_NEAR(sa.R, 20, 1e-3f);
  EXPECT_NEAR(sa.U2, 0, 1e-3f);
  EXPECT_NEAR(sb.U, 0, 1e-3f);
  EXPECT_NEAR(sb.U2, 5, 1e-3f);
  EXPECT_EQ(sr.source, &di->source);
  EXPECT_NEAR(sr.U, 5, 1e-3f);
  EXPECT_NEAR(sr.R, 5.0f / 0.095f, 1e-2f);
  EXPECT_NEAR(sr.U2, 0, 1e-3f);
}

TEST(Max485, SteadyDiLevelsGoOutAsLevels) {
  for (float level : {5.0f, 0.0f}) {
    Rig rig;
    rig.In(kElecMax485DE, 5);
    rig.In(kElecMax485RE, 0);
    rig.In(kElecMax485DI, level);
    auto* a = rig.Probe(kElecMax485A);
    auto* b = rig.Probe(kElecMax485B);
    auto* ro = rig.Probe(kElecMax485RO);
    rig.bench.Run(2);
    EXPECT_NEAR(Bench::Read(a, 0), level, 1e-3f);
    EXPECT_NEAR(Bench::Read(b, 0), 5 - level, 1e-3f);
    EXPECT_NEAR(Bench::Read(ro, 0), level, 1e-3f);
    EXPECT_EQ(Bench::State(ro, 0).source, nullptr);
  }
}

TEST(Max485, ReceiverDecodesTheDifferentialPair) {
  chiptest::OwnedSet data;
  Rig rig;
  rig.In(kElecMax485RE, 0);
  auto* a = rig.Data(kElecMax485A, data.set, 5, 0);
  auto* b = rig.Data(kElecMax485B, data.set, 0, 5);
  b->source = a->source;
  auto* ro = rig.Probe(kElecMax485RO);
  rig.bench.Run(2);
  SchPinState sr = Bench::State(ro, 0);
  EXPECT_EQ(sr.sourceKind, kSchSourceSerial);
  ASSERT_NE(sr.source, nullptr);
  EXPECT_TRUE(sr.source->packets->Equals(data.set));
  EXPECT_NEAR(sr.U, 5, 1e-3f);
  EXPECT_NEAR(sr.U2, 0, 1e-3f);
  EXPECT_EQ(rig.chip->burnt, 0);
}

TEST(Max485, PairsWithDifferentSetsAreContested) {
  chiptest::OwnedSet one(1), other(2);
  Rig rig;
  rig.In(kElecMax485RE, 0);
  rig.Data(kElecMax485A, one.set, 5, 0);
  rig.Data(kElecMax485B, other.set, 0, 5);
  auto* ro = rig.Probe(kElecMax485RO);
  rig.bench.Run(2);
  // Kind 29 with RO's own net source (none): a steady high.
  EXPECT_EQ(Bench::State(ro, 0).source, nullptr);
  EXPECT_NEAR(Bench::Read(ro, 0), 5, 1e-3f);
  EXPECT_EQ(rig.chip->burnt, 0);
}

TEST(Max485, DifferentialThresholdIsTwoTenthsOfAVolt) {
  struct Case {
    float a, b, ro;
  };
  // dA = (A - B) x 12000 / (12000 + 2e-5): 0.19 V reads low, 0.3 V high;
  // A equal to B reads low.
  for (Case c : {Case{2.69f, 2.5f, 0}, Case{2.8f, 2.5f, 5}, Case{2.5f, 2.5f, 0}, Case{0, 5, 0}}) {
    Rig rig;
    rig.In(kElecMax485RE, 0);
    rig.In(kElecMax485A, c.a);
    rig.In(kElecMax485B, c.b);
    auto* ro = rig.Probe(kElecMax485RO);
    rig.bench.Run(2);
    float R = 0;
    EXPECT_NEAR(Bench::Read(ro, 0, &R), c.ro, 1e-3f) << c.a << " " << c.b;
    EXPECT_NEAR(R, 5.0f / 0.095f, 1e-2f);
  }
}

TEST(Max485, ReceiverLoadsTheLine) {
  Rig rig;
  rig.In(kElecMax485RE, 0);
  auto* a = rig.In(kElecMax485A, 5, 1000);
  rig.In(kElecMax485B, 0);
  rig.bench.Run(3);
  // A sees B's net (0 V behind 1e-5 ohm) through the 12000 ohm load.
  float R = 0;
  float U = Bench::Read(a, 0, &R);
  EXPECT_NEAR(R, 12000, 0.1f);
  EXPECT_NEAR(U, 0, 1e-3f);
}

TEST(Max485, BurnOuts) {
  struct Case {
    const char* what;
    float supply;
    int pin;
    float U;
  };
  const Case cases[] = {
      {"supply above 12 V", 12.5f, -1, 0},
      {"line A above 12.5 V", 5, kElecMax485A, 13},
      {"line B below -8 V", 5, kElecMax485B, -8.5f},
      {"DI above Uv + 0.5 V", 5, kElecMax485DI, 5.6f},
      {"DI below Ug - 0.5 V", 5, kElecMax485DI, -0.6f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LogCapture log;
    Rig rig(c.supply);
    if (c.pin >= 0) rig.In(c.pin, c.U);
    auto* ro = rig.Probe(kElecMax485RO);
    rig.bench.Run(1);
    EXPECT_EQ(rig.chip->burnt, 1);
    ASSERT_EQ(log.Count(), 1);
    EXPECT_EQ(log.Messages()[0], L"Микросхема MAX485 (\"DD1\") вышла из строя!");
    rig.bench.Step(1);
    EXPECT_FLOAT_EQ(ReadR(ro, 0), 5e6f);
    EXPECT_EQ(log.Count(), 1);
  }
  // Limits themselves pass.
  LogCapture log;
  Rig rig(5);
  rig.In(kElecMax485DI, 5.5f);
  rig.In(kElecMax485A, 12.5f);
  rig.bench.Run(1);
  EXPECT_EQ(rig.chip->burnt, 0);
}

TEST(Max485, ShortModelNames) {
  const struct {
    const char* model;
    const wchar_t* shown;
  } cases[] = {{"MAX485ACPA", L"MAX485A"}, {"MAX485CPA", L"MAX485"}, {"MAX485", L"MAX485"},
               {"ADM", L"ADM"}, {nullptr, L""}};
  for (const auto& c : cases) {
    wchar_t out[64];
    ChipShortModel(c.model, out, 64);
    EXPECT_STREQ(out, c.shown);
  }
}

TEST(Max485, SymbolAndFootprints) {
  comptest::RegistryScope registry;
  auto chip = comptest::NewDetached<CMAX485>("MAX485");
  chip->SetModel("MAX485ACPA");
  chip->SetName(L"DD3");
  comptest::SymbolCanvas canvas(140, 120);
  EXPECT_TRUE(canvas.Paint(chip.get(), 20, 20));
  EXPECT_EQ(canvas.Pixel(20, 20), RGB(0, 0, 0));        // body corner
  EXPECT_EQ(canvas.Pixel(25, 25), RGB(238, 238, 238));  // body fill
  EXPECT_GT(canvas.InkIn(30, 40, 110, 60), 0);  // the name, above the middle line (60)
  EXPECT_GT(canvas.InkIn(30, 60, 110, 80), 0);  // "MAX485A" below it
  canvas.Save(L"max485_symbol.bmp");
  int ink[2];
  for (int p = 0; p < 2; p++) {
    comptest::FootprintCanvas board(20, 300, 300);
    chip->package = static_cast<unsigned char>(p);
    chip->UpdateBodySize();
    EXPECT_TRUE(board.Paint(chip.get()));
    ink[p] = board.InkCount();
    EXPECT_GT(ink[p], 0);
    board.Save(p == 0 ? L"max485_footprint_dip.bmp" : L"max485_footprint_so.bmp");
  }
  EXPECT_NE(ink[0], ink[1]);
}

}  // namespace

namespace {

TEST(Max485, PwmSourcesOnThePairAreNeverReadAsPacketSets) {
  // Kind 0 sources hold a period in their first word: two of them on A and
  // B are different sources, contested, and nothing reads the word as a set.
  Rig rig;
  rig.In(kElecMax485RE, 0);
  auto* a = rig.Data(kElecMax485A, nullptr, 5, 0);
  auto* b = rig.Data(kElecMax485B, nullptr, 0, 5);
  float period = 0.001f;
  for (chiptest::DataLine* line : {a, b}) {
    memcpy(&line->source.packets, &period, sizeof period);
    line->source.weight = 0.5f;
    line->kind = kSchSourceOwnWeight;
  }
  auto* ro = rig.Probe(kElecMax485RO);
  rig.bench.Run(2);
  SchPinState s = Bench::State(ro, 0);
  EXPECT_EQ(s.source, nullptr);  // kind 29 with RO's own net source: none
  EXPECT_NEAR(s.U, 5, 1e-3f);
  EXPECT_EQ(rig.chip->burnt, 0);
}

}  // namespace
