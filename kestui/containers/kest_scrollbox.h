// A container whose children scroll inside it. The scroll range is the
// children's extent plus a margin (FitToChildren, run when the form ends its
// layout); the bars appear through SetScrollInfo and stay visible, disabled,
// when there is nothing to scroll.
//
// Reports to the owning form: after a horizontal scroll WM_KEST_MOUSEMOVE
// (box id, box window), after a vertical scroll WM_KEST_RBUTTONDOWN (box id,
// box window): the numbers of the mouse reports with the id in wParam. A
// wheel turn is first offered as WM_KEST_MOUSEWHEEL (wheel wParam, box
// window); a non-zero answer means the form took it, otherwise the box
// scrolls vertically, or horizontally when it cannot move vertically.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/containers/kest_container.h"

class CKestScrollBox : public CKestContainer {
public:
  CKestScrollBox(CKestContainer* container, uint32_t position, int width, int height,
                 bool clientEdge);

  // The client rectangle joined with (0, 0, horizontal range, vertical
  // range): the children are laid out over the whole scrollable extent.
  void GetClientArea(RECT* rect) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Scroll range = the children's extent (in unscrolled coordinates) plus
  // the border width.
  void FitToChildren();
  // Sets both bars for a content of that size and scrolls to the clamped
  // position.
  void UpdateScrollBars(int contentWidth, int contentHeight);
  // Clamps each coordinate to 0 .. range - page, sets the bars and scrolls.
  void SetScrollPosition(int x, int y);
  int ScrollHorzTo(int x);  // answers the resulting x
  int ScrollVertTo(int y);  // answers the resulting y
  // Moves the contents to the position (no clamping) and stores it.
  void ScrollContents(int x, int y);
  int GetHorzRange() const;
  int GetVertRange() const;
  int GetScrollX() const { return scrollX_; }
  int GetScrollY() const { return scrollY_; }

  static constexpr int Margin = 8;

private:
  void ScrollBy(int bar, int code);

  int scrollX_ = 0;
  int scrollY_ = 0;
};
