#include "kestui/containers/kest_group_box.h"

#include <algorithm>
#include <cwchar>

#include "foundation/buffers.h"
#include "kestui/core/kest_widget_helpers.h"
#include "kestui/graphics/kest_draw.h"

CKestGroupBox::CKestGroupBox(CKestContainer* container, const wchar_t* caption,
                             uint32_t position, int width, int height) {
  CreateGroupWindow(container, caption, position, width, height);
}

bool CKestGroupBox::CreateGroupWindow(CKestContainer* container, const wchar_t* caption,
                                      uint32_t position, int width, int height) {
  return CreateControlWindow(0, nullptr, caption, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                             position, width, height, container, nullptr, nullptr);
}

int CKestGroupBox::CaptionHeight() {
  int cy = 0;
  if (HDC dc = GetDC(nullptr)) {
    HGDIOBJ old = font_ && font_->GetHandle() ? SelectObject(dc, font_->GetHandle()) : nullptr;
    SIZE size = {};
    if (GetTextExtentPoint32W(dc, L"A", 1, &size)) cy = size.cy;
    if (old) SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
  }
  return std::max(cy, 4);
}

void CKestGroupBox::GetClientArea(RECT* rect) {
  if (!rect) return;
  if (!window_ || !GetClientRect(window_, rect)) {
    SetRectEmpty(rect);
    return;
  }
  int cy = CaptionHeight();
  rect->top += cy + 8;
  rect->left += 8;
  rect->right -= 8;
  rect->bottom -= 8;
}

void CKestGroupBox::Paint(HDC dc) {
  RECT rect;
  GetClientRect(window_, &rect);
  wchar_t* caption = GetTextCopy();
  HGDIOBJ oldFont = font_ && font_->GetHandle() ? SelectObject(dc, font_->GetHandle()) : nullptr;
  int length = caption ? static_cast<int>(wcslen(caption)) : 0;
  SIZE size = {};
  GetTextExtentPoint32W(dc, length ? caption : L"A", length ? length : 1, &size);
  int cy = std::max(static_cast<int>(size.cy), 4);
  COLORREF light = BlendColors(backColor_, KestWhite, 128);
  COLORREF dark = BlendColors(backColor_, KestBlack, 90);
  Draw3DFrame(dc, rect.left + 2, cy / 2 - 1, rect.right - 2, rect.bottom - 2, KEST_TRANSPARENT,
              dark, light);
  Draw3DFrame(dc, rect.left + 3, cy / 2, rect.right - 3, rect.bottom - 3, KEST_TRANSPARENT, light,
              dark);
  if (length) {
    ::SetTextColor(dc, textColor_);
    SetBkColor(dc, backColor_);
    TextOutW(dc, rect.left + 16, rect.top, caption, length);
  }
  if (oldFont) SelectObject(dc, oldFont);
  FreeBuffer(caption);
}

LRESULT CKestGroupBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT && window_) {
    PaintWindow(window_, [this](HDC dc) { Paint(dc); });
  }
  return CKestContainer::WindowProc(message, wParam, lParam);
}

