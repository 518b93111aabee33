// Drawing helpers, scroll arithmetic and the clipboard.
#include <windows.h>

#include <memory>

#include "kestui/kest_test_widgets.h"
#include "support/test_support.h"

using namespace kesttest;

TEST(KestDraw, BlendColors) {
  EXPECT_EQ(RGB(127, 127, 127), BlendColors(RGB(0, 0, 0), RGB(255, 255, 255), 128));
  EXPECT_EQ(RGB(125, 150, 100), BlendColors(RGB(100, 200, 50), RGB(200, 0, 250), 64));
  EXPECT_EQ(RGB(100, 200, 50), BlendColors(RGB(100, 200, 50), RGB(200, 0, 250), 0));
  // The top byte of the inputs does not leak into the result.
  EXPECT_EQ(0u, BlendColors(0xFF000000 | RGB(9, 9, 9), RGB(9, 9, 9), 10) >> 24);
}

TEST(KestDraw, Draw3DFrameEdgesAndFill) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 12, 12);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all = {0, 0, 12, 12};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

  const COLORREF light = RGB(255, 255, 255), shadow = RGB(128, 128, 128), fill = RGB(0, 0, 255);
  Draw3DFrame(dc, 10, 8, 2, 1, fill, light, shadow);  // corners out of order: (2,1)-(10,8)
  // After ordering, the frame covers x 2..9 and y 1..7.
  EXPECT_EQ(light, GetPixel(dc, 2, 1));   // top left
  EXPECT_EQ(light, GetPixel(dc, 2, 7));   // bottom left, drawn by the light pen
  EXPECT_EQ(light, GetPixel(dc, 8, 1));   // top edge
  EXPECT_EQ(shadow, GetPixel(dc, 9, 1));  // top right
  EXPECT_EQ(shadow, GetPixel(dc, 9, 7));  // bottom right
  EXPECT_EQ(shadow, GetPixel(dc, 5, 7));  // bottom edge
  EXPECT_EQ(fill, GetPixel(dc, 3, 2));
  EXPECT_EQ(fill, GetPixel(dc, 8, 6));
  EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 10, 8));  // outside
  EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 1, 1));

  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  RECT frame = {0, 0, 6, 6};
  Draw3DFrameRect(dc, &frame, CLR_INVALID, light, shadow);  // -1: inside untouched
  EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 2, 2));
  EXPECT_EQ(light, GetPixel(dc, 0, 0));
  EXPECT_EQ(shadow, GetPixel(dc, 5, 5));

  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST(KestScroll, HandleScrollCommand) {
  auto* form = new TestForm();
  WindowGuard guard(form);
  HWND window = form->GetHandle();
  SetWindowLongW(window, GWL_STYLE, GetWindowLongW(window, GWL_STYLE) | WS_VSCROLL);
  struct Case {
    UINT page;
    int start;
    int code;
    int expected;
  };
  // Range 0..100; with page 10 the last position is 91.
  const Case cases[] = {
      {10, 0, SB_LINEDOWN, 1},    {10, 0, SB_LINEUP, 0},     {10, 50, SB_PAGEUP, 40},
      {10, 50, SB_PAGEDOWN, 60},  {10, 90, SB_PAGEDOWN, 91}, {10, 50, SB_BOTTOM, 91},
      {10, 50, SB_TOP, 0},        {10, 33, SB_THUMBTRACK, 33}, {10, 33, SB_ENDSCROLL, 33},
      {0, 0, SB_PAGEDOWN, 10},    {0, 0, SB_LINEDOWN, 1},    {0, 50, SB_BOTTOM, 100},
      {30, 0, SB_LINEDOWN, 2},    {30, 0, SB_PAGEDOWN, 30},
  };
  for (const Case& c : cases) {
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = 100;
    info.nPage = c.page;
    info.nPos = c.start;
    SetScrollInfo(window, SB_VERT, &info, FALSE);
    int position = HandleScrollCommand(SB_VERT, c.code, window);
    EXPECT_EQ(c.expected, position) << "page " << c.page << " start " << c.start << " code " << c.code;
    EXPECT_EQ(c.expected, GetScrollPos(window, SB_VERT));
  }
}

namespace {

// A scroll-bar control that knows its position but refuses its information.
LRESULT CALLBACK MuteScrollBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == SBM_GETPOS) return 37;
  if (message == SBM_GETSCROLLINFO) return FALSE;
  if (message == SBM_SETPOS || message == SBM_SETSCROLLINFO) {
    SetPropW(window, L"VelkMoved", reinterpret_cast<HANDLE>(1));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

TEST(KestScroll, UnreadableBarKeepsItsCurrentPosition) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = MuteScrollBarProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"VelkMuteScrollBar";
  RegisterClassW(&wc);
  // A window without scroll bars: its position is 0 and no bar appears.
  auto* form = new TestForm();
  WindowGuard guard(form);
  HWND plain = form->GetHandle();
  SCROLLINFO probe = {};
  probe.cbSize = sizeof(probe);
  probe.fMask = SIF_ALL;
  ASSERT_FALSE(GetScrollInfo(plain, SB_HORZ, &probe));
  EXPECT_EQ(0, HandleScrollCommand(SB_HORZ, SB_PAGEDOWN, plain));
  EXPECT_FALSE(GetScrollInfo(plain, SB_HORZ, &probe));
  // No window at all: position 0, nothing to move.
  EXPECT_EQ(0, HandleScrollCommand(SB_VERT, SB_PAGEDOWN, nullptr));

  // A scroll-bar control that refuses its information keeps the position it
  // answers. (Wine reads a control's information itself and never fails
  // here; Windows asks the control.)
  HWND bar = CreateWindowW(L"VelkMuteScrollBar", nullptr, WS_POPUP, 0, 0, 10, 100, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(nullptr, bar);
  SCROLLINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  bool refuses = !GetScrollInfo(bar, SB_CTL, &info);
  if (refuses) {
    for (int code : {SB_LINEDOWN, SB_PAGEUP, SB_TOP, SB_BOTTOM, SB_THUMBPOSITION}) {
      EXPECT_EQ(37, HandleScrollCommand(SB_CTL, code, bar)) << code;
    }
    EXPECT_EQ(nullptr, GetPropW(bar, L"VelkMoved"));  // nothing was set
  }
  RemovePropW(bar, L"VelkMoved");
  DestroyWindow(bar);
}

TEST(KestClipboard, SetClipboardTextRoundTrip) {
  auto* form = new TestForm();
  WindowGuard guard(form);
  ASSERT_TRUE(OpenClipboard(form->GetHandle()));
  EmptyClipboard();
  EXPECT_FALSE(SetClipboardText(nullptr));
  EXPECT_FALSE(SetClipboardText(L""));
  EXPECT_TRUE(SetClipboardText(L"Схема и плата"));
  CloseClipboard();

  ASSERT_TRUE(OpenClipboard(form->GetHandle()));
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(nullptr, data);
  const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
  ASSERT_NE(nullptr, text);
  EXPECT_STREQ(L"Схема и плата", text);
  GlobalUnlock(data);
  EmptyClipboard();
  CloseClipboard();
}

TEST(KestCursorTable, LoadedAndClamped) {
  ASSERT_TRUE(RegisterMainWindowClass());
  for (int i = 0; i < KestCursorCount; ++i) EXPECT_NE(nullptr, CursorTable[i]) << i;
  EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), CursorTable[0]);
  EXPECT_EQ(LoadCursorW(nullptr, IDC_CROSS), CursorTable[1]);
  EXPECT_EQ(LoadCursorW(nullptr, IDC_NO), CursorTable[12]);
  EXPECT_EQ(CursorTable[0], GetKestCursor(-1));
  EXPECT_EQ(CursorTable[0], GetKestCursor(KestCursorCount));
  EXPECT_EQ(CursorTable[6], GetKestCursor(6));
}
