// A single-line edit of the Kest framework.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/core/kest_control.h"
#include "kestui/edits/kest_custom_edit.h"

class CKestEdit : public CKestCustomEdit {
public:
  // textLimit 0: the system maximum.
  CKestEdit(CKestControl* container, int id, uint32_t position, int width, int height,
            bool readOnly, int textLimit, bool clientEdge);

  // Focusing selects the whole text; Enter is dropped.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

