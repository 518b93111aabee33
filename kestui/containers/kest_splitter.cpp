#include "kestui/containers/kest_splitter.h"

#include <windowsx.h>

#include <algorithm>

#include "kestui/graphics/kest_draw.h"

CKestSplitter::CKestSplitter(bool horizontal, CKestContainer* container, uint32_t position)
    : horizontal_(horizontal) {
  cursorIndex_ = horizontal ? KestCursorSplitNs : KestCursorSplitWe;
  CreateControlWindow(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, position, horizontal ? 100 : 6,
                      horizontal ? 6 : 100, container, nullptr, nullptr);
}

int CKestSplitter::Direction(uint32_t* panelCode) const {
  uint32_t code = positionCode_;
  *panelCode = code;
  if (horizontal_) {
    if (code == KEST_POS_TOP) return 1;
    if (code == KEST_POS_BOTTOM) return -1;
  } else {
    if (code == KEST_POS_LEFT) return 1;
    if (code == KEST_POS_RIGHT) return -1;
  }
  return 0;
}

HWND CKestSplitter::FindPanel() const {
  uint32_t wanted;
  if (!window_ || Direction(&wanted) == 0) return nullptr;
  for (HWND sibling = GetWindow(window_, GW_HWNDPREV); sibling;
       sibling = GetWindow(sibling, GW_HWNDPREV)) {
    if (!(GetWindowLongW(sibling, GWL_STYLE) & WS_VISIBLE)) continue;
    CKestControl* widget = GetControlFromHandle(sibling);
    if (widget && widget->GetPositionCode() == wanted) return sibling;
  }
  return nullptr;
}

bool CKestSplitter::Drag(int offset) {
  uint32_t wanted;
  int direction = Direction(&wanted);
  HWND panel = FindPanel();
  CKestContainer* container = window_ ? GetContainerFromHandle(GetParent(window_)) : nullptr;
  if (!panel || !container) return false;

  // What the container leaves free now bounds how far the panel may grow.
  container->Realign();
  RECT free = container->GetFreeRect();
  RECT bounds;
  GetWindowRect(panel, &bounds);
  int width = bounds.right - bounds.left;
  int height = bounds.bottom - bounds.top;
  int current = horizontal_ ? height : width;
  int freeExtent = horizontal_ ? free.bottom - free.top : free.right - free.left;
  int maximum = current + std::max(0, freeExtent);

  int size = current + (offset - 2) * direction;
  size = std::max(size, minimumSize_);
  size = std::min(size, maximum);
  if (size == current) return false;
  SetWindowPos(panel, nullptr, 0, 0, horizontal_ ? width : size, horizontal_ ? size : height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  container->Realign();
  return true;
}

void CKestSplitter::Paint(HDC dc) {
  RECT area;
  GetClientArea(&area);
  int cx = (area.left + area.right) / 2;
  int cy = (area.top + area.bottom) / 2;
  COLORREF dark = BlendColors(backColor_, RGB(0, 0, 0), 128);
  COLORREF light = BlendColors(backColor_, RGB(255, 255, 255), 128);
  for (int i = -3; i <= 3; ++i) {
    int x = horizontal_ ? cx + 6 * i : cx;
    int y = horizontal_ ? cy : cy + 6 * i;
    SetPixel(dc, x - 1, y, dark);
    SetPixel(dc, x - 1, y - 1, dark);
    SetPixel(dc, x, y - 1, dark);
    SetPixel(dc, x + 1, y - 1, light);
    SetPixel(dc, x + 1, y, light);
    SetPixel(dc, x + 1, y + 1, light);
    SetPixel(dc, x, y + 1, light);
    SetPixel(dc, x - 1, y + 1, light);
  }
}

LRESULT CKestSplitter::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PaintWindow(window_, [this](HDC dc) { Paint(dc); });
      return 0;
    }
    case WM_MOUSEMOVE:
      if (wParam & MK_LBUTTON) {
        HWND window = window_;
        Drag(horizontal_ ? GET_Y_LPARAM(lParam) : GET_X_LPARAM(lParam));
        if (GetControlFromHandle(window) != this) return 0;
      }
      break;
    default:
      break;
  }
  return CKestControl::WindowProc(message, wParam, lParam);
}
