#include "kestui/containers/kest_panel.h"

#include "kestui/containers/kest_flow_layout.h"
#include "kestui/core/kest_widget_helpers.h"
#include "kestui/graphics/kest_draw.h"

namespace {

// Background of a parent widget, for colours derived from it.
COLORREF ParentBackColor(CKestControl* parent) {
  if (parent && parent->GetBackColor() != KEST_TRANSPARENT) return parent->GetBackColor();
  return GetSysColor(COLOR_BTNFACE);
}

}  // namespace

CKestPanel::CKestPanel(CKestContainer* container, int8_t bevel, uint32_t position, int width,
                       int height, bool header, bool flat)
    : bevel_(bevel), flat_(flat) {
  bool toolBar = header && height < ToolBarHeightLimit;
  borderWidth_ = toolBar ? 1 : 4;
  if (!CreateControlWindow(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, position,
                           width, height, container, nullptr, nullptr)) {
    return;
  }
  if (header) {
    COLORREF base = ParentBackColor(container);
    SetGradient(true, BlendColors(base, KestBlack, 64));
    SetBackColor(BlendColors(base, KestWhite, 128));
    Invalidate(true);
  }
  if (toolBar) {
    if (KestFlowLayout* flow = GetFlowLayout()) {
      flow->gap = 0;
      flow->cursorX += 8;
    }
  }
}

void CKestPanel::DrawFrame(HDC dc) {
  if (!window_ || !dc) return;
  COLORREF first, second;
  if (flat_) {
    first = second = BlendColors(backColor_, KestWhite, 192);
  } else if (bevel_ > 0) {
    first = BlendColors(backColor_, KestWhite, 192);
    second = BlendColors(backColor_, KestBlack, 192);
  } else if (bevel_ < 0) {
    first = BlendColors(backColor_, KestBlack, 192);
    second = BlendColors(backColor_, KestWhite, 192);
  } else {
    return;
  }
  RECT rect;
  GetClientRect(window_, &rect);
  InflateRect(&rect, -1, -1);
  HPEN firstPen = CreatePen(PS_SOLID, 1, first);
  HPEN secondPen = CreatePen(PS_SOLID, 1, second);
  if (firstPen && secondPen) {
    HGDIOBJ old = SelectObject(dc, firstPen);
    MoveToEx(dc, 0, rect.bottom, nullptr);
    LineTo(dc, 0, 0);
    LineTo(dc, rect.right, 0);
    SelectObject(dc, secondPen);
    LineTo(dc, rect.right, rect.bottom);
    LineTo(dc, 0, rect.bottom);
    SelectObject(dc, old);
  }
  if (firstPen) DeleteObject(firstPen);
  if (secondPen) DeleteObject(secondPen);
}

LRESULT CKestPanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) {
    CKestContainer::WindowProc(message, wParam, lParam);
    DrawFrame(reinterpret_cast<HDC>(wParam));
    return 1;
  }
  return CKestContainer::WindowProc(message, wParam, lParam);
}
