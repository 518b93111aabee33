#include "kestui/bars/kest_separator.h"

#include <algorithm>

#include "kestui/graphics/kest_draw.h"

CKestSeparator::CKestSeparator(CKestContainer* container, uint32_t position) {
  int height = 0;
  if (container) {
    container->AdvanceFlow(3);
    height = container->GetHeight() - container->GetBorderWidth() - 2;
  }
  CreateControlWindow(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, position, 1,
                      std::max(height, 0), container, nullptr, nullptr);
  if (container) container->AdvanceFlow(3);
}

void CKestSeparator::Paint(HDC dc) {
  RECT area;
  GetClientArea(&area);
  HPEN pen = CreatePen(PS_SOLID, 1, BlendColors(backColor_, RGB(0, 0, 0), 64));
  if (!pen) return;
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, 0, 2, nullptr);
  LineTo(dc, 0, area.bottom);
  SelectObject(dc, old);
  DeleteObject(pen);
}

LRESULT CKestSeparator::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PaintWindow(window_, [this](HDC dc) { Paint(dc); });
    return 0;
  }
  return CKestControl::WindowProc(message, wParam, lParam);
}
