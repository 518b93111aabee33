// The range-finder frame and the pulse-echo finders: creation, the supply
// window of every finder, burn-out, the 0.04 s cycle of the SEN136B5B and
// the SRF-05 (trigger edges, trigger pulse sources, the echo of a known
// distance), the SRF-05's modes and world pose, and the symbol.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "components/devices/sensors/range_finder.h"
#include "components/devices/sensors/sen136b5b.h"
#include "components/devices/sensors/srf05.h"
#include "components/devices/sensors/urm04.h"
#include "components/devices/sensors/urm37.h"
#include "components/electronic/motor/h_bridge.h"
#include "kestui/graphics/image.h"
#include "support/test_support.h"
#include "tests/components/devices/sensors/range_finder_kit.h"

namespace {

using comptest::LogCapture;
using rangetest::Finder;

const wchar_t kBurntD1[] = L"Дальномер \"D1\" вышел из строя!";
const float dt = 1e-3f;

TEST(PulseEchoFinders, CreatedThroughTheRegistryWithTheirPins) {
  devtest::DeviceBench bench;
  auto* sen = bench.Create<CSEN136B5B>("SEN136B5B");
  auto* srf = bench.Create<CIE_SRF_05>("SRF-05");
  ASSERT_NE(sen, nullptr);
  ASSERT_NE(srf, nullptr);
  EXPECT_EQ(sen->rect.right - sen->rect.left, 80);
  EXPECT_EQ(sen->rect.bottom - sen->rect.top, 84);
  EXPECT_EQ(srf->rect.right - srf->rect.left, 100);
  EXPECT_EQ(srf->rect.bottom - srf->rect.top, 84);
  EXPECT_EQ(sen->raisePinLabels, 1);
  EXPECT_EQ(srf->raisePinLabels, 1);
  EXPECT_EQ(sen->pose, nullptr);
  EXPECT_EQ(srf->pose, nullptr);
  struct PinRow {
    const wchar_t* name;
    const wchar_t* text;
    int offset;
  };
  const PinRow senPins[] = {{L"+5V", L"Питание +5V", 21},
                            {L"Trig/Echo", L"Вход запуска по заднему фронту, ШИМ от 0.1 до 25 мс", 42},
                            {L"Gnd", L"\"Земля\"", 63}};
  const PinRow srfPins[] = {
      {L"+5V", L"Питание +5V", 14},
      {L"Echo", L"Выход эхо, в двухканальном режиме. ШИМ от 0.1 до 25 мс", 28},
      {L"Trigger", L"Импульс начала измерения, минимум 10 мкс", 42},
      {L"Mode", L"Не подключен для двухканального режима. \"Земля\" в одноканальном режиме", 56},
      {L"Gnd", L"\"Земля\"", 70}};
  ASSERT_EQ(sen->pinCount, 3);
  for (int i = 0; i < 3; i++) {
    EXPECT_STREQ(sen->pins[i].name, senPins[i].name);
    EXPECT_STREQ(sen->pins[i].description, senPins[i].text);
    EXPECT_EQ(sen->pins[i].offset, senPins[i].offset) << i;
    EXPECT_EQ(sen->pins[i].side, kSchSideLeft);
    EXPECT_EQ(sen->pins[i].kind, kSchPinElectric);
  }
  ASSERT_EQ(srf->pinCount, 5);
  for (int i = 0; i < 5; i++) {
    EXPECT_STREQ(srf->pins[i].name, srfPins[i].name);
    EXPECT_STREQ(srf->pins[i].description, srfPins[i].text);
    EXPECT_EQ(srf->pins[i].offset, srfPins[i].offset) << i;
    EXPECT_EQ(srf->pins[i].side, kSchSideLeft);
  }
  for (const PulseEchoCycle* c : {&sen->cycle, &srf->cycle}) {
    EXPECT_EQ(PulseEchoPeriod(*c), 0.06f);
    EXPECT_EQ(PulseEchoDuty(*c), 0.0f);
    EXPECT_EQ(c->measured, 0);
  }
  // Their record is the device record.
  sen->form = 2;
  sen->mass = 0.01f;
  CMemoryStream device;
  sen->CSCHDevice::Save(&device);
  EXPECT_TRUE(velktest::BytesEqual(comptest::SaveBytes(sen), comptest::StreamBytes(device)));
}

// The pins to probe: every pin, but the URM04's first connector only.
std::vector<int> FirstConnector(const char* className) {
  return std::string(className) == "URM04" ? std::vector<int>{0, 1, 2, 3} : std::vector<int>{};
}

// Each finder's supply window: it works at its burn limit, burns just
// above it and below -0.5 V, and is off at its working limit.
struct WindowCase {
  const char* className;
  int plus, minus;
  float burnAbove, worksAbove;
  // Wires what shows the finder on, after one step.
  std::function<bool(Finder<CSCHBlock>&)> on;
};

TEST(RangeFinderFrame, SupplyWindowOfEveryFinder) {
  const WindowCase cases[] = {
      {"SEN136B5B", 0, 2, 6.1f, 3.7f,
       [](Finder<CSCHBlock>& f) {
         // On, the first step fills the echo source.
         return PulseEchoPeriod(static_cast<CSEN136B5B*>(f.finder)->cycle) == kPulseEchoPeriod;
       }},
      {"SRF-05", 0, 4, 6.1f, 3.7f,
       [](Finder<CSCHBlock>& f) {
         // On, Mode has its pull-up.
         float R = 0;
         f.Read(CIE_SRF_05::kModePin, &R);
         return std::fabs(R - 10000) < 1;
       }},
      {"URM37", 0, 1, 6.2f, 2.7f,
       [](Finder<CSCHBlock>& f) {
         // On, RXD has the receiver's 12 kohm load.
         float R = 0;
         f.Read(CURM37::kRxdPin, &R);
         return std::fabs(R - 12000) < 1;
       }},
      {"URM04", 0, 1, 6.2f, 3.7f,
       [](Finder<CSCHBlock>& f) {
         // On, line A sees line B (1 V behind 100 ohm) through the termination.
         float R = 0;
         float U = f.Read(CURM04::kAPin, &R);
         return std::fabs(U - 1) < 1e-3f && std::fabs(R - 12100) < 1;
       }},
  };
  for (const WindowCase& c : cases) {
    SCOPED_TRACE(c.className);
    struct Probe {
      float V;
      bool burnt, on;
    };
    const Probe probes[] = {{c.burnAbove, false, true},
                            {c.burnAbove + 0.0001f, true, false},
                            {c.worksAbove, false, false},
                            {c.worksAbove + 0.01f, false, true},
                            {-0.5f, false, false},
                            {-0.5001f, true, false}};
    for (const Probe& p : probes) {
      SCOPED_TRACE(p.V);
      LogCapture log;
      // The URM04's second connector stays unwired: its pins would share the
      // probed nets.
      Finder<CSCHBlock> f(c.className, FirstConnector(c.className));
      ASSERT_NE(f.finder, nullptr);
      f.Supply(p.V, c.plus, c.minus);
      if (std::string(c.className) == "URM04") f.probes[CURM04::kBPin]->Drive(0, 1, 100);
      f.Start();
      f.bench.Step(1, dt);
      EXPECT_EQ(f.finder->burnt, p.burnt ? 1 : 0);
      EXPECT_EQ(c.on(f), p.on);
      EXPECT_EQ(log.Messages(), p.burnt ? std::vector<std::wstring>{kBurntD1} : std::vector<std::wstring>{});
      // The supply is loaded with 5 V over the supply current while it is not burnt.
      if (!p.burnt) {
        float R = 0;
        f.Read(c.minus, &R);
        const float load = c.minus == 2 ? 5 / 0.0015f : (c.minus == 4 ? 1250.0f : 250.0f);
        EXPECT_NEAR(R, load, load * 1e-4f);
      }
    }
  }
}

TEST(RangeFinderFrame, BurntFinderReleasesEveryPinLogsOnceAndStaysBurnt) {
  for (const char* name : {"SEN136B5B", "SRF-05", "URM37", "URM04"}) {
    SCOPED_TRACE(name);
    LogCapture log;
    Finder<CSCHBlock> f(name, FirstConnector(name));
    const int minus = f.finder->pinCount == 3 ? 2 : (f.finder->pinCount == 5 ? 4 : 1);
    f.Supply(7, 0, minus);
    f.Start();
    f.bench.Step(5, dt);
    EXPECT_EQ(f.finder->burnt, 1);
    // The supply back in its window does not bring it back.
    f.Supply(5, 0, minus);
    f.bench.Step(5, dt);
    for (int pin = 0; pin < f.finder->pinCount; pin++) {
      if (!f.probes[pin]) continue;
      EXPECT_TRUE(f.Released(pin)) << pin;
    }
    EXPECT_EQ(log.Messages(), std::vector<std::wstring>{kBurntD1});
    // Nor does a new run: Start keeps the flag.
    f.bench.Stop();
    f.Start();
    f.bench.Step(2, dt);
    EXPECT_EQ(f.finder->burnt, 1);
    EXPECT_EQ(log.Count(), 1);
    f.bench.Stop();
  }
}

// The SEN136B5B with its line: a falling edge after a high level starts
// the cycle; returns the finder's bench ready after the edge's step.
struct Sen {
  Sen() : f("SEN136B5B") {
    f.Supply(5, CSEN136B5B::kSupplyPin, CSEN136B5B::kGroundPin);
    f.Start();
  }
  CSEN136B5B* s() { return f.finder; }
  void High() { f.probes[CSEN136B5B::kTrigEchoPin]->Drive(0, 5, 1000); }
  // The host lets go of the line: a weak low level.
  void Low() { f.probes[CSEN136B5B::kTrigEchoPin]->Drive(0, 0, 1e6f); }
  void Edge() {
    High();
    f.bench.Step(3, dt);
    Low();
    f.bench.Step(1, dt);
  }
  Finder<CSEN136B5B> f;
};

TEST(Sen136b5b, FallingEdgeStartsOneCycleWithTheEchoOfAKnownDistance) {
  Sen sen;
  sen.f.Place(1.0f, &sen.s()->axisDistance);
  sen.Low();
  sen.f.bench.Step(5, dt);
  // A low level without a high one before starts nothing.
  EXPECT_EQ(sen.s()->cycle.cycleTimer, 0.0f);
  EXPECT_TRUE(sen.f.Released(CSEN136B5B::kTrigEchoPin));
  sen.Edge();
  EXPECT_GT(sen.s()->cycle.cycleTimer, 0.0385f);
  // 0.01 s of low level: 0.1 V behind 250 ohm.
  for (int step = 1; step < 9; step++) {
    float R = 0;
    EXPECT_NEAR(sen.f.Read(CSEN136B5B::kTrigEchoPin, &R), 0.1f, 1e-3f) << step;
    EXPECT_NEAR(R, 250, 0.1f);
    SchPinState st = sen.f.State(CSEN136B5B::kTrigEchoPin);
    EXPECT_EQ(st.source, nullptr);
    // A second edge in the running cycle is ignored.
    if (step == 3) sen.High();
    if (step == 5) sen.Low();
    sen.f.bench.Step(1, dt);
  }
  sen.f.bench.Step(3, dt);
  // The echo: 4.9 V and 0.1 V behind 250 ohm, a pulse-width source of
  // period 0.0232 s and duty 1 m / 4 m, 5.8 ms of high level.
  for (int step = 12; step < 38; step++) {
    SchPinState st = sen.f.State(CSEN136B5B::kTrigEchoPin);
    ASSERT_NE(st.source, nullptr) << step;
    EXPECT_EQ(st.sourceKind, kSchSourceOwnWeight);
    EXPECT_NEAR(st.U, 4.9f, 1e-3f);
    EXPECT_NEAR(st.U2, 0.1f, 1e-3f);
    EXPECT_NEAR(st.R, 250, 0.1f);
    EXPECT_NEAR(st.R2, 250, 0.1f);
    EXPECT_EQ(GetPwmPeriod(st.source), 0.0232f);
    EXPECT_EQ(st.source->weight, 0.25f);
    EXPECT_NEAR(GetPwmPeriod(st.source) * st.source->weight, 0.0058f, 1e-7f);
    sen.f.bench.Step(1, dt);
  }
  // The cycle ends 0.04 s after the edge: the line is released, and the
  // second edge inside the cycle started no new one.
  sen.f.bench.Step(4, dt);
  EXPECT_LE(sen.s()->cycle.cycleTimer, 0.0f);
  EXPECT_TRUE(sen.f.Released(CSEN136B5B::kTrigEchoPin));
  sen.f.bench.Step(20, dt);
  EXPECT_TRUE(sen.f.Released(CSEN136B5B::kTrigEchoPin));
}

TEST(Sen136b5b, EchoDutyFollowsTheDistanceUpToItsFullRange) {
  struct Case {
    float distance, duty;
  };
  for (Case c : {Case{0, 0}, Case{2, 0.5f}, Case{4, 1}, Case{6.5f, 1}}) {
    SCOPED_TRACE(c.distance);
    Sen sen;
    sen.f.Place(c.distance, &sen.s()->axisDistance);
    sen.Edge();
    sen.f.bench.Step(20, dt);
    EXPECT_EQ(PulseEchoPeriod(sen.s()->cycle), 0.0232f);
    EXPECT_EQ(PulseEchoDuty(sen.s()->cycle), c.duty);
    if (c.distance == 0) {
      // A duty of 0: the echo line reads as its low level.
      float U = 0, R = 0;
      ResolvePinState(sen.f.State(CSEN136B5B::kTrigEchoPin), &U, &R);
      EXPECT_NEAR(U, 0.1f, 1e-3f);
    }
  }
}

TEST(Sen136b5b, WithoutAWorldPoseItMeasuresNothing) {
  Sen sen;
  sen.s()->axisDistance = 3;  // ignored without a pose
  sen.Edge();
  sen.f.bench.Step(20, dt);
  EXPECT_EQ(PulseEchoDuty(sen.s()->cycle), 0.0f);
  float U = 0, R = 0;
  ResolvePinState(sen.f.State(CSEN136B5B::kTrigEchoPin), &U, &R);
  EXPECT_NEAR(U, 0.1f, 1e-3f);
}

TEST(Sen136b5b, TriggerPulseSourceStartsACyclePerPeriodOnlyWithADuty) {
  for (float duty : {0.0f, 0.5f}) {
    SCOPED_TRACE(duty);
    devtest::DeviceBench bench;
    auto* s = bench.Create<CSEN136B5B>("SEN136B5B");
    auto* plus = bench.Source(5);
    auto* ground = bench.Ground();
    auto* pwm = bench.Add<devtest::StateDriver>();
    bench.Wire(s, CSEN136B5B::kSupplyPin, plus, 0);
    bench.Wire(s, CSEN136B5B::kGroundPin, ground, 0);
    bench.Wire(s, CSEN136B5B::kTrigEchoPin, pwm, 0);
    pwm->SetPwm(5, 100, 0, 100, 0.1f, duty);
    bench.Build();
    bench.Start();
    std::vector<int> starts;
    for (int step = 1; step <= 400; step++) {
      const bool running = s->cycle.cycleTimer > 0;
      bench.Step(1, dt);
      if (!running && s->cycle.cycleTimer > 0) starts.push_back(step);
    }
    if (duty == 0) {
      EXPECT_TRUE(starts.empty());
      continue;
    }
    // The pulse time passes 0.1 s on the 101st step it grows; it does not
    // grow during the 40 steps of a cycle.
    ASSERT_EQ(starts.size(), 3u);
    EXPECT_NEAR(starts[0], 101, 1);
    EXPECT_NEAR(starts[1] - starts[0], 141, 2);
    EXPECT_NEAR(starts[2] - starts[1], 141, 2);
  }
}

TEST(Sen136b5b, TriggerOutsideTheRailsBurnsIt) {
  LogCapture log;
  Sen sen;
  sen.f.probes[CSEN136B5B::kTrigEchoPin]->Drive(0, 5.6f, 1e-3f);
  sen.f.bench.Step(1, dt);
  EXPECT_EQ(sen.s()->burnt, 1);
  EXPECT_EQ(log.Messages(), std::vector<std::wstring>{kBurntD1});
}

TEST(Sen136b5b, OffItReleasesItsLine) {
  Sen sen;
  sen.f.Supply(3.7f, CSEN136B5B::kSupplyPin, CSEN136B5B::kGroundPin);
  sen.Edge();
  sen.f.bench.Step(5, dt);
  EXPECT_EQ(sen.s()->cycle.cycleTimer, 0.0f);
  EXPECT_TRUE(sen.f.Released(CSEN136B5B::kTrigEchoPin));
}

// The SRF-05 with Mode open or grounded.
struct Srf {
  explicit Srf(bool modeGrounded)
      : f("SRF-05", modeGrounded ? std::vector<int>{0, 1, 2, 3, 4} : std::vector<int>{0, 1, 2, 4}) {
    f.Supply(5, CIE_SRF_05::kSupplyPin, CIE_SRF_05::kGroundPin);
    if (modeGrounded) f.probes[CIE_SRF_05::kModePin]->Drive(0, 0, kSchMinResistance);
    f.Start();
  }
  CIE_SRF_05* s() { return f.finder; }
  void Edge() {
    f.probes[CIE_SRF_05::kTriggerPin]->Drive(0, 5, 1000);
    f.bench.Step(3, dt);
    f.probes[CIE_SRF_05::kTriggerPin]->Drive(0, 0, 1e6f);
    f.bench.Step(1, dt);
  }
  Finder<CIE_SRF_05> f;
};

TEST(Srf05, ModeOpenAnswersOnEcho) {
  Srf srf(false);
  srf.f.Place(2, &srf.s()->axisDistance);
  // Mode reads close to the supply through the pull-up.
  float mode = 0;
  RangeFinderSupply supply = {5, kSchMinResistance, 0, kSchMinResistance, 5, 2.5f};
  ASSERT_TRUE(ReadPullUpInput(srf.s(), CIE_SRF_05::kModePin, supply, &mode));
  EXPECT_NEAR(mode, 5 - 5 * 10000 / (5e6f + 10000), 1e-3f);
  // Before a cycle Echo is held low.
  srf.f.bench.Step(1, dt);
  float R = 0;
  EXPECT_NEAR(srf.f.Read(CIE_SRF_05::kEchoPin, &R), 0.1f, 1e-3f);
  EXPECT_NEAR(R, 250, 0.1f);
  srf.Edge();
  srf.f.bench.Step(3, dt);
  EXPECT_NEAR(srf.f.Read(CIE_SRF_05::kEchoPin), 0.1f, 1e-3f);
  srf.f.bench.Step(10, dt);
  SchPinState echo = srf.f.State(CIE_SRF_05::kEchoPin);
  ASSERT_NE(echo.source, nullptr);
  EXPECT_EQ(GetPwmPeriod(echo.source), 0.0232f);
  EXPECT_EQ(echo.source->weight, 0.5f);
  EXPECT_TRUE(srf.f.Released(CIE_SRF_05::kTriggerPin));
  // After the cycle Echo is held low again.
  srf.f.bench.Step(30, dt);
  EXPECT_EQ(srf.f.State(CIE_SRF_05::kEchoPin).source, nullptr);
  EXPECT_NEAR(srf.f.Read(CIE_SRF_05::kEchoPin), 0.1f, 1e-3f);
}

TEST(Srf05, ModeGroundedAnswersOnTrigger) {
  Srf srf(true);
  srf.f.Place(1, &srf.s()->axisDistance);
  srf.Edge();
  srf.f.bench.Step(3, dt);
  float R = 0;
  EXPECT_NEAR(srf.f.Read(CIE_SRF_05::kTriggerPin, &R), 0.1f, 1e-3f);
  srf.f.bench.Step(10, dt);
  SchPinState echo = srf.f.State(CIE_SRF_05::kTriggerPin);
  ASSERT_NE(echo.source, nullptr);
  EXPECT_EQ(echo.source->weight, 0.25f);
  EXPECT_TRUE(srf.f.Released(CIE_SRF_05::kEchoPin));
  srf.f.bench.Step(30, dt);
  EXPECT_TRUE(srf.f.Released(CIE_SRF_05::kTriggerPin));
}

TEST(Srf05, WithoutAWorldPoseTheEchoSourceKeepsItsFirstValues) {
  Srf srf(false);
  srf.s()->axisDistance = 2;
  srf.Edge();
  srf.f.bench.Step(45, dt);
  EXPECT_EQ(PulseEchoPeriod(srf.s()->cycle), 0.06f);
  EXPECT_EQ(PulseEchoDuty(srf.s()->cycle), 0.0f);
  EXPECT_EQ(srf.s()->cycle.measured, 0);
}

TEST(Srf05, OffItReleasesEchoTriggerAndMode) {
  Finder<CIE_SRF_05> f("SRF-05");
  f.Supply(3.0f, CIE_SRF_05::kSupplyPin, CIE_SRF_05::kGroundPin);
  f.Start();
  f.bench.Step(3, dt);
  for (int pin : {CIE_SRF_05::kEchoPin, CIE_SRF_05::kTriggerPin, CIE_SRF_05::kModePin})
    EXPECT_TRUE(f.Released(pin)) << pin;
}

TEST(RangeFinderFrame, SymbolPictureLeadsAndName) {
  comptest::IconsFolderScope icons(devtest::ShippedIconsFolder());
  CKestImage picture;
  ASSERT_EQ(picture.Load((devtest::ShippedIconsFolder() + L"distsensor.png").c_str()), S_OK);
  ASSERT_EQ(picture.GetWidth(), kRangeFinderPictureWidth);
  ASSERT_EQ(picture.GetHeight(), kRangeFinderPictureHeight);
  devtest::DeviceBench bench;
  comptest::SymbolCanvas canvas(520, 130);
  int x = 10;
  for (const char* name : {"URM37", "URM04", "SEN136B5B", "SRF-05"}) {
    SCOPED_TRACE(name);
    CSCHBlock* b = bench.scheme->CreateBlock(name);
    ASSERT_NE(b, nullptr);
    b->SetName(L"D1");
    ASSERT_TRUE(canvas.Paint(b, x, 10));
    const int w = b->rect.right - b->rect.left;
    const int left = x + w - kRangeFinderPictureWidth;
    // The picture at its own size beside the leads.
    int same = 0;
    for (int py = 0; py < kRangeFinderPictureHeight; py++)
      for (int px = 0; px < kRangeFinderPictureWidth; px++)
        if (devtest::Near(canvas.Pixel(left + px, 10 + py), picture.GetPixel(px, py), 8)) same++;
    EXPECT_GE(same, kRangeFinderPictureWidth * kRangeFinderPictureHeight * 95 / 100);
    // A black lead from the left edge to the picture for every pin.
    for (int i = 0; i < b->pinCount; i++) {
      const int y = 10 + b->pins[i].offset;
      EXPECT_EQ(canvas.Pixel(x, y), RGB(0, 0, 0)) << i;
      EXPECT_EQ(canvas.Pixel(left - 1, y), RGB(0, 0, 0)) << i;
    }
    // The name below the body, centred on 100 px.
    EXPECT_GT(canvas.InkIn(x + 30, 10 + 85, x + 70, 10 + 105), 0);
    x += w + 30;
  }
  EXPECT_TRUE(canvas.Save(L"range_finders.bmp"));
}

}  // namespace
