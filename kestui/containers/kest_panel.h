// A plain grouping container of the Kest framework: tool bars, side panels,
// header strips.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/containers/kest_container.h"

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

