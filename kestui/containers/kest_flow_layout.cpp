#include "kestui/containers/kest_flow_layout.h"

#include <algorithm>

#include "kestui/containers/kest_container.h"
#include "kestui/core/kest_widget_helpers.h"

KestFlowLayout::KestFlowLayout(CKestContainer* owner, const RECT& area)
    : container(owner),
      cursorX(area.left),
      cursorY(area.top),
      leftEdge(area.left),
      rightEdge(area.right),
      top(area.top),
      lowest(area.top) {}

POINT KestFlowLayout::Place(int width, int height) {
  if (stackedState > 0) {
    height += stackedState;
    width = std::max(width, stackedWidth);
  }
  rowHeight = std::max(rowHeight, height);
  if (!IsRowEmpty() && rightEdge < cursorX + width + 2 * gap) {
    NewRow();
    // The widget that wrapped is the first cell of the new row, so the row
    // after it must clear it.
    rowHeight = height;
  }
  POINT at;
  at.x = cursorX + gap;
  at.y = cursorY + gap + (stackedState > 0 ? stackedState : 0);
  if (stackedState != 0) {
    stackedState = -1;
    cursorX += width + gap;
  } else {
    stackedWidth = width;
    stackedState = height;
  }
  return at;
}

void KestFlowLayout::NewRow() {
  if (rowHeight == 0) rowHeight = 18;
  cursorX = leftEdge;
  cursorY += rowHeight + gap;
  lowest = std::max(lowest, cursorY);
  rowHeight = 0;
}

void KestFlowLayout::NewColumn(int width) {
  if (columnMode) leftEdge = rightEdge;
  rightEdge = leftEdge + width;
  cursorX = leftEdge;
  cursorY = top;
  rowHeight = 0;
  columnMode = true;
}

void KestFlowLayout::BeginCenteredRows() {
  if (!IsRowEmpty()) NewRow();
  HWND parent = container ? container->GetHandle() : nullptr;
  HWND first = parent ? GetWindow(parent, GW_CHILD) : nullptr;
  sectionStart = first ? GetWindow(first, GW_HWNDLAST) : nullptr;
}

void KestFlowLayout::CenterRows() {
  HWND parent = container ? container->GetHandle() : nullptr;
  if (!parent) return;
  HWND child = sectionStart ? GetWindow(sectionStart, GW_HWNDNEXT) : GetWindow(parent, GW_CHILD);
  if (!child) return;
  sectionStart = child;
  while (child) {
    // One row: consecutive windows whose tops are equal.
    RECT first = ChildRect(parent, child);
    HWND rowStart = child;
    HWND last = child;
    RECT lastRect = first;
    HWND next = GetWindow(child, GW_HWNDNEXT);
    while (next) {
      RECT r = ChildRect(parent, next);
      if (r.top != first.top) break;
      last = next;
      lastRect = r;
      next = GetWindow(next, GW_HWNDNEXT);
    }
    int rowWidth = lastRect.right - first.left;
    int shift = (rightEdge - leftEdge - rowWidth) / 2 - gap;
    for (HWND w = rowStart;; w = GetWindow(w, GW_HWNDNEXT)) {
      RECT r = ChildRect(parent, w);
      SetWindowPos(w, nullptr, r.left + shift, r.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      if (w == last) break;
    }
    child = next;
  }
}

