// The inertial measurement unit: its pins by model, RandomNoise, the unit at
// rest and under a known motion, each interface (packets over UART, RS-232,
// USB and I2C; pulse-width and voltage channels), the magnetometer pins,
// the supply and its regulated output, burn-outs, and its record.
#include "components/devices/sensors/inertial_system.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "components/electronic/motor/h_bridge.h"
#include "foundation/vecmath.h"
#include "scheme/simulation/net.h"
#include "support/test_support.h"
#include "tests/components/devices/sensors/payload_host.h"
#include "tests/components/devices/sensors/range_finder_kit.h"
#include "tests/components/devices/sensors/sensor_kit.h"

namespace {

using comptest::Golden;
using comptest::LogCapture;
using rangetest::PacketView;
using rangetest::RequestSet;
using rangetest::UsbHost;

const double kPiD = 3.14159265358979323846;
const float dt = 0.01f;

// A unit named "N1" of the model set up before Wire: its supply at V (pin 1
// against pin 0), a probe on every other pin, a host line on RX (UART,
// RS-232), I2C lines, or a USB host; its pose, the identity.
struct Rig {
  Rig() {
    n = bench.Create<CSCHInertialSystem>("InertialSystem");
    if (n) n->SetName(L"N1");
    MakeIdentityMatrix(&pose);
  }
  void Wire(float supply = 5) {
    n->pose = &pose;
    probes.assign(n->pinCount, nullptr);
    const int first = n->firstInterfacePin;
    for (int i = 0; i < n->pinCount; i++) {
      if (n->iface == CSCHInertialSystem::kUsb && i == first) {
        usb = bench.Add<UsbHost>();
        bench.Wire(n, i, usb, 0);
      } else if ((n->iface == CSCHInertialSystem::kUart || n->iface == CSCHInertialSystem::kRs232) &&
                 i == first + 1) {
        rx = bench.Add<rangetest::Line>();
        if (n->iface == CSCHInertialSystem::kUart) rx->Set(5, 100, 5, 100, nullptr);
        else rx->Set(-10, 100, -10, 100, nullptr);
        bench.Wire(n, i, rx, 0);
      } else if (n->iface == CSCHInertialSystem::kI2c && i == first) {
        sda = bench.Add<devtest::StateDriver>();
        sda->SetLevels(5, 100, 5, 100, 13);
        bench.Wire(n, i, sda, 0);
      } else if (n->iface == CSCHInertialSystem::kI2c && i == first + 1) {
        scl = bench.Add<devtest::StateDriver>();
        scl->SetLevels(5, 100, 0, 100, 14);
        bench.Wire(n, i, scl, 0);
      } else {
        probes[i] = bench.Part(1);
        bench.Wire(n, i, probes[i], 0);
      }
    }
    if (!n->usbPower) {
      probes[0]->Drive(0, 0, rangetest::kStrong);
      probes[1]->Drive(0, supply, rangetest::kStrong);
    }
  }
  void Send() {
    if (usb) usb->source.packets = requests.set;
    if (sda) {
      sda->SetLevels(5, 100, 0, 100, 13);
      sda->source.packets = requests.set;
    }
    if (rx && n->iface == CSCHInertialSystem::kUart) rx->Set(5, 100, 0, 100, requests.set);
    if (rx && n->iface == CSCHInertialSystem::kRs232) rx->Set(-10, 100, 10, 100, requests.set);
  }
  void Start() {
    bench.Build();
    bench.Start();
  }
  void Step(int count = 1, float step = dt) { bench.Step(count, step); }
  std::vector<PacketView> Packets() { return rangetest::Packets(n->packetSet); }
  SchPinState State(int pin) { return devtest::StateAt(probes[pin], 0); }
  float Read(int pin, float* R = nullptr) { return comptest::Bench::Read(probes[pin], 0, R); }

  sensortest::PayloadHost host;  // outlives the bench
  devtest::DeviceBench bench;
  CSCHInertialSystem* n = nullptr;
  Mat4f pose = {};
  rangetest::Line* rx = nullptr;
  UsbHost* usb = nullptr;
  devtest::StateDriver* sda = nullptr;
  devtest::StateDriver* scl = nullptr;
  std::vector<circuit::Part*> probes;
  RequestSet requests;
};

const uint16_t kAccel = kInertialAccelX | kInertialAccelY | kInertialAccelZ;
const uint16_t kRates = kInertialRateX | kInertialRateY | kInertialRateZ;

void SetModel(CSCHInertialSystem* n, uint16_t flags, unsigned char iface, float Uwork = 5) {
  n->record.flags = flags;
  n->iface = iface;
  n->Uwork = Uwork;
  n->BuildPins();
}

// A rotation by angle about Z (row vectors: x' = x cos - y sin ...), and a
// translation.
void Place(Mat4f* m, double angle, float x, float y, float z) {
  MakeIdentityMatrix(m);
  m->m[0] = static_cast<float>(std::cos(angle));
  m->m[1] = static_cast<float>(std::sin(angle));
  m->m[4] = static_cast<float>(-std::sin(angle));
  m->m[5] = static_cast<float>(std::cos(angle));
  m->m[12] = x;
  m->m[13] = y;
  m->m[14] = z;
}

std::wstring Visible(const wchar_t* name) { return name ? std::wstring(name + 1) : L"?"; }

TEST(InertialSystem, DefaultPinsAndModels) {
  devtest::DeviceBench bench;
  auto* n = bench.Create<CSCHInertialSystem>("InertialSystem");
  ASSERT_TRUE(n);
  ASSERT_EQ(n->pinCount, 4);
  const wchar_t* names[] = {L"GND", L"+Vin", L"TX", L"RX"};
  const wchar_t* texts[] = {L"Земля", L"Вход питания", L"Выход UART", L"Вход UART"};
  for (int i = 0; i < 4; i++) {
    SCOPED_TRACE(i);
    EXPECT_EQ(n->pins[i].name[0], L'\0');
    EXPECT_EQ(Visible(n->pins[i].name), names[i]);
    EXPECT_STREQ(n->pins[i].description, texts[i]);
    EXPECT_EQ(n->pins[i].side, kSchSideRight);
    EXPECT_EQ(n->pins[i].kind, kSchPinElectric);
    EXPECT_EQ(n->pins[i].offset, 140 - 15 * (i + 1));
  }
  EXPECT_EQ(n->firstInterfacePin, 2);
  EXPECT_FLOAT_EQ(n->outputPeriod, 1.0f / 180);

  // A pulse-width model with a 5 V output: supply, output, accel X, gyro
  // Z and the three angle pins.
  comptest::DbRow row(L"inertial", {{"model", "IMU-9"}, {"AccelX", "1"}, {"gyroZ", "1"}, {"Mag", "1"},
                                    {"angles", "1"}, {"gyroType", "0"}, {"iface", "4"}, {"U", "5"},
                                    {"Umin", "4"}, {"Umax", "6"}, {"I", "0.1"}, {"powerUSB", "0"},
                                    {"Uout", "5"}, {"Iout", "0.1"}, {"Uwork", "3.3"}, {"Kaccel", "0.001"}});
  n->ApplyDbRecord(row.Record());
  EXPECT_EQ(n->record.flags, kInertialAccelX | kInertialRateZ | kInertialMagnetometer | kInertialAngles);
  ASSERT_EQ(n->pinCount, 9);
  const wchar_t* pwm[] = {L"GND", L"+Vin", L"GND", L"+5.0V", L"Accel X", L"Gyro OZ", L"roll", L"pitch", L"yaw"};
  for (int i = 0; i < 9; i++) EXPECT_EQ(Visible(n->pins[i].name), pwm[i]) << i;
  EXPECT_STREQ(n->pins[3].description, L"Выход +5.0V, 100мА");
  EXPECT_STREQ(n->pins[5].description, L"Выход ШИМ гироскопа по Z (скорость)");
  EXPECT_STREQ(n->pins[8].description, L"Выход ШИМ угла поворота по OZ");
  EXPECT_EQ(n->firstInterfacePin, 4);
  EXPECT_FLOAT_EQ(n->outputPeriod, 0.00001f);
  EXPECT_FLOAT_EQ(n->Uwork, 3.3f);

  // USB powered, USB interface: one USB pin.
  n->usbPower = 1;
  n->Uout = 0;
  SetModel(n, kAccel, CSCHInertialSystem::kUsb);
  ASSERT_EQ(n->pinCount, 1);
  EXPECT_EQ(Visible(n->pins[0].name), L"USB");
  EXPECT_EQ(n->pins[0].kind, kSchPinUsb);
  EXPECT_FLOAT_EQ(n->outputPeriod, 0.02f);
  // Voltage outputs: the voltage descriptions; I2C: SDA then SCL.
  n->usbPower = 0;
  SetModel(n, kInertialAccelY, CSCHInertialSystem::kVoltage);
  ASSERT_EQ(n->pinCount, 3);
  EXPECT_STREQ(n->pins[2].description, L"Выход напряжения акселерометра по Y");
  SetModel(n, 0, CSCHInertialSystem::kI2c);
  ASSERT_EQ(n->pinCount, 4);
  EXPECT_EQ(Visible(n->pins[2].name), L"SDA");
  EXPECT_EQ(Visible(n->pins[3].name), L"SCL");
}

TEST(InertialSystem, RandomNoise) {
  EXPECT_EQ(RandomNoise(0), 0.0f);
  sensortest::RandomSeed seed(77);
  const std::vector<int> r = seed.Next(16);
  double expected = -8.0 * 2.5;
  for (int v : r) expected += 2.5 * v / 32767;
  EXPECT_NEAR(RandomNoise(2.5f), expected, 1e-5);
  for (int i = 0; i < 200; i++) {
    const float v = RandomNoise(0.75f);
    ASSERT_GE(v, -6.0f);
    ASSERT_LE(v, 6.0f);
  }
}

TEST(InertialSystem, AtRestReportsGravityOnly) {
  Rig g;
  ASSERT_TRUE(g.n);
  SetModel(g.n, kAccel | kRates, CSCHInertialSystem::kVoltage);
  g.Wire();
  // Placed 2 m up, identity rotation: the first step measures the jump
  // from the identity; from the next one on the unit rests... once its
  // previous velocity is 0 as well (the third step).
  Place(&g.pose, 0, 0, 0, 2);
  g.Start();
  g.Step();
  EXPECT_NEAR(g.n->record.accel[2], (2 / dt) * 9810 / dt + 9810, 2e3);
  g.Step();
  g.Step();
  for (int step = 0; step < 3; step++) {
    EXPECT_EQ(g.n->record.accel[0], 0);
    EXPECT_EQ(g.n->record.accel[1], 0);
    EXPECT_EQ(g.n->record.accel[2], 9810);
    for (int k = 0; k < 3; k++) EXPECT_EQ(g.n->record.rate[k], 0);
    g.Step();
  }
  // At the identity pose it rests from the first step.
  Rig h;
  SetModel(h.n, kAccel | kRates, CSCHInertialSystem::kVoltage);
  h.Wire();
  h.Start();
  h.Step(2);
  EXPECT_EQ(h.n->record.accel[2], 9810);
  EXPECT_EQ(h.n->record.accel[0], 0);
  EXPECT_EQ(h.n->record.rate[2], 0);
}

TEST(InertialSystem, KnownMotion) {
  Rig g;
  ASSERT_TRUE(g.n);
  SetModel(g.n, kAccel | kRates | kInertialMagnetometer | kInertialAngles, CSCHInertialSystem::kVoltage);
  g.Wire();
  // Turning about Z at 0.5 rad/s in place: D turns by w dt each step, so
  // the rate about Z is w in degrees (28.648 deg/s); the vertical stays
  // the unit's Z axis.
  const double w = 0.5;
  g.Start();
  for (int step = 1; step <= 5; step++) {
    Place(&g.pose, w * dt * step, 0, 0, 0);
    g.Step();
  }
  const double theta = w * dt * 5;
  EXPECT_NEAR(g.n->record.rate[2], w * 180 / kPiD, 0.05);
  EXPECT_NEAR(g.n->record.rate[0], 0, 1e-3);
  EXPECT_NEAR(g.n->record.rate[1], 0, 1e-3);
  EXPECT_NEAR(g.n->record.accel[0], 0, 1e-3);
  EXPECT_NEAR(g.n->record.accel[1], 0, 1e-3);
  EXPECT_NEAR(g.n->record.accel[2], 9810, 1e-2);
  // The magnetometer: row 1 of the inverse pose, (sin t, cos t, 0).
  EXPECT_NEAR(g.n->record.magnetic[0], std::sin(theta), 1e-5);
  EXPECT_NEAR(g.n->record.magnetic[1], std::cos(theta), 1e-5);
  EXPECT_NEAR(g.n->record.magnetic[2], 0, 1e-6);
  // Level: roll 0, pitch 0; yaw = atan2(cos t, sin t) = 90 deg - t.
  EXPECT_NEAR(g.n->record.angles[0], 0, 1e-3);
  EXPECT_NEAR(g.n->record.angles[1], 0, 1e-3);
  EXPECT_NEAR(g.n->record.angles[2], 90 - theta * 180 / kPiD, 1e-3);
}

TEST(InertialSystem, AnglesFromAccelerationAndFromPose) {
  // Accelerating along Y at (v_n - v_n-1) 9810 / dt = 9810 mg (1 g), not
  // turning: a = (0, 9810, 9810), roll = atan2(-9810, 9810) = -45 deg;
  // the magnetometer (0, 1, 0) turned by roll: (m_z, m_y) = (-sin r, cos r)
  // = (0.7071, 0.7071) -> pitch = atan2(-0.7071, 0.7071) = -45 deg; (m_y,
  // m_z) turned by pitch: (1, 0) -> yaw = atan2(1, 0) = 90 deg. With "gyroType" the angles come from the pose: level.
  for (bool fromPose : {false, true}) {
    SCOPED_TRACE(fromPose);
    Rig g;
    ASSERT_TRUE(g.n);
    SetModel(g.n,
             kAccel | kInertialMagnetometer | kInertialAngles | (fromPose ? kInertialAnglesFromPose : 0),
             CSCHInertialSystem::kVoltage);
    g.Wire();
    g.Start();
    // dt 0.25, y_n = c n^2: v_n - v_n-1 = 2 c / dt, so 2 c / dt^2 x 9810
    // = 9810 gives c = dt^2 / 2 = 0.03125.
    for (int step = 1; step <= 3; step++) {
      Place(&g.pose, 0, 0, 0.03125f * step * step, 0);
      g.Step(1, 0.25f);
    }
    EXPECT_FLOAT_EQ(g.n->record.accel[1], 9810);
    EXPECT_FLOAT_EQ(g.n->record.accel[2], 9810);
    if (fromPose) {
      EXPECT_NEAR(g.n->record.angles[0], 0, 1e-4);
      EXPECT_NEAR(g.n->record.angles[1], 0, 1e-4);
    } else {
      EXPECT_NEAR(g.n->record.angles[0], -45, 1e-4);
      EXPECT_NEAR(g.n->record.angles[1], -45, 1e-4);
    }
    EXPECT_NEAR(g.n->record.angles[2], 90, 1e-4);
  }
}

TEST(InertialSystem, TranslationWithoutTurnIsExact) {
  Rig g;
  ASSERT_TRUE(g.n);
  SetModel(g.n, kAccel, CSCHInertialSystem::kVoltage);
  g.Wire();
  // dt 0.25 (exact); x = 0.25 n^2: v_n = (2n - 1), a = 2 x 9810 / 0.25.
  g.Start();
  for (int step = 1; step <= 3; step++) {
    Place(&g.pose, 0, 0.25f * step * step, 0, 0);
    g.Step(1, 0.25f);
  }
  EXPECT_EQ(g.n->record.accel[0], 2 * 9810 / 0.25f);
  EXPECT_EQ(g.n->record.accel[1], 0);
  EXPECT_EQ(g.n->record.accel[2], 9810);
  EXPECT_FLOAT_EQ(g.n->previousVelocity[0], 5);
}

TEST(InertialSystem, UartPacketNamesTheRecord) {
  Rig g;
  ASSERT_TRUE(g.n);
  SetModel(g.n, kAccel, CSCHInertialSystem::kUart, 3.3f);
  g.Wire();
  g.requests.Put(1, 0, 0, {5});
  g.Send();
  g.Start();
  ASSERT_EQ(g.host.entries.size(), 1u);
  // The request is taken in the first step, but the output waits for the
  // period: 1/180 s is the first step's 0.01 s at once.
  g.Step();
  std::vector<PacketView> p = g.Packets();
  ASSERT_EQ(p.size(), 1u);
  EXPECT_EQ(p[0].id, 0);
  EXPECT_EQ(p[0].sequence, 0);
  EXPECT_EQ(p[0].format, kDevInertialSerialFormat);
  EXPECT_EQ(p[0].payload, (std::vector<uint8_t>{0, 0x05, 0x75, 0, 1, 0, 0, 0}));
  const auto* data = static_cast<const SchInertialData*>(g.host.Resolve(p[0].payload));
  ASSERT_EQ(data, &g.n->record);
  EXPECT_EQ(data->flags, kAccel);
  EXPECT_EQ(data->accel[2], 9810);
  // TX: 3.3 V / 0 V behind 150 ohm, the packet set as its source.
  SchPinState tx = g.State(2);
  EXPECT_EQ(tx.sourceKind, kSchSourceSerial);
  ASSERT_TRUE(tx.source);
  EXPECT_EQ(tx.source->packets, g.n->packetSet);
  sensortest::ExpectLevels(tx, 3.3f, 150, 0, 150);
  // The same byte again: no second packet; a new one: the next.
  g.requests.Put(1, 1, 0, {5});
  g.Step(3);
  EXPECT_EQ(g.Packets()[0].sequence, 0);
  g.requests.Put(1, 2, 0, {6});
  g.Step();
  EXPECT_EQ(g.Packets()[0].payload[0], 1);
  g.bench.Stop();
  EXPECT_EQ(g.host.Resolve(1), nullptr);
}

TEST(InertialSystem, UartRequestWaitsForTheOutputPeriod) {
  Rig g;
  ASSERT_TRUE(g.n);
  SetModel(g.n, kAccel, CSCHInertialSystem::kUart);
  g.Wire();
  g.requests.Put(1, 0, 0, {5});
  g.Send();
  g.Start();
  g.Step(1, 0.01f);
  ASSERT_EQ(g.Packets().size(), 1u);
  // A request 1 ms after the output: answered once 1/180 s (5.56 ms) has
  // passed since, at the sixth 1 ms step.
  g.requests.Put(1, 1, 0, {6});
  g.Step(5, 0.001f);
  EXPECT_EQ(g.Packets()[0].payload[0], 0);
  g.Step(1, 0.001f);
  EXPECT_EQ(g.Packets()[0].payload[0], 1);
}

TEST(InertialSystem, Rs232LevelsAndFormat) {
  Rig g;
  ASSERT_TRUE(g.n);
  SetModel(g.n, kAccel, CSCHInertialSystem::kRs232);
  g.Wire();
  // A request without the format word is no request on RS-232.
  g.requests.Put(1, 0, 0, {5});
  g.Send();
  g.Start();
  g.Step(2);
  EXPECT_TRUE(g.Packets().empty());
  g.requests.Put(1, 1, kDevInertialSerialFormat, {5});
  g.Step();
  ASSERT_EQ(g.Packets().size(), 1u);
  EXPECT_EQ(g.Packets()[0].format, kDevInertialSerialFormat);
  sensortest::ExpectLevels(g.State(2), -10, 500, 10, 500);
}

TEST(InertialSystem, UsbMergesWithTheHostsSet) {
  Rig g;
  ASSERT_TRUE(g.n);
  g.n->usbPower = 1;
  SetModel(g.n, kAccel, CSCHInertialSystem::kUsb);
  g.Wire();
  g.requests.Put(1, 0, 0, {5});
  g.Send();
  g.Start();
  g.Step(2);  // 0.02 s
  std::vector<PacketView> p = rangetest::Packets(g.requests.set);
  ASSERT_EQ(p.size(), 2u);
  EXPECT_EQ(p[1].id, 0);
  EXPECT_EQ(p[1].format, 0);
  EXPECT_EQ(p[1].payload[1], 0x05);
  EXPECT_EQ(p[1].payload[2], 0x75);
}

TEST(InertialSystem, I2cNeedsBothLines) {
  Rig g;
  ASSERT_TRUE(g.n);
  SetModel(g.n, kAccel, CSCHInertialSystem::kI2c);
  g.Wire();
  g.requests.Put(1, 0, 0, {5});
  g.Start();
  g.Step(3);
  EXPECT_TRUE(g.Packets().empty());
  g.Send();
  g.Step();
  // Merged both ways: each set holds the request and the data packet.
  for (SchPacketSet* set : {g.n->packetSet, g.requests.set}) {
    std::vector<PacketView> p = rangetest::Packets(set);
    ASSERT_EQ(p.size(), 2u);
    const PacketView& data = p[0].id == 0 ? p[0] : p[1];
    EXPECT_EQ(data.id, 0);
    EXPECT_EQ(data.format, 0);
    EXPECT_EQ(data.payload[1], 0x05);
  }
}

TEST(InertialSystem, PulseWidthChannels) {
  struct Case {
    float K;
    float duty;
  } cases[] = {
      {0, 0.5f},             // value x K = 0
      {-0.5f / 9810, 0},     // -0.5: duty 0
      {-1.0f / 9810, 0},
      {0.5f / 9810, 1},      // 0.5: duty 1
      {0.25f / 9810, 0.75f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.K);
    Rig g;
    ASSERT_TRUE(g.n);
    SetModel(g.n, kInertialAccelZ, CSCHInertialSystem::kPulseWidth, 5);
    g.n->Kaccel = c.K;
    g.Wire();
    g.Start();
    g.Step(2);
    SchPinState s = g.State(2);
    EXPECT_EQ(s.sourceKind, kSchSourceOwnWeight);
    ASSERT_EQ(s.source, &g.n->channels[2]);
    EXPECT_NEAR(s.source->weight, c.duty, 1e-6);
    EXPECT_FLOAT_EQ(GetPwmPeriod(s.source), 0.00001f);
    sensortest::ExpectLevels(s, 5, 150, 0, 150);
  }
}

TEST(InertialSystem, VoltageChannelsAndMagnetometerPins) {
  // With "angles" the three pins after the rates carry the magnetometer
  // when "Mag" is set, and are left alone without it; "Mag" without
  // "angles" has no pins to drive.
  struct Case {
    uint16_t flags;
    int pins;
    bool magnetometer;
  } cases[] = {
      {kInertialAccelZ | kInertialAngles | kInertialMagnetometer, 2 + 4, true},
      {kInertialAccelZ | kInertialAngles, 2 + 4, false},
      {kInertialAccelZ | kInertialMagnetometer, 2 + 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    Rig g;
    ASSERT_TRUE(g.n);
    SetModel(g.n, c.flags, CSCHInertialSystem::kVoltage, 4);
    ASSERT_EQ(g.n->pinCount, c.pins);
    g.n->Kaccel = 0.0001f;
    g.n->Kmag = 1;
    g.Wire();
    g.Start();
    g.Step(2);
    // accel Z 9810 x 0.0001 + 2 = 2.981 V, behind 150 ohm.
    float R = 0;
    EXPECT_NEAR(g.Read(2, &R), 2.981f, 1e-4f);
    EXPECT_NEAR(R, 150, 1e-3);
    if (c.pins == 6) {
      // Magnetometer at the identity: (0, 1, 0) -> 2, 3 (+1), 2 V.
      const float expected[3] = {2, 3, 2};
      for (int k = 0; k < 3; k++) {
        float Rk = 0;
        const float u = g.Read(3 + k, &Rk);
        if (c.magnetometer) {
          EXPECT_NEAR(u, expected[k], 1e-5f) << k;
          EXPECT_NEAR(Rk, 150, 1e-3) << k;
        } else {
          EXPECT_NEAR(Rk, kSchOpenResistance, 1) << k;
        }
      }
    }
  }
  // Value 0: Uwork / 2; clamped to 0..Uwork.
  Rig g;
  SetModel(g.n, kInertialAccelX | kInertialAccelZ, CSCHInertialSystem::kVoltage, 4);
  g.n->Kaccel = 1;
  g.Wire();
  g.Start();
  g.Step(2);
  EXPECT_NEAR(g.Read(2), 2, 1e-6f);
  EXPECT_NEAR(g.Read(3), 4, 1e-6f);
}

TEST(InertialSystem, SupplyEdgesAndBurnOut) {
  struct Case {
    float supply, I;
    bool works, burns;
  } cases[] = {
      {3.3f, 1e-6f, true, false},   // exactly Umin (a load far above the sources)
      {3.29f, 1e-6f, false, false},
      {12.0f, 1e-6f, true, false},  // exactly Umax
      {12.1f, 1e-6f, false, true},
      {-0.4f, 1e-6f, false, true},
      {5, 0, true, false},          // no current: unloaded, no division by 0
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.supply);
    Rig g;
    ASSERT_TRUE(g.n);
    g.n->I = c.I;
    SetModel(g.n, kAccel, CSCHInertialSystem::kVoltage, 4);
    g.Wire(c.supply);
    LogCapture log;
    g.Start();
    g.Step(2);
    EXPECT_EQ(g.n->record.accel[2], c.works ? 9810 : 0);
    EXPECT_EQ(g.n->burnt, c.burns ? 1 : 0);
    ASSERT_EQ(log.Count(), c.burns ? 1 : 0);
    if (c.burns) {
      EXPECT_EQ(log.Messages()[0], L"Инерцильная система \"N1\" вышла из строя.");
      // Burnt: every pin released.
      g.Step();
      float R = 0;
      g.Read(2, &R);
      EXPECT_NEAR(R, 5e6, 1);
    }
  }
}

TEST(InertialSystem, UartLineOutsideItsLevelsBurns) {
  Rig g;
  ASSERT_TRUE(g.n);
  g.Wire();
  g.rx->Set(6, 1e-5f, 0, 100, g.requests.set);
  LogCapture log;
  g.Start();
  g.Step();
  EXPECT_EQ(g.n->burnt, 1);
  EXPECT_EQ(log.Count(), 1);
}

TEST(InertialSystem, RegulatedOutput) {
  Rig g;
  ASSERT_TRUE(g.n);
  g.n->Uout = 3.3f;
  g.n->Iout = 0.2f;
  SetModel(g.n, kAccel, CSCHInertialSystem::kVoltage, 4);
  ASSERT_EQ(g.n->pinCount, 2 + 2 + 3);
  EXPECT_EQ(Visible(g.n->pins[3].name), L"+3.3V");
  EXPECT_STREQ(g.n->pins[3].description, L"Выход +3.3V, 200мА");
  g.Wire();
  g.Start();
  // The output ground joined the input ground.
  EXPECT_EQ(g.n->pins[2].net, g.n->pins[0].net);
  g.Step(2);
  // Pin 3 at 0 + 3.3 V behind R2 + 10 ohm (R2: the ground's 1e-5 ohm).
  float R = 0;
  EXPECT_NEAR(g.Read(3, &R), 3.3f, 1e-4f);
  EXPECT_NEAR(R, 10, 1e-3);
  // A 10 ohm load to ground draws about 0.165 A: fine; 1 ohm burns.
  g.probes[3]->Drive(0, 0, 1);
  LogCapture log;
  g.Step(2);
  EXPECT_EQ(g.n->burnt, 1);
  EXPECT_EQ(log.Count(), 1);
}

TEST(InertialSystem, WithoutPoseItRests) {
  Rig g;
  ASSERT_TRUE(g.n);
  SetModel(g.n, kAccel | kRates | kInertialAngles | kInertialAnglesFromPose, CSCHInertialSystem::kVoltage, 4);
  g.Wire();
  g.n->pose = nullptr;
  g.Start();
  g.Step(3);
  EXPECT_EQ(g.n->record.accel[2], 9810);
  EXPECT_EQ(g.n->record.accel[0], 0);
  EXPECT_EQ(g.n->record.rate[2], 0);
  EXPECT_NEAR(g.n->record.angles[2], 90, 1e-4);
  // A step of no time divides by nothing and changes nothing.
  g.n->record.accel[2] = 1;
  g.Step(1, 0);
  EXPECT_EQ(g.n->record.accel[2], 1);
}

TEST(InertialSystem, RecordRoundTripAndTruncations) {
  devtest::DeviceBench bench;
  auto* n = bench.Create<CSCHInertialSystem>("InertialSystem");
  ASSERT_TRUE(n);
  n->SetName(L"N7");
  n->gyroDisp = 0.5f;
  n->accelDisp = 2;
  n->magDisp = 0.01f;
  n->U = 5;
  n->Umin = 4.5f;
  n->Umax = 6;
  n->I = 0.1f;
  n->usbPower = 0;
  n->Uout = 3.3f;
  n->Iout = 0.2f;
  n->Kaccel = 0.001f;
  n->Kgyro = 0.01f;
  n->Kmag = 1;
  n->Uwork = 3.3f;
  SetModel(n, 0x1C3, CSCHInertialSystem::kVoltage, 3.3f);
  n->mass = 0.02f;
  EXPECT_TRUE(velktest::BytesEqual(devtest::FieldsBefore<CSCHDevice>(n), Golden()
                                                                          .B(0xC3)
                                                                          .B(0x01)
                                                                          .B(5)
                                                                          .F(0.5f)
                                                                          .F(2)
                                                                          .F(0.01f)
                                                                          .F(5)
                                                                          .F(4.5f)
                                                                          .F(6)
                                                                          .F(0.1f)
                                                                          .B(0)
                                                                          .F(3.3f)
                                                                          .F(0.2f)
                                                                          .F(0.001f)
                                                                          .F(0.01f)
                                                                          .F(1)
                                                                          .F(3.3f)
                                                                          .Bytes()));
  const int pins = n->pinCount;
  EXPECT_EQ(pins, 2 + 2 + 2 + 3);
  const std::vector<uint8_t> bytes = comptest::SaveBytes(n);
  comptest::ForEachTruncation<CSCHInertialSystem>("InertialSystem", bytes, [&](CSCHInertialSystem* copy, size_t k) {
    if (k < CSCHInertialSystem::kOwnRecordBytes) {
      EXPECT_EQ(copy->pinCount, 4);
      EXPECT_EQ(copy->iface, CSCHInertialSystem::kUart);
    } else {
      EXPECT_EQ(copy->pinCount, pins);
      EXPECT_EQ(copy->record.flags, 0x1C3);
    }
    if (k == bytes.size()) {
      EXPECT_STREQ(copy->instanceName, L"N7");
      EXPECT_FLOAT_EQ(copy->mass, 0.02f);
      EXPECT_TRUE(velktest::BytesEqual(devtest::ResavedBytes(copy), bytes));
    }
  });
  for (int at : {1, 31}) {
    std::vector<uint8_t> bad = bytes;
    bad[at] = at == 1 ? 0x02 : 2;  // a flag beyond the nine; USB power 2
    auto copy = comptest::NewDetached<CSCHInertialSystem>("InertialSystem");
    ASSERT_TRUE(copy);
    comptest::LoadBytes(copy.get(), bad);
    EXPECT_EQ(copy->pinCount, 4) << at;
    EXPECT_EQ(copy->record.flags, 0) << at;
  }
}

TEST(InertialSystem, SymbolDrawsPinsAndNames) {
  comptest::IconsFolderScope icons(devtest::ShippedIconsFolder());
  devtest::DeviceBench bench;
  auto* n = bench.Create<CSCHInertialSystem>("InertialSystem");
  ASSERT_TRUE(n);
  n->SetName(L"N1");
  comptest::SymbolCanvas canvas(220, 180);
  EXPECT_TRUE(canvas.Paint(n, 10, 10));
  // Pin lines from x = 150 to 190 at 15, 30, 45, 60 px below the top.
  for (int i = 0; i < 4; i++) EXPECT_EQ(canvas.Pixel(10 + 145, 10 + 15 * (i + 1)), RGB(0, 0, 0)) << i;
  EXPECT_EQ(canvas.Pixel(10 + 145, 10 + 75), RGB(255, 255, 255));
  // The labels above their lines, right-aligned before the edge.
  EXPECT_GT(canvas.InkIn(10 + 150, 10 + 15 - 11, 10 + 178, 10 + 15), 0);
  // The name below the symbol, centred.
  EXPECT_GT(canvas.InkIn(10 + 70, 150, 10 + 110, 170), 0);
  EXPECT_EQ(canvas.InkIn(0, 150, 10 + 60, 180), 0);
  // The picture on the left.
  EXPECT_GT(canvas.InkIn(10, 10, 10 + 140, 10 + 140), 500);
  EXPECT_TRUE(canvas.Save(L"inertial_system_symbol.bmp"));
}

TEST(InertialSystem, SampleTableModels) {
  comptest::SampleTable sample(L"inertial");
  ASSERT_TRUE(sample.loaded);
  devtest::DeviceBench bench;
  auto* n = bench.Create<CSCHInertialSystem>("InertialSystem");
  ASSERT_TRUE(n);
  // Nine axes over UART with a 3.3 V output.
  ASSERT_TRUE(sample.Find("IMU-9U"));
  n->ApplyDbRecord(sample.Find("IMU-9U"));
  EXPECT_EQ(n->record.flags, 0xFF);
  ASSERT_EQ(n->pinCount, 6);
  EXPECT_EQ(Visible(n->pins[3].name), L"+3.3V");
  EXPECT_STREQ(n->pins[3].description, L"Выход +3.3V, 100мА");
  EXPECT_FLOAT_EQ(n->accelDisp, 5);
  // Six axes as voltages: supply and six channel pins.
  ASSERT_TRUE(sample.Find("IMU-6A"));
  n->ApplyDbRecord(sample.Find("IMU-6A"));
  EXPECT_EQ(n->record.flags, kAccel | kRates);
  ASSERT_EQ(n->pinCount, 8);
  EXPECT_EQ(Visible(n->pins[7].name), L"Gyro OZ");
  EXPECT_FLOAT_EQ(n->Kaccel, 0.0002f);
}

}  // namespace
