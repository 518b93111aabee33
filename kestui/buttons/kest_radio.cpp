#include "kestui/buttons/kest_radio.h"

#include <cwchar>

#include "kestui/core/kest_widget_helpers.h"

CKestRadio::CKestRadio(CKestContainer* container, const wchar_t* caption, int id,
                       uint32_t position, int width, int height, const wchar_t* hint) {
  CreateControlWindow(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_RADIOBUTTON,
                      position, width, height, container, nullptr, nullptr);
  SetWindowId(window_, id);
  SetHintIfAny(this, hint);
}

void CKestRadio::SetChecked(bool checked) {
  if (window_) SendMessageW(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CKestRadio::Click() {
  if (!window_) return;
  SendMessageW(window_, BM_SETCHECK, BST_CHECKED, 0);
  for (HWND sibling = GetWindow(window_, GW_HWNDFIRST); sibling;
       sibling = GetWindow(sibling, GW_HWNDNEXT)) {
    if (sibling == window_) continue;
    wchar_t className[65] = L"";
    if (GetClassNameW(sibling, className, 64) <= 0) continue;
    if (_wcsicmp(className, L"Button") != 0) continue;
    LONG style = GetWindowLongW(sibling, GWL_STYLE);
    if ((style & 0xF) != BS_RADIOBUTTON) continue;
    SendMessageW(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
    SetWindowLongW(sibling, GWL_STYLE, style | WS_TABSTOP);
  }
  CKestTitleControl::Click();
}

LRESULT CKestRadio::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleColor(message, wParam, &result)) return result;
  if (message == WM_KEYDOWN && wParam == VK_SPACE) Click();
  if (SwallowSpaceKey(message, wParam)) return 0;
  return CKestTitleControl::WindowProc(message, wParam, lParam);
}
