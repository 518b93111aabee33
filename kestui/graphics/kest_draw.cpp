#include "kestui/graphics/kest_draw.h"

#include <cstring>
#include <cwchar>

void Draw3DFrame(HDC dc, int x1, int y1, int x2, int y2, COLORREF fill, COLORREF light,
                 COLORREF shadow) {
  if (!dc) return;
  if (x2 < x1) {
    int t = x1;
    x1 = x2;
    x2 = t;
  }
  if (y2 < y1) {
    int t = y1;
    y1 = y2;
    y2 = t;
  }
  --x2;
  --y2;
  if (fill != CLR_INVALID) {
    HBRUSH brush = CreateSolidBrush(fill);
    if (brush) {
      RECT inside = {x1 + 1, y1 + 1, x2, y2};
      FillRect(dc, &inside, brush);
      DeleteObject(brush);
    }
  }
  HPEN lightPen = CreatePen(PS_SOLID, 1, light);
  HPEN shadowPen = CreatePen(PS_SOLID, 1, shadow);
  if (lightPen && shadowPen) {
    HGDIOBJ old = SelectObject(dc, lightPen);
    MoveToEx(dc, x1, y2, nullptr);
    LineTo(dc, x1, y1);
    LineTo(dc, x2, y1);
    SelectObject(dc, shadowPen);
    LineTo(dc, x2, y2);
    LineTo(dc, x1, y2);
    SelectObject(dc, old);
  }
  if (lightPen) DeleteObject(lightPen);
  if (shadowPen) DeleteObject(shadowPen);
}

void Draw3DFrameRect(HDC dc, const RECT* rect, COLORREF fill, COLORREF light, COLORREF shadow) {
  if (!rect) return;
  Draw3DFrame(dc, rect->left, rect->top, rect->right, rect->bottom, fill, light, shadow);
}

void FillRectWithBrush(HDC dc, int left, int top, int right, int bottom, HBRUSH brush) {
  if (!dc || !brush) return;
  RECT rect = {left, top, right, bottom};
  FillRect(dc, &rect, brush);
}

COLORREF BlendColors(COLORREF a, COLORREF b, int weight) {
  auto mix = [weight](int x, int y) { return (x * (256 - weight) + y * weight) / 256; };
  int red = mix(GetRValue(a), GetRValue(b));
  int green = mix(GetGValue(a), GetGValue(b));
  int blue = mix(GetBValue(a), GetBValue(b));
  return RGB(red & 0xFF, green & 0xFF, blue & 0xFF);
}

namespace {

BOOL CALLBACK InvalidateIfTransparent(HWND window, LPARAM) {
  if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT) InvalidateRect(window, nullptr, FALSE);
  return TRUE;
}

}  // namespace

void InvalidateTransparentChildren(HWND form) {
  if (form) EnumChildWindows(form, InvalidateIfTransparent, 0);
}

int HandleScrollCommand(int bar, int code, HWND window) {
  SCROLLINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  // Without the bar's information nothing is moved: the current position.
  if (!GetScrollInfo(window, bar, &info)) return GetScrollPos(window, bar);
  int page = static_cast<int>(info.nPage);
  if (page == 0) page = (info.nMax - info.nMin) / 10;
  if (page < 1) page = 1;
  int line = page / 15;
  if (line < 1) line = 1;
  int position = info.nPos;
  switch (code) {
    case SB_LINEUP: position -= line; break;
    case SB_LINEDOWN: position += line; break;
    case SB_PAGEUP: position -= page; break;
    case SB_PAGEDOWN: position += page; break;
    case SB_THUMBPOSITION: position = info.nTrackPos; break;
    case SB_TOP: position = info.nMin; break;
    case SB_BOTTOM: position = info.nMax; break;
    default: return info.nPos;
  }
  // The platform lets the position reach nMax - nPage + 1 (the last page
  // fully shown).
  int highest = info.nMax - (info.nPage > 0 ? static_cast<int>(info.nPage) - 1 : 0);
  if (position > highest) position = highest;
  if (position < info.nMin) position = info.nMin;
  SetScrollPos(window, bar, position, TRUE);
  return position;
}

void SetScrollBarRange(HWND window, int bar, int low, int high, int page, int position) {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  info.nMin = low;
  info.nMax = high;
  info.nPage = static_cast<UINT>(page > 0 ? page : 0);
  info.nPos = position;
  SetScrollInfo(window, bar, &info, TRUE);
}

void ScrollContentTo(HWND window, int bar, int* position, int newPosition) {
  int delta = *position - newPosition;
  *position = newPosition;
  if (delta == 0) return;
  if (bar == SB_HORZ) ScrollWindow(window, delta, 0, nullptr, nullptr);
  else ScrollWindow(window, 0, delta, nullptr, nullptr);
}

int WheelScrollPosition(HWND window, int position, int delta) {
  int low = 0, high = 0;
  GetScrollRange(window, SB_VERT, &low, &high);
  RECT client;
  GetClientRect(window, &client);
  high -= client.bottom - client.top;
  position -= delta;
  if (position > high) position = high;
  if (position < low) position = low;
  return position;
}

bool SetClipboardText(const wchar_t* text) {
  if (!text || !*text) return false;
  size_t bytes = 2 * (wcslen(text) + 1);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!block) return false;
  void* data = GlobalLock(block);
  if (!data) {
    GlobalFree(block);
    return false;
  }
  memcpy(data, text, bytes);
  GlobalUnlock(block);
  if (!SetClipboardData(CF_UNICODETEXT, block)) {
    GlobalFree(block);
    return false;
  }
  return true;
}
