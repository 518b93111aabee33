// Placeholder start-up until the main window exists: shows one window with
// the program's folder, read through the foundation library.
#include <windows.h>

#include "foundation/paths.h"

namespace {
wchar_t g_folder[kMaxPathChars];

LRESULT CALLBACK PlaceholderProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      RECT r;
      GetClientRect(w, &r);
      DrawTextW(dc, g_folder, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(w, msg, wp, lp);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show) {
  GetExeDirectory(g_folder);
  WNDCLASSW wc = {};
  wc.lpfnWndProc = PlaceholderProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"VelkPlaceholder";
  if (!RegisterClassW(&wc)) return 1;
  HWND w = CreateWindowW(L"VelkPlaceholder", L"Velkboard", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                         640, 400, nullptr, nullptr, instance, nullptr);
  if (!w) return 1;
  ShowWindow(w, show);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
