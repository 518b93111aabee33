#include "kestui/edits/kest_up_down.h"

#include <commctrl.h>

#include "kestui/core/kest_widget_helpers.h"

CKestUpDown::CKestUpDown(CKestControl* parent, int id, uint32_t position, int width, int height) {
  INITCOMMONCONTROLSEX init = {sizeof init, ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&init);
  CreateControlWindow(0, UPDOWN_CLASSW, L"",
                      WS_CHILD | WS_VISIBLE | UDS_WRAP | UDS_SETBUDDYINT | UDS_ALIGNRIGHT |
                          UDS_ARROWKEYS,
                      position, width, height, parent, nullptr, nullptr);
  SetWindowId(window_, id);
}

LRESULT CKestUpDown::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SIZE) {
    if (window_) InvalidateRect(window_, nullptr, FALSE);
    return 0;
  }
  return CKestControl::WindowProc(message, wParam, lParam);
}
