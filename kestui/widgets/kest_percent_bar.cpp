#include "kestui/widgets/kest_percent_bar.h"

#include <algorithm>
#include <cwchar>

#include "kestui/graphics/kest_draw.h"
#include "kestui/widgets/kest_painter.h"

CKestPercentBar::CKestPercentBar(CKestControl* parent, int id, uint32_t position, int width,
                                 int height, int minimum, int maximum)
    : minimum_(std::min(minimum, maximum)), maximum_(std::max(minimum, maximum)), position_(minimum_) {
  if (!CreateControlWindow(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, position, width, height,
                           parent, nullptr, nullptr)) {
    return;
  }
  SetWindowLongW(window_, GWL_ID, id);
}

void CKestPercentBar::SetRange(int minimum, int maximum) {
  minimum_ = std::min(minimum, maximum);
  maximum_ = std::max(minimum, maximum);
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void CKestPercentBar::SetPosition(int position) {
  position_ = position;
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

int CKestPercentBar::GetPercent() const {
  long long range = static_cast<long long>(maximum_) - minimum_;
  if (range <= 0) return 0;
  long long done = static_cast<long long>(position_) - minimum_;
  return static_cast<int>(std::clamp(done * 100 / range, 0LL, 100LL));
}

int CKestPercentBar::FilledWidth(int insideWidth) const {
  long long range = static_cast<long long>(maximum_) - minimum_;
  if (range <= 0 || insideWidth <= 0) return 0;
  long long done = std::clamp(static_cast<long long>(position_) - minimum_, 0LL, range);
  return static_cast<int>(done * insideWidth / range);
}

void CKestPercentBar::Paint(HDC dc) {
  if (!dc || !window_) return;
  RECT client;
  GetClientRect(window_, &client);
  COLORREF parentColor = backColor_;
  if (CKestControl* parent = GetControlFromHandle(GetParent(window_))) {
    if (parent->GetBackColor() != KEST_TRANSPARENT) parentColor = parent->GetBackColor();
  }
  if (parentColor == KEST_TRANSPARENT) parentColor = GetSysColor(COLOR_BTNFACE);
  // Sunken: the darker shade on the left and top.
  Draw3DFrame(dc, 0, 0, client.right, client.bottom, parentColor,
              BlendColors(parentColor, RGB(0, 0, 0), 96), BlendColors(parentColor, RGB(255, 255, 255), 128));
  RECT inside = {1, 1, client.right - 1, client.bottom - 1};
  if (inside.right <= inside.left || inside.bottom <= inside.top) return;

  wchar_t text[16];
  swprintf(text, sizeof(text) / sizeof(text[0]), L"%d%%", GetPercent());
  CKestPainter painter(dc);
  painter.SetFont(font_);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldColor = ::SetTextColor(dc, textColor_);
  DrawTextW(dc, text, -1, &inside, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
  ::SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);

  int filled = FilledWidth(inside.right - inside.left);
  if (filled > 0) PatBlt(dc, inside.left, inside.top, filled, inside.bottom - inside.top, DSTINVERT);
}

LRESULT CKestPercentBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      PaintWindow(window_, [this](HDC dc) { Paint(dc); });
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers the whole window
    default:
      return CKestControl::WindowProc(message, wParam, lParam);
  }
}
