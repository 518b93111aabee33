#include "kestui/edits/kest_memo.h"

#include "kestui/core/kest_widget_helpers.h"

CKestMemo::CKestMemo(CKestContainer* container, int id, uint32_t position, int width, int height,
                     int textLimit, bool wordWrap, bool readOnly, bool enterAccepted,
                     int8_t alignment, bool wantTab, bool clientEdge) {
  enterAccepted_ = enterAccepted;
  wantTab_ = wantTab;
  DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL;
  if (readOnly) style |= ES_READONLY;
  if (!wordWrap) style |= WS_HSCROLL | ES_AUTOHSCROLL;
  if (alignment == 0) {
    style |= ES_CENTER;
  } else if (alignment == 1) {
    style |= ES_RIGHT;
  }
  // The system edit ignores Enter in dialog mode unless it wants returns.
  if (enterAccepted) style |= ES_WANTRETURN;
  CreateControlWindow(clientEdge ? WS_EX_CLIENTEDGE : 0, L"EDIT", L"", style, position, width,
                      height, container, nullptr, nullptr);
  SetWindowId(window_, id);
  if (window_) SendMessageW(window_, EM_LIMITTEXT, static_cast<WPARAM>(textLimit < 0 ? 0 : textLimit), 0);
}
