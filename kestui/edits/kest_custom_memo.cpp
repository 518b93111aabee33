#include "kestui/edits/kest_custom_memo.h"

LRESULT CKestCustomMemo::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE: {
      LRESULT code = CKestCustomEdit::WindowProc(message, wParam, lParam);
      if (wantTab_) {
        code |= DLGC_WANTTAB;
      } else {
        code &= ~static_cast<LRESULT>(DLGC_WANTTAB);
      }
      // Wanting all keys keeps Enter from the default button: only a memo
      // that takes Enter as a new line asks for it.
      if (enterAccepted_) {
        code |= DLGC_WANTALLKEYS;
      } else {
        code &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
      }
      return code;
    }
    case WM_CHAR:
      // Ctrl+Enter arrives as a line feed: no new line either way.
      if (!enterAccepted_ && (wParam == L'\r' || wParam == L'\n')) return 0;
      break;
    default:
      break;
  }
  return CKestCustomEdit::WindowProc(message, wParam, lParam);
}

int CKestCustomMemo::GetCaretLine() const {
  if (!window_) return 0;
  int start = GetSelStart();
  return static_cast<int>(SendMessageW(window_, EM_LINEFROMCHAR, static_cast<WPARAM>(start), 0));
}

int CKestCustomMemo::GetCaretColumn() const {
  if (!window_) return 0;
  int start = GetSelStart();
  int line = static_cast<int>(SendMessageW(window_, EM_LINEFROMCHAR, static_cast<WPARAM>(start), 0));
  int lineStart = static_cast<int>(SendMessageW(window_, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
  if (lineStart < 0) return 0;
  return start - lineStart;
}
