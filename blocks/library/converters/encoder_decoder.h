// CBEEncoderDecoder ("Дешифратор абсолютного энкодера"): the position 0 to
// 127 of an absolute encoder from its 8-bit code.
#pragma once

#include "blocks/engine/block.h"

// The decode table: the position for each code.
extern const unsigned char kBeEncoderPositions[256];

class CBEEncoderDecoder : public CBEBlock {
public:
  // 80 x 40, white; an unnamed char input and output; 4 cycles, 260 ROM
  // bytes (the table and the code).
  CBEEncoderDecoder();
  static CBEBlock* Create();

  // With a source: the output's first byte = the table's entry at the
  // source's first byte.
  void Step(float dt) override;
  // The body and "Дешифр. энкодера" centred.
  void Draw(HDC dc) override;
  // The base record; false, with the block as it was, for a cut one.
  bool Load(CStream* stream) override;
};
