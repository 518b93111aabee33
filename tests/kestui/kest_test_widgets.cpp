#include "kest_test_widgets.h"

#include "support/test_support.h"

namespace kesttest {

bool IsReported(UINT message) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_KEST_MOUSEENTER:
    case WM_KEST_MOUSELEAVE:
    case WM_KEST_COMMAND:
    case WM_KEST_NOTIFY:
    case WM_KEST_KEYDOWN:
    case WM_KEST_KEYUP:
    case WM_KEST_LBUTTONDOWN:
    case WM_KEST_LBUTTONUP:
    case WM_KEST_RBUTTONDOWN:
    case WM_KEST_RBUTTONUP:
    case WM_KEST_MOUSEMOVE:
    case WM_KEST_MOUSEWHEEL:
    case WM_KEST_MBUTTONDOWN:
    case WM_KEST_MBUTTONUP:
    case WM_KEST_SIZE:
    case WM_KEST_CTLCOLOR:
      return true;
    default:
      return false;
  }
}

RecordingControl::~RecordingControl() {
  if (deletions) ++*deletions;
}

LRESULT RecordingControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (throwOn && message == throwOn) throw 1;
  if (IsReported(message)) {
    UINT code = 0;
    if ((message == WM_NOTIFY || message == WM_KEST_NOTIFY) && lParam) {
      code = reinterpret_cast<NMHDR*>(lParam)->code;
    }
    seen.push_back(Seen{message, wParam, lParam, code});
  }
  if (message == WM_KEST_COMMAND || message == WM_KEST_NOTIFY) return commandAnswer;
  if (message == WM_GETDLGCODE) {
    dialogCodeParams.push_back(lParam);
    if (dialogCode >= 0) return dialogCode;
  }
  return CKestControl::WindowProc(message, wParam, lParam);
}

int RecordingControl::Count(UINT message) const {
  int n = 0;
  for (const Seen& s : seen) n += s.message == message;
  return n;
}

const Seen* RecordingControl::Last(UINT message) const {
  for (auto it = seen.rbegin(); it != seen.rend(); ++it) {
    if (it->message == message) return &*it;
  }
  return nullptr;
}

TestForm::TestForm(int width, int height, CKestMenu* menu, uint32_t position) {
  CreateControlWindow(0, nullptr, L"Kest test form", WS_POPUP | WS_CLIPCHILDREN, position,
                      width, height, nullptr, menu, nullptr);
}

TestWidget::TestWidget(CKestControl* parent, uint32_t position, int width, int height, int id,
                       DWORD style, DWORD exStyle) {
  if (CreateControlWindow(exStyle, nullptr, nullptr, style, position, width, height, parent, nullptr,
                          nullptr)) {
    SetWindowLongW(window_, GWL_ID, id);
  }
}

StdWidget::StdWidget(CKestControl* parent, const wchar_t* className, const wchar_t* caption,
                     DWORD style, uint32_t position, int width, int height, int id, DWORD exStyle) {
  if (CreateControlWindow(exStyle, className, caption, style, position, width, height, parent,
                          nullptr, nullptr)) {
    SetWindowLongW(window_, GWL_ID, id);
  }
}

void SetModifierKeys(bool shift, bool ctrl, bool alt) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  keys[VK_LSHIFT] = shift ? 0x80 : 0;
  keys[VK_CONTROL] = ctrl ? 0x80 : 0;
  keys[VK_LCONTROL] = ctrl ? 0x80 : 0;
  keys[VK_MENU] = alt ? 0x80 : 0;
  keys[VK_LMENU] = alt ? 0x80 : 0;
  SetKeyboardState(keys);
}

void ActivateWindow(HWND window) {
  // SetForegroundWindow is left out on purpose: under Xvfb without a window
  // manager it makes Wine treat the window as managed, and every later hide
  // or destroy then waits two seconds for the window manager.
  ShowWindow(window, SW_SHOWNA);
  SetActiveWindow(window);
  velktest::FlushEvents();
}

}  // namespace kesttest
