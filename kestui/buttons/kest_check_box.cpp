#include "kestui/buttons/kest_check_box.h"

#include "kestui/core/kest_widget_helpers.h"

CKestCheckBox::CKestCheckBox(CKestContainer* container, const wchar_t* caption, bool checked,
                             int id, uint32_t position, int width, int height,
                             const wchar_t* hint) {
  CreateControlWindow(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX,
                      position, width, height, container, nullptr, nullptr);
  SetWindowId(window_, id);
  if (window_) SendMessageW(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  SetHintIfAny(this, hint);
}

void CKestCheckBox::Click() {
  if (!window_) return;
  SendMessageW(window_, BM_SETCHECK, IsChecked() ? BST_UNCHECKED : BST_CHECKED, 0);
  CKestTitleControl::Click();
}

void CKestCheckBox::SetChecked(bool checked) {
  if (window_) SendMessageW(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

LRESULT CKestCheckBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleColor(message, wParam, &result)) return result;
  if (SwallowSpaceKey(message, wParam)) return 0;
  if (message == WM_CHAR && (wParam == VK_RETURN || wParam == VK_SPACE)) {
    HWND window = window_;
    Click();
    if (GetControlFromHandle(window) != this) return 0;
  }
  return CKestTitleControl::WindowProc(message, wParam, lParam);
}
