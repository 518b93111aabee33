// CBEUITrackBar: the user-interface block of a panel slider; its output is
// the slider's value.
#pragma once

#include "blocks/panel/be_ui_control.h"

class CBEUITrackBar : public CBEUIControl {
public:
  CBEUITrackBar();
  static CBEBlock* Create();
  // Output 0 = the item's value; nothing without an item.
  void Step(float dt) override;
  void Draw(HDC dc) override;
};
