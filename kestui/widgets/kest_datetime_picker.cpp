#include "kestui/widgets/kest_datetime_picker.h"

CKestCustomDateTimePicker::CKestCustomDateTimePicker(CKestControl* parent, int id,
                                                     uint32_t position, int width, int height,
                                                     DWORD style) {
  backColor_ = GetSysColor(COLOR_WINDOW);
  INITCOMMONCONTROLSEX init = {sizeof(init), ICC_DATE_CLASSES};
  InitCommonControlsEx(&init);
  if (!CreateControlWindow(0, DATETIMEPICK_CLASSW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style,
                           position, width, height, parent, nullptr, nullptr)) {
    return;
  }
  SetWindowLongW(window_, GWL_ID, id);
}

bool CKestCustomDateTimePicker::GetDateTime(SYSTEMTIME* time) const {
  if (!time || !window_) return false;
  return SendMessageW(window_, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(time)) == GDT_VALID;
}

bool CKestCustomDateTimePicker::SetDateTime(const SYSTEMTIME& time) {
  if (!window_) return false;
  return SendMessageW(window_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time)) != 0;
}

LRESULT CKestCustomDateTimePicker::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY:
      return CallDefault(message, wParam, lParam);
    case WM_KEST_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header && header->hwndFrom == window_ && header->code == DTN_DATETIMECHANGE) {
        auto* change = reinterpret_cast<NMDATETIMECHANGE*>(lParam);
        if (change->dwFlags == GDT_VALID) changed_ = change->st;
        ++changes_;
      }
      return 0;  // the form hears of it as well
    }
    default:
      return CKestControl::WindowProc(message, wParam, lParam);
  }
}
