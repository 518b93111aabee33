// Mouse tracking and hints, driven by a fake clock and cursor.
#include "kestui/forms_test_util.h"
#include "kestui/hints/kest_hint_window.h"

namespace {

using formtest::Box;
using formtest::Form;
using formtest::FormsTest;
using formtest::MakeForm;

DWORD FakeNow = 0;
POINT FakeCursor = {0, 0};

DWORD ReadFakeClock() { return FakeNow; }
bool ReadFakeCursor(POINT* at) {
  *at = FakeCursor;
  return true;
}

class HintTest : public FormsTest {
protected:
  void SetUp() override {
    FormsTest::SetUp();
    static const KestHintSeam seam = {ReadFakeClock, ReadFakeCursor};
    SetHintSeam(&seam);
    form = MakeForm(100, 100, 400, 200);
    ASSERT_NE(nullptr, form->GetHandle());
    StopHintTimer();  // the test takes every step itself
    a = new Box(form, KestPos(10, 10), 100, 50);
    a->name = L"A";
    a->log = &log;
    a->SetHint(L"Подсказка для A");
    b = new Box(form, KestPos(200, 10), 100, 50);
    b->name = L"B";
    b->log = &log;
    form->Show(false);
    velktest::FlushEvents();
  }
  // Moves the fake cursor to (x, y) of the form's client area and steps.
  void MoveTo(int x, int y, DWORD now) {
    FakeCursor = {100 + x, 100 + y};
    FakeNow = now;
    HintTimerStep();
  }
  void StepAt(DWORD now) {
    FakeNow = now;
    HintTimerStep();
  }
  std::wstring Log() const {
    std::wstring all;
    for (const std::wstring& entry : log) all += entry + L" ";
    return all;
  }
  Form* form = nullptr;
  Box* a = nullptr;
  Box* b = nullptr;
  std::vector<std::wstring> log;
};

TEST_F(HintTest, EnterAndLeaveInOrder) {
  MoveTo(50, 30, 1000);
  EXPECT_EQ(a, HoverControl);
  MoveTo(60, 30, 1050);  // still over A: nothing new
  MoveTo(250, 30, 1100);
  EXPECT_EQ(b, HoverControl);
  MoveTo(390, 190, 1150);  // the form itself is a widget too
  EXPECT_EQ(form, HoverControl);
  EXPECT_EQ(L"A+ A- B+ B- ", Log());
}

TEST_F(HintTest, HintAppearsOnceAfterThreeHundredMillisecondsAtRest) {
  MoveTo(50, 30, 2000);
  StepAt(2250);
  EXPECT_EQ(nullptr, CurrentHintWindow);
  StepAt(2300);  // not more than 300 ms yet
  EXPECT_EQ(nullptr, CurrentHintWindow);
  StepAt(2301);
  ASSERT_NE(nullptr, CurrentHintWindow);
  EXPECT_STREQ(L"Подсказка для A", CurrentHintWindow->GetText());
  HWND hint = CurrentHintWindow->GetHandle();
  ASSERT_TRUE(IsWindow(hint));
  EXPECT_TRUE(IsWindowVisible(hint));
  EXPECT_EQ(static_cast<DWORD>(WS_EX_TOPMOST), GetWindowLongW(hint, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(CHintWindow::BackColor, CurrentHintWindow->GetBackColor());
  // Below the cursor, a third of its width to the left.
  RECT r;
  GetWindowRect(hint, &r);
  EXPECT_EQ(130 + 22, r.top);
  EXPECT_EQ(150 - (r.right - r.left) / 3, r.left);

  CHintWindow* shown = CurrentHintWindow;
  StepAt(2400);
  EXPECT_EQ(shown, CurrentHintWindow);  // shown once per rest

  // The hint's own 5 s timer removes it; it does not come back at rest.
  SendMessageW(hint, WM_TIMER, CHintWindow::CloseTimerId, 0);
  EXPECT_EQ(nullptr, CurrentHintWindow);
  EXPECT_FALSE(IsWindow(hint));
  StepAt(12000);
  EXPECT_EQ(nullptr, CurrentHintWindow);

  // The next movement and rest show it again.
  MoveTo(51, 30, 12050);
  StepAt(12400);
  EXPECT_NE(nullptr, CurrentHintWindow);
  // A movement removes it at once.
  MoveTo(52, 30, 12450);
  EXPECT_EQ(nullptr, CurrentHintWindow);
}

TEST_F(HintTest, WidgetWithoutHintGetsEnterAndLeaveButNoHint) {
  MoveTo(250, 30, 3000);
  StepAt(3500);
  EXPECT_EQ(nullptr, CurrentHintWindow);
  EXPECT_TRUE(HintShownForRest);
  MoveTo(50, 30, 3600);
  EXPECT_EQ(L"B+ B- A+ ", Log());
}

TEST_F(HintTest, ClockWrapAroundStillCountsTheRest) {
  MoveTo(50, 30, 0xFFFFFF00u);
  StepAt(0x00000100u);  // 512 ms later, past the wrap
  EXPECT_NE(nullptr, CurrentHintWindow);
}

TEST_F(HintTest, NothingChangesWhileTheMouseIsCaptured) {
  MoveTo(50, 30, 4000);
  log.clear();
  SetCapture(a->GetHandle());
  ASSERT_EQ(a->GetHandle(), GetCapture());
  MoveTo(250, 30, 4050);
  MoveTo(260, 30, 4100);
  EXPECT_EQ(a, HoverControl);
  EXPECT_EQ(L"", Log());
  ReleaseCapture();
  MoveTo(261, 30, 4150);
  EXPECT_EQ(b, HoverControl);
  EXPECT_EQ(L"A- B+ ", Log());
}

TEST_F(HintTest, DisabledHintsDoNothing) {
  HintsEnabled = false;
  MoveTo(50, 30, 5000);
  StepAt(6000);
  EXPECT_EQ(nullptr, HoverControl);
  EXPECT_EQ(nullptr, CurrentHintWindow);
  EXPECT_EQ(L"", Log());
  HintsEnabled = true;
  MoveTo(50, 31, 6050);
  EXPECT_EQ(L"A+ ", Log());
}

TEST_F(HintTest, DestroyingTheWidgetUnderTheMouseClearsIt) {
  MoveTo(50, 30, 7000);
  ASSERT_EQ(a, HoverControl);
  DestroyWindow(a->GetHandle());
  EXPECT_EQ(nullptr, HoverControl);
  MoveTo(250, 30, 7050);  // no leave message for the destroyed widget
  EXPECT_EQ(L"A+ B+ ", Log());
}

TEST_F(HintTest, HintNearTheScreenEdgesStaysVisible) {
  int screenW = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  int screenH = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  struct Case {
    const char* name;
    POINT cursor;
    int expectX, expectY;
  };
  const int w = 120, h = 20;
  const Case cases[] = {
      {"middle", {500, 400}, 500 - w / 3, 422},
      {"right edge", {screenW - 10, 400}, screenW - w, 422},
      {"left edge", {5, 400}, 0, 422},
      {"bottom edge: above the cursor", {500, screenH - 30}, 500 - w / 3, screenH - 30 - h},
      {"bottom right corner", {screenW - 1, screenH - 1}, screenW - w, screenH - 1 - h},
  };
  for (const Case& c : cases) {
    POINT at = PlaceHintWindow(c.cursor, w, h);
    EXPECT_EQ(c.expectX, at.x) << c.name;
    EXPECT_EQ(c.expectY, at.y) << c.name;
  }

  // A real hint at the bottom right corner lies wholly on the screen.
  FakeCursor = {screenW - 2, screenH - 2};
  CHintWindow* hint = new CHintWindow(L"Длинная подсказка у самого края экрана");
  RECT r;
  ASSERT_TRUE(GetWindowRect(hint->GetHandle(), &r));
  EXPECT_LE(r.right, screenW);
  EXPECT_LE(r.bottom, screenH);
  EXPECT_GE(r.left, 0);
  EXPECT_GE(r.top, 0);
  delete hint;
  EXPECT_EQ(nullptr, CurrentHintWindow);
}

}  // namespace
