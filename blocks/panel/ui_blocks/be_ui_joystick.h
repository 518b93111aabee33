// CBEUIJoystick: the user-interface block of a panel joystick; its outputs
// are the joystick's x and y values.
#pragma once

#include "blocks/panel/be_ui_control.h"

class CBEUIJoystick : public CBEUIControl {
public:
  CBEUIJoystick();
  static CBEBlock* Create();
  // Outputs 0 and 1 = the item's x and y values; nothing without an item.
  void Step(float dt) override;
  void Draw(HDC dc) override;
};
