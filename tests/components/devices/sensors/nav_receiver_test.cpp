// The satellite navigation receiver: its pins by model, the acquisition
// timer, the antenna check, the fix packet and the pose it names, requests
// over UART and USB, the supply's edges and burn-out, and its records.
#include "components/devices/sensors/nav_receiver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/electronic/radio/antenna.h"
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

// dt exact in binary, so the fix timer's sums are plain: 0.2 + 5 x 0.0625
// passes 0.5 at the fifth step.
const float dt = 0.0625f;
const int kSerial = kDevNavSerialFormat;

// A receiver named "G1" of the model set up before Wire: a 5 V supply, a
// UART host line (or a USB host), and an antenna at 1500 MHz with a range
// of 100 on its antenna input, placed by a pose of its own.
struct Rig {
  Rig() {
    r = bench.Create<CSCHNavReceiver>("NavReceiver");
    if (r) r->SetName(L"G1");
  }
  void Wire(float supply = 5) {
    probes.assign(r->pinCount, nullptr);
    if (r->powerPin >= 0) {
      for (int k = 0; k < 2; k++) {
        probes[r->powerPin + k] = bench.Part(1);
        bench.Wire(r, r->powerPin + k, probes[r->powerPin + k], 0);
      }
      probes[r->powerPin]->Drive(0, supply, rangetest::kStrong);
      probes[r->powerPin + 1]->Drive(0, 0, rangetest::kStrong);
    }
    if (r->serialPin >= 0) {
      rx = bench.Add<rangetest::Line>();
      rx->Set(5, 100, 5, 100, nullptr);
      bench.Wire(r, r->serialPin + 1, rx, 0);
      probes[r->serialPin + 2] = bench.Part(1);
      bench.Wire(r, r->serialPin + 2, probes[r->serialPin + 2], 0);
    }
    if (r->usbPin >= 0 && usbWired) {
      usb = bench.Add<UsbHost>();
      bench.Wire(r, r->usbPin, usb, 0);
    }
    if (r->antennaPin >= 0 && withAntenna) {
      antenna = bench.Create<CSCHAntenna>("Antenna");
      antenna->centreFrequency = 1500;
      antenna->bandwidth = 100;
      MakeIdentityMatrix(&antennaPose);
      antennaPose.m[12] = 12.5f;
      antennaPose.m[13] = -3;
      antennaPose.m[14] = 0.75f;
      antenna->pose = &antennaPose;
      bench.Wire(r, r->antennaPin, antenna, 0);
    }
  }
  // The requests on the UART line (or the USB host).
  void Send() {
    if (usb) usb->source.packets = requests.set;
    else rx->Set(5, 100, 0, 100, requests.set);
  }
  void Start() {
    bench.Build();
    bench.Start();
  }
  void Step(int n = 1) { bench.Step(n, dt); }
  std::vector<PacketView> Answers() { return rangetest::Packets(r->answerSet); }

  sensortest::PayloadHost host;  // outlives the bench
  devtest::DeviceBench bench;
  CSCHNavReceiver* r = nullptr;
  CSCHAntenna* antenna = nullptr;
  Mat4f antennaPose = {};
  rangetest::Line* rx = nullptr;
  UsbHost* usb = nullptr;
  bool usbWired = true;
  bool withAntenna = true;
  std::vector<circuit::Part*> probes;
  RequestSet requests;
};

std::vector<uint8_t> Fix(int counter, int precision, uint32_t handle) {
  return {static_cast<uint8_t>(counter), 0xA0, 0x31, static_cast<uint8_t>(precision),
          static_cast<uint8_t>(handle & 0xFF), static_cast<uint8_t>((handle >> 8) & 0xFF),
          static_cast<uint8_t>((handle >> 16) & 0xFF), static_cast<uint8_t>(handle >> 24)};
}

struct PinRow {
  const wchar_t* name;
  const wchar_t* description;
  int side, kind;
};

void ExpectPins(const CSCHNavReceiver* r, const std::vector<PinRow>& rows) {
  ASSERT_EQ(r->pinCount, static_cast<int>(rows.size()));
  for (size_t i = 0; i < rows.size(); i++) {
    SCOPED_TRACE(i);
    EXPECT_STREQ(r->pins[i].name, rows[i].name);
    EXPECT_STREQ(r->pins[i].description, rows[i].description);
    EXPECT_EQ(r->pins[i].side, rows[i].side);
    EXPECT_EQ(r->pins[i].kind, rows[i].kind);
  }
}

TEST(NavReceiver, DefaultModelHasSixPins) {
  devtest::DeviceBench bench;
  auto* r = bench.Create<CSCHNavReceiver>("NavReceiver");
  ASSERT_TRUE(r);
  ExpectPins(r, {{L"Ant", L"Антенна GPS/ГЛОНАСС", kSchSideLeft, kSchPinRf},
                 {L"+Eп", L"Плюс источника питания", kSchSideBottom, kSchPinElectric},
                 {L"GND", L"\"Земля\" источника питания", kSchSideBottom, kSchPinElectric},
                 {L"COM GND", L"\"Земля\" UART", kSchSideRight, kSchPinElectric},
                 {L"UART RX", L"Вход UART (TTL)", kSchSideRight, kSchPinElectric},
                 {L"UART TX", L"Выход UART (TTL)", kSchSideRight, kSchPinElectric}});
  EXPECT_EQ(r->antennaPin, 0);
  EXPECT_EQ(r->powerPin, 1);
  EXPECT_EQ(r->serialPin, 3);
  EXPECT_EQ(r->usbPin, -1);
  EXPECT_EQ(r->rect.right - r->rect.left, 200);
  EXPECT_EQ(r->rect.bottom - r->rect.top, 100);
}

TEST(NavReceiver, DatabaseModelDecidesThePins) {
  devtest::DeviceBench bench;
  auto* r = bench.Create<CSCHNavReceiver>("NavReceiver");
  ASSERT_TRUE(r);
  comptest::DbRow row(L"navigation",
                      {{"model", "NV-08"}, {"system", "259"}, {"precision", "300.7"}, {"baudrate", "0.25"},
                       {"U", "3.3"}, {"Umin", "3"}, {"Umax", "3.6"}, {"I", "0.05"}, {"usbPower", "1"},
                       {"rs232", "1"}, {"usb", "1"}, {"bluetooth", "1"}, {"ExtAntenna", "0"}});
  r->ApplyDbRecord(row.Record());
  ExpectPins(r, {{L"COM GND", L"\"Земля\" COM-порта", kSchSideRight, kSchPinElectric},
                 {L"COM RD", L"Вход COM-порта", kSchSideRight, kSchPinElectric},
                 {L"COM TD", L"Выход COM-порта", kSchSideRight, kSchPinElectric},
                 {L"USB", L"USB-клиент к управляющей ЭВМ", kSchSideRight, kSchPinUsb}});
  EXPECT_EQ(r->antennaPin, -1);
  EXPECT_EQ(r->powerPin, -1);
  EXPECT_EQ(r->serialPin, 0);
  EXPECT_EQ(r->usbPin, 3);
  EXPECT_EQ(r->system, 3);         // 259, its low byte
  EXPECT_EQ(r->precision, 300 & 0xFF);
  EXPECT_FLOAT_EQ(r->answerInterval, 0.25f);
  EXPECT_FLOAT_EQ(r->U, 3.3f);
  EXPECT_FLOAT_EQ(r->I, 0.05f);
  EXPECT_EQ(r->bluetooth, 1);
}

TEST(NavReceiver, AcquiresThenAnswersWithTheFixPacket) {
  Rig g;
  ASSERT_TRUE(g.r);
  g.Wire();
  g.requests.Put(1, 0, kSerial, {7});
  g.Send();
  g.Start();
  // 0.2 s at Start; five steps of 0.0625 s pass 0.5 s.
  g.Step(5);
  EXPECT_GE(g.r->fixTimer, 0.5f);
  EXPECT_TRUE(g.Answers().empty());
  // Step 6 takes the request (answer clock 0.0625); step 7 passes 0.1 s.
  g.Step();
  EXPECT_TRUE(g.Answers().empty());
  EXPECT_EQ(g.r->lastRequest, 7);
  g.Step();
  std::vector<PacketView> a = g.Answers();
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].id, 0);
  EXPECT_EQ(a[0].sequence, 1);
  EXPECT_EQ(a[0].format, kSerial);
  ASSERT_EQ(g.host.entries.size(), 1u);
  EXPECT_EQ(a[0].payload, Fix(1, 30, 1));
  // The handle names the antenna's pose, which the receiver took as its own.
  EXPECT_EQ(g.host.Resolve(a[0].payload), &g.antennaPose);
  EXPECT_EQ(g.r->pose, &g.antennaPose);
  // The UART TX line carries the answers at 5 V / 0 V behind 250 ohm.
  SchPinState tx = devtest::StateAt(g.probes[g.r->serialPin + 2], 0);
  EXPECT_EQ(tx.sourceKind, kSchSourceSerial);
  ASSERT_TRUE(tx.source);
  EXPECT_EQ(tx.source->packets, g.r->answerSet);
  sensortest::ExpectLevels(tx, 5, 250, 0, 250);
  g.bench.Stop();
  // Stop withdraws the pose: the handle no longer resolves.
  EXPECT_EQ(g.host.Resolve(1), nullptr);
}

TEST(NavReceiver, PowerLossesDelayOrRestartTheAcquisition) {
  // Unpowered from Start: 0.2 s runs down in 4 steps (0.1375, 0.075,
  // 0.0125, -0.05) and the acquisition restarts from -45 s.
  {
    Rig g;
    ASSERT_TRUE(g.r);
    g.Wire(0);
    g.Start();
    g.Step(3);
    EXPECT_NEAR(g.r->fixTimer, 0.0125f, 1e-6f);
    g.Step();
    EXPECT_EQ(g.r->fixTimer, CSCHNavReceiver::kRestart);
    g.Step(3);
    EXPECT_EQ(g.r->fixTimer, CSCHNavReceiver::kRestart);
  }
  // Acquired, then a short loss: the timer drops from 0.5 by the loss.
  {
    Rig g;
    ASSERT_TRUE(g.r);
    g.Wire();
    g.Start();
    g.Step(6);
    EXPECT_FLOAT_EQ(g.r->fixTimer, 0.5125f);
    g.probes[g.r->powerPin]->Drive(0, 0, rangetest::kStrong);
    g.Step(2);
    EXPECT_FLOAT_EQ(g.r->fixTimer, 0.375f);  // clamped to 0.5, less 2 x 0.0625
    g.probes[g.r->powerPin]->Drive(0, 5, rangetest::kStrong);
    g.Step(2);
    EXPECT_FLOAT_EQ(g.r->fixTimer, 0.5f);
  }
}

TEST(NavReceiver, AntennaMustSuitTheBand) {
  struct Case {
    float freq, range;
    bool answers;
  } cases[] = {
      {1500, 100, true},   // centred
      {1500, 0.5f, true},  // centred, any positive range
      {1700, 1000, false}, // 0.2 > 0.1
      {1550, 1000, true},  // 0.05
      {1500, 0, false},    // no range: no band (guarded division)
      {1500, -10, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.freq) + " / " + std::to_string(c.range));
    Rig g;
    ASSERT_TRUE(g.r);
    g.Wire();
    g.antenna->centreFrequency = c.freq;
    g.antenna->bandwidth = c.range;
    g.requests.Put(1, 0, kSerial, {7});
    g.Send();
    g.Start();
    g.Step(8);
    EXPECT_EQ(g.Answers().size(), c.answers ? 1u : 0u);
  }
  // No antenna on the input: nothing.
  Rig g;
  ASSERT_TRUE(g.r);
  g.withAntenna = false;
  g.Wire();
  g.requests.Put(1, 0, kSerial, {7});
  g.Send();
  g.Start();
  g.Step(8);
  EXPECT_TRUE(g.Answers().empty());
}

TEST(NavReceiver, AnswersEachNewRequestOnce) {
  Rig g;
  ASSERT_TRUE(g.r);
  g.Wire();
  g.requests.Put(1, 0, kSerial, {7});
  // A packet of another format or id is no request.
  g.requests.Put(2, 0, kSerial, {9});
  g.Send();
  g.Start();
  g.Step(7);
  ASSERT_EQ(g.Answers().size(), 1u);
  EXPECT_EQ(g.Answers()[0].payload[0], 1);
  // A new byte right after the answer: taken at once, answered only when
  // the clock passes 0.1 s again (the second step).
  g.requests.Put(1, 1, kSerial, {8});
  g.Step();
  EXPECT_EQ(g.Answers()[0].payload[0], 1);
  g.Step();
  EXPECT_EQ(g.Answers()[0].payload, Fix(2, 30, 1));
  // The same first byte again (a new sequence): no further answer.
  g.requests.Put(1, 2, kSerial, {8});
  g.Step(4);
  EXPECT_EQ(g.Answers()[0].payload[0], 2);
}

TEST(NavReceiver, LateRequestIsAnsweredInTheSameStep) {
  Rig g;
  ASSERT_TRUE(g.r);
  g.Wire();
  g.Start();
  g.Step(9);  // acquired at step 6; the clock runs past 0.1 s
  EXPECT_GT(g.r->answerClock, g.r->answerInterval);
  g.requests.Put(1, 0, kSerial, {3});
  g.Send();
  g.Step();
  ASSERT_EQ(g.Answers().size(), 1u);
  EXPECT_EQ(g.r->answerClock, 0);
}

TEST(NavReceiver, UsbModelAnswersOnlyOverUsb) {
  Rig g;
  ASSERT_TRUE(g.r);
  g.r->serialKind = kDevNavRs232;
  g.r->usb = 1;
  g.r->BuildPins();
  g.Wire();
  g.requests.Put(1, 0, 0, {7});
  // The same request on the COM line at RS-232 levels: not taken.
  g.rx->Set(-10, 100, 10, 100, g.requests.set);
  g.Send();
  g.Start();
  g.Step(7);
  // The answer joined the host's set; the answer set stays empty.
  EXPECT_TRUE(g.Answers().empty());
  std::vector<PacketView> a = rangetest::Packets(g.requests.set);
  ASSERT_EQ(a.size(), 2u);
  EXPECT_EQ(a[1].id, 0);
  EXPECT_EQ(a[1].format, 0);
  EXPECT_EQ(a[1].payload, Fix(1, 30, 1));
  SchNet* net = g.r->pins[g.r->usbPin].net;
  EXPECT_EQ(net->sourceKind, kSchSourceUsbHost);
  EXPECT_EQ(net->source->packets, g.requests.set);
  EXPECT_EQ(devtest::StateAt(g.probes[g.r->serialPin + 2], 0).source, nullptr);
}

TEST(NavReceiver, UsbPoweredWithoutUsbNetNeverAnswers) {
  Rig g;
  ASSERT_TRUE(g.r);
  g.r->usbPower = 1;
  g.r->usb = 1;
  g.r->serialKind = kDevNavNoSerial;
  g.r->externalAntenna = 0;
  g.r->BuildPins();
  ASSERT_EQ(g.r->pinCount, 1);
  g.usbWired = false;
  g.Wire();
  LogCapture log;
  g.Start();
  g.Step(20);
  EXPECT_FLOAT_EQ(g.r->fixTimer, CSCHNavReceiver::kRestart);
  EXPECT_TRUE(g.Answers().empty());
  EXPECT_EQ(g.r->burnt, 0);
  EXPECT_EQ(log.Count(), 0);
}

TEST(NavReceiver, WithoutAntennaThePoseStaysTheSimulators) {
  Rig g;
  ASSERT_TRUE(g.r);
  g.r->externalAntenna = 0;
  g.r->BuildPins();
  g.Wire();
  g.requests.Put(1, 0, kSerial, {7});
  g.Send();
  g.Start();
  // No pose set: the fix names nothing (handle 0), read as "no fix".
  g.Step(7);
  ASSERT_EQ(g.Answers().size(), 1u);
  EXPECT_EQ(g.Answers()[0].payload, Fix(1, 30, 0));
  Mat4f pose;
  MakeIdentityMatrix(&pose);
  g.r->pose = &pose;
  g.requests.Put(1, 1, kSerial, {8});
  g.Step(2);
  EXPECT_EQ(g.Answers()[0].payload, Fix(2, 30, 1));
  EXPECT_EQ(g.host.Resolve(1), &pose);
  EXPECT_EQ(g.r->pose, &pose);
}

TEST(NavReceiver, SupplyEdgesAndBurnOut) {
  struct Case {
    float supply;
    bool answers, burns;
  } cases[] = {
      {6.0f, true, false},   // exactly Umax (less the 1e-5 ohm sources): works
      {6.1f, false, true},   // above Umax
      {4.5f, false, false},  // exactly Umin: unpowered
      {4.6f, true, false},
      {-1.1f, false, true},  // reversed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.supply);
    Rig g;
    ASSERT_TRUE(g.r);
    g.Wire(c.supply);
    g.requests.Put(1, 0, kSerial, {7});
    g.Send();
    LogCapture log;
    g.Start();
    g.Step(8);
    EXPECT_EQ(g.Answers().size(), c.answers ? 1u : 0u);
    EXPECT_EQ(g.r->burnt, c.burns ? 1 : 0);
    ASSERT_EQ(log.Count(), c.burns ? 1 : 0);
    if (c.burns) {
      EXPECT_EQ(log.Messages()[0], L"Навигационный приемник \"G1\" вышел из строя");
    }
  }
}

TEST(NavReceiver, UartLineOutsideItsLevelsBurns) {
  Rig g;
  ASSERT_TRUE(g.r);
  g.Wire();
  g.rx->Set(6, 1e-5f, 0, 100, g.requests.set);
  LogCapture log;
  g.Start();
  g.Step(7);
  EXPECT_EQ(g.r->burnt, 1);
  EXPECT_EQ(log.Count(), 1);
}

TEST(NavReceiver, RecordRoundTripAndTruncations) {
  devtest::DeviceBench bench;
  auto* r = bench.Create<CSCHNavReceiver>("NavReceiver");
  ASSERT_TRUE(r);
  r->SetName(L"G7");
  r->system = 2;
  r->precision = 0x0123;
  r->answerInterval = 0.25f;
  r->U = 3.3f;
  r->I = 0.05f;
  r->Umin = 3;
  r->Umax = 3.6f;
  r->usbPower = 1;
  r->serialKind = kDevNavRs232;
  r->usb = 1;
  r->bluetooth = 1;
  r->externalAntenna = 0;
  r->BuildPins();
  r->mass = 0.125f;
  EXPECT_TRUE(velktest::BytesEqual(devtest::FieldsBefore<CSCHDevice>(r), Golden()
                                                                          .B(2)
                                                                          .B(0x23)
                                                                          .B(0x01)
                                                                          .F(0.25f)
                                                                          .F(3.3f)
                                                                          .F(0.05f)
                                                                          .F(3)
                                                                          .F(3.6f)
                                                                          .B(1)
                                                                          .B(1)
                                                                          .B(1)
                                                                          .B(1)
                                                                          .B(0)
                                                                          .Bytes()));
  const std::vector<uint8_t> bytes = comptest::SaveBytes(r);
  comptest::ForEachTruncation<CSCHNavReceiver>("NavReceiver", bytes, [&](CSCHNavReceiver* copy, size_t n) {
    if (n < CSCHNavReceiver::kOwnRecordBytes) {
      EXPECT_EQ(copy->pinCount, 6);
      EXPECT_EQ(copy->precision, 30);
      EXPECT_EQ(copy->serialKind, kDevNavUart);
    } else {
      EXPECT_EQ(copy->pinCount, 4);
      EXPECT_EQ(copy->usbPin, 3);
      EXPECT_EQ(copy->precision, 0x0123);
    }
    if (n == bytes.size()) {
      EXPECT_STREQ(copy->instanceName, L"G7");
      EXPECT_FLOAT_EQ(copy->mass, 0.125f);
      EXPECT_TRUE(velktest::BytesEqual(devtest::ResavedBytes(copy), bytes));
    }
  });
  // A flag byte above 1: refused, nothing changed.
  std::vector<uint8_t> bad = bytes;
  bad[23] = 2;
  auto copy = comptest::NewDetached<CSCHNavReceiver>("NavReceiver");
  ASSERT_TRUE(copy);
  comptest::LoadBytes(copy.get(), bad);
  EXPECT_EQ(copy->pinCount, 6);
  EXPECT_EQ(copy->precision, 30);
}

TEST(NavReceiver, RunStateCarriesTheFixTimer) {
  devtest::DeviceBench bench;
  auto* r = bench.Create<CSCHNavReceiver>("NavReceiver");
  ASSERT_TRUE(r);
  r->fixTimer = -12.5f;
  r->burnt = 1;
  const std::vector<uint8_t> bytes = comptest::SaveRunStateBytes(r);
  EXPECT_TRUE(velktest::BytesEqual(bytes, Golden().Raw("NavReceiver", 12).B(1).F(-12.5f).Bytes()));
  auto copy = comptest::NewDetached<CSCHNavReceiver>("NavReceiver");
  ASSERT_TRUE(copy);
  EXPECT_TRUE(comptest::LoadRunStateBytes(copy.get(), bytes));
  EXPECT_EQ(copy->fixTimer, -12.5f);
  EXPECT_EQ(copy->burnt, 1);
  // Another class's run state: refused, nothing read.
  std::vector<uint8_t> other = Golden().Raw("URM37", 6).B(1).F(3).Bytes();
  auto fresh = comptest::NewDetached<CSCHNavReceiver>("NavReceiver");
  EXPECT_FALSE(comptest::LoadRunStateBytes(fresh.get(), other));
  EXPECT_EQ(fresh->burnt, 0);
}

TEST(NavReceiver, SymbolIsAGreyBoxWithItsTitle) {
  devtest::DeviceBench bench;
  auto* r = bench.Create<CSCHNavReceiver>("NavReceiver");
  ASSERT_TRUE(r);
  comptest::SymbolCanvas canvas(240, 140);
  EXPECT_TRUE(canvas.Paint(r, 20, 20));
  // The frame in black, the body grey; "GPS/ГЛОНАСС" in the band 40 px
  // below the top, centred; nothing drawn above it inside the body.
  EXPECT_EQ(canvas.Pixel(20, 70), RGB(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(30, 30), RGB(0xCC, 0xCC, 0xCC));
  EXPECT_EQ(canvas.Pixel(30, 110), RGB(0xCC, 0xCC, 0xCC));
  int text = 0;
  for (int y = 60; y < 80; y++)
    for (int x = 60; x < 180; x++)
      if (canvas.Pixel(x, y) != RGB(0xCC, 0xCC, 0xCC)) text++;
  EXPECT_GT(text, 20);
  for (int y = 25; y < 58; y++)
    for (int x = 25; x < 215; x++) ASSERT_EQ(canvas.Pixel(x, y), RGB(0xCC, 0xCC, 0xCC)) << x << "," << y;
  EXPECT_TRUE(canvas.Save(L"nav_receiver_symbol.bmp"));
}

TEST(NavReceiver, SampleTableModels) {
  comptest::SampleTable sample(L"gps");
  ASSERT_TRUE(sample.loaded);
  devtest::DeviceBench bench;
  auto* r = bench.Create<CSCHNavReceiver>("NavReceiver");
  ASSERT_TRUE(r);
  // A UART module with an external antenna: the six pins of the defaults.
  ASSERT_TRUE(sample.Find("NV-08C-CSM"));
  r->ApplyDbRecord(sample.Find("NV-08C-CSM"));
  EXPECT_EQ(r->pinCount, 6);
  EXPECT_EQ(r->serialKind, kDevNavUart);
  EXPECT_FLOAT_EQ(r->I, 0.1f);
  EXPECT_FLOAT_EQ(r->mass, 0.01f);
  // A USB stick powered by its port, with its own antenna: the USB pin.
  ASSERT_TRUE(sample.Find("GNSS-USB"));
  r->ApplyDbRecord(sample.Find("GNSS-USB"));
  ASSERT_EQ(r->pinCount, 1);
  EXPECT_EQ(r->usbPin, 0);
  EXPECT_EQ(r->precision, 50);
  EXPECT_FLOAT_EQ(r->answerInterval, 0.2f);
}

}  // namespace
