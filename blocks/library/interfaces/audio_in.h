// CBEAudioIn ("AudioIn"): a microphone input of the on-board computer in its
// program. Its one output ("Audio", type 23) takes the audio value that the
// microphone on the input's signal pin hands its net (source kind 23); with
// no such source the output's sound handle is 0.
//
// The computer makes one per microphone input ("Mic In", or "Mic1 In" ...)
// and writes the index of the input's ground pin; the signal pin follows.
#pragma once

#include "blocks/engine/block.h"

class CBEAudioIn : public CBEBlock {
public:
  // A device block, 150 x 30, fill 0xCCCCCC, the output "Audio".
  CBEAudioIn();
  static CBEBlock* Create();

  void Step(float dt) override;
  // The pin index (its low byte), a zero byte, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record; the zero byte is
  // skipped whatever it holds.
  bool Load(CStream* stream) override;

  int pinIndex = 0;  // the input's ground pin; its signal pin is the next
};
