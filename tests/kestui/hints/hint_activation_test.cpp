// Hints and window activation: a hint goes when its window loses
// activation to a window or dialog opened after it, and a widget of a form
// disabled under a modal dialog shows none.
#include "kestui/forms_test_util.h"
#include "kestui/hints/kest_hint_window.h"
#include "support/loop_probe.h"

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

class HintActivationTest : public FormsTest {
protected:
  void SetUp() override {
    FormsTest::SetUp();
    static const KestHintSeam seam = {ReadFakeClock, ReadFakeCursor};
    SetHintSeam(&seam);
    form = MakeForm(100, 100, 400, 200, nullptr, true);
    ASSERT_NE(nullptr, form->GetHandle());
    StopHintTimer();  // the test takes every step itself
    box = new Box(form, KestPos(10, 10), 150, 60);
    box->SetHint(L"Подсказка");
    form->Show(false);
    SetActiveWindow(form->GetHandle());
    velktest::FlushEvents();
    ASSERT_EQ(form->GetHandle(), GetActiveWindow());
  }
  // Rests the fake cursor over the box for 400 ms.
  void RestOverBox(DWORD start) {
    POINT at = {30, 30};
    ClientToScreen(box->GetHandle(), &at);
    FakeCursor = at;
    FakeNow = start;
    HintTimerStep();
    FakeNow = start + 400;
    HintTimerStep();
  }
  // A captioned form over the first one, shown and activated.
  Form* OpenOther() {
    Form* other = MakeForm(200, 150, 300, 150, nullptr, true);
    other->Show(false);
    SetActiveWindow(other->GetHandle());
    velktest::FlushEvents();
    return other;
  }
  Form* form = nullptr;
  Box* box = nullptr;
};

TEST_F(HintActivationTest, AWindowOpenedAfterTheHintTakesItAway) {
  RestOverBox(1000);
  ASSERT_NE(nullptr, CurrentHintWindow);
  HWND hint = CurrentHintWindow->GetHandle();
  ASSERT_TRUE(IsWindowVisible(hint));
  EXPECT_EQ(form->GetHandle(), CurrentHintWindow->shownFor);

  Form* other = OpenOther();
  ASSERT_EQ(other->GetHandle(), GetActiveWindow());
  EXPECT_EQ(nullptr, CurrentHintWindow);
  EXPECT_FALSE(IsWindow(hint));
  velktest::SaveScreenshot(other->GetHandle(), L"hint_gone_under_new_window.bmp");

  // It does not come back while the mouse keeps resting.
  FakeNow = 2000;
  HintTimerStep();
  EXPECT_EQ(nullptr, CurrentHintWindow);
}

TEST_F(HintActivationTest, AModalDialogTakesTheHintAway) {
  RestOverBox(1000);
  ASSERT_NE(nullptr, CurrentHintWindow);
  HWND hint = CurrentHintWindow->GetHandle();
  Form* dialog = MakeForm(200, 150, 300, 150, form, true);
  bool goneInside = false;
  bool hintWindowGone = false;
  velktest::LoopProbe probe([&] {
    goneInside = CurrentHintWindow == nullptr;
    hintWindowGone = !IsWindow(hint);
    dialog->PostClose(2);
  });
  probe.Post();
  EXPECT_EQ(2, dialog->ShowModal(false));
  ASSERT_TRUE(probe.Ran());
  EXPECT_TRUE(goneInside);
  EXPECT_TRUE(hintWindowGone);
}

TEST_F(HintActivationTest, AWidgetOfAFormDisabledUnderADialogShowsNoHint) {
  Form* dialog = MakeForm(500, 400, 200, 100, form, true);
  bool disabled = false;
  CHintWindow* shown = reinterpret_cast<CHintWindow*>(1);
  velktest::LoopProbe probe([&] {
    disabled = !IsWindowEnabled(form->GetHandle());
    RestOverBox(1000);  // the box is not under the dialog
    shown = CurrentHintWindow;
    dialog->PostClose(2);
  });
  probe.Post();
  EXPECT_EQ(2, dialog->ShowModal(false));
  ASSERT_TRUE(probe.Ran());
  EXPECT_TRUE(disabled);
  EXPECT_EQ(nullptr, shown);
  // Enabled again, the next rest shows it.
  velktest::FlushEvents();
  FakeCursor.x += 1;
  FakeNow = 3000;
  HintTimerStep();
  FakeNow = 3400;
  HintTimerStep();
  ASSERT_NE(nullptr, CurrentHintWindow);
  EXPECT_STREQ(L"Подсказка", CurrentHintWindow->GetText());
}

TEST_F(HintActivationTest, AnotherApplicationTakesTheHintAway) {
  RestOverBox(1000);
  ASSERT_NE(nullptr, CurrentHintWindow);
  SendMessageW(form->GetHandle(), WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_EQ(nullptr, CurrentHintWindow);
}

TEST_F(HintActivationTest, AnotherWindowLosingActivationLeavesTheHint) {
  RestOverBox(1000);
  ASSERT_NE(nullptr, CurrentHintWindow);
  Form* other = MakeForm(600, 150, 100, 100, nullptr, true);
  HideHintOfWindow(other->GetHandle());
  HideHintOfWindow(nullptr);
  EXPECT_NE(nullptr, CurrentHintWindow);
}

}  // namespace
