// Keyboard input and the application loop for widget tests: keys are posted
// as typed and go through the framework's key pre-translation, as in the
// program's own message loop.
#pragma once

#include <windows.h>

#include "kestui/containers/kest_container.h"
#include "kestui/forms/kest_navigation.h"

namespace keytest {

// The lParam of a key message: repeat count 1, the scan code, and for a
// release the previous-state and transition bits.
inline LPARAM KeyData(UINT key, bool up) {
  LPARAM data = 1 | (static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16);
  if (up) data |= static_cast<LPARAM>(0xC0000000u);
  return data;
}

// The application's message loop without waiting: key pre-translation,
// translation into characters, dispatch, until nothing is left.
inline void RunLoopUntilIdle() {
  MSG msg;
  for (int guard = 0; guard < 100000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    PreTranslateKeyMessage(&msg);
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

inline void PressKey(HWND window, UINT key) {
  PostMessageW(window, WM_KEYDOWN, key, KeyData(key, false));
  PostMessageW(window, WM_KEYUP, key, KeyData(key, true));
  RunLoopUntilIdle();
}

// A plain child container, standing in for a panel.
class TestPanel : public CKestContainer {
public:
  TestPanel(CKestControl* parent, uint32_t position, int width, int height) {
    CreateControlWindow(0, nullptr, L"", WS_CHILD | WS_VISIBLE, position, width, height, parent,
                        nullptr, nullptr);
  }
};

}  // namespace keytest
