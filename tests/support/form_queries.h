// Window queries of the form tests: where a child lies, the children in
// order, a window's text, a list-view row selected as the mouse would, and
// a pixel as drawn on screen.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace velktest {

// The child's window rectangle in the parent's client coordinates.
inline RECT RectIn(HWND parent, HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The direct children, first to last.
inline std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
  return children;
}

inline std::wstring WindowText(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int got = GetWindowTextW(window, &text[0], length + 1);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return text;
}

// Selects and focuses one row of a list view as the mouse would (every
// other row loses the selection; the list view reports the change itself),
// then lets the notifications through.
inline void SelectListViewRow(HWND list, int row) {
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  FlushEvents();
}

// The colour at a client point of a window, as drawn on screen.
inline COLORREF ScreenPixel(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return colour;
}

}  // namespace velktest
