// The arrow control inside a spin edit.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/core/kest_control.h"

class CKestUpDown : public CKestControl {
public:
  // "msctls_updown32" with wrapping, arrow keys and right alignment. parent
  // is the window it lives in (the spin edit).
  CKestUpDown(CKestControl* parent, int id, uint32_t position, int width, int height);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

