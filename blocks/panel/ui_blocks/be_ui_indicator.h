// CBEUIIndicator: the user-interface block of a panel indicator. It writes
// the value on its input into the indicator's text whenever the value
// changes.
#pragma once

#include "blocks/panel/be_ui_control.h"

class CBEUIIndicator : public CBEUIControl {
public:
  CBEUIIndicator();
  static CBEBlock* Create();
  // Formats a changed bit, integer or floating-point input value into the
  // item's text; nothing without an item or a linked input.
  void Step(float dt) override;
  void Draw(HDC dc) override;

  // Fields, in this order.
  unsigned char lastValue[8] = {0xCC, 0xCC, 0xCC, 0xCC, 0, 0, 0, 0};
};
