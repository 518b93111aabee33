// An owner-drawn strip of slanted tabs that may own one page container per
// tab (only the selected page is visible).
//
// Reports to the owning form: a left click on a tab other than the selected
// one selects it and sends WM_COMMAND (id, tab control window) at once; the
// release of the button inside the control then posts a second WM_COMMAND
// (id, window) through the base Click, whichever tab was hit.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/containers/kest_container.h"

class CKestTabControl : public CKestContainer {
public:
  CKestTabControl(CKestContainer* container, bool ownsPages, int id, int width, int height,
                  uint32_t position);
  ~CKestTabControl() override;

  // The page area under the tab strip.
  void GetClientArea(RECT* rect) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Appends a tab (caption may be null) with its hidden page when the
  // control owns pages; the first tab is selected. Answers its index, or -1
  // when memory ran out.
  int AddTab(const wchar_t* caption);
  // Hides the old page, shows the new one and repaints; -1 selects none.
  // Sends nothing to the form. Indices outside -1 .. count - 1 are ignored.
  void SelectTab(int index);
  // The tab at a client point, or -1 (above or below the strip, left of the
  // control, right of the last tab).
  int HitTest(int x, int y) const;

  int GetTabCount() const { return count_; }
  int GetSelectedTab() const { return selected_; }
  int GetTabHeight() const { return tabHeight_; }
  const wchar_t* GetCaption(int index) const;
  // Right edge of a tab (client x), or -1 for an index out of range.
  int GetTabRightEdge(int index) const;
  // The page of a tab; null without pages or out of range. Forms fill the
  // pages directly.
  CKestContainer* GetPage(int index) const;
  bool OwnsPages() const { return ownsPages_; }

  // Draws the strip on dc (WM_PAINT uses it) and stores the tab edges.
  void Paint(HDC dc);

  COLORREF faceColor;
  COLORREF selectedColor;
  COLORREF otherColor;
  COLORREF lineColor;
  COLORREF selectedTextColor = 0;
  COLORREF otherTextColor = 0;

private:
  // Measures the captions with the widget font and stores every tab's right
  // edge; dc null measures on a screen DC.
  void ComputeEdges(HDC dc);
  int TabWidth(HDC dc, int index) const;

  int count_ = 0;
  int selected_ = -1;
  int tabHeight_ = 20;
  bool ownsPages_;
  wchar_t** captions_ = nullptr;
  CKestContainer** pages_ = nullptr;
  int* edges_ = nullptr;
};
