// CBEUIVideo: the user-interface block of a panel video window. It shows
// the picture that arrives on its video input in the window's slot of that
// kind of picture and puts the window's mouse position on its outputs.
#pragma once

#include "blocks/panel/be_ui_control.h"

// Steps a picture stays after its producer stopped counting.
const int kUICameraFrameCountdown = 120;
const int kUIMapCountdown = 150;

class CBEUIVideo : public CBEUIControl {
public:
  CBEUIVideo();
  static CBEBlock* Create();
  // The picture slots from the input's message (its record is the payload
  // that bytes 4-7 name, BeResolvePayload: a stale handle clears every
  // slot), then outputs 0 and 1 = the item's mouse x and y; nothing without
  // an item.
  void Step(float dt) override;
  void Draw(HDC dc) override;

  // Fields, in this order.
  int lastCounter = 0;
  int countdown = 0;
};
