// The navigation receiver driver against a fake receiver whose antenna
// transform reaches it by a payload handle: the request counter and PDOP
// without data, fixes with precision 0 (no position noise) in each
// coordinate system, the first fix, the noise, the messages it must not
// take, its record and drawing. The run time starts at the value the
// program's generator gives from a fixed seed.
#include <cmath>
#include <ctime>
#include <initializer_list>

#include "block_kit.h"
#include "blocks/library/geodesy/geodesy.h"
#include "blocks/library/geodesy/nav_controller.h"
#include "foundation/random.h"
#include "foundation/vecmath.h"

namespace {

using blocktest::Bench;
using blocktest::Costs;
using blocktest::CostsOf;
using blocktest::Golden;
using blocktest::ReadDouble;

const BeSignalType kNavType = 27;
const BeSignalType kNavControlType = 28;
// A pass of 1/64 s: the run time and the timer's sums are exact.
const float kDt = 1.0f / 64;
const unsigned int kSeed = 12345;

// The first number of the program's generator after kSeed: the state
// becomes seed·214013 + 2531011, the number is its bits 16-30.
double FirstRandom() {
  unsigned int state = kSeed * 214013u + 2531011u;
  return static_cast<double>((state >> 16) & 0x7FFFu);
}

// The base point's sphere frame: the geocentric point of a plane position
// (east, north, up) and the geocentric direction of a plane velocity.
struct Frame {
  double R, up[3], east[3], north[3];
  Frame() {
    const double b[3] = {kBeNavBaseX, kBeNavBaseY, kBeNavBaseZ};
    R = std::sqrt(b[0] * b[0] + b[1] * b[1] + b[2] * b[2]);
    const double lon = std::atan2(b[1], b[0]), lat = std::atan2(b[2], std::hypot(b[0], b[1]));
    for (int i = 0; i < 3; ++i) up[i] = b[i] / R;
    east[0] = -std::sin(lon), east[1] = std::cos(lon), east[2] = 0;
    north[0] = -std::sin(lat) * std::cos(lon), north[1] = -std::sin(lat) * std::sin(lon), north[2] = std::cos(lat);
  }
  void Point(double e, double n, double u, double* out) const {
    for (int i = 0; i < 3; ++i) out[i] = (R + u) * up[i] + e * east[i] + n * north[i];
  }
  void Vector(double e, double n, double u, double* out) const {
    for (int i = 0; i < 3; ++i) out[i] = u * up[i] + e * east[i] + n * north[i];
  }
};

// The receiver: owns the antenna transform, publishes it as a type-27
// value with a new sequence number.
class FakeReceiver {
public:
  explicit FakeReceiver(blocktest::Source* line) : line_(line) {
    MakeIdentityMatrix(&transform);
    handle = BePayloadTable::Program().Add(&transform, this);
  }
  ~FakeReceiver() { BePayloadTable::Program().ReleaseOwner(this); }
  FakeReceiver(const FakeReceiver&) = delete;
  FakeReceiver& operator=(const FakeReceiver&) = delete;

  void MoveTo(float east, float north, float up) {
    transform.at(3, 0) = east;
    transform.at(3, 1) = north;
    transform.at(3, 2) = up;
  }
  void Publish(int precision = 0) {
    sequence = (sequence + 1) & 0xFF;
    line_->SetMessage(sequence, kBeNavMessageTag, handle, false, static_cast<uint8_t>(precision));
  }

  Mat4f transform;
  BePayloadHandle handle;
  int sequence = 0;

private:
  blocktest::Source* line_;
};

struct NavBench {
  blocktest::PayloadScope payloads;
  CRandomSeedScope seed{kSeed};
  Bench bench;
  CBENavController* nav = nullptr;
  blocktest::Source* line = nullptr;
  FakeReceiver* receiver = nullptr;
  explicit NavBench(int system) {
    nav = bench.Create<CBENavController>(kBeNavControllerClassId);
    nav->coordinateSystem = static_cast<unsigned char>(system);
    nav->SetOutputDescriptions();
    line = bench.Source(kNavType);
    bench.Link(line, nav);
    receiver = new FakeReceiver(line);
  }
  ~NavBench() { delete receiver; }
  int Ctrl() const { return nav->outputs[kNavCtrl]->value[0]; }
  double Out(int i) const { return ReadDouble(nav, i); }
};

double Pdop(double t) { return 0.4 * std::sin(t / 800) + 1.7; }

TEST(NavController, PinsCostsAndDescriptions) {
  Bench bench;
  auto* nav = bench.Create<CBENavController>(kBeNavControllerClassId);
  ASSERT_NE(nullptr, nav);
  EXPECT_EQ(150, nav->Width());
  EXPECT_EQ(150, nav->Height());
  EXPECT_EQ(static_cast<COLORREF>(0xFFFFCC), nav->fillColor);
  EXPECT_EQ(Costs(1800, 1200, 0, false), CostsOf(nav));
  EXPECT_EQ(kBeNavWgs84, nav->coordinateSystem);
  ASSERT_EQ(1, nav->inputCount);
  ASSERT_EQ(9, nav->outputCount);
  EXPECT_EQ(kNavType, nav->inputs[0]->type);
  EXPECT_STREQ(L"nav", nav->inputs[0]->name);
  EXPECT_STREQ(L"Навигационные данные с устройства связи", nav->inputs[0]->description);
  EXPECT_EQ(nav->outputs[0]->yOffset, nav->inputs[0]->yOffset);
  EXPECT_EQ(kNavControlType, nav->outputs[0]->type);
  EXPECT_STREQ(L"ctrl", nav->outputs[0]->name);
  EXPECT_STREQ(L"Управление навигационным приемником. На устройство связи", nav->outputs[0]->description);
  for (int i = 1; i <= 7; ++i) EXPECT_EQ(kBeSignalDouble, nav->outputs[i]->type) << i;
  EXPECT_STREQ(L"PDOP", nav->outputs[7]->name);
  EXPECT_STREQ(L"Полный геометрический фактор от 0 до 1000. Если нет данных, то 1000", nav->outputs[7]->description);
  EXPECT_EQ(kBeSignalInt, nav->outputs[8]->type);
  EXPECT_STREQ(L"time", nav->outputs[8]->name);
  EXPECT_STREQ(L"Время UTC в секундах с 1 января 1970 г", nav->outputs[8]->description);

  const wchar_t* geocentric[6] = {L"x", L"y", L"z", L"Vx", L"Vy", L"Vz"};
  const wchar_t* geodetic[6] = {L"шир", L"дол", L"выс", L"Vш", L"Vд", L"Vв"};
  for (int system : {0, 1, 2, 7}) {
    nav->coordinateSystem = static_cast<unsigned char>(system);
    nav->SetOutputDescriptions();
    for (int i = 0; i < 6; ++i) EXPECT_STREQ((system == 0 ? geocentric : geodetic)[i], nav->outputs[1 + i]->name);
  }
  EXPECT_STREQ(L"Вертикальная скорость [м/с]", nav->outputs[6]->description);
  nav->coordinateSystem = 0;
  nav->SetOutputDescriptions();
  EXPECT_STREQ(L"Скорость по оси Z [м/с]", nav->outputs[6]->description);
  EXPECT_STREQ(L"Геоцентрическая координата X [м]", nav->outputs[1]->description);
  EXPECT_TRUE(blocktest::DrawsCaption(nav, L"Драйвер\nнавигационного\nприемника"));
}

TEST(NavController, WithoutInputPdopStaysAtNoDataAndTheCounterAdvancesEveryThreeSeconds) {
  CRandomSeedScope seed(kSeed);
  Bench bench;
  auto* nav = bench.Create<CBENavController>(kBeNavControllerClassId);
  bench.Start();
  EXPECT_EQ(1000.0, ReadDouble(nav, kNavPdop));
  EXPECT_EQ(0, nav->outputs[kNavCtrl]->value[0]);
  EXPECT_EQ(FirstRandom(), nav->runTime);
  // Time since data starts at 10 s: the first pass asks at once.
  bench.Pass(kDt);
  EXPECT_EQ(1, nav->outputs[kNavCtrl]->value[0]);
  // Then every pass past 3 s: 192 passes make 3 s exactly, the 193rd more.
  bench.Passes(192, kDt);
  EXPECT_EQ(1, nav->outputs[kNavCtrl]->value[0]);
  bench.Pass(kDt);
  EXPECT_EQ(2, nav->outputs[kNavCtrl]->value[0]);
  // 255 more requests wrap the byte.
  bench.Passes(193 * 255, kDt);
  EXPECT_EQ(1, nav->outputs[kNavCtrl]->value[0]);
  EXPECT_EQ(1000.0, ReadDouble(nav, kNavPdop));
  for (int i = kNavPosition0; i <= kNavVelocity2; ++i) EXPECT_EQ(0.0, ReadDouble(nav, i));
  EXPECT_EQ(0, blocktest::ReadInt(nav, kNavTime));
  EXPECT_DOUBLE_EQ(FirstRandom() + (1 + 193 * 256) * static_cast<double>(kDt), nav->runTime);
}

TEST(NavController, AGeocentricFixWithoutPositionNoise) {
  NavBench b(kBeNavGeocentric);
  const Frame frame;
  b.receiver->MoveTo(100, 200, 5);
  b.receiver->Publish(0);
  const long long before = static_cast<long long>(time(nullptr));
  b.bench.Pass(kDt);
  const long long after = static_cast<long long>(time(nullptr));
  double t = FirstRandom() + kDt;
  double p[3];
  frame.Point(100, 200, 5, p);
  // 40 digits from the plane formula: (2860766.1438592813212,
  // 2193786.6827429278152, 5244089.176449232904).
  EXPECT_NEAR(2860766.1438592813212, b.Out(kNavPosition0), 1e-6);
  EXPECT_NEAR(2193786.6827429278152, b.Out(kNavPosition1), 1e-6);
  EXPECT_NEAR(5244089.176449232904, b.Out(kNavPosition2), 1e-6);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(p[i], b.Out(kNavPosition0 + i), 1e-6);
  // The first fix has nothing to measure a movement against.
  for (int i = kNavVelocity0; i <= kNavVelocity2; ++i) EXPECT_EQ(0.0, b.Out(i)) << i;
  EXPECT_DOUBLE_EQ(Pdop(t), b.Out(kNavPdop));
  EXPECT_EQ(2, b.Ctrl());  // the request of the first pass, then the fix
  long long stamp = static_cast<uint32_t>(blocktest::ReadInt(b.nav, kNavTime));
  EXPECT_GE(stamp, before & 0xFFFFFFFFLL);
  EXPECT_LE(stamp, after & 0xFFFFFFFFLL);

  // The same message again: no fix, but the position is taken.
  b.receiver->MoveTo(101, 200, 5);
  b.bench.Pass(kDt);
  EXPECT_EQ(2, b.Ctrl());
  EXPECT_NEAR(p[0], b.Out(kNavPosition0), 1e-6);
  // A new one 3 m further east: the velocity covers the last pass only.
  b.receiver->MoveTo(104, 200, 5);
  b.receiver->Publish(0);
  b.bench.Pass(kDt);
  EXPECT_EQ(3, b.Ctrl());
  t = FirstRandom() + 3 * static_cast<double>(kDt);
  const double k = Pdop(t);
  double v[3];
  frame.Vector(3 / static_cast<double>(kDt) + std::sin(t / 0.3) * k / 50, std::cos(t / 0.3) * k / 50,
               std::sin(t / 0.3531) * k / 20, v);
  frame.Point(104, 200, 5, p);
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(p[i], b.Out(kNavPosition0 + i), 1e-6);
    EXPECT_NEAR(v[i], b.Out(kNavVelocity0 + i), 1e-7);
  }
  EXPECT_DOUBLE_EQ(k, b.Out(kNavPdop));
}

TEST(NavController, GeodeticFixesOnBothEllipsoids) {
  // Latitude, longitude and height of the point (100, 200, 5) of the plane,
  // worked out at 40 digits by the exact inversion on each ellipsoid; the
  // height estimate of the latitude search is within a metre of it.
  struct Case {
    int system;
    double B, L, H, a, e2;
  };
  const Case cases[] = {
      {kBeNavWgs84, 0.97166928214021442798, 0.65419997686742184897, 145.63023104636555219, kBeWgs84A, kBeWgs84E2},
      {kBeNavPz90, 0.97167979164097425906, 0.65419997686742184897, 195.60819809435646392, kBePz90A, kBePz90E2},
  };
  const Frame frame;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.system);
    NavBench b(c.system);
    b.receiver->MoveTo(100, 200, 5);
    b.receiver->Publish(0);
    b.bench.Pass(kDt);
    EXPECT_NEAR(c.B, b.Out(kNavPosition0), 1e-7);
    EXPECT_NEAR(c.L, b.Out(kNavPosition1), 1e-12);
    EXPECT_NEAR(c.H, b.Out(kNavPosition2), 1.0);
    for (int i = kNavVelocity0; i <= kNavVelocity2; ++i) EXPECT_EQ(0.0, b.Out(i)) << i;
    // 2 m north in one pass: the speed along the ellipsoid's local axes.
    b.receiver->MoveTo(100, 202, 5);
    b.receiver->Publish(0);
    b.bench.Pass(kDt);
    const double t = FirstRandom() + 2 * static_cast<double>(kDt), k = Pdop(t);
    double v[3];
    frame.Vector(std::sin(t / 0.3) * k / 50, 2 / static_cast<double>(kDt) + std::cos(t / 0.3) * k / 50,
                 std::sin(t / 0.3531) * k / 20, v);
    const double B = b.Out(kNavPosition0), L = b.Out(kNavPosition1);
    const double north[3] = {-std::sin(B) * std::cos(L), -std::sin(B) * std::sin(L), std::cos(B)};
    const double east[3] = {-std::sin(L), std::cos(L), 0};
    const double up[3] = {std::cos(B) * std::cos(L), std::cos(B) * std::sin(L), std::sin(B)};
    auto dot = [&](const double* axis) { return axis[0] * v[0] + axis[1] * v[1] + axis[2] * v[2]; };
    // The routine's axes are chords 0.001 rad long: within 0.0005 rad.
    EXPECT_NEAR(dot(north), b.Out(kNavVelocity0), 0.1);
    EXPECT_NEAR(dot(east), b.Out(kNavVelocity1), 0.1);
    EXPECT_NEAR(dot(up), b.Out(kNavVelocity2), 0.1);
    EXPECT_GT(b.Out(kNavVelocity0), 127.0);
  }
}

TEST(NavController, ThePrecisionScalesThePositionNoise) {
  NavBench b(kBeNavGeocentric);
  const Frame frame;
  b.receiver->MoveTo(-50, 30, 2);
  b.receiver->Publish(34);  // q = 2
  b.bench.Pass(kDt);
  const double t = FirstRandom() + kDt, k = Pdop(t), q = 2;
  const double wobble = 0.4 * std::sin(t / 2);
  const double e = -50 + q * k * (std::sin(t / 10 + 0.312) * std::sin(t / 15.3) + wobble) / 2;
  const double n = 30 + q * k * (std::cos(t / 10 + 0.312) * std::sin(t / 15.3) + wobble) / 2;
  const double u = 2 + q * k * (std::sin(t / 11 + 0.752) * std::sin(t / 13.3) + wobble) * 1.5 / 2;
  double p[3];
  frame.Point(e, n, u, p);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(p[i], b.Out(kNavPosition0 + i), 1e-6);
  double exact[3];
  frame.Point(-50, 30, 2, exact);
  EXPECT_GT(std::fabs(p[0] - exact[0]) + std::fabs(p[1] - exact[1]) + std::fabs(p[2] - exact[2]), 1e-3);
}

TEST(NavController, MessagesItMustNotTake) {
  NavBench b(kBeNavGeocentric);
  b.receiver->MoveTo(100, 200, 5);
  b.bench.Pass(kDt);  // start; nothing published yet (sequence 0 = the last taken)
  EXPECT_EQ(1, b.Ctrl());
  EXPECT_EQ(0.0, b.Out(kNavPosition0));
  // Another tag.
  b.line->SetMessage(5, 0x31A1, b.receiver->handle);
  b.bench.Pass(kDt);
  // A handle that no longer resolves.
  b.line->SetMessage(6, kBeNavMessageTag, b.receiver->handle + 1);
  b.bench.Pass(kDt);
  // The right bytes on an output of another type.
  blocktest::Source* other = b.bench.Source(kBeSignalDouble);
  other->SetMessage(7, kBeNavMessageTag, b.receiver->handle);
  b.bench.LinkAnyway(other, 0, b.nav, 0);
  b.bench.Pass(kDt);
  EXPECT_EQ(1, b.Ctrl());
  EXPECT_EQ(0.0, b.Out(kNavPosition0));
  EXPECT_EQ(1000.0, b.Out(kNavPdop));
  // None of them was taken as a position: the next fix is still the first.
  b.bench.Link(b.line, b.nav);
  b.receiver->Publish(0);
  b.bench.Pass(kDt);
  EXPECT_EQ(2, b.Ctrl());
  EXPECT_GT(b.Out(kNavPosition0), 2.8e6);
}

TEST(NavController, PdopFallsBackAfterTwoSecondsWithoutNews) {
  NavBench b(kBeNavGeocentric);
  b.receiver->Publish(0);
  b.bench.Pass(kDt);
  EXPECT_LT(b.Out(kNavPdop), 3.0);
  const double x = b.Out(kNavPosition0);
  b.bench.Passes(128, kDt);  // 2 s exactly since the fix
  EXPECT_LT(b.Out(kNavPdop), 3.0);
  EXPECT_EQ(2, b.Ctrl());
  b.bench.Pass(kDt);
  EXPECT_EQ(1000.0, b.Out(kNavPdop));
  b.bench.Passes(63, kDt);  // 3 s exactly
  EXPECT_EQ(2, b.Ctrl());
  b.bench.Pass(kDt);
  EXPECT_EQ(3, b.Ctrl());
  EXPECT_EQ(x, b.Out(kNavPosition0));
}

TEST(NavController, OtherSystemsKeepTheCoordinatesAndAPassWithoutTimeHasNoSpeed) {
  NavBench b(kBeNavGeocentric);
  b.receiver->Publish(0);
  b.bench.Pass(kDt);
  const double x = b.Out(kNavPosition0);
  b.nav->coordinateSystem = 3;
  b.receiver->MoveTo(500, 0, 0);
  b.receiver->Publish(0);
  b.bench.Pass(kDt);
  EXPECT_EQ(3, b.Ctrl());
  EXPECT_EQ(x, b.Out(kNavPosition0));
  EXPECT_EQ(0.0, b.Out(kNavVelocity0));
  EXPECT_DOUBLE_EQ(Pdop(FirstRandom() + 2 * static_cast<double>(kDt)), b.Out(kNavPdop));
  // A new message in a pass of no duration: no movement can be measured.
  b.nav->coordinateSystem = 0;
  b.receiver->MoveTo(900, 0, 0);
  b.receiver->Publish(0);
  b.bench.Pass(0.0f);
  for (int i = kNavVelocity0; i <= kNavVelocity2; ++i) EXPECT_EQ(0.0, b.Out(i)) << i;
  EXPECT_GT(std::fabs(b.Out(kNavPosition0) - x), 100.0);
}

TEST(NavController, TwoRunsFromTheSameSeedGiveTheSameTrack) {
  std::vector<double> tracks[2];
  for (auto& track : tracks) {
    NavBench b(kBeNavWgs84);
    for (int i = 0; i < 20; ++i) {
      b.receiver->MoveTo(static_cast<float>(i), static_cast<float>(2 * i), 1);
      b.receiver->Publish(17);
      b.bench.Pass(kDt);
      for (int o = kNavPosition0; o <= kNavPdop; ++o) track.push_back(b.Out(o));
    }
  }
  EXPECT_EQ(tracks[0], tracks[1]);
}

TEST(NavController, TheRecordIsTheSystemByteThenTheBaseRecord) {
  Bench bench;
  auto* nav = bench.Create<CBENavController>(kBeNavControllerClassId);
  nav->MoveTo(12, 34);
  nav->coordinateSystem = kBeNavGeocentric;
  std::vector<uint8_t> record = blocktest::RecordBytes(nav);
  auto golden = Golden().B(0).Base(blocktest::BaseRecord::Unlinked(nav->rect, 1, 9)).Bytes();
  EXPECT_TRUE(velktest::BytesEqual(golden, record));
  blocktest::ExpectTruncationsRefused<CBENavController>(kBeNavControllerClassId, record);
  // Loading names the outputs by the system read.
  std::unique_ptr<CBENavController> fresh = blocktest::NewDetached<CBENavController>(kBeNavControllerClassId);
  ASSERT_TRUE(blocktest::LoadBytes(fresh.get(), record));
  EXPECT_EQ(kBeNavGeocentric, fresh->coordinateSystem);
  EXPECT_STREQ(L"Vx", fresh->outputs[kNavVelocity0]->name);
  nav->coordinateSystem = kBeNavPz90;
  std::unique_ptr<BeScheme> copy = bench.ReadBack();
  ASSERT_NE(nullptr, copy);
  auto loaded = blocktest::BlocksOf<CBENavController>(copy.get());
  ASSERT_EQ(1u, loaded.size());
  EXPECT_EQ(kBeNavPz90, loaded[0]->coordinateSystem);
  EXPECT_STREQ(L"Vш", loaded[0]->outputs[kNavVelocity0]->name);
}

}  // namespace
