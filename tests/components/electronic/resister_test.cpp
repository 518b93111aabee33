// The resistor: creation, database rows, labels and colour bands, the
// symbol and the footprint, its record and run state, and its simulation
// up to burn-out.
#include "components/electronic/resister.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "components/electronic/part_common.h"
#include "component_kit.h"
#include "support/test_support.h"

namespace {

using comptest::Bench;
using comptest::DbRow;
using comptest::Golden;
using comptest::LogCapture;

// Colour table entries by name, as the bands use them.
const int kBlack = 6, kBrown = 7, kRed = 8, kOrange = 9, kYellow = 10, kGreen = 11, kBlue = 12,
          kViolet = 13, kGrey = 14, kGold = 16, kSilver = 17, kNone = -1;

TEST(Resister, CreatedThroughTheRegistryWithItsDefaults) {
  Bench bench;
  auto* r = bench.Create<CSCHResister>("Resister");
  ASSERT_NE(r, nullptr);
  auto* r2 = bench.Create<CSCHResister>("Resister");
  ASSERT_NE(r2, nullptr);
  EXPECT_STREQ(r->className, "Resister");
  EXPECT_STREQ(r->instanceName, L"R1");
  EXPECT_STREQ(r2->instanceName, L"R2");
  EXPECT_EQ(r->nominalResistance, 10000.0f);
  EXPECT_GE(r->actualResistance, 9500.0f);
  EXPECT_LE(r->actualResistance, 10500.0f);
  EXPECT_EQ(r->powerRating, 0.25f);
  EXPECT_EQ(r->tolerance, 5.0f);
  EXPECT_EQ(r->packageClass, kElecResisterChip);
  EXPECT_EQ(r->bodyLength, 3.1f);
  EXPECT_EQ(r->bodyWidth, 1.6f);
  EXPECT_EQ(r->leadSize, 0.5f);
  EXPECT_EQ(r->bodyColor, 0);
  EXPECT_EQ(r->colorCodeShown, 1);
  EXPECT_EQ(r->price, 0.84);
  EXPECT_EQ(r->rect.right - r->rect.left, 9);
  EXPECT_EQ(r->rect.bottom - r->rect.top, 40);
  ASSERT_EQ(r->pinCount, 2);
  EXPECT_EQ(r->pins[0].side, kSchSideTop);
  EXPECT_EQ(r->pins[1].side, kSchSideBottom);
  for (int i = 0; i < 2; i++) {
    EXPECT_EQ(r->pins[i].name, nullptr);
    EXPECT_EQ(r->pins[i].description, nullptr);
    EXPECT_EQ(r->pins[i].kind, kSchPinElectric);
  }
  // A chip keeps its body length: no lead pitch.
  EXPECT_EQ(r->footprintWidth, 1.6f);
  EXPECT_EQ(r->footprintLength, 3.1f);
}

TEST(Resister, ValueLabels) {
  struct Case {
    float value;
    const wchar_t* label;
  };
  const Case cases[] = {
      {10000, L"10.0кОм"}, {4700, L"4.7кОм"},   {1000, L"1.0кОм"},    {470000, L"470.0кОм"},
      {1000000, L"1.0МОм"}, {2200000, L"2.2МОм"}, {22, L"22 Ом"},       {999.9f, L"999 Ом"},
      {10, L"10 Ом"},        {4.7f, L"4.7Ом"},     {0.5f, L"0.5Ом"},
  };
  for (const Case& c : cases) {
    wchar_t text[kElecResisterLabelChars];
    FormatResisterLabel(c.value, text, kElecResisterLabelChars);
    EXPECT_STREQ(text, c.label) << c.value;
  }
}

TEST(Resister, ColourBands) {
  struct Case {
    float nominal, tolerance;
    int bands[4];
  };
  const Case cases[] = {
      {22, 5, {kRed, kRed, kBlack, kGold}},
      {4.7f, 5, {kYellow, kViolet, kGold, kGold}},
      {470000, 1, {kYellow, kViolet, kYellow, kBrown}},
      {4700, 2, {kYellow, kViolet, kRed, kRed}},
      {1000000, 10, {kBrown, kBlack, kGreen, kSilver}},
      {10000, 20, {kBrown, kBlack, kOrange, kNone}},
      {100, 0.5f, {kBrown, kBlack, kBrown, kGreen}},
      {2400, 0.25f, {kRed, kYellow, kRed, kBlue}},
      {150, 0.1f, {kBrown, kGreen, kBrown, kViolet}},
      {68, 0.05f, {kBlue, kGrey, kBlack, kGrey}},
      {1.5f, 1.0005f, {kBrown, kGreen, kGold, kBrown}},  // within the 0.001 window
      {1.5f, 1.002f, {kBrown, kGreen, kGold, kNone}},    // outside it
      {99.6f, 5, {kBrown, kBlack, kBlack, kGold}},       // rounds up to "100": the first two digits
      // Below 1 ohm one digit: the second band has no colour.
      {0.5f, 5, {kGreen, kNone, kGold, kGold}},
      // From 10 MOhm on the multiplier goes on through the digits.
      {10000000, 5, {kBrown, kBlack, kBlue, kGold}},
  };
  for (const Case& c : cases) {
    ResisterBands b = GetResisterBands(c.nominal, c.tolerance);
    for (int i = 0; i < 4; i++)
      EXPECT_EQ(b.band[i], c.bands[i]) << c.nominal << " ohm, " << c.tolerance << " %, band " << i + 1;
  }
}

TEST(Resister, ColourTable) {
  const COLORREF expected[kElecResisterColorCount] = {
      RGB(0, 0, 0),     RGB(51, 85, 204),  RGB(255, 221, 204), RGB(255, 255, 255), RGB(0, 204, 0),
      RGB(255, 102, 102), RGB(0, 0, 0),    RGB(87, 49, 39),    RGB(255, 0, 0),     RGB(240, 167, 27),
      RGB(204, 204, 0), RGB(102, 255, 102), RGB(0, 0, 255),    RGB(255, 0, 255),   RGB(102, 102, 102),
      RGB(255, 255, 255), RGB(255, 255, 204), RGB(204, 204, 204),
  };
  for (int i = 0; i < kElecResisterColorCount; i++) EXPECT_EQ(kElecResisterColors[i], expected[i]) << i;
}

TEST(Resister, DatabaseRowSetsEveryField) {
  Bench bench;
  auto* r = bench.Create<CSCHResister>("Resister");
  DbRow row(L"resisters", {{"model", "MLT-0.25"}, {"R", "2.4"}, {"units", "1"}, {"percision", "0"},
                           {"power", "0.25"}, {"price", "2.5"}, {"L", "6"}, {"H", "2.2"},
                           {"leg", "0.6"}, {"class", "0"}, {"color", "2"}, {"colorNominal", "1"}});
  r->ApplyDbRecord(row.Record());
  EXPECT_STREQ(r->model, "MLT-0.25");
  EXPECT_STREQ(r->tableName, L"resisters");
  EXPECT_EQ(r->price, 2.5);
  EXPECT_EQ(r->nominalResistance, 2400.0f);
  EXPECT_EQ(r->actualResistance, 2400.0f);  // no tolerance: no spread
  EXPECT_EQ(r->tolerance, 0.0f);
  EXPECT_EQ(r->powerRating, 0.25f);
  EXPECT_EQ(r->bodyLength, 6.0f);
  EXPECT_EQ(r->bodyWidth, 2.2f);
  EXPECT_EQ(r->leadSize, 0.6f);
  EXPECT_EQ(r->packageClass, kElecResisterBanded);
  EXPECT_EQ(r->bodyColor, 2);
  EXPECT_EQ(r->colorCodeShown, 1);
  // 6 + 4.4 x 0.6 = 8.64 mm; 8.64 / 2.54 + 0.9 = 4.30: four lead pitches.
  EXPECT_FLOAT_EQ(r->footprintLength, 4 * 2.54f);
  EXPECT_EQ(r->footprintWidth, 2.2f);
}

TEST(Resister, UnitsOfTheDatabaseValue) {
  struct Case {
    const char* R;
    const char* units;
    float nominal;
    const wchar_t* label;
  };
  const Case cases[] = {
      {"4.7", "1", 4700, L"4.7кОм"},   {"1", "2", 1000000, L"1.0МОм"}, {"22", "0", 22, L"22 Ом"},
      {"4.7", "3", 4.7f, L"4.7Ом"},    {"4.7", "", 4.7f, L"4.7Ом"},
  };
  for (const Case& c : cases) {
    Bench bench;
    auto* r = bench.Create<CSCHResister>("Resister");
    DbRow row(L"resisters", {{"model", "X"}, {"R", c.R}, {"units", c.units}, {"percision", "0"}});
    r->ApplyDbRecord(row.Record());
    EXPECT_FLOAT_EQ(r->nominalResistance, c.nominal) << c.R << " units " << c.units;
    EXPECT_EQ(r->actualResistance, r->nominalResistance);
    wchar_t text[kElecResisterLabelChars];
    FormatResisterLabel(r->nominalResistance, text, kElecResisterLabelChars);
    EXPECT_STREQ(text, c.label);
  }
}

TEST(Resister, ToleranceSpreadsTheActualValueOverItsWholeRange) {
  Bench bench;
  auto* r = bench.Create<CSCHResister>("Resister");
  DbRow row(L"resisters", {{"model", "X"}, {"R", "1000"}, {"percision", "10"}});
  float low = 1e9f, high = 0;
  for (int i = 0; i < 400; i++) {
    r->ApplyDbRecord(row.Record());
    ASSERT_EQ(r->nominalResistance, 1000.0f);
    ASSERT_GE(r->actualResistance, 900.0f);
    ASSERT_LE(r->actualResistance, 1100.0f);
    low = std::min(low, r->actualResistance);
    high = std::max(high, r->actualResistance);
  }
  // 400 uniform draws cover all but a few per cent at both ends.
  EXPECT_LT(low, 910.0f);
  EXPECT_GT(high, 1090.0f);
}

TEST(Resister, RowWithoutColumnsReadsZero) {
  Bench bench;
  auto* r = bench.Create<CSCHResister>("Resister");
  DbRow row(L"resisters", {{"model", "bare"}});
  r->ApplyDbRecord(row.Record());
  EXPECT_EQ(r->nominalResistance, 0.0f);
  EXPECT_EQ(r->actualResistance, 0.0f);
  EXPECT_EQ(r->powerRating, 0.0f);
  EXPECT_EQ(r->packageClass, 0);
  EXPECT_EQ(r->colorCodeShown, 0);
  EXPECT_EQ(r->footprintLength, 0.0f);
}

TEST(Resister, SampleDatabaseRows) {
  comptest::RegistryScope registry;
  comptest::SampleTable table(L"resisters");
  ASSERT_TRUE(table.loaded);
  ASSERT_GE(table.table.GetRecordCount(), 4);
  auto r = comptest::NewDetached<CSCHResister>("Resister");
  ASSERT_TRUE(r);
  // MLT-0.25 2.4 kOhm: the first tolerance choice (5 %), banded, blue.
  r->ApplyDbRecord(table.table.GetRecord(0));
  EXPECT_EQ(r->nominalResistance, 2400.0f);
  EXPECT_EQ(r->tolerance, 5.0f);
  EXPECT_GE(r->actualResistance, 2280.0f);
  EXPECT_LE(r->actualResistance, 2520.0f);
  EXPECT_EQ(r->powerRating, 0.25f);
  EXPECT_EQ(r->packageClass, kElecResisterBanded);
  EXPECT_EQ(r->bodyColor, 1);
  EXPECT_EQ(r->colorCodeShown, 1);
  EXPECT_FLOAT_EQ(r->footprintLength, 4 * 2.54f);  // 6 + 2.64 mm
  // C2-33 1 MOhm: a million ohms.
  r->ApplyDbRecord(table.table.GetRecord(2));
  EXPECT_EQ(r->nominalResistance, 1000000.0f);
  // The surface-mount row: a chip with 0.5 mm pads, no lead pitch.
  r->ApplyDbRecord(table.table.GetRecord(3));
  EXPECT_EQ(r->nominalResistance, 10000.0f);
  EXPECT_EQ(r->packageClass, kElecResisterChip);
  EXPECT_EQ(r->leadSize, 0.5f);
  EXPECT_EQ(r->footprintLength, 3.2f);
  EXPECT_EQ(r->footprintWidth, 1.6f);
}

TEST(Resister, FootprintLengthGoesUpToTheLeadPitch) {
  struct Case {
    unsigned char cls;
    float L, lead, length;
  };
  const Case cases[] = {
      {kElecResisterBanded, 6, 0.6f, 4 * 2.54f},   // 8.64 mm
      {kElecResisterLeaded, 6, 0.6f, 4 * 2.54f},
      {kElecResisterBanded, 10, 0.8f, 6 * 2.54f},  // 13.52 mm: 5.32 + 0.9
      {kElecResisterBanded, 5.6f, 0.5f, 3 * 2.54f},  // 7.8 mm: less than a tenth over 3 pitches
      {kElecResisterBanded, 5.7f, 0.5f, 4 * 2.54f},  // 7.9 mm: more than a tenth over
      {kElecResisterChip, 6, 0.6f, 6},             // chips keep L
      {3, 6, 0.6f, 6},                         // an unknown class too
  };
  for (const Case& c : cases) {
    CSCHResister r;
    r.packageClass = c.cls;
    r.bodyLength = c.L;
    r.leadSize = c.lead;
    r.bodyWidth = 2;
    r.UpdateBodySize();
    EXPECT_FLOAT_EQ(r.footprintLength, c.length) << int(c.cls) << " " << c.L << " " << c.lead;
    EXPECT_EQ(r.footprintWidth, 2.0f);
  }
}

// A leaded 2.4 kOhm resistor with exact values (no spread).
void MakeLeaded(CSCHResister* r) {
  DbRow row(L"resisters", {{"model", "MLT"}, {"R", "2.4"}, {"units", "1"}, {"percision", "0"},
                           {"power", "0.25"}, {"L", "6"}, {"H", "2.2"}, {"leg", "0.6"},
                           {"class", "0"}, {"color", "1"}, {"colorNominal", "1"}});
  r->ApplyDbRecord(row.Record());
}

TEST(Resister, RecordAfterTheBaseRecord) {
  Bench bench;
  auto* r = bench.Create<CSCHResister>("Resister");
  MakeLeaded(r);
  r->tolerance = 5;  // a tolerance of its own, to tell the fields apart
  std::vector<uint8_t> expected = Golden()
                                      .F(2400)   // actual resistance
                                      .F(2400)   // nominal resistance
                                      .F(5)      // tolerance
                                      .F(0.25f)  // power rating
                                      .B(0)      // package class
                                      .B(1)      // body colour
                                      .B(1)      // colour code shown
                                      .F(6)      // L
                                      .F(2.2f)   // H
                                      .F(0.6f)   // lead size
                                      .Bytes();
  EXPECT_TRUE(velktest::BytesEqual(comptest::FieldsAfter<CSCHBlock>(r), expected));
}

TEST(Resister, RecordRoundTripKeepsTheDrawnValue) {
  Bench bench;
  auto* r = bench.Create<CSCHResister>("Resister");
  DbRow row(L"resisters", {{"model", "C2-33"}, {"R", "1"}, {"units", "2"}, {"percision", "10"},
                           {"power", "1"}, {"L", "13"}, {"H", "5.5"}, {"leg", "0.8"},
                           {"class", "1"}, {"color", "2"}});
  r->ApplyDbRecord(row.Record());
  r->MoveTo(30, 40);
  std::vector<uint8_t> bytes = comptest::SaveBytes(r);
  auto copy = comptest::NewDetached<CSCHResister>("Resister");
  ASSERT_TRUE(copy);
  comptest::LoadBytes(copy.get(), bytes);
  EXPECT_EQ(copy->actualResistance, r->actualResistance);  // no new draw
  EXPECT_EQ(copy->nominalResistance, 1000000.0f);
  EXPECT_EQ(copy->tolerance, 10.0f);
  EXPECT_EQ(copy->powerRating, 1.0f);
  EXPECT_EQ(copy->packageClass, kElecResisterLeaded);
  EXPECT_EQ(copy->bodyColor, 2);
  EXPECT_EQ(copy->colorCodeShown, 0);
  EXPECT_STREQ(copy->instanceName, L"R1");
  EXPECT_STREQ(copy->model, "C2-33");
  // 13 + 3.52 = 16.52 mm; 6.50 + 0.9: seven pitches.
  EXPECT_FLOAT_EQ(copy->footprintLength, 7 * 2.54f);
  EXPECT_EQ(copy->footprintWidth, 5.5f);
  copy->flags &= ~kSchLoaded;  // as the stream's resolve pass leaves it
  EXPECT_TRUE(velktest::BytesEqual(comptest::SaveBytes(copy.get()), bytes));
}

TEST(Resister, EveryTruncatedRecordLoads) {
  Bench bench;
  auto* r = bench.Create<CSCHResister>("Resister");
  MakeLeaded(r);
  std::vector<uint8_t> bytes = comptest::SaveBytes(r);
  const size_t base = bytes.size() - 31;
  // Each field: its end offset after the base record and its value read.
  struct Field {
    size_t end;
    std::function<float(CSCHResister*)> read;
    float full;
  };
  const Field fields[] = {
      {4, [](CSCHResister* c) { return c->actualResistance; }, 2400},
      {8, [](CSCHResister* c) { return c->nominalResistance; }, 2400},
      {12, [](CSCHResister* c) { return c->tolerance; }, 0},
      {16, [](CSCHResister* c) { return c->powerRating; }, 0.25f},
      {17, [](CSCHResister* c) { return float(c->packageClass); }, 0},
      {18, [](CSCHResister* c) { return float(c->bodyColor); }, 1},
      {19, [](CSCHResister* c) { return float(c->colorCodeShown); }, 1},
      {23, [](CSCHResister* c) { return c->bodyLength; }, 6},
      {27, [](CSCHResister* c) { return c->bodyWidth; }, 2.2f},
      {31, [](CSCHResister* c) { return c->leadSize; }, 0.6f},
  };
  comptest::ForEachTruncation<CSCHResister>("Resister", bytes, [&](CSCHResister* c, size_t n) {
    size_t start = 0;
    for (const Field& f : fields) {
      if (n >= base + f.end) {
        EXPECT_EQ(f.read(c), f.full) << "field ending at " << f.end;
      } else if (n <= base + start) {
        EXPECT_EQ(f.read(c), 0.0f) << "field ending at " << f.end;
      }
      start = f.end;
    }
    EXPECT_TRUE(std::isfinite(c->footprintLength));
  });
}

TEST(Resister, SchemeStreamKeepsTheResistor) {
  Bench bench;
  auto* r = bench.Create<CSCHResister>("Resister");
  MakeLeaded(r);
  r->actualResistance = 2411.5f;
  auto copy = comptest::ReadBack(bench.scheme);
  ASSERT_TRUE(copy);
  ASSERT_EQ(copy->BlockCount(), 1);
  auto* back = dynamic_cast<CSCHResister*>(copy->blocks);
  ASSERT_NE(back, nullptr);
  EXPECT_STREQ(back->className, "Resister");
  EXPECT_EQ(back->actualResistance, 2411.5f);
  EXPECT_EQ(back->nominalResistance, 2400.0f);
  EXPECT_FLOAT_EQ(back->footprintLength, 4 * 2.54f);
}

TEST(Resister, RunStateIsTheBaseOne) {
  Bench bench;
  auto* r = bench.Create<CSCHResister>("Resister");
  r->burnt = 1;
  std::vector<uint8_t> bytes = comptest::SaveRunStateBytes(r);
  EXPECT_TRUE(velktest::BytesEqual(bytes, Golden().Raw("Resister", 9).B(1).Bytes()));
  auto other = comptest::NewDetached<CSCHResister>("Resister");
  ASSERT_TRUE(other);
  EXPECT_TRUE(comptest::LoadRunStateBytes(other.get(), bytes));
  EXPECT_EQ(other->burnt, 1);
  // A record of another class is refused.
  other->burnt = 0;
  EXPECT_FALSE(comptest::LoadRunStateBytes(other.get(), Golden().Raw("Battery", 8).B(1).Bytes()));
  EXPECT_EQ(other->burnt, 0);
}

TEST(Resister, EditShowsTheModelInTheBrowser) {
  Bench bench;
  auto* r = bench.Create<CSCHResister>("Resister");
  MakeLeaded(r);
  comptest::EditHost host;
  EXPECT_FALSE(r->Edit());
  EXPECT_EQ(host.calls, 1);
  EXPECT_EQ(host.table, L"resisters");
  EXPECT_EQ(host.model, "MLT");
}

// ------------------------------------------------------------ simulation

// A resistor of exactly ohms between a source of volts and ground, both of
// negligible resistance.
struct Across {
  explicit Across(float volts, float ohms, float watts) {
    r = bench.Create<CSCHResister>("Resister");
    r->actualResistance = ohms;
    r->powerRating = watts;
    source = bench.Source(volts);
    ground = bench.Ground();
    bench.Wire(source, 0, r, 0);
    bench.Wire(r, 1, ground, 0);
    bench.Build();
    bench.Start();
  }
  ~Across() { bench.Stop(); }
  Bench bench;
  CSCHResister* r;
  circuit::Part* source;
  circuit::Part* ground;
};

TEST(Resister, RatedPowerIsNeverExceeded) {
  // 5 V across 100 ohm: 0.25 W, the smoothed power approaches the rating
  // from below.
  LogCapture log;
  Across a(5, 100, 0.25f);
  EXPECT_EQ(a.r->smoothedPower, 0.0f);
  for (int i = 0; i < 3000; i++) a.bench.Step(1, 0.01f);
  EXPECT_EQ(a.r->burnt, 0);
  EXPECT_GT(a.r->smoothedPower, 0.2499f);
  EXPECT_LE(a.r->smoothedPower, 0.25f);
  EXPECT_EQ(log.Count(), 0);
}

TEST(Resister, BurnsWhenTheSmoothedPowerPassesTheRating) {
  LogCapture log;
  Across a(6, 100, 0.25f);
  // P = 36 / 100 W (the sources' 2 x 10 uOhm are negligible); after n steps
  // of dt the smoothed power is P (1 - (1 - dt/2)^n), which passes 0.25 W
  // when (1 - dt/2)^n < 1 - 0.25/P: about 2 ln(0.36/0.11) = 2.37 s.
  const double P = 36.0 / (100 + 2e-5), dt = 0.01;
  const int expectedStep = static_cast<int>(std::ceil(std::log(1 - 0.25 / P) / std::log(1 - dt / 2)));
  EXPECT_EQ(expectedStep, 237);
  int burntAt = 0;
  for (int n = 1; n <= 400 && !burntAt; n++) {
    a.bench.Step(1, 0.01f);
    if (a.r->burnt) burntAt = n;
  }
  EXPECT_NEAR(burntAt, expectedStep, 1);
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.Messages()[0], L"Резистор \"R1\" вышел из строя!");
  // The burning step left the pins as the step before drove them: the
  // source still sees 0 V behind the resistor.
  float R = 0;
  EXPECT_NEAR(Bench::Read(a.source, 0, &R), 0.0f, 1e-4f);
  EXPECT_NEAR(R, 100.0f, 0.01f);
  // From the next step on both pins are 0 V behind 5 megohms: open.
  a.bench.Step(5, 0.01f);
  EXPECT_NEAR(Bench::Read(a.source, 0, &R), 0.0f, 1e-6f);
  EXPECT_NEAR(R, 5e6f, 500);  // the net sums carry rounding of the earlier drive
  EXPECT_EQ(a.r->pins[0].G, 1 / 5e6f);
  EXPECT_EQ(a.r->pins[1].G, 1 / 5e6f);
  EXPECT_EQ(log.Count(), 1);  // one message only
}

TEST(Resister, RowWithoutPowerBurnsAtTheFirstStepWithCurrent) {
  LogCapture log;
  Across a(5, 100, 0.25f);
  DbRow row(L"resisters", {{"model", "X"}, {"R", "100"}, {"percision", "0"}});
  a.r->ApplyDbRecord(row.Record());
  a.r->SetName(nullptr);
  a.bench.Step(1);
  EXPECT_EQ(a.r->burnt, 1);
  a.bench.Step(5);
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.Messages()[0], L"Резистор \"\" вышел из строя!");  // a part without a name
}

TEST(Resister, WithoutCurrentAZeroRatingHolds) {
  LogCapture log;
  Across a(0, 100, 0);  // 0 W is not above a 0 W rating
  a.bench.Step(100);
  EXPECT_EQ(a.r->burnt, 0);
  EXPECT_EQ(log.Count(), 0);
}

TEST(Resister, RatingThatIsNotANumberBurns) {
  LogCapture log;
  Across a(1, 100, NAN);
  a.bench.Step(1);
  EXPECT_EQ(a.r->burnt, 1);
  EXPECT_EQ(log.Count(), 1);
}

TEST(Resister, LimitTests) {
  EXPECT_FALSE(LimitViolated(0.25f, 0.25f));
  EXPECT_TRUE(LimitViolated(0.2500001f, 0.25f));
  EXPECT_FALSE(LimitViolated(0, 0));
  EXPECT_TRUE(LimitViolated(NAN, 1));
  EXPECT_TRUE(LimitViolated(INFINITY, 1e30f));
  EXPECT_TRUE(LimitViolated(1, NAN));
  EXPECT_FALSE(LimitViolated(1e30f, INFINITY));
}

TEST(Resister, DividerStepsToThePinModelsVoltage) {
  // 10 V behind 100 ohm, a 300 ohm resistor, ground: 25 mA, 7.5 V on the
  // source's net, 0.1875 W in the resistor.
  Bench bench;
  auto* r = bench.Create<CSCHResister>("Resister");
  r->actualResistance = 300;
  r->powerRating = 0.25f;
  auto* source = bench.Source(10, 100);
  auto* ground = bench.Ground();
  bench.Wire(source, 0, r, 0);
  bench.Wire(r, 1, ground, 0);
  bench.Run(1, 0.01f);
  SchNet* top = bench.NetOf(source, 0);
  ASSERT_NE(top, nullptr);
  EXPECT_NEAR(top->sumI / top->sumG, 7.5, 1e-4);
  // What the resistor's top pin reads: the source alone.
  SchPinState s = Bench::State(r, 0);
  EXPECT_NEAR(s.U, 10.0f, 1e-4f);
  EXPECT_NEAR(s.R, 100.0f, 1e-3f);
  // What the source reads: ground behind the resistor.
  float R = 0;
  EXPECT_NEAR(Bench::Read(source, 0, &R), 0.0f, 1e-4f);
  EXPECT_NEAR(R, 300.0f, 1e-3f);
  // The smoothed power after n steps of 10 ms: P (1 - 0.995^n).
  bench.Step(199, 0.01f);
  const double P = 0.025 * 0.025 * 300;
  EXPECT_NEAR(r->smoothedPower, P * (1 - std::pow(0.995, 200)), 1e-4);
  EXPECT_EQ(r->burnt, 0);
  bench.Stop();
}

TEST(Resister, StartClearsTheSmoothedPower) {
  Across a(5, 100, 1);
  a.bench.Step(10);
  EXPECT_GT(a.r->smoothedPower, 0.0f);
  a.bench.Stop();
  a.bench.Build();
  a.bench.Start();
  EXPECT_EQ(a.r->smoothedPower, 0.0f);
}

TEST(Resister, DataSourcePassesThrough) {
  // A serial line driven at 5 V idle and 0 V for the other level.
  Bench bench;
  auto* r = bench.Create<CSCHResister>("Resister");
  r->actualResistance = 100;
  r->powerRating = 10;
  circuit::Part* driver = bench.Part(1);
  circuit::Part* reader = bench.Part(1);
  bench.Wire(driver, 0, r, 0);
  bench.Wire(r, 1, reader, 0);
  bench.Build();
  bench.Start();
  SchSignalSource source = {nullptr, 0.5f};
  driver->SetPinState(0, comptest::SerialDataState(&source));
  bench.Step(1);
  SchPinState seen = Bench::State(reader, 0);
  EXPECT_EQ(seen.sourceKind, kSchSourceSerial);
  EXPECT_EQ(seen.source, &source);
  EXPECT_NEAR(seen.U, 5.0f, 1e-3f);
  EXPECT_NEAR(seen.R, 110.0f, 1e-2f);
  EXPECT_NEAR(seen.U2, 0.0f, 1e-3f);
  EXPECT_NEAR(seen.R2, 110.0f, 1e-2f);
  bench.Stop();
}

// ------------------------------------------------------------ drawing

TEST(Resister, SymbolBodyLeadAndLabels) {
  Bench bench;
  auto* r = bench.Create<CSCHResister>("Resister");
  comptest::SymbolCanvas canvas(120, 70);
  EXPECT_TRUE(canvas.Paint(r, 10, 10));  // body 10..19 x 10..50
  const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
  EXPECT_EQ(canvas.Pixel(14, 12), black);  // the lead above the body
  EXPECT_EQ(canvas.Pixel(14, 46), black);  // and below it
  EXPECT_EQ(canvas.Pixel(10, 30), black);  // the body's outline
  EXPECT_EQ(canvas.Pixel(18, 30), black);
  EXPECT_EQ(canvas.Pixel(14, 18), black);
  EXPECT_EQ(canvas.Pixel(14, 30), white);  // white inside, over the lead
  EXPECT_EQ(canvas.Pixel(12, 12), white);
  // The name from y = 30 - 12, the value from y = 30, from x = 19 + 4.
  EXPECT_GT(canvas.InkIn(23, 18, 120, 29), 0);
  EXPECT_GT(canvas.InkIn(23, 30, 120, 45), 0);
  EXPECT_EQ(canvas.InkIn(19, 0, 23, 70), 0);
  EXPECT_TRUE(canvas.Save(L"resister_symbol.bmp"));
  // Without a name only the value is written.
  canvas.Clear();
  r->SetName(nullptr);
  EXPECT_TRUE(canvas.Paint(r, 10, 10));
  EXPECT_EQ(canvas.InkIn(23, 18, 120, 29), 0);
  EXPECT_GT(canvas.InkIn(23, 30, 120, 45), 0);
}

const COLORREF kPad = RGB(204, 221, 255);
const COLORREF kWhite = RGB(255, 255, 255);

TEST(Resister, ChipFootprint) {
  Bench bench;
  auto* r = bench.Create<CSCHResister>("Resister");  // 3.1 x 1.6 mm, pads 0.5 mm
  comptest::FootprintCanvas board(20, 200, 200);
  EXPECT_TRUE(board.Paint(r));
  EXPECT_EQ(board.At(0, 0), RGB(68, 68, 68));
  EXPECT_EQ(board.At(0, -1.3f), kPad);
  EXPECT_EQ(board.At(0, 1.3f), kPad);
  EXPECT_EQ(board.At(0.5f, -1.3f), kPad);
  EXPECT_EQ(board.At(0, -1.7f), kWhite);
  EXPECT_EQ(board.At(1.0f, 0), kWhite);
}

TEST(Resister, LeadedFootprints) {
  Bench bench;
  auto* r = bench.Create<CSCHResister>("Resister");
  MakeLeaded(r);  // L 6, H 2.2, lead 0.6, 4.7 kOhm below
  r->nominalResistance = 4700;
  r->tolerance = 5;
  r->bodyColor = 2;
  r->boardX = 2.54f;
  r->boardY = -1.27f;
  r->orientation = 1;  // turned: the part frame follows
  const COLORREF beige = RGB(255, 221, 204);
  {
    comptest::FootprintCanvas board(20, 400, 400);
    EXPECT_TRUE(board.Paint(r));
    // Bands at y = -1.5, -0.83, -0.17 and 1.17, each 0.375 mm high.
    EXPECT_EQ(board.At(0, -1.31f), RGB(204, 204, 0));   // yellow
    EXPECT_EQ(board.At(0, -0.65f), RGB(255, 0, 255));   // violet
    EXPECT_EQ(board.At(0, 0.02f), RGB(255, 0, 0));      // red
    EXPECT_EQ(board.At(0, 1.35f), RGB(255, 255, 204));  // gold
    EXPECT_EQ(board.At(0, -0.98f), beige);              // body between bands
    EXPECT_EQ(board.At(0, 0.7f), beige);                // the gap before the tolerance band
    EXPECT_EQ(board.At(0, 4.5f), kPad);                 // the lead beyond the body
    EXPECT_EQ(board.At(0, -4.5f), kPad);
    EXPECT_EQ(board.At(0.9f, 2.8f), kWhite);  // a rounded body leaves its corners
    EXPECT_EQ(board.At(0.6f, 4.5f), kWhite);
    EXPECT_TRUE(board.Save(L"resister_footprint_banded.bmp"));
  }
  {
    // No band for 20 %: its place shows the body.
    r->tolerance = 20;
    comptest::FootprintCanvas board(20, 400, 400);
    EXPECT_TRUE(board.Paint(r));
    EXPECT_EQ(board.At(0, 1.35f), beige);
    EXPECT_EQ(board.At(0, -1.31f), RGB(204, 204, 0));
  }
  {
    // Bands hidden.
    r->colorCodeShown = 0;
    comptest::FootprintCanvas board(20, 400, 400);
    EXPECT_TRUE(board.Paint(r));
    EXPECT_EQ(board.At(0, -1.31f), beige);
  }
  {
    // Plain body: a rectangle, corners filled, no bands.
    r->packageClass = kElecResisterLeaded;
    r->colorCodeShown = 1;
    comptest::FootprintCanvas board(20, 400, 400);
    EXPECT_TRUE(board.Paint(r));
    EXPECT_EQ(board.At(0.9f, 2.8f), beige);
    EXPECT_EQ(board.At(0, -1.31f), beige);
    EXPECT_EQ(board.At(0, 4.5f), kPad);
  }
  {
    // Another class draws nothing.
    r->packageClass = 3;
    comptest::FootprintCanvas board(20, 400, 400);
    EXPECT_TRUE(board.Paint(r));
    EXPECT_EQ(board.InkCount(), 0);
  }
}

TEST(Resister, ScreenshotOfFootprints) {
  Bench bench;
  comptest::FootprintCanvas board(12, 480, 240);
  struct Shown {
    const char* R;
    const char* units;
    const char* tolerance;
    const char* cls;
    const char* color;
    float x;
  };
  const Shown shown[] = {
      {"4.7", "1", "5", "0", "2", -15}, {"22", "0", "1", "0", "1", -7.5f}, {"1", "2", "10", "0", "3", 0},
      {"100", "0", "2", "1", "4", 7.5f}, {"10", "1", "5", "2", "0", 15},
  };
  for (const Shown& s : shown) {
    auto* r = bench.Create<CSCHResister>("Resister");
    DbRow row(L"resisters", {{"model", "X"}, {"R", s.R}, {"units", s.units}, {"percision", s.tolerance},
                             {"power", "0.25"}, {"L", "6"}, {"H", "2.2"}, {"leg", "0.6"},
                             {"class", s.cls}, {"color", s.color}, {"colorNominal", "1"}});
    r->ApplyDbRecord(row.Record());
    r->boardX = s.x;
    EXPECT_TRUE(board.Paint(r));
  }
  EXPECT_TRUE(board.Save(L"resister_footprints.bmp"));
}

}  // namespace
