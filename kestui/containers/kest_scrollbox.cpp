#include "kestui/containers/kest_scrollbox.h"

#include <algorithm>

#include "kestui/graphics/kest_draw.h"

CKestScrollBox::CKestScrollBox(CKestContainer* container, uint32_t position, int width, int height,
                               bool clientEdge) {
  borderWidth_ = Margin;
  CreateControlWindow(clientEdge ? WS_EX_CLIENTEDGE : 0, nullptr, nullptr,
                      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, position, width, height, container,
                      nullptr, nullptr);
}

void CKestScrollBox::GetClientArea(RECT* rect) {
  if (!rect) return;
  if (!window_ || !GetClientRect(window_, rect)) {
    SetRectEmpty(rect);
    return;
  }
  rect->right = std::max(rect->right, static_cast<LONG>(GetHorzRange()));
  rect->bottom = std::max(rect->bottom, static_cast<LONG>(GetVertRange()));
}

namespace {

int BarRange(HWND window, int bar) {
  int low = 0, high = 0;
  if (!window || !GetScrollRange(window, bar, &low, &high)) return 0;
  return high - low;
}

// Sets one bar for a content of the given size seen through a page.
int SetBar(HWND window, int bar, int content, int page, int position) {
  int limit = std::max(0, content - page);
  position = std::clamp(position, 0, limit);
  SCROLLINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  info.nMin = 0;
  info.nMax = content;
  info.nPage = static_cast<UINT>(std::max(0, page));
  info.nPos = position;
  SetScrollInfo(window, bar, &info, TRUE);
  return position;
}

}  // namespace

int CKestScrollBox::GetHorzRange() const { return BarRange(window_, SB_HORZ); }
int CKestScrollBox::GetVertRange() const { return BarRange(window_, SB_VERT); }

void CKestScrollBox::UpdateScrollBars(int contentWidth, int contentHeight) {
  if (!window_) return;
  RECT bounds;
  GetWindowRect(window_, &bounds);
  int w = bounds.right - bounds.left;
  int h = bounds.bottom - bounds.top;
  bool vertical = false, horizontal = false;
  if (h < contentHeight) {
    vertical = true;
    w -= GetSystemMetrics(SM_CXVSCROLL);
  }
  if (w < contentWidth) {
    horizontal = true;
    h -= GetSystemMetrics(SM_CYHSCROLL);
  }
  if (!vertical && h < contentHeight) {
    vertical = true;
    w -= GetSystemMetrics(SM_CXVSCROLL);
  }
  if (!horizontal && w < contentWidth) {
    horizontal = true;
    h -= GetSystemMetrics(SM_CYHSCROLL);
  }
  int y = SetBar(window_, SB_VERT, contentHeight, h, scrollY_);
  int x = SetBar(window_, SB_HORZ, contentWidth, w, scrollX_);
  ScrollContents(x, y);
}

void CKestScrollBox::FitToChildren() {
  if (!window_) return;
  int right = 0, bottom = 0;
  for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
    right = std::max(right, static_cast<int>(r.right) + scrollX_);
    bottom = std::max(bottom, static_cast<int>(r.bottom) + scrollY_);
  }
  UpdateScrollBars(right + borderWidth_, bottom + borderWidth_);
}

void CKestScrollBox::SetScrollPosition(int x, int y) {
  if (!window_) return;
  auto clampBar = [this](int bar, int value) {
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(window_, bar, &info)) return 0;
    int limit = std::max(0, info.nMax - static_cast<int>(info.nPage));
    value = std::clamp(value, 0, limit);
    info.fMask = SIF_POS;
    info.nPos = value;
    info.nTrackPos = value;
    SetScrollInfo(window_, bar, &info, TRUE);
    return value;
  };
  y = clampBar(SB_VERT, y);
  x = clampBar(SB_HORZ, x);
  ScrollContents(x, y);
}

int CKestScrollBox::ScrollHorzTo(int x) {
  SetScrollPosition(x, scrollY_);
  return scrollX_;
}

int CKestScrollBox::ScrollVertTo(int y) {
  SetScrollPosition(scrollX_, y);
  return scrollY_;
}

void CKestScrollBox::ScrollContents(int x, int y) {
  if (window_ && (x != scrollX_ || y != scrollY_)) {
    ScrollWindow(window_, scrollX_ - x, scrollY_ - y, nullptr, nullptr);
  }
  scrollX_ = x;
  scrollY_ = y;
}

void CKestScrollBox::ScrollBy(int bar, int code) {
  HWND window = window_;
  ::SetFocus(window);
  int position = HandleScrollCommand(bar, code, window);
  if (bar == SB_HORZ) {
    ScrollContents(position, scrollY_);
  } else {
    ScrollContents(scrollX_, position);
  }
  WPARAM id = static_cast<WPARAM>(GetWindowLongW(window, GWL_ID));
  SendMessageW(GetOwnerFormWindow(window), bar == SB_HORZ ? WM_KEST_MOUSEMOVE : WM_KEST_RBUTTONDOWN,
               id, reinterpret_cast<LPARAM>(window));
}

LRESULT CKestScrollBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      UpdateScrollBars(GetHorzRange(), GetVertRange());
      break;
    case WM_HSCROLL:
      ScrollBy(SB_HORZ, LOWORD(wParam));
      return 0;
    case WM_VSCROLL:
      ScrollBy(SB_VERT, LOWORD(wParam));
      return 0;
    case WM_LBUTTONDOWN:
      ::SetFocus(window_);
      break;
    case WM_MOUSEWHEEL: {
      HWND window = window_;
      if (SendMessageW(GetOwnerFormWindow(window), WM_KEST_MOUSEWHEEL, wParam,
                       reinterpret_cast<LPARAM>(window))) {
        return 1;
      }
      if (GetControlFromHandle(window) != this) return 1;
      int delta = static_cast<short>(HIWORD(wParam));
      if (delta != 0) {
        int old = scrollY_;
        if (ScrollVertTo(old - delta) == old) ScrollHorzTo(scrollX_ - delta);
      }
      return 1;
    }
    case WM_KEST_ENDLAYOUT:
      FitToChildren();
      break;
    default:
      break;
  }
  return CKestContainer::WindowProc(message, wParam, lParam);
}
