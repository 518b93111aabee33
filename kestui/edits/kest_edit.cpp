#include "kestui/edits/kest_edit.h"

#include "kestui/core/kest_widget_helpers.h"

CKestEdit::CKestEdit(CKestControl* container, int id, uint32_t position, int width, int height,
                     bool readOnly, int textLimit, bool clientEdge) {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
  if (readOnly) style |= ES_READONLY;
  CreateControlWindow(clientEdge ? WS_EX_CLIENTEDGE : 0, L"EDIT", L"", style, position, width,
                      height, container, nullptr, nullptr);
  SetWindowId(window_, id);
  if (window_) SendMessageW(window_, EM_LIMITTEXT, static_cast<WPARAM>(textLimit < 0 ? 0 : textLimit), 0);
}

LRESULT CKestEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFOCUS:
      SelectAll();
      break;
    case WM_CHAR:
      if (wParam == VK_RETURN) return 0;
      break;
    default:
      break;
  }
  return CKestCustomEdit::WindowProc(message, wParam, lParam);
}
