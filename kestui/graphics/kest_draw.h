// Drawing, scrolling and clipboard helpers of the framework.
#pragma once

#include <windows.h>

// A 3-D frame: light left and top, shadow right and bottom; fill -1 leaves
// the inside alone. Corners may come in any order.
void Draw3DFrame(HDC dc, int x1, int y1, int x2, int y2, COLORREF fill, COLORREF light,
                 COLORREF shadow);
void Draw3DFrameRect(HDC dc, const RECT* rect, COLORREF fill, COLORREF light, COLORREF shadow);
void FillRectWithBrush(HDC dc, int left, int top, int right, int bottom, HBRUSH brush);
// Each of red, green, blue: (a * (256 - weight) + b * weight) / 256.
COLORREF BlendColors(COLORREF a, COLORREF b, int weight);
// Invalidates, without erasing, every child window with WS_EX_TRANSPARENT.
void InvalidateTransparentChildren(HWND form);

// Standard scroll arithmetic for bar (SB_HORZ, SB_VERT, SB_CTL) of window:
// applies the scroll code, clamps to [nMin, nMax - nPage + 1], sets the
// position and answers it. When the bar's information cannot be read, the
// position stays and the current one (GetScrollPos, 0 when none) is answered.
int HandleScrollCommand(int bar, int code, HWND window);

// Sets bar (SB_HORZ, SB_VERT) of window to the range low..high, page and
// position, the bar staying visible (disabled) when everything fits.
void SetScrollBarRange(HWND window, int bar, int low, int high, int page, int position);
// Moves *position of bar (SB_HORZ, SB_VERT) to newPosition and scrolls the
// window's content by the difference.
void ScrollContentTo(HWND window, int bar, int* position, int newPosition);
// The vertical position after a mouse-wheel turn of delta: position - delta
// kept inside the vertical bar's range less the client height.
int WheelScrollPosition(HWND window, int position, int delta);

// Paints the window's invalid area: paint(dc) between BeginPaint and
// EndPaint. A C++ exception thrown while painting ends the painting, never
// the window procedure, so EndPaint always runs.
template <class Painter>
void PaintWindow(HWND window, Painter&& paint) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (dc) {
    try {
      paint(dc);
    } catch (...) {
    }
  }
  EndPaint(window, &ps);
}

// Puts text as CF_UNICODETEXT on a clipboard the caller has opened and
// emptied. Null or empty text does nothing. Answers whether data was set.
bool SetClipboardText(const wchar_t* text);
