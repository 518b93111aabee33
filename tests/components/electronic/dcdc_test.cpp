// The DC-DC converter module FDD03: creation, pins by type, its record, the
// input load, floating outputs, overload, limits and the footprint.
#include "components/electronic/power/fdd03.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "component_kit.h"
#include "support/test_support.h"

namespace {

using comptest::Bench;
using comptest::DbRow;
using comptest::Golden;
using comptest::LogCapture;

DbRow Row(const char* type, const char* uout1 = "12", const char* uout2 = "-12", const char* stab = "1") {
  return DbRow(L"DC-DC", {{"model", "FDD03-12D3"},
                          {"class", "FDD03"},
                          {"Umin", "9"},
                          {"Umax", "36"},
                          {"Unom", "24"},
                          {"Uout1", uout1},
                          {"Uout2", uout2},
                          {"Iout", "0.125"},
                          {"efficiency", "80"},
                          {"type", type},
                          {"InoLoad", "0.02"},
                          {"stab", stab}});
}

TEST(FDD03, CreatedThroughTheRegistryWithSoundDefaults) {
  Bench bench;
  auto* d = bench.Create<CFDD03>("FDD03");
  ASSERT_NE(d, nullptr);
  EXPECT_STREQ(d->className, "FDD03");
  EXPECT_STREQ(d->instanceName, L"DCDC1");
  EXPECT_EQ(d->rect.right - d->rect.left, 150);
  EXPECT_EQ(d->rect.bottom - d->rect.top, 200);
  EXPECT_FLOAT_EQ(d->footprintWidth, 20.32f);
  EXPECT_FLOAT_EQ(d->footprintLength, 31.75f);
  EXPECT_EQ(d->minimumInput, 9.0f);
  EXPECT_EQ(d->maximumInput, 36.0f);
  EXPECT_EQ(d->nominalInput, 12.0f);
  EXPECT_EQ(d->outputVoltage1, 5.0f);
  EXPECT_EQ(d->outputCurrent, 0.5f);
  EXPECT_EQ(d->efficiency, 67.0f);     // percent
  EXPECT_EQ(d->noLoadCurrent, 0.01f);  // an unloaded input of 1200 ohm
  EXPECT_EQ(d->type, kElecDcdcSingle);
  EXPECT_EQ(d->stabilised, 1);
  EXPECT_EQ(d->pinCount, 0);  // pins come with a record
  auto* e = bench.Create<CFDD03>("FDD03");
  EXPECT_STREQ(e->instanceName, L"DCDC2");
  bench.Run(2);  // without pins the steps do nothing
  bench.Stop();
  EXPECT_EQ(g_schClassRegistry.Find("CustomDCDC"), nullptr);
}

struct PinRow {
  const wchar_t* name;
  int number, side, offset;
};

void ExpectPins(CFDD03* d, const std::vector<PinRow>& rows) {
  ASSERT_EQ(d->pinCount, static_cast<int>(rows.size()));
  for (size_t i = 0; i < rows.size(); i++) {
    SCOPED_TRACE("pin " + std::to_string(i));
    EXPECT_STREQ(d->pins[i].name, rows[i].name);
    EXPECT_EQ(d->pins[i].number, rows[i].number);
    EXPECT_EQ(d->pins[i].side, rows[i].side);
    EXPECT_EQ(d->pins[i].offset, rows[i].offset);
    EXPECT_EQ(d->pins[i].kind, kSchPinElectric);
  }
}

TEST(FDD03, PinsByType) {
  Bench bench;
  auto* d = bench.Create<CFDD03>("FDD03");
  DbRow single = Row("0");
  d->ApplyDbRecord(single.Record());
  ExpectPins(d, {{L"Vi+", 1, kSchSideLeft, 10},
                 {L"Vi+", 2, kSchSideLeft, 25},
                 {L"com", 12, kSchSideLeft, 190},
                 {L"Vo+", 13, kSchSideRight, 10},
                 {L"SD", 20, kSchSideRight, 140},
                 {L"Vi-", 23, kSchSideRight, 175},
                 {L"Vi-", 24, kSchSideRight, 190}});
  EXPECT_STREQ(d->pins[2].description, L"Минус (общий) выходного напряжения");
  EXPECT_STREQ(d->pins[4].description, L"Специальный выход. Оставить в воздухе");
  EXPECT_EQ(d->inputPlus, 0);
  EXPECT_EQ(d->inputMinus, 5);
  EXPECT_EQ(d->output1Plus, 3);
  EXPECT_EQ(d->output1Minus, 2);

  DbRow dual = Row("1");
  d->ApplyDbRecord(dual.Record());
  ExpectPins(d, {{L"Vi+", 1, kSchSideLeft, 10},
                 {L"Vi+", 2, kSchSideLeft, 25},
                 {L"com", 10, kSchSideLeft, 165},
                 {L"com", 11, kSchSideLeft, 180},
                 {L"Vo-", 13, kSchSideRight, 10},
                 {L"Vo+", 15, kSchSideRight, 35},
                 {L"SD", 20, kSchSideRight, 140},
                 {L"Vi-", 23, kSchSideRight, 175},
                 {L"Vi-", 24, kSchSideRight, 190}});
  EXPECT_STREQ(d->pins[2].description, L"Общий (центральный) выход выходного напряжения");
  EXPECT_EQ(d->output1Plus, 5);
  EXPECT_EQ(d->output1Minus, 2);
  EXPECT_EQ(d->output2Plus, 2);
  EXPECT_EQ(d->output2Minus, 4);
  EXPECT_EQ(d->inputMinus, 7);

  DbRow separate = Row("2");
  d->ApplyDbRecord(separate.Record());
  ExpectPins(d, {{L"Vi+", 1, kSchSideLeft, 10},
                 {L"Vi+", 2, kSchSideLeft, 25},
                 {L"Vo1-", 9, kSchSideLeft, 155},
                 {L"Vo1+", 12, kSchSideLeft, 190},
                 {L"Vo2+", 13, kSchSideRight, 10},
                 {L"Vo-", 16, kSchSideRight, 45},
                 {L"SD", 20, kSchSideRight, 140},
                 {L"Vi-", 23, kSchSideRight, 175},
                 {L"Vi-", 24, kSchSideRight, 190}});
  EXPECT_EQ(d->output1Plus, 3);
  EXPECT_EQ(d->output1Minus, 2);
  EXPECT_EQ(d->output2Plus, 4);
  EXPECT_EQ(d->output2Minus, 5);

  // A type no module has becomes the single output.
  DbRow odd = Row("7");
  d->ApplyDbRecord(odd.Record());
  EXPECT_EQ(d->type, kElecDcdcSingle);
  EXPECT_EQ(d->pinCount, 7);
}

TEST(FDD03, SampleDatabaseRows) {
  comptest::RegistryScope registry;
  comptest::SampleTable table(L"DC-DC");
  ASSERT_TRUE(table.loaded);
  auto d = comptest::NewDetached<CFDD03>("FDD03");
  ASSERT_TRUE(d);
  const struct {
    const char* model;
    unsigned char type;
    int pins;
    float uout2, efficiency;
  } rows[] = {{"FDD03-05S1", kElecDcdcSingle, 7, 0, 78}, {"FDD03-12D3", kElecDcdcDual, 9, -12, 80},
              {"FDD03-0512T", kElecDcdcSeparate, 9, 12, 76}};
  for (const auto& r : rows) {
    CompDbRecord* record = table.Find(r.model);
    ASSERT_NE(record, nullptr) << r.model;
    EXPECT_STREQ(record->GetTextByName("class"), "FDD03");
    d->ApplyDbRecord(record);
    EXPECT_EQ(d->type, r.type);
    EXPECT_EQ(d->pinCount, r.pins);
    EXPECT_EQ(d->outputVoltage2, r.uout2);
    EXPECT_EQ(d->efficiency, r.efficiency);
    EXPECT_EQ(d->minimumInput, 9.0f);
    EXPECT_EQ(d->nominalInput, 24.0f);
    EXPECT_STREQ(d->tableName, L"DC-DC");
  }
}

TEST(FDD03, RecordBeforeTheBlockRecord) {
  Bench bench;
  auto* d = bench.Create<CFDD03>("FDD03");
  DbRow row = Row("1", "15", "-15", "0");
  d->ApplyDbRecord(row.Record());
  std::vector<uint8_t> bytes = comptest::SaveBytes(d);
  Golden own;
  own.F(9).F(36).F(24).F(15).F(-15).F(0.125f).F(80).B(1).B(0).F(0.02f);
  ASSERT_EQ(own.Bytes().size(), 34u);
  ASSERT_GE(bytes.size(), 34u);
  EXPECT_TRUE(velktest::BytesEqual(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 34), own.Bytes()));
  CMemoryStream base;
  d->CSCHBlock::Save(&base);
  EXPECT_TRUE(velktest::BytesEqual(std::vector<uint8_t>(bytes.begin() + 34, bytes.end()),
                                   comptest::StreamBytes(base)));

  auto copy = comptest::NewDetached<CFDD03>("FDD03");
  ASSERT_TRUE(copy);
  comptest::LoadBytes(copy.get(), bytes);
  EXPECT_EQ(copy->type, kElecDcdcDual);
  EXPECT_EQ(copy->pinCount, 9);
  EXPECT_EQ(copy->output2Minus, 4);
  EXPECT_EQ(copy->stabilised, 0);
  EXPECT_EQ(copy->noLoadCurrent, 0.02f);
  EXPECT_STREQ(copy->instanceName, L"DCDC1");
  EXPECT_STREQ(copy->model, "FDD03-12D3");

  // A stored type no module has loads as the single output.
  std::vector<uint8_t> odd = bytes;
  odd[28] = 9;
  comptest::LoadBytes(copy.get(), odd);
  EXPECT_EQ(copy->type, kElecDcdcSingle);
  EXPECT_EQ(copy->pinCount, 7);
}

TEST(FDD03, EveryTruncatedRecordLoads) {
  Bench bench;
  auto* d = bench.Create<CFDD03>("FDD03");
  DbRow row = Row("2");
  d->ApplyDbRecord(row.Record());
  std::vector<uint8_t> bytes = comptest::SaveBytes(d);
  comptest::ForEachTruncation<CFDD03>("FDD03", bytes, [&](CFDD03* c, size_t n) {
    auto field = [&](float value, float expected, size_t start, size_t end) {
      if (n >= end) {
        EXPECT_EQ(value, expected) << "field ending at " << end;
      } else if (n <= start) {
        EXPECT_EQ(value, 0.0f) << "field starting at " << start;
      }
    };
    field(c->minimumInput, 9, 0, 4);
    field(c->outputVoltage2, -12, 16, 20);
    field(c->efficiency, 80, 24, 28);
    EXPECT_EQ(c->type, n >= 29 ? kElecDcdcSeparate : kElecDcdcSingle);
    EXPECT_EQ(c->pinCount, n >= 29 ? 9 : 7);
    field(c->noLoadCurrent, 0.02f, 30, 34);
    c->Start();
    c->Step(1e-3f);
  });
}

// A converter on a bench: the input from a source, Vi- at 0 V.
struct DcdcBench {
  DcdcBench(const DbRow& row, float input, float sourceR = kSchMinResistance) {
    d = bench.Create<CFDD03>("FDD03");
    d->ApplyDbRecord(row.Record());
    in = bench.Source(input, sourceR);
    gnd = bench.Ground();
    bench.Wire(in, 0, d, 0);
    bench.Wire(gnd, 0, d, d->inputMinus);
  }
  circuit::Part* Probe(int pin) {
    auto* probe = bench.Part(1);
    bench.Wire(probe, 0, d, pin);
    return probe;
  }
  Bench bench;
  CFDD03* d;
  circuit::Part* in;
  circuit::Part* gnd;
};

TEST(FDD03, IdleInputIsTheNoLoadResistance) {
  DbRow row = Row("0", "5", "0");
  DcdcBench b(row, 24);
  b.Probe(3);
  b.Probe(2);
  b.bench.Run(5);
  // Open outputs: R1 = 10 megohm, P = 2.5e-6 / 0.8 below 1e-5: the input
  // is Unom / InoLoad = 1200 ohm (the second Vi+ pin is on no net).
  float R = 0;
  Bench::Read(b.in, 0, &R);
  EXPECT_NEAR(R, 1200.0f, 0.01f);
  b.bench.Stop();
}

TEST(FDD03, SingleOutputFloatsOnItsMinusPin) {
  DbRow row = Row("0", "5", "0");
  DcdcBench b(row, 24);
  auto* minus = b.bench.Source(3, kSchMinResistance);
  b.bench.Wire(minus, 0, b.d, 2);
  auto* load = b.bench.Add<circuit::Load>(100.0f);
  auto* plus = b.bench.Part(1);
  b.bench.Star({{b.d, 3}, {load, 0}, {plus, 0}});
  auto* back = b.bench.Ground();
  b.bench.Wire(load, 1, back, 0);
  b.bench.Run(10);
  // Vo+ at 3 + 5 behind the minus pin's 10 microohm: 8 V into 100 ohm.
  EXPECT_NEAR(Bench::Read(plus, 0), 8.0f, 1e-3f);
  // The input carries |Uout1| x I1 / 0.8, I1 = 5 / (Rp1 + Rn1) where Rp1 is
  // the load path (100 ohm beside the 5 megohm probe: 99.998 ohm):
  // P = 0.250005 / 0.8 = 0.312506 W, 24^2 / P = 1843.16 ohm beside 1200:
  // 726.81 ohm.
  float R = 0;
  Bench::Read(b.in, 0, &R);
  EXPECT_NEAR(R, 726.81f, 0.05f);
  b.bench.Stop();
}

TEST(FDD03, DualOutputAroundTheCommonPin) {
  DbRow row = Row("1", "12", "-12");
  DcdcBench b(row, 24);
  auto* com = b.bench.Source(3, kSchMinResistance);  // the centre held at 3 V
  b.bench.Wire(com, 0, b.d, 2);
  auto* plus = b.Probe(5);
  auto* minus = b.Probe(4);
  b.bench.Run(10);
  EXPECT_NEAR(Bench::Read(plus, 0), 15.0f, 1e-3f);
  EXPECT_NEAR(Bench::Read(minus, 0), -9.0f, 1e-3f);
  // The second "com" pin is neither joined nor driven.
  EXPECT_EQ(b.d->pins[3].net, nullptr);
  b.bench.Stop();
}

TEST(FDD03, SeparateOutputsFloatApart) {
  DbRow row = Row("2", "5", "12");
  DcdcBench b(row, 24);
  auto* m1 = b.bench.Source(-2, kSchMinResistance);
  b.bench.Wire(m1, 0, b.d, 2);
  auto* m2 = b.bench.Source(7, kSchMinResistance);
  b.bench.Wire(m2, 0, b.d, 5);
  auto* p1 = b.Probe(3);
  auto* p2 = b.Probe(4);
  b.bench.Run(10);
  EXPECT_NEAR(Bench::Read(p1, 0), 3.0f, 1e-3f);
  EXPECT_NEAR(Bench::Read(p2, 0), 19.0f, 1e-3f);
  b.bench.Stop();
}

TEST(FDD03, NonStabilisedAtHalfInputDrivesHalfVoltages) {
  DbRow row = Row("0", "5", "0", "0");
  DcdcBench b(row, 12);  // Unom 24
  auto* minus = b.bench.Ground();
  b.bench.Wire(minus, 0, b.d, 2);
  auto* plus = b.Probe(3);
  b.bench.Run(5);
  EXPECT_NEAR(Bench::Read(plus, 0), 2.5f, 1e-3f);
  b.bench.Stop();
}

TEST(FDD03, OverloadDrawsOnlyTheNoLoadCurrentAndReportsNothing) {
  DbRow row = Row("0", "5", "0");
  DcdcBench b(row, 24);
  auto* minus = b.bench.Ground();
  b.bench.Wire(minus, 0, b.d, 2);
  auto* shortCircuit = b.bench.Ground();
  b.bench.Wire(shortCircuit, 0, b.d, 3);
  LogCapture log;
  b.bench.Run(5);
  float R = 0;
  Bench::Read(b.in, 0, &R);
  EXPECT_NEAR(R, 1200.0f, 0.01f);
  EXPECT_EQ(log.Count(), 0);
  EXPECT_EQ(b.d->burnt, 0);
  b.bench.Stop();
}

TEST(FDD03, UnderAndOverVoltage) {
  DbRow row = Row("0", "5", "0");
  DcdcBench b(row, 6);  // below Umin 9
  auto* minus = b.bench.Ground();
  b.bench.Wire(minus, 0, b.d, 2);
  auto* plus = b.Probe(3);
  LogCapture log;
  b.bench.Run(3);
  float R = 0;
  EXPECT_NEAR(Bench::Read(plus, 0, &R), 0.0f, 1e-4f);
  EXPECT_GT(R, 1e6f);
  EXPECT_EQ(log.Count(), 0);
  b.in->Drive(0, 40, kSchMinResistance);  // above Umax 36
  b.bench.Step(2);
  EXPECT_EQ(b.d->burnt, 1);
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.Messages()[0], L"DC-DC преобразователь \"DCDC1\" вышел из строя");
  Bench::Read(b.in, 0, &R);
  EXPECT_GT(R, 1e6f);
  b.bench.Stop();
  // The next run clears it.
  b.in->Drive(0, 24, kSchMinResistance);
  b.bench.Run(3);
  EXPECT_EQ(b.d->burnt, 0);
  EXPECT_NEAR(Bench::Read(plus, 0), 5.0f, 1e-3f);
  b.bench.Stop();
}

TEST(FDD03, UnusableDatabaseValuesAreGuarded) {
  Bench bench;
  auto* d = bench.Create<CFDD03>("FDD03");
  DbRow row(L"DC-DC", {{"model", "broken"}, {"Umax", "36"}, {"Uout1", "5"}, {"Iout", "1"}});
  d->ApplyDbRecord(row.Record());  // Unom, efficiency, InoLoad all 0
  auto* in = bench.Source(24);
  auto* gnd = bench.Ground();
  bench.Wire(in, 0, d, 0);
  bench.Wire(gnd, 0, d, 5);
  auto* minus = bench.Ground();
  bench.Wire(minus, 0, d, 2);
  auto* load = bench.Add<circuit::Load>(10.0f);
  bench.Wire(d, 3, load, 0);
  auto* back = bench.Ground();
  bench.Wire(load, 1, back, 0);
  bench.Run(5);
  float R = 0;
  float U = Bench::Read(in, 0, &R);
  EXPECT_TRUE(std::isfinite(U));
  EXPECT_TRUE(std::isfinite(R));
  EXPECT_GT(R, 0.0f);
  bench.Stop();
}

TEST(FDD03, FootprintAndScreenshot) {
  Bench bench;
  auto* d = bench.Create<CFDD03>("FDD03");
  DbRow row = Row("0", "5", "0");
  d->ApplyDbRecord(row.Record());
  comptest::FootprintCanvas board(10, 300, 400);
  EXPECT_TRUE(board.Paint(d));
  const float W = 20.32f, L = 31.75f;
  EXPECT_EQ(board.At(-W / 2 + 1, -L / 2 + 1), RGB(102, 102, 102));  // the case rim
  EXPECT_EQ(board.At(W / 2 - 1, 0), RGB(102, 102, 102));
  EXPECT_EQ(board.At(-7, -12), RGB(221, 221, 221));  // the inner face
  EXPECT_EQ(board.At(0, L / 2 + 2), RGB(255, 255, 255));  // nothing outside
  // The two rules in RGB 51, 51, 51 and text on the face.
  auto lineNear = [&](float x, float y) {
    POINT p = board.painter.MapPoint(x, y);
    for (int dx = -2; dx <= 2; dx++)
      if (GetPixel(board.painter.dc, p.x + dx, p.y) == RGB(51, 51, 51)) return true;
    return false;
  };
  EXPECT_TRUE(lineNear(4, -10));
  EXPECT_TRUE(lineNear(-1.5f, 10));
  int dark = 0;
  for (int y = 0; y < 400; y++)
    for (int x = 0; x < 300; x++) {
      COLORREF c = GetPixel(board.painter.dc, x, y);
      if (GetRValue(c) < 150 && c != RGB(102, 102, 102)) dark++;
    }
  EXPECT_GT(dark, 200);  // the rules and the texts
  EXPECT_TRUE(board.Save(L"fdd03_footprint.bmp"));
  comptest::SymbolCanvas symbol(200, 240);
  EXPECT_TRUE(symbol.Paint(d, 20, 20));
  EXPECT_TRUE(symbol.Save(L"fdd03_symbol.bmp"));
}

}  // namespace
