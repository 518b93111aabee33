// CBEUIButton: the user-interface block of a panel button; its output is
// the button's pressed state.
#pragma once

#include "blocks/panel/be_ui_control.h"

class CBEUIButton : public CBEUIControl {
public:
  CBEUIButton();
  static CBEBlock* Create();
  // Byte 0 of output 0 = the item's pressed flag; nothing without an item.
  void Step(float dt) override;
  void Draw(HDC dc) override;
};
