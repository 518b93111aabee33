// The URM04 RS-485 range finder: its pins, its record, addressing, the
// measure, read and short requests with their answer timing, the bus left
// alone while an answer is pending and after it, the 12 kohm termination,
// the differential levels a request needs, both connectors and chained
// finders, and its dialog.
#include "components/devices/sensors/urm04.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "components/devices/sensors/urm04_form.h"
#include "scheme/simulation/net.h"
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

// A URM04 on a 5 V supply with the bus host's lines on A and B, wired
// through its first connector (or its second).
struct Urm04 {
  explicit Urm04(bool second = false)
      : f("URM04", second ? std::vector<int>{4, 5} : std::vector<int>{0, 1}),
        base(second ? CURM04::kConnectorPins : 0) {
    u = f.finder;
    a = f.bench.Add<rangetest::Line>();
    b = f.bench.Add<rangetest::Line>();
    f.bench.Wire(u, base + CURM04::kAPin, a, 0);
    f.bench.Wire(u, base + CURM04::kBPin, b, 0);
    f.Supply(5, base + CURM04::kPlusPin, base + CURM04::kMinusPin);
  }
  // The host drives a request: A high then low, B low then high.
  void Send(RequestSet& requests) {
    a->Set(5, 10, 0, 10, requests.set);
    b->Set(0, 10, 5, 10, requests.set);
  }
  // The host sends the request for one step, then lets go of the bus to
  // wait for the answer. (A request left on the bus would win over an
  // answer of the same id with an older sequence when the lines merge the
  // sets.)
  void Request(RequestSet& requests) {
    Send(requests);
    Step();
    Quiet();
  }
  void Quiet() {
    a->Set(0, kSchOpenResistance, 0, kSchOpenResistance, nullptr);
    b->Set(0, kSchOpenResistance, 0, kSchOpenResistance, nullptr);
  }
  void Start() { f.Start(); }
  void Step(int n = 1) { f.bench.Step(n, dt); }
  std::vector<PacketView> AnswersA() { return rangetest::Packets(u->setA); }
  std::vector<PacketView> AnswersB() { return rangetest::Packets(u->setB); }

  rangetest::Finder<CURM04> f;
  int base;
  CURM04* u = nullptr;
  rangetest::Line* a = nullptr;
  rangetest::Line* b = nullptr;
};

PacketView Answer(int address, int counter, int command, int value) {
  return {address, counter, kDevUrm04Format,
          {static_cast<uint8_t>(counter), static_cast<uint8_t>(command), static_cast<uint8_t>(value & 0xFF),
           static_cast<uint8_t>(value >> 8)}};
}

TEST(Urm04, CreatedThroughTheRegistryWithTwoConnectors) {
  devtest::DeviceBench bench;
  auto* u = bench.Create<CURM04>("URM04");
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(u->rect.right - u->rect.left, 80);
  EXPECT_EQ(u->rect.bottom - u->rect.top, 84);
  EXPECT_EQ(u->raisePinLabels, 1);
  EXPECT_EQ(u->pose, nullptr);
  EXPECT_EQ(u->address, 17);
  EXPECT_EQ(u->lastRequest, 0);
  EXPECT_EQ(u->setA, nullptr);
  const wchar_t* names[4] = {L"+", L"-", L"A", L"B"};
  const wchar_t* texts[4] = {L"Питание +5V", L"\"Земля\"", L"RS485 A(+)", L"RS485 B(-)"};
  const int offsets[8] = {2, 13, 24, 35, 51, 62, 73, 84};
  ASSERT_EQ(u->pinCount, 8);
  for (int i = 0; i < 8; i++) {
    EXPECT_STREQ(u->pins[i].name, names[i % 4]);
    EXPECT_STREQ(u->pins[i].description, texts[i % 4]);
    EXPECT_EQ(u->pins[i].offset, offsets[i]);
    EXPECT_EQ(u->pins[i].side, kSchSideLeft);
  }
  EXPECT_EQ(kDevUrm04Format, UartFormatWord(115200, 1, 0));
}

TEST(Urm04, RecordRoundTripAndTruncations) {
  devtest::DeviceBench bench;
  auto* u = bench.Create<CURM04>("URM04");
  u->address = 100;
  u->SetName(L"D4");
  EXPECT_TRUE(velktest::BytesEqual(devtest::FieldsBefore<CSCHBlock>(u), Golden().B(100).Bytes()));
  const std::vector<uint8_t> bytes = comptest::SaveBytes(u);
  comptest::ForEachTruncation<CURM04>("URM04", bytes, [&](CURM04* copy, size_t n) {
    EXPECT_EQ(copy->address, n < 1 ? 17 : 100);
    if (n == bytes.size()) {
      EXPECT_STREQ(copy->instanceName, L"D4");
      EXPECT_TRUE(velktest::BytesEqual(devtest::ResavedBytes(copy), bytes));
    }
  });
  for (int address : {0, 16, 129, 255}) {
    std::vector<uint8_t> bad = bytes;
    bad[0] = static_cast<uint8_t>(address);
    auto copy = comptest::NewDetached<CURM04>("URM04");
    comptest::LoadBytes(copy.get(), bad);
    EXPECT_EQ(copy->address, 17) << address;
    EXPECT_EQ(copy->instanceName, nullptr);
  }
  for (int address : {17, 128}) {
    std::vector<uint8_t> edge = bytes;
    edge[0] = static_cast<uint8_t>(address);
    auto copy = comptest::NewDetached<CURM04>("URM04");
    comptest::LoadBytes(copy.get(), edge);
    EXPECT_EQ(copy->address, address);
  }
}

TEST(Urm04, AnswersItsOwnAddressOnBothLinesTenMillisecondsLater) {
  Urm04 r;
  r.u->address = 40;
  r.Start();
  RequestSet requests;
  requests.Put(40, 1, kDevUrm04Format, {CURM04::kCommandShortAnswer});
  r.Request(requests);
  EXPECT_EQ(r.u->lastRequest, 1);
  EXPECT_EQ(r.u->answerTimer, 0.01f);
  r.Step(8);
  EXPECT_TRUE(r.AnswersA().empty());
  r.Step(4);
  const std::vector<PacketView> answer = {Answer(40, 0, 3, 0)};
  EXPECT_EQ(r.AnswersA(), answer);
  EXPECT_EQ(r.AnswersB(), answer);
  EXPECT_EQ(r.u->setA->packets[0], r.u->setB->packets[0]);
  EXPECT_EQ(r.u->answerCounter, 1);
}

TEST(Urm04, ForeignAddressesAndOtherFormatsAreIgnored) {
  struct Case {
    int id, format;
  };
  for (Case c : {Case{18, kDevUrm04Format}, Case{17, 0x000A2580}, Case{17, kDevUrm04Format | 0x40000000}}) {
    SCOPED_TRACE(c.id);
    Urm04 r;
    r.Start();
    RequestSet requests;
    requests.Put(c.id, 1, c.format, {CURM04::kCommandShortAnswer});
    r.Send(requests);
    r.Step(30);
    EXPECT_EQ(r.u->lastRequest, 0);
    EXPECT_EQ(r.u->answerTimer, 0.0f);
    EXPECT_TRUE(r.AnswersA().empty());
  }
}

TEST(Urm04, ReadRightAfterMeasureAnswersTheDistanceHeldBefore) {
  Urm04 r;
  r.f.Place(1.5f, &r.u->axisDistance);
  r.Start();
  RequestSet requests;
  requests.Put(17, 1, kDevUrm04Format, {CURM04::kCommandMeasure});
  r.Request(requests);
  EXPECT_EQ(r.u->measureTimer, 0.03f);
  requests.Put(17, 2, kDevUrm04Format, {CURM04::kCommandRead});
  r.Request(requests);
  EXPECT_EQ(r.u->lastRequest, 2);
  r.Step(15);
  EXPECT_EQ(r.AnswersA(), std::vector<PacketView>{Answer(17, 0, 2, 0xFFFF)});
  // The measurement completes 0.03 s after its request; the next read
  // answers it.
  r.Step(20);
  EXPECT_EQ(r.u->distance, 150);
  requests.Put(17, 3, kDevUrm04Format, {CURM04::kCommandRead});
  r.Request(requests);
  r.Step(20);
  EXPECT_EQ(r.AnswersA(), std::vector<PacketView>{Answer(17, 1, 2, 150)});
  // Beyond 5 m nothing is in range.
  r.u->axisDistance = 5.5f;
  requests.Put(17, 4, kDevUrm04Format, {CURM04::kCommandMeasure});
  r.Request(requests);
  r.Step(40);
  EXPECT_EQ(r.u->distance, 0xFFFF);
}

TEST(Urm04, WithoutAWorldPoseNothingIsMeasured) {
  Urm04 r;
  r.u->axisDistance = 1;
  r.Start();
  RequestSet requests;
  requests.Put(17, 1, kDevUrm04Format, {CURM04::kCommandMeasure});
  r.Send(requests);
  r.Step(50);
  EXPECT_EQ(r.u->distance, 0xFFFF);
  EXPECT_LE(r.u->measureTimer, 0.0f);
}

TEST(Urm04, BusIsNotReadWhileAnAnswerIsPendingNorJustAfterIt) {
  Urm04 r;
  r.Start();
  RequestSet requests;
  requests.Put(17, 1, kDevUrm04Format, {CURM04::kCommandShortAnswer});
  r.Send(requests);
  r.Step();
  // A new request during the 0.01 s of the pending answer and the 0.006 s
  // after it is not read.
  requests.Put(17, 2, kDevUrm04Format, {CURM04::kCommandMeasure});
  int firstRead = 0;
  for (int step = 2; step <= 30 && !firstRead; step++) {
    r.Step();
    if (r.u->lastRequest == 2) firstRead = step;
  }
  // 10 steps pending (the answer goes out on the 10th or 11th), 6 of
  // turnaround, then the bus is read.
  EXPECT_GE(firstRead, 17);
  EXPECT_LE(firstRead, 19);
  EXPECT_GT(r.u->measureTimer, 0.0f);
  EXPECT_EQ(r.AnswersA().size(), 1u);
}

TEST(Urm04, TheSameRequestIsTakenOnceAndTheCounterWraps) {
  Urm04 r;
  r.Start();
  r.u->answerCounter = 255;
  RequestSet requests;
  requests.Put(17, 1, kDevUrm04Format, {CURM04::kCommandShortAnswer});
  r.Request(requests);
  r.Step(40);
  EXPECT_EQ(r.AnswersA(), std::vector<PacketView>{Answer(17, 255, 3, 0)});
  EXPECT_EQ(r.u->answerCounter, 0);
  // The same request again on the bus: not taken a second time.
  r.Request(requests);
  r.Step(40);
  EXPECT_EQ(r.u->answerCounter, 0);
  requests.Put(17, 2, kDevUrm04Format, {CURM04::kCommandShortAnswer, 9, 9});
  r.Request(requests);
  r.Step(40);
  EXPECT_EQ(r.AnswersB(), std::vector<PacketView>{Answer(17, 0, 3, 0)});
  // Another command is taken and ignored.
  requests.Put(17, 3, kDevUrm04Format, {9});
  r.Request(requests);
  r.Step(40);
  EXPECT_EQ(r.u->lastRequest, 3);
  EXPECT_EQ(r.u->answerCounter, 1);
}

TEST(Urm04, TerminationJoinsTheLinesThroughTwelveKiloohms) {
  Urm04 r;
  r.Start();
  r.a->Set(1, 100, 1, 100, nullptr);
  r.b->Set(3, 200, 3, 200, nullptr);
  r.Step();
  float R = 0;
  // Line A sees line B's level through the termination, and B sees A's.
  EXPECT_NEAR(comptest::Bench::Read(r.a, 0, &R), 3, 1e-3f);
  EXPECT_NEAR(R, 12200, 0.5f);
  EXPECT_NEAR(comptest::Bench::Read(r.b, 0, &R), 1, 1e-3f);
  EXPECT_NEAR(R, 12100, 0.5f);
}

TEST(Urm04, RequestNeedsBothDifferentialLevels) {
  struct Case {
    const char* what;
    float a1, b1, a2, b2;
    bool taken;
  };
  // Lines behind 1e-3 ohm: the differential level through the termination
  // is the difference of the lines to a few parts in ten million.
  const Case cases[] = {
      {"a full request", 5, 0, 0, 5, true},
      {"idle level at 0.2 V", 0.2f, 0, 0, 5, false},
      {"idle level just above 0.2 V", 0.2001f, 0, 0, 5, true},
      {"second level at -0.2 V", 5, 0, 0, 0.2f, false},
      {"second level just below -0.2 V", 5, 0, 0, 0.2001f, true},
      {"second level without a difference", 5, 0, 0, 0, false},
      {"second level like the first", 5, 0, 5, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Urm04 r;
    r.Start();
    RequestSet requests;
    requests.Put(17, 1, kDevUrm04Format, {CURM04::kCommandMeasure});
    r.a->Set(c.a1, 1e-3f, c.a2, 1e-3f, requests.set);
    r.b->Set(c.b1, 1e-3f, c.b2, 1e-3f, requests.set);
    r.Step();
    EXPECT_EQ(r.u->lastRequest, c.taken ? 1 : 0);
  }
}

TEST(Urm04, LinesWithoutEqualSetsCarryNoRequest) {
  Urm04 r;
  r.Start();
  RequestSet requests, other;
  requests.Put(17, 1, kDevUrm04Format, {CURM04::kCommandMeasure});
  other.Put(17, 1, kDevUrm04Format, {CURM04::kCommandMeasure});
  r.a->Set(5, 10, 0, 10, requests.set);
  r.b->Set(0, 10, 5, 10, other.set);
  r.Step(3);
  EXPECT_EQ(r.u->lastRequest, 0);
  r.b->Set(0, 10, 5, 10, nullptr);
  r.Step(3);
  EXPECT_EQ(r.u->lastRequest, 0);
}

TEST(Urm04, DifferenceBeyond400VoltsBurnsIt) {
  for (float U : {400.0f, 401.0f}) {
    SCOPED_TRACE(U);
    LogCapture log;
    Urm04 r;
    r.Start();
    RequestSet requests;
    r.a->Set(U, 1e-3f, 0, 1e-3f, requests.set);
    r.b->Set(0, 1e-3f, U, 1e-3f, requests.set);
    r.Step();
    EXPECT_EQ(r.u->burnt, U > 400 ? 1 : 0);
    EXPECT_EQ(log.Count(), U > 400 ? 1 : 0);
  }
}

TEST(Urm04, WorksThroughItsSecondConnectorAlone) {
  Urm04 r(true);
  r.Start();
  // The first connector's pins joined the second's nets.
  for (int k = 0; k < CURM04::kConnectorPins; k++)
    EXPECT_EQ(r.u->pins[k].net, r.u->pins[CURM04::kConnectorPins + k].net) << k;
  RequestSet requests;
  requests.Put(17, 1, kDevUrm04Format, {CURM04::kCommandShortAnswer});
  r.Request(requests);
  r.Step(20);
  EXPECT_EQ(r.AnswersA(), std::vector<PacketView>{Answer(17, 0, 3, 0)});
  r.f.bench.Stop();
}

TEST(Urm04, ChainedFindersShareTheBusAndAnswerOnlyTheirAddress) {
  devtest::DeviceBench bench;
  auto* first = bench.Create<CURM04>("URM04");
  auto* second = bench.Create<CURM04>("URM04");
  first->address = 20;
  second->address = 21;
  auto* plus = bench.Source(5);
  auto* ground = bench.Ground();
  auto* a = bench.Add<rangetest::Line>();
  auto* b = bench.Add<rangetest::Line>();
  bench.Wire(first, CURM04::kPlusPin, plus, 0);
  bench.Wire(first, CURM04::kMinusPin, ground, 0);
  bench.Wire(first, CURM04::kAPin, a, 0);
  bench.Wire(first, CURM04::kBPin, b, 0);
  // The second finder hangs on the first one's second connector.
  for (int k = 0; k < CURM04::kConnectorPins; k++) bench.Wire(first, CURM04::kConnectorPins + k, second, k);
  bench.Build();
  for (int k = 0; k < CURM04::kConnectorPins; k++) {
    EXPECT_EQ(first->pins[k].net, second->pins[k].net) << k;
    EXPECT_NE(first->pins[k].net, nullptr);
  }
  bench.Start();
  RequestSet requests;
  requests.Put(21, 1, kDevUrm04Format, {CURM04::kCommandShortAnswer});
  a->Set(5, 10, 0, 10, requests.set);
  b->Set(0, 10, 5, 10, requests.set);
  bench.Step(1, dt);
  a->Set(0, kSchOpenResistance, 0, kSchOpenResistance, nullptr);
  b->Set(0, kSchOpenResistance, 0, kSchOpenResistance, nullptr);
  // The answer goes out 0.01 s after the request.
  for (int step = 0; step < 20 && second->answerCounter == 0; step++) bench.Step(1, dt);
  // The answer is on the bus: the host reads it on line A.
  SchPinState onA = devtest::StateAt(a, 0);
  ASSERT_NE(onA.source, nullptr);
  EXPECT_EQ(onA.sourceKind, kSchSourceSerial);
  EXPECT_EQ(rangetest::Packets(onA.source->packets), std::vector<PacketView>{Answer(21, 0, 3, 0)});
  bench.Step(20, dt);
  EXPECT_EQ(second->lastRequest, 1);
  EXPECT_EQ(rangetest::Packets(second->setA), std::vector<PacketView>{Answer(21, 0, 3, 0)});
  // The first finder saw the request and the answer on its lines and took
  // neither (another address).
  EXPECT_EQ(first->lastRequest, 0);
  EXPECT_EQ(first->answerTimer, 0.0f);
  EXPECT_EQ(first->answerCounter, 0);
  bench.Stop();
}

TEST(Urm04, StopReleasesBothSets) {
  const int before = SchPacket::LiveCount();
  {
    Urm04 r;
    r.Start();
    RequestSet requests;
    requests.Put(17, 1, kDevUrm04Format, {CURM04::kCommandShortAnswer});
    r.Send(requests);
    r.Step(20);
    ASSERT_EQ(r.AnswersA().size(), 1u);
    r.f.bench.Stop();
    EXPECT_EQ(r.u->setA, nullptr);
    EXPECT_EQ(r.u->setB, nullptr);
  }
  EXPECT_EQ(SchPacket::LiveCount(), before);
}

CUrm04Form* FindUrm04Form(const wchar_t* caption) {
  HWND w = FindWindowW(nullptr, caption);
  return w ? dynamic_cast<CUrm04Form*>(GetControlFromHandle(w)) : nullptr;
}

TEST(Urm04, DialogShowsTheAddressAndOkTakesIt) {
  usbtest::MainFormScope mainForm;
  devtest::DeviceBench bench;
  auto* u = bench.Create<CURM04>("URM04");
  u->SetName(L"Дальномер URM04");
  u->address = 33;
  int shown = 0;
  double low = 0, high = 0;
  RECT frame = {};
  usbtest::ModalProbe probe([&] {
    CUrm04Form* form = FindUrm04Form(L"Дальномер URM04");
    ASSERT_NE(form, nullptr);
    GetWindowRect(form->GetHandle(), &frame);
    shown = form->addressEdit->GetIntValue();
    low = form->addressEdit->GetMinimum();
    high = form->addressEdit->GetMaximum();
    form->addressEdit->SetIntValue(99);
    RedrawWindow(form->GetHandle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    velktest::FlushEvents();
    EXPECT_TRUE(velktest::SaveWindowBitmap(form->GetHandle(), comptest::ScreenshotFolder() + L"urm04_dialog.bmp"));
    SendMessageW(form->okButton->GetHandle(), BM_CLICK, 0, 0);
  });
  EXPECT_TRUE(u->Edit());
  EXPECT_TRUE(probe.Ran());
  EXPECT_EQ(frame.right - frame.left, 300);
  EXPECT_EQ(frame.bottom - frame.top, 250);
  EXPECT_EQ(shown, 33);
  EXPECT_EQ(low, 17);
  EXPECT_EQ(high, 128);
  EXPECT_EQ(u->address, 99);
}

TEST(Urm04, DialogCancelKeepsTheAddressAndOkClampsIt) {
  usbtest::MainFormScope mainForm;
  devtest::DeviceBench bench;
  auto* u = bench.Create<CURM04>("URM04");
  u->SetName(L"D1");
  usbtest::ModalProbe cancel([&] {
    CUrm04Form* form = FindUrm04Form(L"D1");
    ASSERT_NE(form, nullptr);
    form->addressEdit->SetIntValue(50);
    SendMessageW(form->cancelButton->GetHandle(), BM_CLICK, 0, 0);
  });
  EXPECT_FALSE(u->Edit());
  EXPECT_TRUE(cancel.Ran());
  EXPECT_EQ(u->address, 17);
  usbtest::ModalProbe ok([&] {
    CUrm04Form* form = FindUrm04Form(L"D1");
    ASSERT_NE(form, nullptr);
    form->addressEdit->SetIntValue(500);
    SendMessageW(form->okButton->GetHandle(), BM_CLICK, 0, 0);
  });
  EXPECT_TRUE(u->Edit());
  EXPECT_EQ(u->address, 128);
}

}  // namespace
