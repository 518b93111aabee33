// The radio link model and the external antenna: link strengths worked by
// hand, the antenna's record, what it publishes on its RF net, burn-out and
// its symbol.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "component_kit.h"
#include "components/electronic/radio/antenna.h"
#include "components/electronic/radio/radio_link.h"
#include "foundation/vecmath.h"
#include "support/test_support.h"

namespace {

using comptest::Bench;
using comptest::LogCapture;

const float kTwoPi = 6.2831855f;

// A pose with the given local X and Y axes (Z = X x Y) at a position.
Mat4f Pose(Vec3f x, Vec3f y, Vec3f at) {
  Vec3f z = {x.y * y.z - x.z * y.y, x.z * y.x - x.x * y.z, x.x * y.y - x.y * y.x};
  Mat4f m = {{x.x, x.y, x.z, 0, y.x, y.y, y.z, 0, z.x, z.y, z.z, 0, at.x, at.y, at.z, 1}};
  return m;
}
Mat4f At(float x, float y, float z) { return Pose({1, 0, 0}, {0, 1, 0}, {x, y, z}); }

struct End {
  Mat4f pose;
  unsigned char axis;
  float around, along;
};

struct LinkCase {
  const char* what;
  End a, b;
  double expected;  // 1.5e8 x P^2 / d2 x the beam factors, worked by hand
};

TEST(RadioLink, StrengthTable) {
  const double base = 1.5e8 * 100 / 100;  // P = 10 x 1 at both ends, 10 m apart
  const double offAxis = kTwoPi * std::exp(-1.0 / 1.5);
  const Mat4f facingBack = Pose({-1, 0, 0}, {0, -1, 0}, {10, 0, 0});
  const LinkCase cases[] = {
      {"omnidirectional ends 10 m apart", {At(0, 0, 0), 2, 0, 0}, {At(10, 0, 0), 2, 0, 0}, base},
      {"closer than 1 m counts as 1 m", {At(0, 0, 0), 2, 0, 0}, {At(0.5f, 0, 0), 2, 0, 0}, 1.5e10},
      {"the same point", {At(1, 2, 3), 2, 0, 0}, {At(1, 2, 3), 2, 0, 0}, 1.5e10},
      {"A's X' axis at B: 2 pi / w", {At(0, 0, 0), 2, 1, 0}, {At(10, 0, 0), 2, 0, 0}, base * kTwoPi},
      {"B one width off A's axis",
       {At(0, 0, 0), 2, 1, 0},
       {At(10 * std::cos(1.0f), 10 * std::sin(1.0f), 0), 2, 0, 0},
       base * offAxis},
      {"both facing each other", {At(0, 0, 0), 2, 1, 0}, {facingBack, 2, 1, 0}, base * kTwoPi * kTwoPi},
      {"B facing away is off its beam by pi",
       {At(0, 0, 0), 2, 0, 0},
       {At(10, 0, 0), 2, 1, 0},
       base * kTwoPi * std::exp(-9.8696044 / 1.5)},
      {"full-circle widths are omnidirectional",
       {At(0, 0, 0), 2, kTwoPi, kTwoPi},
       {At(10, 0, 0), 2, kTwoPi, kTwoPi},
       base},
      {"a width along of pi is a beam at both ends",
       {At(0, 0, 0), 2, 0, 3.1415927f},
       {At(10, 0, 0), 2, 0, 3.1415927f},
       base * 2 * 2},
      {"axis 0 turns the pose's X into the beam axis (X' = -Z)",
       {At(0, 0, 0), 0, 1, 0},
       {At(0, 0, -10), 2, 0, 0},
       base * kTwoPi},
      {"axis 1 turns the pose's Y into the beam axis: B on it is pi/2 off the beam plane",
       {At(0, 0, 0), 1, 0, 1},
       {At(0, 10, 0), 2, 0, 0},
       base * kTwoPi * std::exp(-2.4674011 / 1.5)},
      {"axis 2 keeps the pose: B on its Y is in the beam plane",
       {At(0, 0, 0), 2, 0, 1},
       {At(0, 10, 0), 2, 0, 0},
       base * kTwoPi},
  };
  for (const LinkCase& c : cases) {
    SCOPED_TRACE(c.what);
    float ab = ComputeRadioLinkGain(&c.a.pose, c.a.axis, c.a.around, c.a.along, 10, 1, &c.b.pose, c.b.axis,
                                    c.b.around, c.b.along, 10, 1);
    float ba = ComputeRadioLinkGain(&c.b.pose, c.b.axis, c.b.around, c.b.along, 10, 1, &c.a.pose, c.a.axis,
                                    c.a.around, c.a.along, 10, 1);
    EXPECT_NEAR(ab, c.expected, c.expected * 1e-5);
    EXPECT_NEAR(ba, ab, ab * 1e-6) << "the link is the same seen from either end";
  }
}

TEST(RadioLink, EffectivePowerIsTheWeakerEnd) {
  Mat4f a = At(0, 0, 0), b = At(10, 0, 0);
  // min(10 x 2, 4 x 3) = 12: 1.5e8 x 144 / 100.
  EXPECT_NEAR(ComputeRadioLinkGain(&a, 2, 0, 0, 10, 2, &b, 2, 0, 0, 4, 3), 2.16e8, 1e3);
}

TEST(RadioLink, AMissingPoseHasNoLink) {
  Mat4f a = At(0, 0, 0);
  EXPECT_EQ(ComputeRadioLinkGain(nullptr, 2, 0, 0, 10, 1, &a, 2, 0, 0, 10, 1), 0.0f);
  EXPECT_EQ(ComputeRadioLinkGain(&a, 2, 0, 0, 10, 1, nullptr, 2, 0, 0, 10, 1), 0.0f);
}

TEST(RadioLink, AsymmetricPosesGiveTheSameStrengthBothWays) {
  Mat4f a = Pose({0.6f, 0.8f, 0}, {-0.8f, 0.6f, 0}, {1, 2, 3});
  Mat4f b = Pose({0, 0, 1}, {1, 0, 0}, {-4, 7, 1});
  for (unsigned char axisA = 0; axisA < 3; axisA++)
    for (unsigned char axisB = 0; axisB < 3; axisB++) {
      float ab = ComputeRadioLinkGain(&a, axisA, 0.7f, 1.1f, 5, 2, &b, axisB, 1.3f, 0.4f, 8, 1);
      float ba = ComputeRadioLinkGain(&b, axisB, 1.3f, 0.4f, 8, 1, &a, axisA, 0.7f, 1.1f, 5, 2);
      EXPECT_NEAR(ab, ba, std::fabs(ab) * 1e-5 + 1e-6) << int(axisA) << int(axisB);
      EXPECT_TRUE(std::isfinite(ab));
    }
}

TEST(RadioLink, OffBandFactorFallsOffTheBand) {
  EXPECT_FLOAT_EQ(RadioOffBandFactor(2400, 100), 1.0f);
  // x = 50 x 3 / 100 = 1.5: exp(-2.25).
  EXPECT_NEAR(RadioOffBandFactor(2450, 100), 0.10539922f, 1e-6);
  EXPECT_NEAR(RadioOffBandFactor(2350, 100), 0.10539922f, 1e-6);
  // Far off the band: finite and below the in-band factor.
  float offBand = RadioOffBandFactor(5800, 1);
  EXPECT_TRUE(std::isfinite(offBand));
  EXPECT_LT(offBand, 1.0f);
  EXPECT_GE(offBand, 0.0f);
  // No bandwidth: no loss.
  EXPECT_FLOAT_EQ(RadioOffBandFactor(5800, 0), 1.0f);
  EXPECT_FLOAT_EQ(RadioOffBandFactor(5800, NAN), 1.0f);
}

TEST(Antenna, CreatedThroughTheRegistry) {
  Bench bench;
  auto* a = bench.Create<CSCHAntenna>("Antenna");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->rect.right - a->rect.left, 40);
  EXPECT_EQ(a->rect.bottom - a->rect.top, 30);
  EXPECT_EQ(a->namePrefix, nullptr);
  ASSERT_EQ(a->pinCount, 1);
  EXPECT_EQ(a->pins[0].name, nullptr);
  EXPECT_STREQ(a->pins[0].description, L"ВЧ-разъем");
  EXPECT_EQ(a->pins[0].kind, kSchPinRf);
  EXPECT_EQ(a->pins[0].side, kSchSideBottom);
  EXPECT_EQ(a->pins[0].offset, 20);
  EXPECT_EQ(a->axis, 0);
  EXPECT_FLOAT_EQ(a->widthAlong, 1.0f);
  EXPECT_FLOAT_EQ(a->gain, 3.0f);
  EXPECT_FLOAT_EQ(a->centreFrequency, 2400.0f);
  EXPECT_FLOAT_EQ(a->linearGain, 2.0f);
}

TEST(Antenna, RecordAndGoldenBytes) {
  comptest::RegistryScope registry;
  auto a = comptest::NewDetached<CSCHAntenna>("Antenna");
  ASSERT_TRUE(a);
  comptest::DbRow row(L"antennas", {{"model", "ANT-9"}, {"active", "1"}, {"U", "5"}, {"I", "0.1"},
                                    {"freq", "2450"}, {"range", "100"}, {"axis", "1"}, {"around", "90"},
                                    {"along", "180"}, {"dBI", "6"}});
  a->ApplyDbRecord(row.Record());
  EXPECT_EQ(a->active, 1);
  EXPECT_EQ(a->axis, 1);
  EXPECT_FLOAT_EQ(a->widthAround, 90 * 3.1415927f / 180);
  EXPECT_FLOAT_EQ(a->widthAlong, 180 * 3.1415927f / 180);
  EXPECT_STREQ(a->model, "ANT-9");

  std::vector<uint8_t> all = comptest::SaveBytes(a.get());
  std::vector<uint8_t> golden = comptest::Golden()
                                    .B(1)
                                    .F(5)
                                    .F(0.1f)
                                    .F(2450)
                                    .F(100)
                                    .B(1)
                                    .F(1.5707964f)
                                    .F(3.1415927f)
                                    .F(6)
                                    .Bytes();
  ASSERT_GT(all.size(), golden.size());
  EXPECT_TRUE(velktest::BytesEqual(std::vector<uint8_t>(all.begin(), all.begin() + golden.size()), golden));
  CMemoryStream device;
  a->CSCHDevice::Save(&device);
  EXPECT_TRUE(velktest::BytesEqual(std::vector<uint8_t>(all.begin() + golden.size(), all.end()),
                                   comptest::StreamBytes(device)));

  auto copy = comptest::NewDetached<CSCHAntenna>("Antenna");
  comptest::LoadBytes(copy.get(), all);
  copy->flags &= static_cast<unsigned char>(~kSchLoaded);  // read, not yet resolved
  EXPECT_TRUE(velktest::BytesEqual(comptest::SaveBytes(copy.get()), all));

  comptest::ForEachTruncation<CSCHAntenna>("Antenna", all, [](CSCHAntenna* c, size_t) {
    EXPECT_LE(c->axis, 2);
    EXPECT_EQ(c->pinCount, 1);
  });
}

TEST(Antenna, OutOfRangeAxisIsClamped) {
  comptest::RegistryScope registry;
  auto a = comptest::NewDetached<CSCHAntenna>("Antenna");
  comptest::DbRow row(L"antennas", {{"model", "X"}, {"axis", "7"}});
  a->ApplyDbRecord(row.Record());
  EXPECT_EQ(a->axis, 2);
  std::vector<uint8_t> bytes = comptest::SaveBytes(a.get());
  bytes[17] = 200;  // the axis byte
  comptest::LoadBytes(a.get(), bytes);
  EXPECT_EQ(a->axis, 2);
}

// An antenna on an RF net of its own with an undriven RF part at the other
// end; the net's first current sum is the DC feed.
struct AntennaRig {
  Bench bench;
  CSCHAntenna* antenna = bench.Create<CSCHAntenna>("Antenna");
  circuit::Part* cable = bench.Part(1, kSchPinRf);
  AntennaRig() {
    antenna->SetName(L"ANT1");
    bench.Wire(antenna, 0, cable, 0);
  }
  SchNet* Net() { return antenna->pins[0].net; }
  void Feed(float volts) {
    Net()->sumI = volts;
    antenna->Step(1e-3f);
  }
};

TEST(Antenna, PassiveAntennaPublishesItsGain) {
  AntennaRig rig;
  rig.bench.Run(1);
  ASSERT_NE(rig.Net(), nullptr);
  EXPECT_EQ(rig.Net()->sourceKind, kSchSourceAntenna);
  EXPECT_EQ(CSCHAntenna::FromNet(rig.Net()), rig.antenna);
  EXPECT_EQ(rig.antenna->sourceRecord.tag, 16903);
  EXPECT_NEAR(rig.antenna->linearGain, 1.9952623f, 1e-5);
  rig.bench.Stop();
}

TEST(Antenna, ActiveAntennaFeeding) {
  AntennaRig rig;
  rig.antenna->active = 1;
  rig.antenna->U = 5;
  LogCapture log;
  rig.bench.Run(1);
  struct Feed {
    float volts;
    bool onAir;
    float gain;
  } feeds[] = {{4, true, 1.9952623f * 0.8f}, {5, true, 1.9952623f}, {3, false, 0}, {6.9f, true, 1.9952623f * 6.9f / 5}};
  for (const Feed& f : feeds) {
    SCOPED_TRACE(f.volts);
    rig.Feed(f.volts);
    EXPECT_EQ(CSCHAntenna::FromNet(rig.Net()) != nullptr, f.onAir);
    if (f.onAir) {
      EXPECT_NEAR(rig.antenna->linearGain, f.gain, 1e-5);
    }
  }
  EXPECT_EQ(log.Count(), 0);
  EXPECT_EQ(rig.antenna->burnt, 0);
  // Over-fed at 7.1 V (above 1.4 x 5): burns, once.
  rig.Feed(7.1f);
  EXPECT_EQ(rig.antenna->burnt, 1);
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.Messages()[0], L"Антенна \"ANT1\" сгорела");
  rig.Feed(5);
  EXPECT_EQ(CSCHAntenna::FromNet(rig.Net()), nullptr) << "a burnt antenna is off the air";
  EXPECT_EQ(log.Count(), 1);
  rig.bench.Stop();
}

TEST(Antenna, ReverseFeedBurns) {
  AntennaRig rig;
  rig.antenna->active = 1;
  rig.antenna->U = 5;
  LogCapture log;
  rig.bench.Run(1);
  rig.Feed(-0.6f);
  EXPECT_EQ(rig.antenna->burnt, 1);
  EXPECT_EQ(log.Count(), 1);
  rig.bench.Stop();
}

TEST(Antenna, ANetOfAnotherKindCarriesNoAntenna) {
  SchNet net(nullptr);
  SchAntennaSource wrong = {12345, nullptr};
  net.sourceKind = kSchSourceAntenna;
  EXPECT_EQ(CSCHAntenna::FromNet(&net), nullptr);
  net.source = reinterpret_cast<SchSignalSource*>(&wrong);
  EXPECT_EQ(CSCHAntenna::FromNet(&net), nullptr);
  wrong.tag = kElecAntennaSourceTag;
  EXPECT_EQ(CSCHAntenna::FromNet(&net), nullptr) << "no antenna named";
  net.sourceKind = kSchSourceUsb;
  EXPECT_EQ(CSCHAntenna::FromNet(&net), nullptr);
  EXPECT_EQ(CSCHAntenna::FromNet(nullptr), nullptr);
  net.source = nullptr;
}

TEST(Antenna, SymbolIsAMastWithAV) {
  comptest::RegistryScope registry;
  auto a = comptest::NewDetached<CSCHAntenna>("Antenna");
  a->SetName(L"ANT1");
  comptest::SymbolCanvas canvas(80, 70);
  EXPECT_TRUE(canvas.Paint(a.get(), 20, 30));
  // Block (20, 30)-(60, 60): the mast at x = 40, the V from (40, 50) to the
  // top corners.
  EXPECT_EQ(canvas.Pixel(40, 55), RGB(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(40, 35), RGB(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(30, 40), RGB(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(50, 40), RGB(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(25, 50), RGB(255, 255, 255));
  EXPECT_GT(canvas.InkIn(20, 0, 60, 26), 0) << "the name above the block";
  canvas.Save(L"antenna.bmp");
}

}  // namespace
