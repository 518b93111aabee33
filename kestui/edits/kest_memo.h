// A multi-line edit of the Kest framework.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/containers/kest_container.h"
#include "kestui/edits/kest_custom_memo.h"

class CKestMemo : public CKestCustomMemo {
public:
  // alignment 0 centred, 1 right, anything else left. Without word wrap the
  // memo scrolls horizontally. enterAccepted: Enter starts a new line;
  // otherwise it presses the form's default button. wantTab: Tab inserts a
  // tab instead of moving the focus.
  CKestMemo(CKestContainer* container, int id, uint32_t position, int width, int height,
            int textLimit, bool wordWrap, bool readOnly, bool enterAccepted, int8_t alignment,
            bool wantTab, bool clientEdge);
};

