// The URM37 serial range finder: its pins, its record, requests answered in
// each mode at TTL and RS-232 levels with the answer bytes and timing, the
// requests it skips, the reset and enable inputs, the automatic and the
// triggered modes, the burn-outs of its inputs, and its dialog.
#include "components/devices/sensors/urm37.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "components/devices/sensors/urm37_form.h"
#include "components/electronic/motor/h_bridge.h"
#include "scheme/simulation/uart_format.h"
#include "support/test_support.h"
#include "tests/components/devices/sensors/range_finder_kit.h"
#include "tests/components/devices/sensors/sensor_kit.h"
#include "tests/components/electronic/usb_rig.h"

namespace {

using comptest::Golden;
using comptest::LogCapture;
using rangetest::PacketView;
using rangetest::RequestSet;

const float dt = 1e-3f;
const wchar_t kBurntD1[] = L"Дальномер \"D1\" вышел из строя!";

// A URM37 on a 5 V supply with a host line on RXD and probes on the other
// pins (MOTO left unwired).
struct Urm37 {
  explicit Urm37(bool rs232Levels = false, int mode = CURM37::kModeSerial)
      : f("URM37", {0, 1, 2, 3, 5, 6, 8}), rs232(rs232Levels) {
    u = f.finder;
    u->rs232Levels = rs232 ? 1 : 0;
    u->mode = static_cast<unsigned char>(mode);
    rx = f.bench.Add<rangetest::Line>();
    f.bench.Wire(u, CURM37::kRxdPin, rx, 0);
    f.Supply(5, CURM37::kVccPin, CURM37::kGndPin);
    Idle();
  }
  // The host's line idle: no data.
  void Idle() {
    if (rs232) rx->Set(-10, 100, -10, 100, nullptr);
    else rx->Set(5, 100, 5, 100, nullptr);
  }
  // The host's line carries the requests.
  void Send(RequestSet& requests) {
    if (rs232) rx->Set(-10, 100, 10, 100, requests.set);
    else rx->Set(5, 100, 0, 100, requests.set);
  }
  void Start() { f.Start(); }
  void Step(int n = 1) { f.bench.Step(n, dt); }
  std::vector<PacketView> Answers() { return rangetest::Packets(u->answerSet); }

  rangetest::Finder<CURM37> f;
  bool rs232;
  CURM37* u = nullptr;
  rangetest::Line* rx = nullptr;
};

PacketView Answer(int counter, int command, int value) {
  return {0, counter, kDevUrm37Format,
          {static_cast<uint8_t>(counter), static_cast<uint8_t>(command), static_cast<uint8_t>(value & 0xFF),
           static_cast<uint8_t>(value >> 8)}};
}

TEST(Urm37, CreatedThroughTheRegistryWithItsPinsAndDefaults) {
  devtest::DeviceBench bench;
  auto* u = bench.Create<CURM37>("URM37");
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(u->rect.right - u->rect.left, 80);
  EXPECT_EQ(u->rect.bottom - u->rect.top, 84);
  EXPECT_EQ(u->raisePinLabels, 1);
  EXPECT_EQ(u->pose, nullptr);
  EXPECT_EQ(u->mode, 0);
  EXPECT_EQ(u->rs232Levels, 1);
  EXPECT_EQ(u->threshold, 100);
  EXPECT_EQ(u->lastRequest, 0);
  EXPECT_EQ(u->answerCounter, 0);
  EXPECT_EQ(u->answerSet, nullptr);
  const wchar_t* names[9] = {L"+VCC", L"GND", L"~RST", L"PWM", L"MOTO", L"COMP/TRIG", L"PWR_ON", L"RXD", L"TXD"};
  ASSERT_EQ(u->pinCount, 9);
  for (int i = 0; i < 9; i++) {
    EXPECT_STREQ(u->pins[i].name, names[i]);
    EXPECT_EQ(u->pins[i].offset, 11 * i);
    EXPECT_EQ(u->pins[i].side, kSchSideLeft);
    EXPECT_EQ(u->pins[i].kind, kSchPinElectric);
  }
  EXPECT_STREQ(u->pins[2].description, L"Инверный сброс");
  EXPECT_STREQ(u->pins[6].description, L"Разрешение работы (подтянут к \"1\")");
  EXPECT_EQ(kDevUrm37Format, UartFormatWord(9600, 1, 0));
}

TEST(Urm37, RecordRoundTripAndTruncations) {
  devtest::DeviceBench bench;
  auto* u = bench.Create<CURM37>("URM37");
  u->rs232Levels = 0;
  u->mode = CURM37::kModeTriggered;
  u->threshold = 0x012C;
  u->SetName(L"D7");
  u->form = 3;  // the device fields are not stored
  EXPECT_TRUE(velktest::BytesEqual(devtest::FieldsBefore<CSCHBlock>(u), Golden().B(0).B(2).B(0x2C).B(0x01).Bytes()));
  const std::vector<uint8_t> bytes = comptest::SaveBytes(u);
  comptest::ForEachTruncation<CURM37>("URM37", bytes, [&](CURM37* copy, size_t n) {
    if (n < 4) {
      EXPECT_EQ(copy->rs232Levels, 1);
      EXPECT_EQ(copy->mode, 0);
      EXPECT_EQ(copy->threshold, 100);
    } else {
      EXPECT_EQ(copy->rs232Levels, 0);
      EXPECT_EQ(copy->mode, 2);
      EXPECT_EQ(copy->threshold, 300);
    }
    EXPECT_EQ(copy->pinCount, 9);
    if (n == bytes.size()) {
      EXPECT_STREQ(copy->instanceName, L"D7");
      EXPECT_EQ(copy->form, 0);
      EXPECT_TRUE(velktest::BytesEqual(devtest::ResavedBytes(copy), bytes));
    }
  });
  // A mode or levels byte it does not know: refused, nothing changed.
  for (std::vector<uint8_t> bad : {std::vector<uint8_t>{0, 3, 5, 0}, std::vector<uint8_t>{2, 1, 5, 0}}) {
    bad.insert(bad.end(), bytes.begin() + 4, bytes.end());
    auto copy = comptest::NewDetached<CURM37>("URM37");
    comptest::LoadBytes(copy.get(), bad);
    EXPECT_EQ(copy->mode, 0);
    EXPECT_EQ(copy->rs232Levels, 1);
    EXPECT_EQ(copy->threshold, 100);
    EXPECT_EQ(copy->instanceName, nullptr);
  }
}

TEST(Urm37, SerialModeAnswersAMeasureRequestThirtyMillisecondsLater) {
  for (bool rs232 : {false, true}) {
    SCOPED_TRACE(rs232 ? "RS-232" : "TTL");
    Urm37 r(rs232);
    r.f.Place(0, &r.u->axisDistance);
    r.Start();
    RequestSet requests;
    requests.Put(5, 1, kDevUrm37Format, {CURM37::kCommandMeasure, 0x55});
    r.Send(requests);
    r.Step();
    EXPECT_EQ(r.u->lastRequest, 1);
    EXPECT_EQ(r.u->timer, 0.03f);
    // The request stays in the host's set: it is taken once.
    r.Step();
    // COMP/TRIG: high in the measurement's first step, then low.
    float R = 0;
    EXPECT_NEAR(r.f.Read(CURM37::kCompTrigPin, &R), 5, 1e-3f);
    EXPECT_NEAR(R, 250, 0.1f);
    r.Step();
    EXPECT_NEAR(r.f.Read(CURM37::kCompTrigPin), 0, 1e-3f);
    r.Step(25);
    EXPECT_TRUE(r.Answers().empty());
    r.Step(5);
    EXPECT_EQ(r.Answers(), std::vector<PacketView>{Answer(0, 2, 0)});
    EXPECT_EQ(r.u->distance, 0);
    EXPECT_EQ(r.u->answerCounter, 1);
    // TXD carries the answer set at the levels of the jumpers.
    SchPinState tx = r.f.State(CURM37::kTxdPin);
    ASSERT_NE(tx.source, nullptr);
    EXPECT_EQ(tx.sourceKind, kSchSourceSerial);
    EXPECT_EQ(tx.source->packets, r.u->answerSet);
    if (rs232) sensortest::ExpectLevels(tx, -10, 500, 10, 500);
    else sensortest::ExpectLevels(tx, 5, 250, 0, 250);
    // PWM: period 0.029 s, duty d / 5.
    SchPinState pwm = r.f.State(CURM37::kPwmPin);
    ASSERT_NE(pwm.source, nullptr);
    EXPECT_EQ(pwm.sourceKind, kSchSourceOwnWeight);
    EXPECT_EQ(GetPwmPeriod(pwm.source), 0.029f);
    EXPECT_EQ(pwm.source->weight, 0.0f);
    sensortest::ExpectLevels(pwm, 5, 250, 0, 250);
    // No second measurement from the same packet.
    r.Step(60);
    EXPECT_EQ(r.u->answerCounter, 1);
    r.f.bench.Stop();
  }
}

TEST(Urm37, WithoutAWorldPoseNoMeasurementCompletes) {
  Urm37 r;
  r.Start();
  RequestSet requests;
  requests.Put(0, 1, kDevUrm37Format, {CURM37::kCommandMeasure});
  r.Send(requests);
  r.Step(100);
  EXPECT_TRUE(r.Answers().empty());
  EXPECT_EQ(r.u->distance, CURM37::kNoDistance);
  EXPECT_EQ(r.f.State(CURM37::kPwmPin).source, nullptr);
}

TEST(Urm37, ShortRequestAnsweredAtOnceInEveryMode) {
  for (int mode : {0, 1, 2}) {
    SCOPED_TRACE(mode);
    Urm37 r(false, mode);
    r.Start();
    RequestSet requests;
    requests.Put(9, 4, kDevUrm37Format, {CURM37::kCommandShortAnswer});
    r.Send(requests);
    r.Step();
    EXPECT_EQ(r.Answers(), std::vector<PacketView>{Answer(0, 3, 0)});
    // Answered at the levels the request came with, as divided by the
    // receiver's 12 kohm: 5 V behind 100 ohm reads 5 * 12000 / 12100.
    SchPinState tx = r.f.State(CURM37::kTxdPin);
    ASSERT_NE(tx.source, nullptr);
    EXPECT_EQ(tx.source->packets, r.u->answerSet);
    sensortest::ExpectLevels(tx, 5.0f * 12000 / 12100, 100, 0, 100);
    // RXD is loaded with 12 kohm to the - supply.
    float R = 0;
    comptest::Bench::Read(r.rx, 0, &R);
    EXPECT_NEAR(R, 12000, 1);
  }
}

TEST(Urm37, RequestsItSkipsOrIgnores) {
  Urm37 r;
  r.f.Place(0, &r.u->axisDistance);
  r.Start();
  struct Case {
    int sequence, format, command;
    unsigned char lastAfter;
    bool measuring;
  };
  const Case cases[] = {
      {0, kDevUrm37Format, 2, 0, false},         // the sequence of the last request taken
      {1, 0x000BC200, 2, 0, false},              // another format
      {1, kDevUrm37Format | 0x40000000, 2, 0, false},
      {1, kDevUrm37Format, 7, 1, false},         // taken, another command ignored
      {2, kDevUrm37Format, 2, 2, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sequence);
    RequestSet requests;
    requests.Put(0, c.sequence, c.format, {static_cast<uint8_t>(c.command)});
    r.Send(requests);
    r.Step();
    EXPECT_EQ(r.u->lastRequest, c.lastAfter);
    EXPECT_EQ(r.u->timer > 0, c.measuring);
  }
  // Data needs both levels: a line without its second level carries none.
  r.u->timer = 0;
  RequestSet requests;
  requests.Put(0, 3, kDevUrm37Format, {3});
  r.rx->Set(5, 100, 5, 100, requests.set);
  r.Step();
  EXPECT_EQ(r.u->lastRequest, 2);
  // An empty payload is taken and does nothing.
  RequestSet empty;
  empty.Put(0, 4, kDevUrm37Format, {});
  r.Send(empty);
  r.Step();
  EXPECT_EQ(r.u->lastRequest, 4);
  EXPECT_TRUE(r.Answers().empty());
}

TEST(Urm37, ResetOrDisabledNeitherMeasuresNorAnswers) {
  for (int pin : {CURM37::kResetPin, CURM37::kPowerOnPin}) {
    SCOPED_TRACE(pin);
    Urm37 r(false, CURM37::kModeAutomatic);
    r.f.Place(0, &r.u->axisDistance);
    r.f.probes[pin]->Drive(0, 0, 100);
    r.Start();
    RequestSet requests;
    requests.Put(0, 1, kDevUrm37Format, {CURM37::kCommandShortAnswer});
    r.Send(requests);
    r.Step(300);
    EXPECT_EQ(r.u->timer, 0.0f);
    EXPECT_TRUE(r.Answers().empty());
    EXPECT_EQ(r.u->lastRequest, 0);
    // Let go, it answers.
    r.f.probes[pin]->Drive(0, 0, kSchOpenResistance);
    r.Step();
    EXPECT_EQ(r.Answers(), std::vector<PacketView>{Answer(0, 3, 0)});
  }
}

TEST(Urm37, FarTargetGivesNothingInRangeAndAFullDuty) {
  struct Case {
    float d;
    int cm;
    float duty;
  };
  for (Case c : {Case{6, 0xFFFF, 1}, Case{5, 500, 1}, Case{1.25f, 125, 0.25f}}) {
    SCOPED_TRACE(c.d);
    Urm37 r;
    r.f.Place(c.d, &r.u->axisDistance);
    r.Start();
    RequestSet requests;
    requests.Put(0, 1, kDevUrm37Format, {CURM37::kCommandMeasure});
    r.Send(requests);
    r.Step(40);
    EXPECT_EQ(r.u->distance, c.cm);
    EXPECT_EQ(r.Answers(), std::vector<PacketView>{Answer(0, 2, c.cm)});
    EXPECT_EQ(r.f.State(CURM37::kPwmPin).source->weight, c.duty);
  }
}

TEST(Urm37, AutomaticModeDrivesCompareByTheThreshold) {
  Urm37 r(false, CURM37::kModeAutomatic);
  r.f.Place(0.5f, &r.u->axisDistance);
  r.Start();
  EXPECT_EQ(r.u->timer, 0.25f);
  r.Step(245);
  EXPECT_EQ(r.f.State(CURM37::kPwmPin).source, nullptr);
  r.Step(10);
  // 50 cm is below the threshold of 100 cm: COMP/TRIG low.
  EXPECT_EQ(r.u->distance, 50);
  float R = 0;
  EXPECT_NEAR(r.f.Read(CURM37::kCompTrigPin, &R), 0, 1e-3f);
  EXPECT_NEAR(R, 250, 0.1f);
  EXPECT_NE(r.f.State(CURM37::kPwmPin).source, nullptr);
  EXPECT_TRUE(r.Answers().empty());
  // The next measurement 0.025 s later sees 150 cm: COMP/TRIG high.
  r.u->axisDistance = 1.5f;
  r.Step(30);
  EXPECT_EQ(r.u->distance, 150);
  EXPECT_NEAR(r.f.Read(CURM37::kCompTrigPin), 5, 1e-3f);
  r.u->axisDistance = 0.2f;
  r.Step(30);
  EXPECT_EQ(r.u->distance, 20);
  EXPECT_NEAR(r.f.Read(CURM37::kCompTrigPin), 0, 1e-3f);
  // Without a pose the automatic measurements stop after the next expiry.
  r.u->pose = nullptr;
  r.Step(30);
  EXPECT_LE(r.u->timer, 0.0f);
  r.Step(100);
  EXPECT_LE(r.u->timer, 0.0f);
  EXPECT_EQ(r.u->distance, 20);
}

TEST(Urm37, TriggeredModeMeasuresWhenCompTrigIsPulledLow) {
  Urm37 r(false, CURM37::kModeTriggered);
  r.f.Place(2, &r.u->axisDistance);
  r.Start();
  r.Step(20);
  EXPECT_EQ(r.u->timer, 0.0f);
  r.f.probes[CURM37::kCompTrigPin]->Drive(0, 0, 100);
  r.Step();
  EXPECT_GT(r.u->timer, 0.0f);
  r.f.probes[CURM37::kCompTrigPin]->Drive(0, 0, kSchOpenResistance);
  r.Step(35);
  EXPECT_EQ(r.u->distance, 200);
  SchPinState pwm = r.f.State(CURM37::kPwmPin);
  ASSERT_NE(pwm.source, nullptr);
  EXPECT_EQ(pwm.source->weight, 0.4f);
  // Only the serial mode answers a measurement.
  EXPECT_TRUE(r.Answers().empty());
}

TEST(Urm37, AnswerCounterWrapsAndTheSetKeepsTheNewestAnswer) {
  Urm37 r;
  r.Start();
  r.u->answerCounter = 255;
  RequestSet first;
  first.Put(0, 1, kDevUrm37Format, {3});
  r.Send(first);
  r.Step();
  EXPECT_EQ(r.Answers(), std::vector<PacketView>{Answer(255, 3, 0)});
  RequestSet second;
  second.Put(0, 2, kDevUrm37Format, {3});
  r.Send(second);
  r.Step();
  EXPECT_EQ(r.Answers(), std::vector<PacketView>{Answer(0, 3, 0)});
  EXPECT_EQ(r.u->answerCounter, 1);
  // The counter and the last request survive a new run.
  r.f.bench.Stop();
  EXPECT_EQ(r.u->answerSet, nullptr);
  r.Start();
  EXPECT_EQ(r.u->answerCounter, 1);
  EXPECT_EQ(r.u->lastRequest, 2);
  r.f.bench.Stop();
}

TEST(Urm37, StopReleasesEveryAnswer) {
  const int before = SchPacket::LiveCount();
  {
    Urm37 r;
    r.Start();
    RequestSet requests;
    requests.Put(0, 1, kDevUrm37Format, {3});
    r.Send(requests);
    r.Step();
    ASSERT_EQ(r.Answers().size(), 1u);
    r.f.bench.Stop();
    EXPECT_EQ(r.u->answerSet, nullptr);
  }
  EXPECT_EQ(SchPacket::LiveCount(), before);
}

TEST(Urm37, InputsOutsideTheirLimitsBurnIt) {
  struct Case {
    const char* what;
    bool rs232;
    int mode;
    int pin;  // -1: RXD
    float U1, U2;
    bool burns;
  };
  const Case cases[] = {
      {"TTL RXD above the supply", false, 0, -1, 6.2f, 6.2f, true},
      {"TTL RXD at the margin", false, 0, -1, 5.5f, 5.5f, false},
      {"TTL RXD below the ground", false, 0, -1, 5, -0.6f, true},
      {"RS-232 RXD beyond 25 V", true, 0, -1, -10, 26, true},
      {"RS-232 RXD at 25 V", true, 0, -1, -25, 25, false},
      {"~RST above the supply", false, 0, CURM37::kResetPin, 6, 6, true},
      {"PWR_ON below the ground", false, 0, CURM37::kPowerOnPin, -1, -1, true},
      {"COMP/TRIG in the triggered mode", false, 2, CURM37::kCompTrigPin, 6, 6, true},
      {"COMP/TRIG in the serial mode", false, 0, CURM37::kCompTrigPin, 6, 6, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LogCapture log;
    Urm37 r(c.rs232, c.mode);
    RequestSet none;  // two levels need a source
    if (c.pin < 0) r.rx->Set(c.U1, 1e-3f, c.U2, 1e-3f, none.set);
    else r.f.probes[c.pin]->Drive(0, c.U1, 1e-3f);
    r.Start();
    r.Step();
    EXPECT_EQ(r.u->burnt, c.burns ? 1 : 0);
    EXPECT_EQ(log.Count(), c.burns ? 1 : 0);
    if (!c.burns) continue;
    EXPECT_EQ(log.Messages()[0], kBurntD1);
  }
}

// The dialog on the screen, found by its caption.
CUrm37Form* FindUrm37Form(const wchar_t* caption) {
  HWND w = FindWindowW(nullptr, caption);
  return w ? dynamic_cast<CUrm37Form*>(GetControlFromHandle(w)) : nullptr;
}

TEST(Urm37, DialogShowsTheSettingsAndOkTakesThem) {
  usbtest::MainFormScope mainForm;
  devtest::DeviceBench bench;
  auto* u = bench.Create<CURM37>("URM37");
  u->SetName(L"Дальномер URM37");
  u->mode = CURM37::kModeAutomatic;
  u->threshold = 250;
  std::vector<std::wstring> levels, modes;
  int levelsShown = -1, modeShown = -1, thresholdShown = -1;
  double low = 0, high = 0;
  RECT frame = {};
  usbtest::ModalProbe probe([&] {
    CUrm37Form* form = FindUrm37Form(L"Дальномер URM37");
    ASSERT_NE(form, nullptr);
    GetWindowRect(form->GetHandle(), &frame);
    // The jumper list beside its 180 px label, every row inside the form.
    RECT list = {}, client = {};
    GetWindowRect(form->levelsBox->GetHandle(), &list);
    MapWindowPoints(nullptr, form->GetHandle(), reinterpret_cast<POINT*>(&list), 2);
    GetClientRect(form->GetHandle(), &client);
    EXPECT_GE(list.left, 180);
    EXPECT_LE(list.right, client.right);
    EXPECT_LT(list.top, 120);
    levels = usbtest::Items(form->levelsBox);
    modes = usbtest::Items(form->modeBox);
    levelsShown = form->levelsBox->GetSelectedIndex();
    modeShown = form->modeBox->GetSelectedIndex();
    thresholdShown = form->thresholdEdit->GetIntValue();
    low = form->thresholdEdit->GetMinimum();
    high = form->thresholdEdit->GetMaximum();
    form->levelsBox->SetSelectedIndex(0);
    form->modeBox->SetSelectedIndex(2);
    form->thresholdEdit->SetIntValue(42);
    RedrawWindow(form->GetHandle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    velktest::FlushEvents();
    EXPECT_TRUE(velktest::SaveWindowBitmap(form->GetHandle(), comptest::ScreenshotFolder() + L"urm37_dialog.bmp"));
    SendMessageW(form->okButton->GetHandle(), BM_CLICK, 0, 0);
  });
  EXPECT_TRUE(u->Edit());
  EXPECT_TRUE(probe.Ran());
  EXPECT_EQ(frame.right - frame.left, 320);
  EXPECT_EQ(frame.bottom - frame.top, 300);
  EXPECT_EQ(levels, (std::vector<std::wstring>{L"TTL", L"RS232"}));
  EXPECT_EQ(modes, (std::vector<std::wstring>{L"Режим 1: работы по последовательному порту",
                                              L"Режим 2: автоматически формируется ШИМ и COMP",
                                              L"Режим 3: ШИМ формируется по запросу TRIG"}));
  EXPECT_EQ(levelsShown, 1);
  EXPECT_EQ(modeShown, 1);
  EXPECT_EQ(thresholdShown, 250);
  EXPECT_EQ(low, 4);
  EXPECT_EQ(high, 500);
  EXPECT_EQ(u->rs232Levels, 0);
  EXPECT_EQ(u->mode, 2);
  EXPECT_EQ(u->threshold, 42);
}

TEST(Urm37, DialogCancelChangesNothing) {
  usbtest::MainFormScope mainForm;
  devtest::DeviceBench bench;
  auto* u = bench.Create<CURM37>("URM37");
  u->SetName(L"D1");
  usbtest::ModalProbe probe([&] {
    CUrm37Form* form = FindUrm37Form(L"D1");
    ASSERT_NE(form, nullptr);
    form->levelsBox->SetSelectedIndex(0);
    form->modeBox->SetSelectedIndex(2);
    form->thresholdEdit->SetIntValue(7);
    SendMessageW(form->cancelButton->GetHandle(), BM_CLICK, 0, 0);
  });
  EXPECT_FALSE(u->Edit());
  EXPECT_TRUE(probe.Ran());
  EXPECT_EQ(u->rs232Levels, 1);
  EXPECT_EQ(u->mode, 0);
  EXPECT_EQ(u->threshold, 100);
}

}  // namespace
