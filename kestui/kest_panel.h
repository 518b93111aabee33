// Plain grouping containers: panels (tool bars, side panels, header strips)
// and captioned group boxes, two of which create and arrange their own check
// boxes or radio buttons in a grid.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/kest_container.h"

// A container with an optional 1-pixel frame. A header panel has a vertical
// gradient derived from its parent's colour; a header panel lower than 45
// pixels is a tool-bar strip whose flow children (speed buttons) start 8
// pixels in and stand side by side without gaps.
class CKestPanel : public CKestContainer {
public:
  // bevel: above 0 raised, below 0 sunken, 0 none. flat: a light 1-pixel
  // frame whatever the bevel.
  CKestPanel(CKestContainer* container, int8_t bevel, uint32_t position, int width, int height,
             bool header, bool flat);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  int8_t GetBevel() const { return bevel_; }
  bool IsFlat() const { return flat_; }
  // Draws the frame (after the background was erased) on dc.
  void DrawFrame(HDC dc);

  // Header heights below this make a tool-bar strip.
  static constexpr int ToolBarHeightLimit = 45;

private:
  int8_t bevel_;
  bool flat_;
};

// A container with an etched frame and the window text as caption; its
// children stand inside the frame, below the caption.
class CKestGroupBox : public CKestContainer {
public:
  CKestGroupBox(CKestContainer* container, const wchar_t* caption, uint32_t position, int width,
                int height);

  // The client rectangle below the caption line, 8 pixels in from the frame.
  void GetClientArea(RECT* rect) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Draws the frame and caption on dc.
  void Paint(HDC dc);

protected:
  CKestGroupBox() = default;
  bool CreateGroupWindow(CKestContainer* container, const wchar_t* caption, uint32_t position,
                         int width, int height);
  // Height of the caption font ("A" on a screen DC), at least 4.
  int CaptionHeight();
};

// Cell of item index of count items laid out in columns over area (the
// item grid of the check and radio groups): item i stands in row i / columns
// and column i % columns; the rows (count / columns, rounded up, so a last
// partial row is placed too) share the area's height equally and the
// columns its width. False for an index outside 0 .. count - 1.
bool GetGroupItemCell(const RECT& area, int count, int columns, int index, RECT* cell);
