// CBERoadDetector ("Детектор дороги"): the interface of a camera detector
// that reports the danger to the left, ahead and to the right (0 to 1) from
// a video signal. Start clears its outputs; its step leaves them as they
// are (a producer of the danger levels follows the outputs' descriptions).
#pragma once

#include "blocks/engine/block.h"

class CBERoadDetector : public CBEBlock {
public:
  // 180 x 60, 10,000,000 cycles, 304,114 ROM bytes; input "video" (video
  // signal), float outputs "Лев.", "Прям.", "Прав.".
  CBERoadDetector();
  static CBEBlock* Create();

  // The run-time fields cleared, the outputs 0.0, then the base Start.
  void Start() override;
  // Nothing.
  void Step(float dt) override;
  // The base record alone, measured whole before anything of the block
  // changes: false, with the block as it was, when it is cut off.
  bool Load(CStream* stream) override;
  // The grey frame and picture 187 (48 x 48) in the centre.
  void Draw(HDC dc) override;

  // Fields, in this order: run-time state that only Start touches.
  unsigned char frameSeen = 0;
  unsigned char frameBusy = 0;
  unsigned int frameHandle = 0;  // a video payload handle
};
