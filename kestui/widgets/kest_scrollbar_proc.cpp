#include "kestui/widgets/kest_scrollbar_proc.h"

#include "kestui/core/kest_control.h"
#include "kestui/graphics/kest_draw.h"

LRESULT CALLBACK KestScrollBarWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HSCROLL || message == WM_VSCROLL) {
    HWND bar = reinterpret_cast<HWND>(lParam);
    int code = LOWORD(wParam);
    if (bar) {
      HandleScrollCommand(SB_CTL, code, bar);
      SendMessageW(GetOwnerFormWindow(window), WM_KEST_SCROLL,
                   static_cast<WPARAM>(GetWindowLongW(bar, GWL_ID)), lParam);
    } else {
      bool horizontal = message == WM_HSCROLL;
      HandleScrollCommand(horizontal ? SB_HORZ : SB_VERT, code, window);
      SendMessageW(GetOwnerFormWindow(window), horizontal ? WM_KEST_MOUSEMOVE : WM_KEST_RBUTTONDOWN,
                   wParam, reinterpret_cast<LPARAM>(window));
    }
    return 0;
  }
  return MainClassWindowProc(window, message, wParam, lParam);
}

bool InstallKestScrollBarProc(HWND window) {
  CKestControl* widget = GetControlFromHandle(window);
  // A subclassed control keeps its own procedure behind the framework's.
  if (!widget || widget->GetPreviousProc()) return false;
  auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
  if (current == KestScrollBarWindowProc) return true;
  if (current != MainClassWindowProc) return false;
  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(KestScrollBarWindowProc));
  return true;
}
