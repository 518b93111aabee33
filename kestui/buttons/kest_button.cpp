#include "kestui/buttons/kest_button.h"

#include "kestui/core/kest_widget_helpers.h"

CKestButton::CKestButton(CKestContainer* container, const wchar_t* caption, bool defaultButton,
                         int id, uint32_t position, int width, int height, const wchar_t* hint,
                         int modalResult)
    : modalResult_(modalResult) {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                static_cast<DWORD>(defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
  CreateControlWindow(0, L"BUTTON", caption, style, position, width, height, container, nullptr,
                      nullptr);
  SetWindowId(window_, id);
  SetHintIfAny(this, hint);
}

LRESULT CKestButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEST_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == window_ && HIWORD(wParam) == 0 && modalResult_ != 0) {
        HWND form = GetOwnerFormWindow(window_);
        if (form && form != window_) PostMessageW(form, WM_CLOSE, static_cast<WPARAM>(modalResult_), 0);
      }
      // Not handled: the WM_COMMAND still reaches the form.
      return 0;
    case WM_CHAR:
      // Enter on a focused button presses it (the message loop leaves Enter
      // to a control that answers DLGC_BUTTON).
      if (wParam == VK_RETURN) {
        Click();
        return 0;
      }
      break;
    default:
      break;
  }
  return CKestTitleControl::WindowProc(message, wParam, lParam);
}
