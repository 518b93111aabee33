// The tool-bar separator of the Kest framework.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/containers/kest_container.h"

// A 1-pixel vertical divider between groups of tool-bar buttons; it keeps 3
// pixels clear of the flow neighbours on either side.
class CKestSeparator : public CKestControl {
public:
  CKestSeparator(CKestContainer* container, uint32_t position);
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc);
};
