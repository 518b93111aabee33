// The range-finder driver against a fake range finder on the far side of
// its data link: the measuring cycle pass by pass, answers on time, late,
// of the wrong kind, repeated or missing, the temperature option with its
// Yes/No box (answered by the kit's host and by a real message box), and
// its record.
#include <windows.h>

#include <string>
#include <vector>

#include "block_kit.h"
#include "blocks/library/control/limiter.h"
#include "blocks/library/drivers/distance_control.h"

namespace {

using blocktest::BaseRecord;
using blocktest::Bench;
using blocktest::Costs;
using blocktest::CostsOf;
using blocktest::Golden;
using blocktest::ReadInt;

const BeSignalType kAnswerType = 33;
const BeSignalType kCommandType = 32;
// A pass of 1/128 s: the timer's sums are exact.
const float kDt = 1.0f / 128;
const wchar_t kCaption[] = L"Драйвер управления дальномером";

// The range finder behind the link: it sees each new command on the
// driver's "out" after a pass and answers a measurement (2) or the
// temperature (3) `delay` passes later, numbering its answers; silent, it
// never answers.
class FakeRangeFinder {
public:
  explicit FakeRangeFinder(blocktest::Source* line) : line_(line) {}
  // Puts an answer on the line (byte 0 the next number).
  void Answer(int kind, int value) {
    number_ = (number_ + 1) & 0xFF;
    line_->SetBytes({static_cast<uint8_t>(number_), static_cast<uint8_t>(kind), static_cast<uint8_t>(value & 0xFF),
                     static_cast<uint8_t>((value >> 8) & 0xFF)});
  }
  // Called after every pass with the driver's command byte.
  void Watch(const CBEBlock* driver) {
    int command = driver->Output(0)->value[0];
    if (pending_ > 0 && --pending_ == 0 && !silent) Answer(pendingKind_, pendingKind_ == 2 ? distance : temperature);
    if (command != lastCommand_ && (command == 2 || command == 3) && !silent) {
      pendingKind_ = command;
      pending_ = delay;
    }
    lastCommand_ = command;
  }
  int delay = 2;
  bool silent = false;
  int distance = 123;
  int temperature = 215;

private:
  blocktest::Source* line_;
  int number_ = 0;
  int lastCommand_ = 0;
  int pending_ = 0;
  int pendingKind_ = 0;
};

struct Rig {
  Rig() {
    driver = bench.Create<CBEDistanceControl>(kBeDistanceControlClassId);
    line = bench.Source(kAnswerType);
    bench.Link(line, driver);
    finder = FakeRangeFinder(line);
  }
  // n passes, the finder watching after each; the states seen.
  std::vector<int> Run(int n) {
    std::vector<int> states;
    for (int i = 0; i < n; ++i) {
      bench.Pass(kDt);
      finder.Watch(driver);
      states.push_back(driver->state);
    }
    return states;
  }
  Bench bench;
  CBEDistanceControl* driver = nullptr;
  blocktest::Source* line = nullptr;
  FakeRangeFinder finder{nullptr};
};

// ------------------------------------------------------------ construction

TEST(DistanceControl, IsMadeWithItsCaptionPinsAndCosts) {
  Bench bench;
  auto* d = bench.Create<CBEDistanceControl>(kBeDistanceControlClassId);
  ASSERT_NE(nullptr, d);
  ASSERT_NE(nullptr, d->caption);
  EXPECT_STREQ(kCaption, d->caption);
  EXPECT_EQ(100, d->Width());
  EXPECT_EQ(100, d->Height());
  EXPECT_EQ(Costs(20, 50), CostsOf(d));
  EXPECT_EQ(0, d->temperatureOption);
  ASSERT_EQ(1, d->inputCount);
  EXPECT_STREQ(L"in", d->Input(0)->name);
  EXPECT_STREQ(L"Вход с UART", d->Input(0)->description);
  EXPECT_EQ(kAnswerType, d->Input(0)->type);
  ASSERT_EQ(2, d->outputCount);
  EXPECT_STREQ(L"out", d->Output(0)->name);
  EXPECT_STREQ(L"Выход на UART", d->Output(0)->description);
  EXPECT_EQ(kCommandType, d->Output(0)->type);
  EXPECT_STREQ(L"dist", d->Output(1)->name);
  EXPECT_STREQ(L"Расстояние в сантиметрах, если =0xFFFF - вне диапазона", d->Output(1)->description);
  EXPECT_EQ(kBeSignalShort, d->Output(1)->type);
  d->temperatureOption = 1;
  ASSERT_TRUE(d->UpdateOutputs());
  ASSERT_EQ(3, d->outputCount);
  EXPECT_STREQ(L"t", d->Output(2)->name);
  EXPECT_STREQ(L"Темпиратура в 0.1°С, 0x7FFF - не определено", d->Output(2)->description);
  EXPECT_EQ(kBeSignalShort, d->Output(2)->type);
}

// ------------------------------------------------------------ the cycle

TEST(DistanceControl, WithoutAnswersItCyclesMeasureReadAndTimeout) {
  Rig rig;  // the finder is not watched: nothing answers
  std::vector<int> commands;
  std::vector<int> states;
  for (int i = 0; i < 28; ++i) {
    rig.bench.Pass(kDt);
    states.push_back(rig.driver->state);
    commands.push_back(rig.driver->Output(0)->value[0]);
  }
  // Command 1; 6 passes (0.047 s > 0.04) to command 2; 7 passes (0.055 s
  // > 0.05) waiting; back to 0: 14 passes, 0.109 s a cycle at this dt.
  const std::vector<int> cycle = {1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 0};
  const std::vector<int> sent = {1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2};
  std::vector<int> twice = cycle, sentTwice = sent;
  twice.insert(twice.end(), cycle.begin(), cycle.end());
  sentTwice.insert(sentTwice.end(), sent.begin(), sent.end());
  EXPECT_EQ(twice, states);
  EXPECT_EQ(sentTwice, commands);
  EXPECT_EQ(0, ReadInt(rig.driver, 1));
  // At 1 ms a pass a cycle takes 0.04 s, then the 0.05 s timeout: 0.09 s.
  Rig fine;
  int firstZero = -1;
  for (int i = 1; i <= 200 && firstZero < 0; ++i) {
    fine.bench.Pass(0.001f);
    if (i > 1 && fine.driver->state == kRangeIdle) firstZero = i;
  }
  EXPECT_GE(firstZero, 91);
  EXPECT_LE(firstZero, 94);
}

TEST(DistanceControl, TakesADistanceAnsweredOnTime) {
  Rig rig;
  std::vector<int> states = rig.Run(13);
  // Command 2 after pass 7; the answer stands after pass 9 and is taken in
  // pass 10; 0.008 s held (two passes), then the cycle starts over.
  const std::vector<int> expected = {1, 1, 1, 1, 1, 1, 2, 2, 2, 3, 3, 0, 1};
  EXPECT_EQ(expected, states);
  EXPECT_EQ(123, ReadInt(rig.driver, 1));
  // The next cycle measures again.
  rig.finder.distance = 0xFFFF;  // out of range
  rig.Run(12);
  EXPECT_EQ(-1, ReadInt(rig.driver, 1));
  EXPECT_EQ(0xFFFF, static_cast<uint16_t>(ReadInt(rig.driver, 1)));
}

TEST(DistanceControl, IgnoresLateAndMissingAnswersAndKeepsTheLastResult) {
  Rig rig;
  rig.Run(13);
  ASSERT_EQ(123, ReadInt(rig.driver, 1));
  // Answers that come after the wait ran out never count: each belongs to a
  // request the driver gave up, and the next request notes it as old.
  rig.finder.delay = 10;
  rig.finder.distance = 77;
  rig.Run(100);
  EXPECT_EQ(123, ReadInt(rig.driver, 1));
  // Silent: the timeouts keep the last result.
  rig.finder.silent = true;
  std::vector<int> states = rig.Run(60);
  EXPECT_EQ(123, ReadInt(rig.driver, 1));
  int timeouts = 0;
  for (size_t i = 1; i < states.size(); ++i) timeouts += states[i - 1] == 2 && states[i] == 0;
  EXPECT_GE(timeouts, 3);
  // On time again: taken.
  rig.finder.silent = false;
  rig.finder.delay = 1;
  rig.Run(30);
  EXPECT_EQ(77, ReadInt(rig.driver, 1));
}

TEST(DistanceControl, AnAnswerStandingBeforeTheRequestIsNotTaken) {
  // The link still shows an answer of an earlier run (number 5, 999 cm):
  // the request notes it, and only a new answer counts.
  Rig rig;
  for (int i = 0; i < 5; ++i) rig.finder.Answer(2, 999);
  rig.finder.silent = true;
  rig.Run(20);
  EXPECT_EQ(0, ReadInt(rig.driver, 1));
  // The same answer left on the line after it was taken is not taken twice.
  Rig taken;
  taken.Run(13);
  ASSERT_EQ(123, ReadInt(taken.driver, 1));
  taken.finder.silent = true;
  taken.driver->Output(1)->SetInt(0);
  taken.Run(30);
  EXPECT_EQ(0, ReadInt(taken.driver, 1));
}

TEST(DistanceControl, AnAnswerOfTheOtherKindIsIgnoredAndTheWaitRunsOn) {
  Rig rig;
  rig.finder.silent = true;  // answered by hand
  rig.Run(8);  // command 2 sent in pass 7
  ASSERT_EQ(kRangeAwaitDistance, rig.driver->state);
  rig.finder.Answer(3, 250);
  rig.Run(2);
  EXPECT_EQ(kRangeAwaitDistance, rig.driver->state);
  EXPECT_EQ(0, ReadInt(rig.driver, 1));
  rig.finder.Answer(2, 42);
  rig.Run(1);
  EXPECT_EQ(kRangeHoldDistance, rig.driver->state);
  EXPECT_EQ(42, ReadInt(rig.driver, 1));
}

TEST(DistanceControl, WithTheTemperatureOptionItAsksForTheTemperatureToo) {
  Rig rig;
  rig.driver->temperatureOption = 1;
  ASSERT_TRUE(rig.driver->UpdateOutputs());
  std::vector<int> commands;
  std::vector<int> states;
  for (int i = 0; i < 19; ++i) {
    states.push_back(rig.Run(1)[0]);
    commands.push_back(rig.driver->Output(0)->value[0]);
  }
  // ... distance in pass 10, two passes held, command 3 in pass 13, the
  // answer taken in pass 16, two passes held, over again.
  const std::vector<int> expected = {1, 1, 1, 1, 1, 1, 2, 2, 2, 3, 3, 4, 5, 5, 5, 6, 6, 0, 1};
  EXPECT_EQ(expected, states);
  EXPECT_EQ(3, commands[12]);
  EXPECT_EQ(1, commands[18]);
  EXPECT_EQ(123, ReadInt(rig.driver, 1));
  EXPECT_EQ(215, ReadInt(rig.driver, 2));
  // No temperature answer: 0.02 s (three passes) and over.
  rig.finder.temperature = 300;
  rig.Run(12);  // to the next command 3
  ASSERT_EQ(kRangeAwaitTemperature, rig.driver->state);
  rig.finder.silent = true;
  std::vector<int> after = rig.Run(4);
  EXPECT_EQ(std::vector<int>({5, 5, 0, 1}), after);
  EXPECT_EQ(215, ReadInt(rig.driver, 2));
}

TEST(DistanceControl, DoesNothingWhileItsInputIsUnlinked) {
  Bench bench;
  auto* d = bench.Create<CBEDistanceControl>(kBeDistanceControlClassId);
  bench.Passes(10, kDt);
  EXPECT_EQ(kRangeIdle, d->state);
  EXPECT_EQ(0, d->Output(0)->value[0]);
  // A state no cycle has starts over.
  auto* line = bench.Source(kAnswerType);
  bench.Link(line, d);
  d->state = 9;
  bench.Pass(kDt);
  EXPECT_EQ(kRangeIdle, d->state);
  bench.Pass(kDt);
  EXPECT_EQ(kRangeMeasuring, d->state);
}

// ------------------------------------------------------------ the option

TEST(DistanceControl, TheYesNoBoxSwitchesTheTemperatureOutput) {
  Bench bench;
  auto* d = bench.Create<CBEDistanceControl>(kBeDistanceControlClassId);
  auto* reader = bench.Create<CBELimiter>(kBeLimiterClassId);
  // No: unchanged, false. The default button is No while the option is off.
  bench.host.answer = IDNO;
  EXPECT_FALSE(d->ShowProperties());
  ASSERT_EQ(1u, bench.host.texts.size());
  EXPECT_EQ(kCaption, bench.host.captions[0]);
  EXPECT_EQ(L"Запрашивать температуру?", bench.host.texts[0]);
  EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_DEFBUTTON2), bench.host.styles[0]);
  EXPECT_EQ(2, d->outputCount);
  // Yes: the option and output "t".
  bench.host.answer = IDYES;
  EXPECT_TRUE(d->ShowProperties());
  EXPECT_EQ(1, d->temperatureOption);
  ASSERT_EQ(3, d->outputCount);
  EXPECT_STREQ(L"t", d->Output(2)->name);
  bench.Link(d, 2, reader, 0);
  // Yes again: nothing changes; the default button is now Yes.
  EXPECT_FALSE(d->ShowProperties());
  EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_DEFBUTTON1), bench.host.styles[2]);
  EXPECT_EQ(d->Output(2), reader->Input(0)->source);
  // A box closed another way changes nothing.
  bench.host.answer = IDCANCEL;
  EXPECT_FALSE(d->ShowProperties());
  EXPECT_EQ(3, d->outputCount);
  // No: "t" goes, and the link from it.
  bench.host.answer = IDNO;
  EXPECT_TRUE(d->ShowProperties());
  EXPECT_EQ(0, d->temperatureOption);
  EXPECT_EQ(2, d->outputCount);
  EXPECT_EQ(nullptr, reader->Input(0)->source);
}

// The real box: a question with Yes and No, its default button, answered
// by pressing a button once it shows, and its picture.
class BoxProbe {
public:
  BoxProbe(int button, const wchar_t* screenshot) : button_(button), screenshot_(screenshot) {
    current_ = this;
    hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  }
  ~BoxProbe() {
    if (hook_) UnhookWindowsHookEx(hook_);
    current_ = nullptr;
  }
  BoxProbe(const BoxProbe&) = delete;
  BoxProbe& operator=(const BoxProbe&) = delete;

  int boxes = 0;
  int defaultButton = 0;
  bool hasYes = false, hasNo = false, hasCancel = false;
  std::wstring caption;

private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && current_) {
      HWND w = reinterpret_cast<HWND>(wParam);
      wchar_t cls[32] = {};
      GetClassNameW(w, cls, 32);
      if (wcscmp(cls, L"#32770") == 0 && current_->box_ != w) {
        current_->box_ = w;
        // Answered from the box's own loop once it has shown itself.
        SetTimer(nullptr, 0, 20, Press);
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static void CALLBACK Press(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    BoxProbe* self = current_;
    if (!self || !IsWindow(self->box_)) return;
    HWND box = self->box_;
    ++self->boxes;
    wchar_t text[128] = {};
    GetWindowTextW(box, text, 128);
    self->caption = text;
    // The default button is the one drawn as the default push button.
    for (int id : {IDYES, IDNO, IDCANCEL, IDOK}) {
      HWND button = GetDlgItem(box, id);
      if (button && (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) self->defaultButton = id;
    }
    self->hasYes = GetDlgItem(box, IDYES) != nullptr;
    self->hasNo = GetDlgItem(box, IDNO) != nullptr;
    self->hasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (self->screenshot_) velktest::SaveScreenshot(box, self->screenshot_);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(self->button_, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, self->button_)));
  }

  static BoxProbe* current_;
  HHOOK hook_ = nullptr;
  HWND box_ = nullptr;
  int button_;
  const wchar_t* screenshot_;
};
BoxProbe* BoxProbe::current_ = nullptr;

TEST(DistanceControl, TheRealBoxAsksWithYesAndNo) {
  Bench bench;
  auto* d = bench.Create<CBEDistanceControl>(kBeDistanceControlClassId);
  CKestHost plain;  // the framework's message box
  CKestHostScope scope(&plain);
  {
    BoxProbe probe(IDYES, L"library_distance_control_question.bmp");
    EXPECT_TRUE(d->ShowProperties());
    EXPECT_EQ(1, probe.boxes);
    EXPECT_EQ(kCaption, probe.caption);
    EXPECT_TRUE(probe.hasYes);
    EXPECT_TRUE(probe.hasNo);
    EXPECT_FALSE(probe.hasCancel);
    EXPECT_EQ(IDNO, probe.defaultButton);
  }
  EXPECT_EQ(3, d->outputCount);
  {
    BoxProbe probe(IDNO, nullptr);
    EXPECT_TRUE(d->ShowProperties());
    EXPECT_EQ(IDYES, probe.defaultButton);
  }
  EXPECT_EQ(2, d->outputCount);
}

// ------------------------------------------------------------ record

TEST(DistanceControl, RecordHoldsTheOptionBeforeTheBaseRecord) {
  Bench bench;
  auto* d = bench.Create<CBEDistanceControl>(kBeDistanceControlClassId);
  BaseRecord base = BaseRecord::Unlinked(d->rect, 1, 2);
  base.caption = kCaption;
  auto off = Golden().B(0).Base(base).Bytes();
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(d), off));
  blocktest::ExpectTruncationsRefused<CBEDistanceControl>(kBeDistanceControlClassId, off);
  d->temperatureOption = 1;
  d->UpdateOutputs();
  BaseRecord base3 = BaseRecord::Unlinked(d->rect, 1, 3);
  base3.caption = kCaption;
  auto on = Golden().B(1).Base(base3).Bytes();
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(d), on));
  blocktest::ExpectTruncationsRefused<CBEDistanceControl>(kBeDistanceControlClassId, on);
  // The outputs follow the option before the base record is read.
  auto read = blocktest::NewDetached<CBEDistanceControl>(kBeDistanceControlClassId);
  ASSERT_TRUE(blocktest::LoadBytes(read.get(), on));
  EXPECT_EQ(1, read->temperatureOption);
  EXPECT_EQ(3, read->outputCount);
  ASSERT_TRUE(blocktest::LoadBytes(read.get(), off));
  EXPECT_EQ(2, read->outputCount);
  // An option byte other than 0 and 1, or a base record for the other
  // output count, is refused.
  auto bad = on;
  bad[0] = 2;
  auto fresh = blocktest::NewDetached<CBEDistanceControl>(kBeDistanceControlClassId);
  EXPECT_FALSE(blocktest::LoadBytes(fresh.get(), bad));
  bad = off;
  bad[0] = 1;
  EXPECT_FALSE(blocktest::LoadBytes(fresh.get(), bad));
  EXPECT_EQ(0, fresh->temperatureOption);
  EXPECT_EQ(2, fresh->outputCount);
}

TEST(DistanceControl, ASchemeWithTheTemperatureLinkReadsBack) {
  Bench bench;
  auto* d = bench.Create<CBEDistanceControl>(kBeDistanceControlClassId);
  d->temperatureOption = 1;
  d->UpdateOutputs();
  auto* reader = bench.Create<CBELimiter>(kBeLimiterClassId);
  bench.Link(d, 2, reader, 0);
  auto* line = bench.Source(kAnswerType);
  bench.Link(line, d);
  std::unique_ptr<BeScheme> copy = bench.ReadBack();
  ASSERT_NE(nullptr, copy);
  auto drivers = blocktest::BlocksOf<CBEDistanceControl>(copy.get());
  auto readers = blocktest::BlocksOf<CBELimiter>(copy.get());
  ASSERT_EQ(1u, drivers.size());
  ASSERT_EQ(1u, readers.size());
  EXPECT_EQ(3, drivers[0]->outputCount);
  EXPECT_EQ(drivers[0]->Output(2), readers[0]->Input(0)->source);
  EXPECT_NE(nullptr, drivers[0]->Input(0)->source);
  EXPECT_STREQ(kCaption, drivers[0]->caption);
}

}  // namespace
