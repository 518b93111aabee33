// CKestPercentBar: a bar that shows how far a position lies within a range:
// a sunken frame in shades of the parent's colour, the percentage ("%d%%")
// centred, and the part from the left edge to the position inverted (XOR),
// so the text reads in both parts.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/core/kest_control.h"

class CKestPercentBar : public CKestControl {
public:
  CKestPercentBar(CKestControl* parent, int id, uint32_t position, int width, int height,
                  int minimum, int maximum);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The bounds in either order.
  void SetRange(int minimum, int maximum);
  void SetPosition(int position);
  int GetPosition() const { return position_; }
  int GetMinimum() const { return minimum_; }
  int GetMaximum() const { return maximum_; }
  // 0 .. 100, truncated; 0 for an empty range.
  int GetPercent() const;
  // Pixels of the inverted part for an inside of the given width.
  int FilledWidth(int insideWidth) const;

  void Paint(HDC dc);

private:
  int minimum_;
  int maximum_;
  int position_;
};
