#include "kestui/kest_hint.h"

#include <climits>

#include "foundation/buffers.h"
#include "kestui/kest_form.h"

bool HintsEnabled = true;
bool HintShownForRest = false;
CHintWindow* CurrentHintWindow = nullptr;
UINT_PTR HintTimerId = 0;

namespace {

constexpr UINT HintIntervalMs = 50;
constexpr DWORD RestDelayMs = 300;

KestHintSeam CurrentSeam = {nullptr, nullptr};
bool SeamSet = false;
POINT LastCursor = {INT_MIN, INT_MIN};
DWORD LastMoveTime = 0;

bool ReadCursor(POINT* at) {
  if (SeamSet && CurrentSeam.cursor) return CurrentSeam.cursor(at);
  return GetCursorPos(at) != FALSE;
}

DWORD ReadClock(DWORD fallback) {
  if (SeamSet && CurrentSeam.now) return CurrentSeam.now();
  return fallback;
}

void DeleteShownHint() {
  if (CurrentHintWindow) delete CurrentHintWindow;  // clears CurrentHintWindow
  CurrentHintWindow = nullptr;
}

void Track(DWORD time) {
  if (!HintsEnabled) return;
  POINT at;
  if (!ReadCursor(&at)) return;
  if (at.x != LastCursor.x || at.y != LastCursor.y) {
    LastMoveTime = time;
    LastCursor = at;
    HintShownForRest = false;
    DeleteShownHint();
    if (GetCapture()) return;  // a drag in progress keeps the hover widget
    CKestControl* under = GetControlFromHandle(WindowFromPoint(at));
    if (under != HoverControl) {
      CKestControl* old = HoverControl;
      HoverControl = under;
      if (old && old->GetHandle()) SendMessageW(old->GetHandle(), WM_KEST_MOUSELEAVE, 0, 0);
      // The leave handler may have destroyed the new widget: it then cleared
      // HoverControl itself.
      if (HoverControl == under && under && under->GetHandle()) {
        SendMessageW(under->GetHandle(), WM_KEST_MOUSEENTER, 0, 0);
      }
    }
    return;
  }
  if (!HintShownForRest && static_cast<DWORD>(time - LastMoveTime) > RestDelayMs) {
    DeleteShownHint();
    HintShownForRest = true;
    if (HoverControl && HoverControl->GetHint()) new CHintWindow(HoverControl->GetHint());
  }
}

}  // namespace

void SetHintSeam(const KestHintSeam* seam) {
  SeamSet = seam != nullptr;
  CurrentSeam = seam ? *seam : KestHintSeam{nullptr, nullptr};
}

bool StartHintTimer() {
  if (HintTimerId == 0) HintTimerId = SetTimer(nullptr, 0, HintIntervalMs, HintTimerProc);
  return HintTimerId != 0;
}

void StopHintTimer() {
  if (HintTimerId != 0) KillTimer(nullptr, HintTimerId);
  HintTimerId = 0;
}

void CALLBACK HintTimerProc(HWND, UINT, UINT_PTR, DWORD time) { Track(ReadClock(time)); }

void HintTimerStep() { Track(ReadClock(GetTickCount())); }

void ResetHintTracking() {
  LastCursor.x = INT_MIN;
  LastCursor.y = INT_MIN;
  LastMoveTime = 0;
  HintShownForRest = false;
  DeleteShownHint();
  HoverControl = nullptr;
}

// ---------------------------------------------------------------------------
// CHintWindow

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
