// CBEUIControl: the base of the user-interface blocks bound to control
// items. Such a block is a device block of the control-panel computer's
// scheme; it carries the name of its item as its caption and reaches the
// item through a reference that binding by name restores (it is not saved).
#pragma once

#include "blocks/engine/block.h"

class CVelkUIControl;

class CBEUIControl : public CBEBlock {
public:
  CBEUIControl();
  // Clears the linked item's block reference, then leaves the scheme.
  ~CBEUIControl() override;

  CVelkUIControl* item = nullptr;  // not owned
};
