#include "kestui/hints/kest_hint_window.h"

#include "foundation/buffers.h"
#include "kestui/forms/kest_form.h"
#include "kestui/hints/kest_hint.h"

POINT PlaceHintWindow(POINT cursor, int width, int height) {
  int screenLeft = GetSystemMetrics(SM_XVIRTUALSCREEN);
  int screenTop = GetSystemMetrics(SM_YVIRTUALSCREEN);
  int screenRight = screenLeft + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  int screenBottom = screenTop + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  POINT at;
  at.x = cursor.x - width / 3;
  at.y = cursor.y + 22;
  if (at.x + width > screenRight) at.x = screenRight - width;
  if (at.x < screenLeft) at.x = screenLeft;
  // Below the cursor when it fits, else above it.
  if (at.y + height > screenBottom) at.y = cursor.y - height;
  if (at.y < screenTop) at.y = screenTop;
  return at;
}

CHintWindow::CHintWindow(const wchar_t* text) {
  CurrentHintWindow = this;
  text_ = DupString(text);
  if (!HintFont) {
    HintFont = new CKestFont(L"MS Sans Serif", -8, FW_NORMAL, false, false, false, DEFAULT_CHARSET);
    HintFont->AddRef();  // kept for the rest of the process
  }
  SetFont(HintFont);
  backColor_ = BackColor;

  int width = 10, height = 18;
  if (text_) {
    SIZE extent = {0, 0};
    HDC screen = GetDC(nullptr);
    if (screen) {
      HGDIOBJ old = SelectObject(screen, HintFont->GetHandle());
      GetTextExtentPoint32W(screen, text_, lstrlenW(text_), &extent);
      SelectObject(screen, old);
      ReleaseDC(nullptr, screen);
    }
    width = extent.cx;
    height = extent.cy;
  }
  width += 5;
  height += 4;

  POINT cursor = {0, 0};
  ReadCursor(&cursor);
  POINT at = PlaceHintWindow(cursor, width, height);
  // Screen coordinates are below 0x8000, so the code stays explicit.
  uint32_t code = KestPos(at.x, at.y);
  if (CreateControlWindow(WS_EX_TOPMOST, nullptr, nullptr, WS_POPUP | WS_BORDER, code, width,
                          height, MainKestForm, nullptr, nullptr)) {
    ShowWindow(window_, SW_SHOWNOACTIVATE);
  }
}

CHintWindow::~CHintWindow() {
  FreeBuffer(text_);
  text_ = nullptr;
  if (CurrentHintWindow == this) CurrentHintWindow = nullptr;
  if (window_) KillTimer(window_, CloseTimerId);
}

LRESULT CHintWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      SetTimer(window_, CloseTimerId, CloseDelayMs, nullptr);
      break;
    case WM_PAINT:
      if (text_) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window_, &ps);
        HGDIOBJ old = HintFont ? SelectObject(dc, HintFont->GetHandle()) : nullptr;
        SetBkColor(dc, backColor_);
        ::SetTextColor(dc, textColor_);
        TextOutW(dc, 1, 1, text_, lstrlenW(text_));
        if (old) SelectObject(dc, old);
        EndPaint(window_, &ps);
        return 0;
      }
      break;
    case WM_TIMER:
      delete this;
      return 0;
    default:
      break;
  }
  return CKestControl::WindowProc(message, wParam, lParam);
}
