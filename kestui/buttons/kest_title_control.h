// The common base of the Kest framework's captioned widgets: push buttons,
// check boxes, radio buttons and self-painted labels.
//
// Notifications to the owning form: a click (mouse, or Enter and Space on a
// check box, Space on a radio) gives exactly one WM_COMMAND (id, window) with
// notification code 0, posted by Click after the check mark has changed. The
// standard button's own BN_CLICKED for keys is not produced for check boxes
// and radios, so it cannot double the framework's notification. A push button
// reports its mouse clicks through Click and its Space key through the
// system's BN_CLICKED; either way one WM_COMMAND per press.
#pragma once

#include <windows.h>

#include "kestui/core/kest_control.h"

class CKestTitleControl : public CKestControl {
public:
  // SetWindowTextW; answers whether it succeeded.
  bool SetCaption(const wchar_t* text);
};

