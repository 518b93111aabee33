// Splitters of the Kest framework.
//
// A splitter is docked on the same side as the panel it resizes and created
// right after it. Dragging it with the left button changes the panel's height
// (CKestHSplitter, top or bottom panels) or width (CKestVSplitter, left or
// right panels) and realigns the container. The panel never gets smaller
// than the minimum size, nor larger than what the container's other docked
// children leave free, so the splitter always stays inside the container.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/containers/kest_container.h"

// Common part of both splitters.
class CKestSplitter : public CKestControl {
public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  int GetMinimumSize() const { return minimumSize_; }
  void SetMinimumSize(int size) { minimumSize_ = size; }
  // The panel this splitter resizes: the nearest earlier visible sibling
  // widget docked on the splitter's side; null when there is none or the
  // splitter is not docked.
  HWND FindPanel() const;
  // One drag step: the mouse at offset (client coordinate across the bar).
  // Answers whether the panel was resized.
  bool Drag(int offset);
  void Paint(HDC dc);

protected:
  CKestSplitter(bool horizontal, CKestContainer* container, uint32_t position);

private:
  // Direction +1 (panel before the splitter, top or left), -1 (bottom or
  // right) or 0 (not docked) and the position code of the panel.
  int Direction(uint32_t* panelCode) const;

  bool horizontal_;
  int minimumSize_ = 10;
};

