// CBEAbs ("Модуль"): the absolute value of one signal.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBEAbs : public CBEBlock {
public:
  // 80 x 20, one unnamed input and output, char; 5 cycles, 4 ROM bytes and
  // the shared-routine flag for every type.
  CBEAbs();
  static CBEBlock* Create();

  // Without a link nothing. By the linked output's type: char, short and
  // int take the absolute value in their own width (so the smallest value
  // of the type stays itself: -128 in char), float and double that of the
  // real number; other types write nothing.
  void Step(float dt) override;
  // The record is the base record alone, so it stores no type. Once the
  // links of a read scheme are resolved the block takes the type of the
  // output it reads (char to double; through other absolute-value blocks
  // when they feed it) for its pins, so a block set to float comes back
  // float; an unlinked one stays char.
  void OnLinksResolved() override;
  // "|x|" centred in the body.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  BeSignalType GetType() const;
};
