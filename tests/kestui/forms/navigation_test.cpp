// Keyboard pre-translation: Tab order, Enter to the default button, key
// reports to the owning form.
#include <windows.h>

#include <memory>

#include "kestui/kest_test_widgets.h"
#include "support/test_support.h"

using namespace kesttest;

namespace {

MSG KeyMessage(HWND window, UINT message, WPARAM key) {
  MSG msg = {};
  msg.hwnd = window;
  msg.message = message;
  msg.wParam = key;
  return msg;
}

class NavigationTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetModifierKeys(false, false, false);
    form = new TestForm(400, 300);
    guard = std::make_unique<WindowGuard>(form);
    const DWORD edit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
    first = new StdWidget(form, L"EDIT", L"", edit, KestPos(10, 10), 100, 20, 1, WS_EX_CLIENTEDGE);
    disabled = new StdWidget(form, L"EDIT", L"", edit | WS_DISABLED, KestPos(10, 40), 100, 20, 2);
    hidden = new StdWidget(form, L"EDIT", L"", edit & ~WS_VISIBLE, KestPos(10, 70), 100, 20, 3);
    bordered = new TestWidget(form, KestPos(10, 100), 100, 20, 4,
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER);
    panel = new TestWidget(form, KestPos(150, 10), 200, 100, 5, WS_CHILD | WS_VISIBLE);
    inner = new StdWidget(panel, L"EDIT", L"", edit, KestPos(5, 5), 100, 20, 6);
    button = new StdWidget(form, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                           KestPos(10, 200), 80, 25, 7);
    ActivateWindow(form->GetHandle());
    ASSERT_EQ(form->GetHandle(), GetActiveWindow());
    form->seen.clear();
  }
  void TearDown() override {
    SetModifierKeys(false, false, false);
    guard.reset();
    velktest::FlushEvents();
  }

  // Feeds a Tab key-down for the focused window; answers the new focus.
  HWND PressTab(bool shift) {
    SetModifierKeys(shift, false, false);
    MSG msg = KeyMessage(GetFocus(), WM_KEYDOWN, VK_TAB);
    PreTranslateKeyMessage(&msg);
    SetModifierKeys(false, false, false);
    neutralised = msg.message == WM_NULL;
    return GetFocus();
  }

  TestForm* form = nullptr;
  std::unique_ptr<WindowGuard> guard;
  StdWidget* first = nullptr;
  StdWidget* disabled = nullptr;
  StdWidget* hidden = nullptr;
  TestWidget* bordered = nullptr;
  TestWidget* panel = nullptr;
  StdWidget* inner = nullptr;
  StdWidget* button = nullptr;
  bool neutralised = false;
};

}  // namespace

TEST_F(NavigationTest, TabStopRules) {
  EXPECT_TRUE(IsTabStopWindow(first->GetHandle()));
  EXPECT_FALSE(IsTabStopWindow(disabled->GetHandle()));
  EXPECT_FALSE(IsTabStopWindow(hidden->GetHandle()));
  EXPECT_FALSE(IsTabStopWindow(bordered->GetHandle()));
  EXPECT_FALSE(IsTabStopWindow(panel->GetHandle()));  // no WS_TABSTOP
  EXPECT_FALSE(IsTabStopWindow(form->GetHandle()));   // not a child
  EXPECT_FALSE(IsTabStopWindow(nullptr));
}

TEST_F(NavigationTest, TabWalksTheTabStopsInOrderAndWraps) {
  first->SetFocus();
  ASSERT_EQ(first->GetHandle(), GetFocus());
  EXPECT_EQ(inner->GetHandle(), PressTab(false));  // into the panel, past disabled/hidden/bordered
  EXPECT_TRUE(neutralised);
  EXPECT_EQ(button->GetHandle(), PressTab(false));  // out of the panel to the next sibling
  EXPECT_EQ(first->GetHandle(), PressTab(false));   // wraps
  EXPECT_EQ(button->GetHandle(), PressTab(true));   // backwards wraps to the last
  EXPECT_EQ(inner->GetHandle(), PressTab(true));
  EXPECT_EQ(first->GetHandle(), PressTab(true));
}

TEST_F(NavigationTest, TabSkipsTheControlsOfAHiddenOrDisabledPanel) {
  first->SetFocus();
  EnableWindow(panel->GetHandle(), FALSE);
  EXPECT_EQ(button->GetHandle(), PressTab(false));
  EnableWindow(panel->GetHandle(), TRUE);
  ShowWindow(panel->GetHandle(), SW_HIDE);
  EXPECT_EQ(first->GetHandle(), PressTab(false));
  EXPECT_EQ(button->GetHandle(), PressTab(false));
}

TEST_F(NavigationTest, TabWithoutFocusStartsAtTheFirstTabStop) {
  EXPECT_EQ(first->GetHandle(), GetNextTabStop(nullptr));
  EXPECT_EQ(button->GetHandle(), GetPrevTabStop(nullptr));
}

TEST_F(NavigationTest, AControlThatWantsTabKeepsIt) {
  auto* wantsTab = new TestWidget(form, KestPos(10, 130), 50, 20, 8,
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP);
  wantsTab->dialogCode = DLGC_WANTTAB;
  wantsTab->SetFocus();
  EXPECT_EQ(wantsTab->GetHandle(), PressTab(false));
  EXPECT_FALSE(neutralised);
  ASSERT_FALSE(wantsTab->dialogCodeParams.empty());
  EXPECT_EQ(0, wantsTab->dialogCodeParams.back());  // asked without a MSG pointer
}

TEST_F(NavigationTest, EnterInAnEditClicksTheDefaultButton) {
  first->SetFocus();
  MSG msg = KeyMessage(first->GetHandle(), WM_KEYDOWN, VK_RETURN);
  PreTranslateKeyMessage(&msg);
  EXPECT_EQ(static_cast<UINT>(WM_NULL), msg.message);
  const Seen* command = form->Last(WM_COMMAND);
  ASSERT_NE(nullptr, command);
  EXPECT_EQ(7u, LOWORD(command->wParam));
  EXPECT_EQ(reinterpret_cast<LPARAM>(button->GetHandle()), command->lParam);
  // The key went to the form first.
  const Seen* key = form->Last(WM_KEST_KEYDOWN);
  ASSERT_NE(nullptr, key);
  EXPECT_EQ(static_cast<WPARAM>(VK_RETURN), key->wParam);
  EXPECT_EQ(reinterpret_cast<LPARAM>(first->GetHandle()), key->lParam);
}

TEST_F(NavigationTest, EnterOnAButtonIsLeftToTheButton) {
  button->SetFocus();
  MSG msg = KeyMessage(button->GetHandle(), WM_KEYDOWN, VK_RETURN);
  PreTranslateKeyMessage(&msg);
  EXPECT_EQ(static_cast<UINT>(WM_KEYDOWN), msg.message);
  EXPECT_EQ(0, form->Count(WM_COMMAND));
}

TEST_F(NavigationTest, EnterSkipsADisabledOrHiddenDefaultButton) {
  first->SetFocus();
  for (int round = 0; round < 2; ++round) {
    if (round == 0) {
      EnableWindow(button->GetHandle(), FALSE);
    } else {
      EnableWindow(button->GetHandle(), TRUE);
      ShowWindow(button->GetHandle(), SW_HIDE);
    }
    form->seen.clear();
    MSG msg = KeyMessage(first->GetHandle(), WM_KEYDOWN, VK_RETURN);
    PreTranslateKeyMessage(&msg);
    EXPECT_EQ(static_cast<UINT>(WM_KEYDOWN), msg.message) << round;
    EXPECT_EQ(0, form->Count(WM_COMMAND)) << round;
  }
  // A second default button further on is found instead.
  auto* other = new StdWidget(panel, L"BUTTON", L"Go", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON,
                              KestPos(5, 40), 60, 25, 9);
  EXPECT_EQ(other->GetHandle(), FindDefaultButton(form->GetHandle()));
}

TEST_F(NavigationTest, KeysAreReportedToTheOwningForm) {
  MSG down = KeyMessage(inner->GetHandle(), WM_KEYDOWN, 'Q');
  MSG up = KeyMessage(inner->GetHandle(), WM_KEYUP, 'Q');
  MSG tabUp = KeyMessage(inner->GetHandle(), WM_KEYUP, VK_TAB);
  MSG formKey = KeyMessage(form->GetHandle(), WM_KEYDOWN, 'Q');
  PreTranslateKeyMessage(&down);
  PreTranslateKeyMessage(&up);
  PreTranslateKeyMessage(&tabUp);
  PreTranslateKeyMessage(&formKey);  // the form itself is not told
  ASSERT_EQ(2u, form->seen.size());
  EXPECT_EQ(WM_KEST_KEYDOWN, form->seen[0].message);
  EXPECT_EQ(static_cast<WPARAM>('Q'), form->seen[0].wParam);
  EXPECT_EQ(reinterpret_cast<LPARAM>(inner->GetHandle()), form->seen[0].lParam);
  EXPECT_EQ(WM_KEST_KEYUP, form->seen[1].message);
  EXPECT_EQ(static_cast<UINT>(WM_KEYDOWN), down.message);  // the key goes on
}
