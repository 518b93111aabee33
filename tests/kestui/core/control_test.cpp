// Binding of widgets to windows, creation, routing of mouse input and the
// reflection of WM_COMMAND and WM_NOTIFY.
#include <windows.h>
#include <windowsx.h>

#include <cstdio>
#include <cwchar>
#include <memory>

#include "foundation/buffers.h"
#include "kestui/kest_test_widgets.h"
#include "support/test_support.h"

using namespace kesttest;

namespace {

// A standard window class of our own, so a test can see what reaches the
// original procedure of a subclassed control.
struct StdCounts {
  int destroy = 0;
  int ncdestroy = 0;
  int command = 0;
};
StdCounts stdCounts;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) ++stdCounts.destroy;
  if (message == WM_NCDESTROY) ++stdCounts.ncdestroy;
  if (message == WM_COMMAND) ++stdCounts.command;
  return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* CountingClass() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KestTestCounting";
    RegisterClassW(&wc);
    registered = true;
  }
  return L"KestTestCounting";
}

class ControlTest : public ::testing::Test {
protected:
  void SetUp() override {
    stdCounts = StdCounts{};
    form = new TestForm();
    ASSERT_NE(nullptr, form->GetHandle());
    form->deletions = &formDeletions;
    guard = std::make_unique<WindowGuard>(form);
  }
  void TearDown() override {
    guard.reset();
    velktest::FlushEvents();
  }

  TestForm* form = nullptr;
  int formDeletions = 0;
  std::unique_ptr<WindowGuard> guard;
};

}  // namespace

TEST_F(ControlTest, PropertyNameCarriesTheProcessId) {
  wchar_t expected[32];
  swprintf(expected, 32, L"KestUI%08X", static_cast<unsigned>(GetCurrentProcessId()));
  EXPECT_STREQ(expected, GetWindowPropertyName());
  EXPECT_EQ(form, GetPropW(form->GetHandle(), expected));
}

TEST_F(ControlTest, FrameworkWindowIsBoundAndOwnedByItsForm) {
  auto* panel = new TestWidget(form, KestPos(0, 0), 200, 200);
  auto* inner = new TestWidget(panel, KestPos(5, 5), 50, 20);
  EXPECT_EQ(form, GetControlFromHandle(form->GetHandle()));
  EXPECT_EQ(inner, GetControlFromHandle(inner->GetHandle()));
  EXPECT_TRUE(form->IsTopLevel());
  EXPECT_FALSE(inner->IsTopLevel());
  EXPECT_EQ(nullptr, inner->GetPreviousProc());
  EXPECT_EQ(form->GetHandle(), GetOwnerFormWindow(inner->GetHandle()));
  EXPECT_EQ(form->GetHandle(), GetOwnerFormWindow(form->GetHandle()));
  EXPECT_EQ(nullptr, GetOwnerFormWindow(nullptr));
  EXPECT_EQ(nullptr, GetControlFromHandle(nullptr));
  wchar_t className[32] = L"";
  GetClassNameW(inner->GetHandle(), className, 32);
  EXPECT_STREQ(L"MainClass", className);
}

TEST_F(ControlTest, StandardControlIsSubclassed) {
  auto* edit = new StdWidget(form, L"EDIT", L"abc", WS_CHILD | WS_VISIBLE, KestPos(1, 1), 80, 20);
  HWND window = edit->GetHandle();
  ASSERT_NE(nullptr, window);
  EXPECT_EQ(edit, GetControlFromHandle(window));
  EXPECT_NE(nullptr, edit->GetPreviousProc());
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(MainClassWindowProc), GetWindowLongPtrW(window, GWLP_WNDPROC));
  // The edit still behaves as an edit through the framework's procedure.
  SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"xyz"));
  wchar_t text[8] = L"";
  GetWindowTextW(window, text, 8);
  EXPECT_STREQ(L"xyz", text);
}

TEST_F(ControlTest, DestroyingTheWindowDeletesTheObjectOnceAndReachesTheOriginalProcedure) {
  int deletions = 0;
  auto* widget = new StdWidget(form, CountingClass(), nullptr, WS_CHILD | WS_VISIBLE, 0, 10, 10);
  widget->deletions = &deletions;
  HWND window = widget->GetHandle();
  ASSERT_NE(nullptr, window);
  DestroyWindow(window);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(1, deletions);
  EXPECT_EQ(1, stdCounts.destroy);
  EXPECT_EQ(1, stdCounts.ncdestroy);  // the original procedure frees its data there
}

TEST_F(ControlTest, DeletingTheObjectDestroysTheWindowOnce) {
  int deletions = 0;
  auto* widget = new StdWidget(form, CountingClass(), nullptr, WS_CHILD | WS_VISIBLE, 0, 10, 10);
  widget->deletions = &deletions;
  HWND window = widget->GetHandle();
  delete widget;
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(1, deletions);
  EXPECT_EQ(1, stdCounts.destroy);
  EXPECT_EQ(1, stdCounts.ncdestroy);

  int frameworkDeletions = 0;
  auto* plain = new TestWidget(form, 0, 10, 10);
  plain->deletions = &frameworkDeletions;
  HWND plainWindow = plain->GetHandle();
  delete plain;
  EXPECT_FALSE(IsWindow(plainWindow));
  EXPECT_EQ(1, frameworkDeletions);
}

TEST_F(ControlTest, DestroyingTheFormDeletesItsWidgets) {
  int deletions = 0;
  auto* panel = new TestWidget(form, 0, 100, 100);
  auto* inner = new StdWidget(panel, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE, 0, 50, 20);
  panel->deletions = &deletions;
  inner->deletions = &deletions;
  DestroyWindow(form->GetHandle());
  EXPECT_EQ(2, deletions);
  EXPECT_EQ(1, formDeletions);
}

TEST_F(ControlTest, ExceptionInWindowProcFallsBackToDefaultHandling) {
  auto* widget = new TestWidget(form, 0, 10, 10);
  widget->throwOn = WM_SETTEXT;
  SendMessageW(widget->GetHandle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"kept"));
  wchar_t text[8] = L"";
  GetWindowTextW(widget->GetHandle(), text, 8);
  EXPECT_STREQ(L"kept", text);
  EXPECT_EQ(widget, GetControlFromHandle(widget->GetHandle()));
}

TEST_F(ControlTest, PositionCodes) {
  auto* explicitChild = new TestWidget(form, KestPos(20, 50), 30, 30);
  POINT at = explicitChild->GetPosition();
  EXPECT_EQ(20, at.x);
  EXPECT_EQ(50, at.y);
  EXPECT_EQ(KestPos(20, 50), explicitChild->GetPositionCode());
  auto* docked = new TestWidget(form, KEST_POS_BOTTOM, 30, 30);
  at = docked->GetPosition();
  EXPECT_EQ(0, at.x);
  EXPECT_EQ(0, at.y);
  auto* flow = new TestWidget(form, KEST_POS_FLOW, 30, 30);
  at = flow->GetPosition();
  EXPECT_EQ(0, at.x);
  EXPECT_EQ(0, at.y);

  auto* centred = new TestForm(200, 100, nullptr, KEST_POS_CENTER);
  WindowGuard centredGuard(centred);
  RECT bounds = centred->GetBounds();
  EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 200) / 2, bounds.left);
  EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - 100) / 2, bounds.top);
  EXPECT_EQ(200, centred->GetWidth());
  EXPECT_EQ(100, centred->GetHeight());
}

TEST_F(ControlTest, FontAndColourInheritance) {
  // The form got the default font.
  CKestFont* font = form->GetFont();
  ASSERT_NE(nullptr, font);
  LOGFONTW lf = {};
  ASSERT_NE(0, GetObjectW(font->GetHandle(), sizeof(lf), &lf));
  EXPECT_STREQ(L"Verdana", lf.lfFaceName);
  EXPECT_EQ(-12, lf.lfHeight);
  EXPECT_EQ(400, lf.lfWeight);
  EXPECT_EQ(1, font->GetRefCount());

  const COLORREF panelColour = RGB(10, 20, 30);
  form->SetBackColor(panelColour);
  auto* child = new StdWidget(form, L"EDIT", L"", WS_CHILD, 0, 10, 10);
  EXPECT_EQ(font, child->GetFont());
  EXPECT_EQ(2, font->GetRefCount());
  EXPECT_EQ(panelColour, child->GetBackColor());
  // The font reached the window.
  EXPECT_EQ(reinterpret_cast<LRESULT>(font->GetHandle()),
            SendMessageW(child->GetHandle(), WM_GETFONT, 0, 0));

  // A widget whose colour was set before its window existed keeps it.
  class Coloured : public RecordingControl {
  public:
    explicit Coloured(CKestControl* parent) {
      backColor_ = RGB(1, 2, 3);
      CreateControlWindow(0, nullptr, nullptr, WS_CHILD, 0, 5, 5, parent, nullptr, nullptr);
    }
  };
  auto* coloured = new Coloured(form);
  EXPECT_EQ(RGB(1, 2, 3), coloured->GetBackColor());

  form->SetBackColor(KEST_TRANSPARENT);
  auto* underTransparent = new TestWidget(form, 0, 10, 10);
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), underTransparent->GetBackColor());

  // Held by the form and three children; one child going releases one.
  EXPECT_EQ(4, font->GetRefCount());
  delete child;
  EXPECT_EQ(3, font->GetRefCount());
}

TEST_F(ControlTest, LabelClickRoutesDownUpThenCommand) {
  auto* label = new TestWidget(form, KestPos(10, 10), 60, 20, 77);
  HWND window = label->GetHandle();
  form->seen.clear();
  const LPARAM inside = MAKELPARAM(5, 6);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, inside);
  EXPECT_EQ(window, GetCapture());
  SendMessageW(window, WM_LBUTTONUP, 0, inside);
  EXPECT_EQ(nullptr, GetCapture());
  // The command is posted: it arrives after the button-up handling.
  ASSERT_EQ(2u, form->seen.size());
  EXPECT_EQ(WM_KEST_LBUTTONDOWN, form->seen[0].message);
  EXPECT_EQ(reinterpret_cast<WPARAM>(window), form->seen[0].wParam);
  EXPECT_EQ(inside, form->seen[0].lParam);
  EXPECT_EQ(WM_KEST_LBUTTONUP, form->seen[1].message);
  velktest::FlushEvents();
  ASSERT_EQ(3u, form->seen.size());
  EXPECT_EQ(static_cast<UINT>(WM_COMMAND), form->seen[2].message);
  EXPECT_EQ(77u, form->seen[2].wParam);
  EXPECT_EQ(reinterpret_cast<LPARAM>(window), form->seen[2].lParam);
  // The form reflected its WM_COMMAND to the label.
  EXPECT_EQ(1, label->Count(WM_KEST_COMMAND));
}

TEST_F(ControlTest, ReleaseOutsideTheWidgetReportsButDoesNotClick) {
  auto* label = new TestWidget(form, KestPos(10, 10), 60, 20, 77);
  HWND window = label->GetHandle();
  for (LPARAM outside : {MAKELPARAM(60, 5), MAKELPARAM(-3 & 0xFFFF, 5), MAKELPARAM(5, 200)}) {
    form->seen.clear();
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(window, WM_LBUTTONUP, 0, outside);
    velktest::FlushEvents();
    EXPECT_EQ(1, form->Count(WM_KEST_LBUTTONUP));
    EXPECT_EQ(0, form->Count(WM_COMMAND));
  }
}

TEST_F(ControlTest, ClickOnAFormsOwnBackgroundPostsNoCommand) {
  // With a menu bar the form's id is the low word of its menu handle; a
  // command with it (or with 0) would look like a widget's or a menu's.
  auto* menu = new CKestMainMenu(0);
  menu->AppendItem(menu->AppendSubMenu(L"Файл"), L"Выход", 100, 0, 0);
  form->SetMenu(menu);
  ASSERT_NE(nullptr, GetMenu(form->GetHandle()));
  auto* widget = new TestWidget(form, KestPos(10, 10), 60, 20, 0);  // a widget of id 0
  form->seen.clear();
  form->Click();
  SendMessageW(form->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 150));
  SendMessageW(form->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(200, 150));
  velktest::FlushEvents();
  EXPECT_EQ(0, form->Count(WM_COMMAND));
  EXPECT_EQ(1, form->Count(WM_KEST_LBUTTONUP));  // the release itself is still reported
  // The widget's own click still reaches the form, with its window.
  widget->Click();
  velktest::FlushEvents();
  const Seen* command = form->Last(WM_COMMAND);
  ASSERT_NE(nullptr, command);
  EXPECT_EQ(0u, command->wParam);
  EXPECT_EQ(reinterpret_cast<LPARAM>(widget->GetHandle()), command->lParam);
}

TEST_F(ControlTest, OtherMouseInputIsReported) {
  auto* widget = new TestWidget(form, 0, 50, 50, 5);
  HWND window = widget->GetHandle();
  form->seen.clear();
  const auto self = reinterpret_cast<WPARAM>(window);
  widget->SetCursorIndex(1);
  SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(1, 2));
  EXPECT_EQ(CursorTable[1], GetCursor());  // the widget's cursor was set
  SendMessageW(window, WM_RBUTTONDOWN, 0, MAKELPARAM(3, 4));
  SendMessageW(window, WM_MBUTTONDOWN, 0, MAKELPARAM(5, 6));
  SendMessageW(window, WM_MBUTTONUP, 0, MAKELPARAM(7, 8));
  SendMessageW(window, WM_SIZE, 0, MAKELPARAM(50, 50));
  struct Expect {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  const Expect expected[] = {
      {WM_KEST_MOUSEMOVE, self, MAKELPARAM(1, 2)},
      {WM_KEST_RBUTTONDOWN, self, MAKELPARAM(3, 4)},
      {WM_KEST_MBUTTONDOWN, self, MAKELPARAM(5, 6)},
      {WM_KEST_MBUTTONUP, self, MAKELPARAM(7, 8)},
      {WM_KEST_SIZE, 0, static_cast<LPARAM>(self)},
  };
  ASSERT_EQ(5u, form->seen.size());
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(expected[i].message, form->seen[i].message) << i;
    EXPECT_EQ(expected[i].wParam, form->seen[i].wParam) << i;
    EXPECT_EQ(expected[i].lParam, form->seen[i].lParam) << i;
  }
}

TEST_F(ControlTest, MouseWheelIsConsumedOnlyWhenTheFormAnswers) {
  const WPARAM wheel = MAKEWPARAM(0, WHEEL_DELTA);
  class WheelForm : public TestForm {
  public:
    LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override {
      if (m == WM_KEST_MOUSEWHEEL) {
        ++wheels;
        return answer;
      }
      return TestForm::WindowProc(m, w, l);
    }
    int wheels = 0;
    LRESULT answer = 0;
  };
  auto* wheelForm = new WheelForm();
  WindowGuard wheelGuard(wheelForm);
  auto* inner = new TestWidget(wheelForm, 0, 50, 50);
  wheelForm->answer = 1;
  EXPECT_EQ(1, SendMessageW(inner->GetHandle(), WM_MOUSEWHEEL, wheel, 0));
  EXPECT_EQ(1, wheelForm->wheels);
  wheelForm->answer = 0;
  SendMessageW(inner->GetHandle(), WM_MOUSEWHEEL, wheel, 0);
  // Not consumed: default handling passes the wheel to the parent (the
  // form), which reports it again for itself.
  EXPECT_EQ(3, wheelForm->wheels);
}

TEST_F(ControlTest, DoubleClickNotifiesTheFormWithTheWidgetWindow) {
  auto* widget = new TestWidget(form, 0, 50, 50, 9);
  HWND window = widget->GetHandle();
  SendMessageW(window, WM_LBUTTONDBLCLK, 0, MAKELPARAM(1, 1));
  const Seen* notify = form->Last(WM_NOTIFY);
  ASSERT_NE(nullptr, notify);
  EXPECT_EQ(reinterpret_cast<WPARAM>(window), notify->wParam);
  EXPECT_EQ(static_cast<UINT>(NM_DBLCLK), notify->notifyCode);
  // Reflected back to the widget named in the NMHDR.
  EXPECT_EQ(1, widget->Count(WM_KEST_NOTIFY));
}

TEST_F(ControlTest, CommandIsReflectedToAFrameworkSenderAndFallsThroughToTheForm) {
  auto* panel = new TestWidget(form, 0, 200, 200);
  auto* sender = new TestWidget(panel, 0, 20, 20, 12);
  const WPARAM wParam = MAKEWPARAM(12, BN_CLICKED);
  const auto lParam = reinterpret_cast<LPARAM>(sender->GetHandle());

  struct Case {
    LRESULT answer;
    int formCommands;
  };
  for (const Case& c : {Case{1, 0}, Case{0, 1}}) {
    form->seen.clear();
    sender->seen.clear();
    sender->commandAnswer = c.answer;
    EXPECT_EQ(0, SendMessageW(panel->GetHandle(), WM_COMMAND, wParam, lParam));
    const Seen* reflected = sender->Last(WM_KEST_COMMAND);
    ASSERT_NE(nullptr, reflected);
    EXPECT_EQ(wParam, reflected->wParam);
    EXPECT_EQ(lParam, reflected->lParam);
    EXPECT_EQ(c.formCommands, form->Count(WM_COMMAND)) << "answer " << c.answer;
  }

  // Notifications in the same way.
  NMHDR header = {sender->GetHandle(), 12, static_cast<UINT>(NM_CLICK)};
  for (const Case& c : {Case{1, 0}, Case{0, 1}}) {
    form->seen.clear();
    sender->commandAnswer = c.answer;
    SendMessageW(panel->GetHandle(), WM_NOTIFY, 12, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(c.formCommands, form->Count(WM_NOTIFY));
  }

  // A command without a sender (a menu) goes to the form.
  form->seen.clear();
  SendMessageW(panel->GetHandle(), WM_COMMAND, 500, 0);
  const Seen* menuCommand = form->Last(WM_COMMAND);
  ASSERT_NE(nullptr, menuCommand);
  EXPECT_EQ(500u, menuCommand->wParam);
}

TEST_F(ControlTest, CommandFromAStandardControlsOwnChildStaysWithTheControl) {
  auto* host = new StdWidget(form, CountingClass(), nullptr, WS_CHILD | WS_VISIBLE, 0, 100, 100);
  // A plain child window of the control, not a framework widget.
  HWND own = CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 10, 10, host->GetHandle(), nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(nullptr, own);
  SendMessageW(host->GetHandle(), WM_COMMAND, MAKEWPARAM(1, EN_CHANGE), reinterpret_cast<LPARAM>(own));
  EXPECT_EQ(1, stdCounts.command);
  EXPECT_EQ(0, form->Count(WM_COMMAND));
}

TEST_F(ControlTest, ColourRequestsGoToTheChildWidget) {
  class BrushWidget : public TestWidget {
  public:
    explicit BrushWidget(CKestControl* parent) : TestWidget(parent, 0, 10, 10) {}
    LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override {
      if (m == WM_KEST_CTLCOLOR) return reinterpret_cast<LRESULT>(GetStockObject(GRAY_BRUSH));
      return TestWidget::WindowProc(m, w, l);
    }
  };
  auto* child = new BrushWidget(form);
  HDC dc = GetDC(form->GetHandle());
  LRESULT brush = SendMessageW(form->GetHandle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(child->GetHandle()));
  ReleaseDC(form->GetHandle(), dc);
  EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(GRAY_BRUSH)), brush);
}

TEST_F(ControlTest, EraseFillsWithTheBackgroundOrGradientOrNothing) {
  auto* widget = new TestWidget(form, 0, 20, 40);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 40);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all = {0, 0, 20, 40};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

  widget->SetBackColor(KEST_TRANSPARENT);
  EXPECT_EQ(1, SendMessageW(widget->GetHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));
  EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 10, 10));

  widget->SetBackColor(RGB(0, 128, 0));
  EXPECT_EQ(1, SendMessageW(widget->GetHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));
  EXPECT_EQ(RGB(0, 128, 0), GetPixel(dc, 10, 10));

  widget->SetBackColor(RGB(0, 0, 0));
  widget->SetGradient(true, RGB(0, 0, 255));
  SendMessageW(widget->GetHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  COLORREF top = GetPixel(dc, 10, 0);
  COLORREF bottom = GetPixel(dc, 10, 39);
  EXPECT_LT(GetBValue(top), 16);
  EXPECT_GT(GetBValue(bottom), 240);
  EXPECT_EQ(0, GetRValue(bottom));

  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST_F(ControlTest, HoverControlIsClearedWhenItsWidgetGoes) {
  auto* widget = new TestWidget(form, 0, 20, 20);
  HoverControl = widget;
  DestroyWindow(widget->GetHandle());
  EXPECT_EQ(nullptr, HoverControl);
}

TEST_F(ControlTest, SizesTextHintAndVisibility) {
  auto* widget = new TestWidget(form, KestPos(3, 4), 60, 30);
  widget->SetSize(70, 35);
  EXPECT_EQ(70, widget->GetWidth());
  EXPECT_EQ(35, widget->GetHeight());
  EXPECT_EQ(70, widget->GetClientWidth());

  form->SetClientSize(300, 200);
  EXPECT_EQ(300, form->GetClientWidth());
  EXPECT_EQ(200, form->GetClientHeight());

  widget->SetText(L"Привет");
  wchar_t* copy = widget->GetTextCopy();
  ASSERT_NE(nullptr, copy);
  EXPECT_STREQ(L"Привет", copy);
  FreeBuffer(copy);
  EXPECT_EQ(6, widget->GetWindowText(nullptr, 0));

  widget->SetHint(L"подсказка");
  EXPECT_STREQ(L"подсказка", widget->GetHint());
  widget->SetHint(nullptr);
  EXPECT_EQ(nullptr, widget->GetHint());

  widget->SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(widget->GetHandle()));
  widget->Enable(false);
  EXPECT_FALSE(widget->IsEnabled());
}

TEST_F(ControlTest, MDIChildClassBindsThroughTheMdiCreateStruct) {
  ASSERT_TRUE(RegisterMDIChildWindowClass());
  CLIENTCREATESTRUCT ccs = {nullptr, 0xFF00};
  HWND client = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 300, 200,
                                form->GetHandle(), nullptr, GetModuleHandleW(nullptr), &ccs);
  ASSERT_NE(nullptr, client);
  class MdiChild : public RecordingControl {
  public:
    LRESULT DefaultProc(UINT m, WPARAM w, LPARAM l) override { return DefMDIChildProcW(window_, m, w, l); }
  };
  auto* child = new MdiChild();
  int deletions = 0;
  child->deletions = &deletions;
  MDICREATESTRUCTW mcs = {};
  mcs.szClass = KestMDIChildClassName;
  mcs.szTitle = L"child";
  mcs.hOwner = GetModuleHandleW(nullptr);
  mcs.x = mcs.y = 0;
  mcs.cx = 100;
  mcs.cy = 80;
  mcs.style = WS_VISIBLE | WS_CAPTION | WS_SYSMENU;
  mcs.lParam = reinterpret_cast<LPARAM>(child);
  HWND window = reinterpret_cast<HWND>(SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  ASSERT_NE(nullptr, window);
  EXPECT_EQ(child, GetControlFromHandle(window));
  EXPECT_EQ(window, child->GetHandle());
  SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(window), 0);
  EXPECT_EQ(1, deletions);
}

namespace {

// Counts the popup menus that open over a form and closes each at once.
class MenuCountingForm : public TestForm {
public:
  LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override {
    if (m == WM_INITMENUPOPUP) {
      ++popups;
      PostMessageW(window_, WM_CANCELMODE, 0, 0);
    }
    if (m == WM_CONTEXTMENU) ++contextMenus;
    if (m == WM_KEST_MBUTTONDOWN) beforePopup = w;
    return TestForm::WindowProc(m, w, l);
  }
  int popups = 0;
  int contextMenus = 0;
  WPARAM beforePopup = 0;
};

}  // namespace

TEST(ControlMenu, RightClickWithoutMenuPassesTheContextMenuOn) {
  auto* form = new MenuCountingForm();
  WindowGuard guard(form);
  auto* widget = new TestWidget(form, 0, 50, 50, 31);
  SendMessageW(widget->GetHandle(), WM_RBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(1, form->Count(WM_KEST_RBUTTONUP));
  EXPECT_EQ(1, form->contextMenus);  // the system's WM_CONTEXTMENU went on to the parent
  EXPECT_EQ(0, form->popups);
}

TEST(ControlMenu, RightClickWithMenuOpensItOnce) {
  auto* form = new MenuCountingForm();
  WindowGuard guard(form);
  ActivateWindow(form->GetHandle());
  auto* widget = new TestWidget(form, 0, 50, 50, 31);
  auto* menu = new CKestPopupMenu();
  menu->AddItem(L"Копировать", 0x301);
  widget->SetMenu(menu);
  SendMessageW(widget->GetHandle(), WM_RBUTTONUP, 0, MAKELPARAM(3, 3));
  velktest::FlushEvents();
  EXPECT_EQ(1, form->Count(WM_KEST_RBUTTONUP));
  EXPECT_EQ(1, form->popups);
  EXPECT_EQ(0, form->contextMenus);
  EXPECT_EQ(31u, form->beforePopup);  // told the widget's id just before the menu opened
}

TEST_F(ControlTest, ChildInheritsTheCompositedStyleOfItsParent) {
  auto* composited = new TestWidget(form, 0, 100, 100, 0, WS_CHILD | WS_VISIBLE, WS_EX_COMPOSITED);
  auto* inner = new TestWidget(composited, 0, 10, 10);
  auto* plain = new TestWidget(form, 0, 10, 10);
  EXPECT_TRUE(GetWindowLongW(inner->GetHandle(), GWL_EXSTYLE) & WS_EX_COMPOSITED);
  EXPECT_FALSE(GetWindowLongW(plain->GetHandle(), GWL_EXSTYLE) & WS_EX_COMPOSITED);
}
