// The diode: creation, database rows, footprint size, its record, the
// symbol and footprint, and its simulation: forward drop, blocking and the
// four limits.
#include "components/electronic/discrete/diod.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
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

TEST(Diod, CreatedThroughTheRegistryWithItsDefaults) {
  Bench bench;
  auto* d = bench.Create<CSCHDiod>("diod");
  ASSERT_NE(d, nullptr);
  EXPECT_STREQ(d->instanceName, L"VD1");
  EXPECT_EQ(d->peakReverseVoltage, 100.0f);
  EXPECT_EQ(d->continuousReverseVoltage, 100.0f);
  EXPECT_EQ(d->continuousForwardCurrent, 0.2f);
  EXPECT_EQ(d->peakForwardCurrent, 0.45f);
  EXPECT_EQ(d->forwardVoltage, 0.65f);
  EXPECT_EQ(d->bodyShape, kElecDiodCapsule);
  EXPECT_EQ(d->bodyLength, 4.25f);
  EXPECT_EQ(d->bodyDiameter, 1.85f);
  EXPECT_EQ(d->leadThickness, 0.56f);
  EXPECT_EQ(d->colorScheme, 1);
  EXPECT_EQ(d->rect.right - d->rect.left, 16);
  EXPECT_EQ(d->rect.bottom - d->rect.top, 36);
  ASSERT_EQ(d->pinCount, 2);
  EXPECT_STREQ(d->pins[0].description, L"Анод (плюс)");
  EXPECT_STREQ(d->pins[1].description, L"Катод (минус)");
  EXPECT_EQ(d->pins[0].name, nullptr);
  EXPECT_EQ(d->pins[0].side, kSchSideTop);
  EXPECT_EQ(d->pins[1].side, kSchSideBottom);
  EXPECT_EQ(d->pins[0].offset, 8);
  EXPECT_EQ(d->pins[1].offset, 8);
  // 8 x 0.56 + 4.25 = 8.73 mm: down to three pitches.
  EXPECT_FLOAT_EQ(d->footprintLength, 7.62f);
  EXPECT_EQ(d->footprintWidth, 1.85f);
}

TEST(Diod, FootprintLengthGoesDownToTheLeadPitch) {
  struct Case {
    float body, lead, length;
  };
  const Case cases[] = {
      {4.25f, 0.56f, 3 * 2.54f},  // 8.73 mm
      {5.0f, 0.8f, 4 * 2.54f},    // 11.4 / 2.54 = 4.49
      {5.2f, 0.8f, 4 * 2.54f},    // 11.6 / 2.54 = 4.57
      {2.0f, 0.0f, 0},            // below one pitch
      {NAN, 0.5f, 0},             // no number: no length
  };
  for (const Case& c : cases) {
    CSCHDiod d;
    d.bodyLength = c.body;
    d.leadThickness = c.lead;
    d.bodyDiameter = 2.7f;
    d.UpdateBodySize();
    EXPECT_FLOAT_EQ(d.footprintLength, c.length) << c.body << " " << c.lead;
    EXPECT_EQ(d.footprintWidth, 2.7f);
  }
}

void Apply1N4007(CSCHDiod* d, const char* color = "0") {
  DbRow row(L"diod", {{"model", "1N4007"}, {"Vrpm", "1000"}, {"Vr", "700"}, {"If", "1"},
                      {"Ifprm", "30"}, {"Vf", "1.1"}, {"corpType", "0"}, {"width", "5.2"},
                      {"diam", "2.7"}, {"legThink", "0.8"}, {"color", color}, {"price", "2.5"}});
  d->ApplyDbRecord(row.Record());
}

TEST(Diod, DatabaseRowSetsEveryField) {
  Bench bench;
  auto* d = bench.Create<CSCHDiod>("diod");
  Apply1N4007(d);
  EXPECT_STREQ(d->model, "1N4007");
  EXPECT_STREQ(d->tableName, L"diod");
  EXPECT_EQ(d->price, 2.5);
  EXPECT_EQ(d->peakReverseVoltage, 1000.0f);
  EXPECT_EQ(d->continuousReverseVoltage, 700.0f);
  EXPECT_EQ(d->continuousForwardCurrent, 1.0f);
  EXPECT_EQ(d->peakForwardCurrent, 30.0f);
  EXPECT_EQ(d->forwardVoltage, 1.1f);
  EXPECT_EQ(d->bodyShape, kElecDiodRectangular);
  EXPECT_EQ(d->bodyLength, 5.2f);
  EXPECT_EQ(d->bodyDiameter, 2.7f);
  EXPECT_EQ(d->leadThickness, 0.8f);
  EXPECT_EQ(d->colorScheme, 0);
  EXPECT_FLOAT_EQ(d->footprintLength, 4 * 2.54f);
  EXPECT_EQ(d->footprintWidth, 2.7f);
}

TEST(Diod, ColourSchemeIsClampedToTheTables) {
  struct Case {
    const char* color;
    int scheme;
  };
  const Case cases[] = {{"0", 0}, {"1", 1}, {"5", 5}, {"6", 5}, {"200", 0}, {"-1", 0}, {"127", 5}};
  for (const Case& c : cases) {
    CSCHDiod d;
    Apply1N4007(&d, c.color);
    EXPECT_EQ(d.colorScheme, c.scheme) << c.color;  // "200" is -56 as a signed byte
  }
}

TEST(Diod, SampleDatabaseRows) {
  comptest::RegistryScope registry;
  comptest::SampleTable table(L"diod");
  ASSERT_TRUE(table.loaded);
  CompDbRecord* row = table.Find("1N4148");
  ASSERT_NE(row, nullptr);
  auto d = comptest::NewDetached<CSCHDiod>("diod");
  ASSERT_TRUE(d);
  d->ApplyDbRecord(row);
  EXPECT_EQ(d->continuousReverseVoltage, 75.0f);
  EXPECT_EQ(d->forwardVoltage, 0.72f);
  EXPECT_FLOAT_EQ(d->footprintLength, 7.62f);
}

TEST(Diod, RecordBeforeTheBaseRecord) {
  Bench bench;
  auto* d = bench.Create<CSCHDiod>("diod");
  Apply1N4007(d);
  std::vector<uint8_t> expected = Golden()
                                      .F(1000)  // peak reverse voltage
                                      .F(700)   // continuous reverse voltage
                                      .F(1)     // continuous forward current
                                      .F(30)    // peak forward current
                                      .F(1.1f)  // forward voltage
                                      .B(0)     // body shape
                                      .F(5.2f)  // body length
                                      .F(2.7f)  // body diameter
                                      .F(0.8f)  // lead thickness
                                      .B(0)     // colour scheme
                                      .Bytes();
  EXPECT_TRUE(velktest::BytesEqual(disctest::FieldsBefore(d), expected));
}

TEST(Diod, RecordRoundTripAndEveryTruncation) {
  Bench bench;
  auto* d = bench.Create<CSCHDiod>("diod");
  Apply1N4007(d, "1");
  d->smoothedCurrent = 0.5f;  // run time: not saved
  std::vector<uint8_t> bytes = comptest::SaveBytes(d);
  auto copy = comptest::NewDetached<CSCHDiod>("diod");
  ASSERT_TRUE(copy);
  comptest::LoadBytes(copy.get(), bytes);
  EXPECT_EQ(copy->peakReverseVoltage, 1000.0f);
  EXPECT_EQ(copy->forwardVoltage, 1.1f);
  EXPECT_EQ(copy->colorScheme, 1);
  EXPECT_EQ(copy->smoothedCurrent, 0.0f);
  EXPECT_FLOAT_EQ(copy->footprintLength, 4 * 2.54f);
  EXPECT_STREQ(copy->instanceName, L"VD1");
  copy->flags &= ~kSchLoaded;
  EXPECT_TRUE(velktest::BytesEqual(comptest::SaveBytes(copy.get()), bytes));

  struct Field {
    size_t end;
    std::function<float(CSCHDiod*)> read;
    float full;
  };
  const Field fields[] = {
      {4, [](CSCHDiod* c) { return c->peakReverseVoltage; }, 1000},
      {8, [](CSCHDiod* c) { return c->continuousReverseVoltage; }, 700},
      {12, [](CSCHDiod* c) { return c->continuousForwardCurrent; }, 1},
      {16, [](CSCHDiod* c) { return c->peakForwardCurrent; }, 30},
      {20, [](CSCHDiod* c) { return c->forwardVoltage; }, 1.1f},
      {21, [](CSCHDiod* c) { return float(c->bodyShape); }, 0},
      {25, [](CSCHDiod* c) { return c->bodyLength; }, 5.2f},
      {29, [](CSCHDiod* c) { return c->bodyDiameter; }, 2.7f},
      {33, [](CSCHDiod* c) { return c->leadThickness; }, 0.8f},
      {34, [](CSCHDiod* c) { return float(c->colorScheme); }, 1},
  };
  comptest::ForEachTruncation<CSCHDiod>("diod", bytes, [&](CSCHDiod* c, size_t n) {
    size_t start = 0;
    for (const Field& f : fields) {
      if (n >= f.end) {
        EXPECT_EQ(f.read(c), f.full) << "field ending at " << f.end;
      } else if (n <= start) {
        EXPECT_EQ(f.read(c), 0.0f) << "field ending at " << f.end;
      }
      start = f.end;
    }
    EXPECT_GE(c->colorScheme, 0);
    EXPECT_LT(c->colorScheme, kElecDiodColorSchemes);
  });
  // A corrupted colour byte never indexes past the tables.
  std::vector<uint8_t> corrupted = bytes;
  corrupted[33] = 77;
  comptest::LoadBytes(copy.get(), corrupted);
  EXPECT_EQ(copy->colorScheme, 5);
  comptest::FootprintCanvas board(20, 200, 200);
  EXPECT_TRUE(board.Paint(copy.get()));
}

TEST(Diod, EditShowsTheModelInTheBrowser) {
  Bench bench;
  auto* d = bench.Create<CSCHDiod>("diod");
  Apply1N4007(d);
  comptest::EditHost host;
  EXPECT_FALSE(d->Edit());
  EXPECT_EQ(host.calls, 1);
  EXPECT_EQ(host.table, L"diod");
  EXPECT_EQ(host.model, "1N4007");
}

// ------------------------------------------------------------ simulation

// A diode between an anode source and a cathode source.
struct Biased {
  Biased(float anodeU, float anodeR, float cathodeU, float cathodeR) {
    d = bench.Create<CSCHDiod>("diod");
    anode = bench.Source(anodeU, anodeR);
    cathode = bench.Source(cathodeU, cathodeR);
    bench.Wire(anode, 0, d, kElecDiodAnode);
    bench.Wire(d, kElecDiodCathode, cathode, 0);
    bench.Build();
    bench.Start();
  }
  ~Biased() { bench.Stop(); }
  Bench bench;
  CSCHDiod* d;
  circuit::Part* anode;
  circuit::Part* cathode;
};

TEST(Diod, ForwardCurrentAndDropInADivider) {
  // 5 V behind 100 ohm on the anode, a stiff 0 V on the cathode:
  // I = (5 - 0.65) / 100 = 43.5 mA.
  LogCapture log;
  Biased b(5, 100, 0, kSchMinResistance);
  b.bench.Step(1, 0.01f);
  EXPECT_EQ(b.d->burnt, 0);
  // The smoothed current after one step: I x dt / 0.3.
  EXPECT_NEAR(b.d->smoothedCurrent, 0.0435 * 0.01 / 0.3, 1e-7);
  // The anode side sees the cathode raised by the drop, behind the
  // cathode's resistance; the cathode sees the anode lowered by it.
  float R = 0;
  EXPECT_NEAR(Bench::Read(b.anode, 0, &R), 0.65f, 1e-4f);
  EXPECT_NEAR(R, kSchMinResistance, 1e-7f);
  EXPECT_NEAR(Bench::Read(b.cathode, 0, &R), 4.35f, 1e-4f);
  EXPECT_NEAR(R, 100.0f, 1e-3f);
  // The anode net settles at the drop above the cathode.
  SchNet* net = b.bench.NetOf(b.anode, 0);
  ASSERT_NE(net, nullptr);
  EXPECT_NEAR(net->sumI / net->sumG, 0.65, 1e-3);
  // Steady: the smoothed current approaches 43.5 mA and stays within the
  // 0.2 A rating.
  b.bench.Step(300, 0.01f);
  EXPECT_NEAR(b.d->smoothedCurrent, 0.0435f, 1e-4f);
  EXPECT_EQ(b.d->burnt, 0);
  EXPECT_EQ(log.Count(), 0);
}

TEST(Diod, SteadyOverCurrentBurnsAfterTheSmoothingTime) {
  // 3.65 V behind 10 ohm: (3.65 - 0.65) / 10 = 0.3 A, under the 0.45 A
  // peak. The smoothed current I (1 - (1 - dt/0.3)^n) passes 0.2 A when
  // (1 - dt/0.3)^n < 1/3: about 0.3 ln 3 = 0.33 s.
  LogCapture log;
  Biased b(3.65f, 10, 0, kSchMinResistance);
  const double I = 3.0 / (10 + 1e-5), dt = 0.001;
  const int expectedStep = static_cast<int>(std::ceil(std::log(1 - 0.2 / I) / std::log(1 - dt / 0.3)));
  EXPECT_EQ(expectedStep, 330);
  int burntAt = 0;
  for (int n = 1; n <= 500 && !burntAt; n++) {
    b.bench.Step(1, 0.001f);
    if (b.d->burnt) burntAt = n;
  }
  EXPECT_NEAR(burntAt, expectedStep, 1);
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.Messages()[0], L"Диод \"VD1\" вышел из строя!");
  // From the next step on both pins are 0 V behind 5 megohms.
  b.bench.Step(3, 0.001f);
  for (int i = 0; i < 2; i++) {
    EXPECT_EQ(b.d->pins[i].G, 1 / 5e6f);
    EXPECT_EQ(b.d->pins[i].I, 0.0f);
  }
  EXPECT_EQ(log.Count(), 1);
}

TEST(Diod, PeakForwardCurrentBurnsAtOnce) {
  LogCapture log;
  Biased b(5.65f, 10, 0, kSchMinResistance);  // 0.5 A > 0.45 A
  b.bench.Step(1, 0.001f);
  EXPECT_EQ(b.d->burnt, 1);
  EXPECT_EQ(log.Count(), 1);
}

TEST(Diod, ReverseVoltageBlocksOrBurnsAtOnce) {
  {
    // 50 V reverse: blocks, both sides see 5 megohms; the smoothed voltage
    // approaches 50 V and stays within 100 V.
    LogCapture log;
    Biased b(0, kSchMinResistance, 50, kSchMinResistance);
    b.bench.Step(500, 0.01f);
    EXPECT_EQ(b.d->burnt, 0);
    EXPECT_NEAR(b.d->smoothedVoltage, 50.0f, 0.01f);
    EXPECT_EQ(b.d->smoothedCurrent, 0.0f);
    float R = 0;
    // (the net sums carry the rounding of 50 V behind 10 microohms)
    Bench::Read(b.anode, 0, &R);
    EXPECT_NEAR(R, 5e6f, 500);
    Bench::Read(b.cathode, 0, &R);
    EXPECT_NEAR(R, 5e6f, 500);
    EXPECT_EQ(log.Count(), 0);
  }
  {
    // 150 V: over the 100 V peak in the first step.
    LogCapture log;
    Biased b(0, kSchMinResistance, 150, kSchMinResistance);
    b.bench.Step(1, 0.01f);
    EXPECT_EQ(b.d->burnt, 1);
    ASSERT_EQ(log.Count(), 1);
    EXPECT_EQ(log.Messages()[0], L"Диод \"VD1\" вышел из строя!");
  }
}

TEST(Diod, RowWithoutLimitsBurnsAtTheFirstReverseVoltage) {
  LogCapture log;
  Biased b(0, kSchMinResistance, 1, kSchMinResistance);
  DbRow row(L"diod", {{"model", "bare"}, {"Vf", "0.6"}});
  b.d->ApplyDbRecord(row.Record());
  b.bench.Step(1, 0.01f);
  EXPECT_EQ(b.d->burnt, 1);
  EXPECT_EQ(log.Count(), 1);
}

TEST(Diod, LimitThatIsNotANumberBurns) {
  LogCapture log;
  Biased b(1, 100, 0, kSchMinResistance);
  b.d->continuousForwardCurrent = NAN;
  b.bench.Step(1, 0.01f);
  EXPECT_EQ(b.d->burnt, 1);
  EXPECT_EQ(log.Count(), 1);
}

TEST(Diod, JustBelowTheDropBlocks) {
  Biased b(0.64f, 1, 0, kSchMinResistance);
  b.bench.Step(3, 0.01f);
  float R = 0;
  Bench::Read(b.anode, 0, &R);
  EXPECT_NEAR(R, 5e6f, 1);
  EXPECT_EQ(b.d->smoothedCurrent, 0.0f);
  // 10 mV over the drop conducts.
  b.anode->Drive(0, 0.66f, 1);
  b.bench.Step(3, 0.01f);
  EXPECT_NEAR(Bench::Read(b.anode, 0, &R), 0.65f, 1e-4f);
  EXPECT_LT(R, 1e-3f);
}

TEST(Diod, StartClearsTheSmoothedValues) {
  Biased b(5, 100, 0, kSchMinResistance);
  b.bench.Step(10, 0.01f);
  EXPECT_GT(b.d->smoothedCurrent, 0.0f);
  b.d->smoothedVoltage = 3;
  b.bench.Stop();
  b.bench.Build();
  b.bench.Start();
  EXPECT_EQ(b.d->smoothedCurrent, 0.0f);
  EXPECT_EQ(b.d->smoothedVoltage, 0.0f);
}

// ------------------------------------------------------------ drawing

TEST(Diod, SymbolTriangleBarAndTexts) {
  Bench bench;
  auto* d = bench.Create<CSCHDiod>("diod");
  Apply1N4007(d);
  comptest::SymbolCanvas canvas(120, 60);
  EXPECT_TRUE(canvas.Paint(d, 10, 10));  // 10..26 x 10..46
  EXPECT_EQ(canvas.Pixel(18, 12), kBlack);  // the line through
  EXPECT_EQ(canvas.Pixel(18, 44), kBlack);
  EXPECT_EQ(canvas.Pixel(12, 20), kBlack);  // the triangle's base
  EXPECT_EQ(canvas.Pixel(24, 20), kBlack);
  EXPECT_EQ(canvas.Pixel(12, 36), kBlack);  // the bar at the cathode
  EXPECT_EQ(canvas.Pixel(24, 36), kBlack);
  EXPECT_EQ(canvas.Pixel(24, 30), kWhite);  // beside the triangle
  EXPECT_EQ(canvas.Pixel(12, 30), kWhite);
  EXPECT_GT(canvas.InkIn(30, 20, 120, 34), 0);  // name
  EXPECT_GT(canvas.InkIn(30, 36, 120, 50), 0);  // model
  EXPECT_TRUE(canvas.Save(L"diod_symbol.bmp"));
}

TEST(Diod, FootprintLeadBodyAndBand) {
  Bench bench;
  auto* d = bench.Create<CSCHDiod>("diod");  // capsule 1.85 x 4.25, scheme 1
  const COLORREF lead = RGB(204, 221, 255);
  {
    comptest::FootprintCanvas board(20, 300, 300);
    EXPECT_TRUE(board.Paint(d));
    EXPECT_EQ(board.At(0, -0.6f), kBlack);              // the band, 1 mm in
    EXPECT_EQ(board.At(0, 1.0f), RGB(204, 170, 153));   // body
    EXPECT_EQ(board.At(0, -1.6f), RGB(204, 170, 153));  // between the end and the band
    EXPECT_EQ(board.At(0, 3.5f), lead);
    EXPECT_EQ(board.At(0, -3.5f), lead);
    EXPECT_EQ(board.At(0.85f, 2.0f), kWhite);  // a rounded end
    EXPECT_EQ(board.At(0, 4.5f), kWhite);
    EXPECT_TRUE(board.Save(L"diod_footprint.bmp"));
  }
  {
    d->colorScheme = 0;
    d->bodyShape = kElecDiodRectangular;
    comptest::FootprintCanvas board(20, 300, 300);
    EXPECT_TRUE(board.Paint(d));
    EXPECT_EQ(board.At(0, -0.6f), RGB(204, 204, 204));
    EXPECT_EQ(board.At(0, 1.0f), RGB(51, 51, 51));
    EXPECT_EQ(board.At(0.8f, 1.9f), RGB(51, 51, 51));  // square corners
  }
  {
    d->bodyShape = 2;  // no body: the lead and the band only
    comptest::FootprintCanvas board(20, 300, 300);
    EXPECT_TRUE(board.Paint(d));
    EXPECT_EQ(board.At(0, 1.0f), lead);
    EXPECT_EQ(board.At(0.6f, -0.6f), RGB(204, 204, 204));
    EXPECT_EQ(board.At(0.6f, 1.0f), kWhite);
  }
}

}  // namespace
