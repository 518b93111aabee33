// The potentiometric angle sensor: creation, database rows, its record, the
// wiper following the shaft with its noise, the ends of the winding, the
// burn-out past them, the sensor without a stop, and its picture.
#include "components/devices/sensors/potentiometric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "kestui/graphics/image.h"
#include "components/electronic/resister.h"
#include "support/test_support.h"
#include "tests/components/devices/sensors/sensor_kit.h"

namespace {

using comptest::DbRow;
using comptest::Golden;
using comptest::LogCapture;
using devtest::DeviceBench;

const float kPi = 3.1415927f;
const float kOpen = kSchOpenResistance;
// A reader sees an open pin's 5 megohm through the difference of its net's
// sums, exact to some parts in a million.
const float kOpenTolerance = 1e-4f * kSchOpenResistance;
const wchar_t kTornOffE1[] = L"Датчик \"E1\" был свернут с оси";

TEST(Potentiometric, CreatedThroughTheRegistryWithItsDefaults) {
  DeviceBench bench;
  auto* p = bench.Create<CSCHPotentiometric>("potentiometric");
  ASSERT_NE(p, nullptr);
  EXPECT_STREQ(p->className, "potentiometric");
  EXPECT_EQ(p->rect.right - p->rect.left, 107);
  EXPECT_EQ(p->rect.bottom - p->rect.top, 55);
  EXPECT_EQ(p->halfAngle, 2 * kPi);
  EXPECT_EQ(p->R, 4700.0f);
  EXPECT_EQ(p->friction, 0.0f);
  EXPECT_EQ(p->shaftAngle, 0.0f);
  ASSERT_EQ(p->pinCount, 3);
  const wchar_t* texts[3] = {L"Обмотка", L"Ползунок", L"Обмотка"};
  const int offsets[3] = {47, 28, 5};
  for (int i = 0; i < 3; i++) {
    EXPECT_STREQ(p->pins[i].description, texts[i]) << i;
    EXPECT_EQ(p->pins[i].name, nullptr) << i;
    EXPECT_EQ(p->pins[i].side, kSchSideRight) << i;
    EXPECT_EQ(p->pins[i].offset, offsets[i]) << i;
  }
}

TEST(Potentiometric, DatabaseRowSetsEveryField) {
  DeviceBench bench;
  auto* p = bench.Create<CSCHPotentiometric>("potentiometric");
  DbRow row(L"potentiometric", {{"model", "WDD35D4"}, {"maxAngle", "180"}, {"R", "10000"}, {"friction", "0.005"},
                                {"Form", "3"}, {"mass", "0.04"}, {"Length", "35"}, {"Width", "30"},
                                {"Height", "25"}, {"price", "1200"}});
  p->ApplyDbRecord(row.Record());
  // The whole working angle in degrees, kept as half of it in radians.
  EXPECT_EQ(p->halfAngle, kPi / 2);
  EXPECT_EQ(p->R, 10000.0f);
  EXPECT_EQ(p->friction, 0.005f);
  EXPECT_EQ(p->form, 3);
  EXPECT_EQ(p->mass, 0.04f);
  EXPECT_FLOAT_EQ(p->length, 0.035f);
  EXPECT_FLOAT_EQ(p->width, 0.03f);
  EXPECT_FLOAT_EQ(p->height, 0.025f);
  EXPECT_STREQ(p->model, "WDD35D4");
  EXPECT_STREQ(p->tableName, L"potentiometric");
  EXPECT_EQ(p->pinCount, 3);
}

TEST(Potentiometric, SampleDatabaseRows) {
  devtest::DeviceRegistryScope registry;
  comptest::SampleTable table(L"potentiometric");
  ASSERT_TRUE(table.loaded);
  ASSERT_GE(table.table.GetRecordCount(), 2);
  bool endless = false;
  for (int i = 0; i < table.table.GetRecordCount(); i++) {
    CompDbRecord* row = table.table.GetRecord(i);
    EXPECT_STREQ(row->GetTextByName("class"), "potentiometric");
    auto p = comptest::NewDetached<CSCHPotentiometric>("potentiometric");
    p->ApplyDbRecord(row);
    EXPECT_GT(p->R, 0.0f);
    EXPECT_GE(p->halfAngle, 0.0f);
    EXPECT_LE(p->halfAngle, kPi);
    if (p->halfAngle == 0) endless = true;
  }
  EXPECT_TRUE(endless);
  CompDbRecord* wdd = table.Find("WDD35D4");
  ASSERT_NE(wdd, nullptr);
  auto p = comptest::NewDetached<CSCHPotentiometric>("potentiometric");
  p->ApplyDbRecord(wdd);
  EXPECT_FLOAT_EQ(p->halfAngle, 345 * kPi / 360);
}

void FillSensor(CSCHPotentiometric* p) {
  p->halfAngle = 1.5f;
  p->R = 2200;
  p->friction = 0.004f;
  p->form = 1;
  p->mass = 0.03f;
  p->SetName(L"E1");
  p->SetModel("RV24YN");
}

TEST(Potentiometric, RecordLayoutReadsBackAndEveryCutLoadsSafely) {
  devtest::DeviceRegistryScope registry;
  auto p = comptest::NewDetached<CSCHPotentiometric>("potentiometric");
  FillSensor(p.get());
  EXPECT_TRUE(velktest::BytesEqual(devtest::FieldsBefore<CSCHDevice>(p.get()),
                                   Golden().F(1.5f).F(2200).F(0.004f).Bytes()));
  std::vector<uint8_t> bytes = comptest::SaveBytes(p.get());
  comptest::ForEachTruncation<CSCHPotentiometric>("potentiometric", bytes, [&](CSCHPotentiometric* copy, size_t n) {
    if (n < CSCHPotentiometric::kOwnRecordBytes) {
      EXPECT_EQ(copy->halfAngle, 2 * kPi);
      EXPECT_EQ(copy->R, 4700.0f);
    } else {
      EXPECT_EQ(copy->halfAngle, 1.5f);
      EXPECT_EQ(copy->R, 2200.0f);
      EXPECT_EQ(copy->friction, 0.004f);
    }
    EXPECT_EQ(copy->pinCount, 3);
    if (n == bytes.size()) {
      EXPECT_STREQ(copy->instanceName, L"E1");
      EXPECT_EQ(copy->form, 1);
      EXPECT_EQ(copy->mass, 0.03f);
      EXPECT_TRUE(velktest::BytesEqual(devtest::ResavedBytes(copy), bytes));
    }
  });
}

TEST(Potentiometric, SchemeWithASensorReadsBack) {
  DeviceBench bench;
  auto* p = bench.Create<CSCHPotentiometric>("potentiometric");
  FillSensor(p);
  // A part the registry knows: the reader makes every block by its class.
  bench.Wire(p, 1, bench.Create<CSCHResister>("Resister"), 0);
  std::unique_ptr<SchScheme> copy = comptest::ReadBack(bench.scheme);
  ASSERT_TRUE(copy);
  auto* back = dynamic_cast<CSCHPotentiometric*>(copy->FindBlockByName(L"E1"));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->R, 2200.0f);
  EXPECT_TRUE(back->pins[1].wire && !back->pins[0].wire && !back->pins[2].wire);
}

// A 1000-ohm potentiometer of a quarter turn either way between 0 V (pin 0)
// and 10 V (pin 2), ideal, the wiper's probe idle.
struct DividerRig : sensortest::ProbedSensor<CSCHPotentiometric> {
  explicit DividerRig(float half = kPi / 2) : ProbedSensor("potentiometric") {
    sensor->halfAngle = half;
    sensor->R = 1000;
    Wire();
    Drive(0, 0, kSchMinResistance);
    Drive(2, 10, kSchMinResistance);
  }
  // What the wiper's probe and pin 0's source should see with the wiper at
  // w (0 to 1) of the travel from pin 0, as the winding's two parts Ra and
  // Rb join the nets (U1 behind R1 the idle wiper net: 0 V behind 5 Mohm).
  static void Expected(double w, double* wiperU, double* wiperR, double* endU, double* endR) {
    const double Ra = 1000 * w, Rb = 1000 * (1 - w);
    const double R0 = kSchMinResistance, R2 = kSchMinResistance, R1 = kOpen;
    double g = 1 / (R0 + Ra) + 1 / (R2 + Rb);
    *wiperU = (0 / (R0 + Ra) + 10 / (R2 + Rb)) / g;
    *wiperR = 1 / g;
    g = 1 / R1 + 1 / (R2 + Rb);
    *endU = (0 / R1 + 10 / (R2 + Rb)) / g;
    *endR = 1 / g + Ra;
  }
  // The wiper's travel with the noise of the pseudo-random value r, kept on
  // the winding.
  static double Travel(double x, int r) {
    double w = (x + 1) / 2 + (r % 32768) * 0.005 / 32767 - 0.0025;
    return w < 0 ? 0 : (w > 1 ? 1 : w);
  }
};

// Records no database row gives: working angles and windings that are
// negative, zero or no numbers. Each reads back byte for byte, and the
// sensor steps at any shaft angle without a drive that is no number.
TEST(Potentiometric, HostileRecordsReadBackAndStepSafely) {
  const float kNaN = std::numeric_limits<float>::quiet_NaN();
  const float kInf = std::numeric_limits<float>::infinity();
  struct Case {
    float half, R;
  };
  const Case cases[] = {
      {kNaN, 1000}, {kInf, 1000}, {-1, 1000}, {1, 0},     {1, -1000},
      {0, kNaN},    {0, kInf},    {0, -kInf}, {1e-30f, 1}, {-kInf, 1e30f},
  };
  devtest::DeviceRegistryScope registry;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.half) + " " + std::to_string(c.R));
    auto source = comptest::NewDetached<CSCHPotentiometric>("potentiometric");
    source->SetName(L"E1");
    CMemoryStream device;
    source->CSCHDevice::Save(&device);
    const std::vector<uint8_t> bytes =
        devtest::Concat(Golden().F(c.half).F(c.R).F(kNaN).Bytes(), comptest::StreamBytes(device));
    auto p = comptest::NewDetached<CSCHPotentiometric>("potentiometric");
    comptest::LoadBytes(p.get(), bytes);
    EXPECT_EQ(p->pinCount, 3);
    EXPECT_STREQ(p->instanceName, L"E1");
    EXPECT_TRUE(velktest::BytesEqual(devtest::ResavedBytes(p.get()), bytes));

    LogCapture log;
    DividerRig rig(c.half);
    rig.sensor->R = c.R;
    rig.Start();
    for (float angle : {0.0f, 0.5f, -0.5f, 4.0f, -4.0f, 1e30f, kInf, kNaN, 0.0f}) {
      SCOPED_TRACE(angle);
      rig.StepAt(angle);
      for (int i = 0; i < 3; i++) {
        float R = 0;
        const float U = rig.Read(i, &R);
        EXPECT_FALSE(std::isnan(U)) << i;
        EXPECT_TRUE(R > 0) << i;
      }
    }
    rig.bench.Stop();
    EXPECT_EQ(log.Count(), rig.sensor->burnt ? 1 : 0);
  }
}

TEST(Potentiometric, TheWiperFollowsTheShaftWithItsNoise) {
  LogCapture log;
  sensortest::RandomSeed seed(11);
  const std::vector<int> r = seed.Next(6);
  DividerRig rig;
  rig.Start();
  struct Case {
    float angle;
    double x;  // angle / half angle
  };
  // The middle, a quarter, both ends (the noise there is cut at the end).
  const Case cases[] = {{0, 0}, {kPi / 4, 0.5}, {-kPi / 4, -0.5}, {kPi / 2, 1}, {-kPi / 2, -1}, {0.1f, 0.1f / (kPi / 2)}};
  for (size_t i = 0; i < 6; i++) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.angle);
    rig.StepAt(c.angle);
    const double w = DividerRig::Travel(c.x, r[i]);
    EXPECT_NEAR(w, (c.x + 1) / 2, 0.0025 + 1e-9);
    double wiperU, wiperR, endU, endR;
    DividerRig::Expected(w, &wiperU, &wiperR, &endU, &endR);
    float R = 0;
    EXPECT_NEAR(rig.Read(1, &R), wiperU, 1e-4);
    EXPECT_NEAR(R, wiperR, 1e-3);
    // Pin 0's source sees the winding to pin 2's 10 V: about 10 V behind
    // 1000 ohm.
    EXPECT_NEAR(rig.Read(0, &R), endU, 1e-4);
    EXPECT_NEAR(R, endR, 1e-2);
  }
  EXPECT_FALSE(rig.sensor->burnt);
  EXPECT_EQ(log.Count(), 0);
  rig.bench.Stop();
}

TEST(Potentiometric, AtItsEndsTheWiperMeetsThePinsOfTheWinding) {
  // Whatever the noise, the wiper at the end of a quarter turn reaches pin
  // 2 (Rb about 0) and at the other end pin 0.
  for (unsigned s : {1u, 2u, 3u, 4u, 5u}) {
    SCOPED_TRACE(s);
    sensortest::RandomSeed seed(s);
    DividerRig rig;
    rig.Start();
    rig.StepAt(kPi / 2);
    float R = 0;
    EXPECT_NEAR(rig.Read(1, &R), 10.0f, 0.025f);
    EXPECT_LE(R, 2.5f);
    EXPECT_GE(R, 0.0f);
    rig.StepAt(-kPi / 2);
    EXPECT_NEAR(rig.Read(1, &R), 0.0f, 0.025f);
    EXPECT_LE(R, 2.5f);
    EXPECT_FALSE(rig.sensor->burnt);
    rig.bench.Stop();
  }
}

TEST(Potentiometric, TurnedJustPastAnEndItIsTornOffItsShaft) {
  for (float past : {kPi / 2 + 0.01f, -kPi / 2 - 0.01f}) {
    SCOPED_TRACE(past);
    LogCapture log;
    DividerRig rig;
    rig.Start();
    rig.StepAt(0);
    rig.StepAt(past);
    EXPECT_TRUE(rig.sensor->burnt);
    EXPECT_EQ(log.Messages(), std::vector<std::wstring>{kTornOffE1});
    // From the next step on its pins float; the message is not repeated,
    // and Start keeps the flag.
    rig.StepAt(0, 2);
    for (int i = 0; i < 3; i++) {
      float R = 0;
      EXPECT_NEAR(rig.Read(i, &R), 0.0f, 1e-6f) << i;
      EXPECT_NEAR(R, kOpen, kOpenTolerance) << i;
    }
    EXPECT_EQ(log.Count(), 1);
    rig.sensor->Start();
    EXPECT_TRUE(rig.sensor->burnt);
    rig.bench.Stop();
  }
}

TEST(Potentiometric, WithoutAStopItNeverBurns) {
  LogCapture log;
  sensortest::RandomSeed seed(3);
  const std::vector<int> r = seed.Next(3);
  DividerRig rig(0);
  rig.Start();
  // Half a turn either way spans the winding: pi / 2 is three quarters.
  rig.StepAt(kPi / 2);
  double wiperU, wiperR, endU, endR;
  DividerRig::Expected(DividerRig::Travel(0.5, r[0]), &wiperU, &wiperR, &endU, &endR);
  EXPECT_NEAR(rig.Read(1), wiperU, 1e-4);
  // Beyond half a turn the wiper stays at the end of the winding.
  for (float angle : {10.0f, -100.0f}) {
    rig.StepAt(angle);
    float R = 0;
    EXPECT_NEAR(rig.Read(1, &R), angle > 0 ? 10.0f : 0.0f, 1e-4f);
    EXPECT_LT(R, 1e-3f);
  }
  EXPECT_FALSE(rig.sensor->burnt);
  EXPECT_EQ(log.Count(), 0);
  rig.bench.Stop();
}

TEST(Potentiometric, AnAngleThatIsNoNumberLeavesTheWiperWhereItWas) {
  DividerRig rig;
  rig.Start();
  rig.StepAt(kPi / 4);  // three quarters of the travel
  EXPECT_NEAR(rig.Read(1), 7.5f, 0.026f);
  rig.StepAt(std::numeric_limits<float>::quiet_NaN());
  EXPECT_NEAR(rig.Read(1), 7.5f, 0.026f);
  EXPECT_FALSE(rig.sensor->burnt);
  rig.bench.Stop();
}

TEST(Potentiometric, PictureAndName) {
  comptest::IconsFolderScope icons(devtest::ShippedIconsFolder());
  DeviceBench bench;
  auto* p = bench.Create<CSCHPotentiometric>("potentiometric");
  p->SetName(L"E1");
  comptest::SymbolCanvas canvas(150, 90);
  EXPECT_TRUE(canvas.Paint(p, 20, 10));
  // The knob, the winding and the leads to the pins at 8, 27 and 50 px down.
  EXPECT_EQ(canvas.Pixel(20 + 12, 10 + 35), RGB(60, 120, 200));
  EXPECT_EQ(canvas.Pixel(20 + 68, 10 + 30), RGB(150, 90, 40));
  for (int y : {7, 26, 50}) EXPECT_EQ(canvas.Pixel(20 + 105, 10 + y), RGB(0, 0, 0)) << y;
  // The name below, centred over the 107 px.
  EXPECT_GT(canvas.InkIn(20 + 36, 65, 20 + 71, 85), 0);
  EXPECT_EQ(canvas.InkIn(0, 65, 20 + 36, 90), 0);
  EXPECT_EQ(canvas.InkIn(20 + 71, 65, 150, 90), 0);
  EXPECT_TRUE(canvas.Save(L"potentiometric_symbol.bmp"));
  comptest::FootprintCanvas board(10, 100, 100);
  EXPECT_TRUE(board.Paint(p));
  EXPECT_EQ(board.InkCount(), 0);
}

TEST(Potentiometric, ShippedPictureFitsTheSymbol) {
  CKestImage picture;
  ASSERT_EQ(picture.Load((devtest::ShippedIconsFolder() + L"potentiometric.png").c_str()), S_OK);
  EXPECT_EQ(picture.GetWidth(), 107);
  EXPECT_EQ(picture.GetHeight(), 55);
}

}  // namespace
