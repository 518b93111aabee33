// A captioned group box of the Kest framework.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/containers/kest_container.h"

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

