// CBEPelcoBuilder ("Драйвер управления камерами"): three camera speeds
// packed into one camera-control value for a communication device.
#pragma once

#include "blocks/engine/block.h"

// The camera-control signal type (value size 3).
const int kBeSignalCameraControl = 24;

class CBEPelcoBuilder : public CBEBlock {
public:
  // 100 x 50, white; char inputs "zoom", "x", "y"; output "data" of type
  // 24; no costs.
  CBEPelcoBuilder();
  static CBEBlock* Create();

  // Bytes 0, 1 and 2 of the output: the first bytes of the sources of
  // "zoom", "x" and "y" (0 for an unlinked input).
  void Step(float dt) override;
  // The body and "PELCO-D" centred.
  void Draw(HDC dc) override;
  // The base record; false, with the block as it was, for a cut one.
  bool Load(CStream* stream) override;
};
