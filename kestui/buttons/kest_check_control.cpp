#include "kestui/buttons/kest_check_control.h"

CKestCheckControl::~CKestCheckControl() {
  if (brush_) DeleteObject(brush_);
  brush_ = nullptr;
}

HBRUSH CKestCheckControl::SetBackColor(COLORREF color) {
  backColor_ = color;
  if (brush_) DeleteObject(brush_);
  brush_ = nullptr;
  // A transparent check box paints on the parent's colour.
  if (color == KEST_TRANSPARENT) {
    HWND parent = window_ ? GetParent(window_) : nullptr;
    CKestControl* owner = parent ? GetControlFromHandle(parent) : nullptr;
    COLORREF under = owner ? owner->GetBackColor() : KEST_TRANSPARENT;
    brush_ = CreateSolidBrush(under == KEST_TRANSPARENT ? GetSysColor(COLOR_BTNFACE) : under);
  } else {
    brush_ = CreateSolidBrush(color);
  }
  if (window_) InvalidateRect(window_, nullptr, TRUE);
  return brush_;
}

bool CKestCheckControl::IsChecked() const {
  return window_ && SendMessageW(window_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool CKestCheckControl::HandleColor(UINT message, WPARAM wParam, LRESULT* result) {
  if (message != WM_KEST_CTLCOLOR) return false;
  HDC dc = reinterpret_cast<HDC>(wParam);
  if (dc) {
    ::SetTextColor(dc, textColor_);
    if (backColor_ == KEST_TRANSPARENT) {
      SetBkMode(dc, TRANSPARENT);
    } else {
      SetBkColor(dc, backColor_);
    }
  }
  *result = reinterpret_cast<LRESULT>(brush_);
  return true;
}

bool CKestCheckControl::SwallowSpaceKey(UINT message, WPARAM wParam) {
  if ((message != WM_KEYDOWN && message != WM_KEYUP) || wParam != VK_SPACE) return false;
  if (message == WM_KEYDOWN && menu_) menu_->DispatchShortcut(window_, wParam);
  return true;
}
