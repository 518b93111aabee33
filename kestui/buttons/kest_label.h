// A self-painted caption of the Kest framework.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/buttons/kest_title_control.h"
#include "kestui/containers/kest_container.h"

// Size code of a label: measure the caption in this direction.
constexpr int KEST_LABEL_MEASURE = static_cast<int>(0x80000000u);

class CKestLabel : public CKestTitleControl {
public:
  // A self-painted "MainClass" window (WS_EX_TRANSPARENT), no id.
  // width or height KEST_LABEL_MEASURE: the caption measured with the
  // container's font (text width; text height + 2; 10 x 20 without caption).
  // stack with KEST_POS_FLOW: the label and the next flow widget share one
  // cell, the label above. alignment: below 0 left, 0 centred, above 0 right.
  // In a container with a gradient the label is transparent.
  CKestLabel(CKestContainer* container, const wchar_t* caption, uint32_t position, bool stack,
             int width, int height, int8_t alignment);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  int8_t GetAlignment() const { return alignment_; }
  void SetAlignment(int8_t alignment);

  // The size a caption takes in a font (text width, text height + 2;
  // 10 x 20 for a null or empty caption).
  static SIZE MeasureCaption(HFONT font, const wchar_t* caption);

private:
  void Paint(HDC dc);

  int8_t alignment_ = -1;
};
