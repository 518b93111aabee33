// CBELPT ("LPT"): a parallel printer port of the on-board computer in its
// program, on 17 consecutive pins of the computer (DB-25 pins 1 to 17:
// connector pin k is the owner's pin first pin + k - 1). Its 12 inputs drive
// the data and control lines (high: 5 V behind 500 Ohm; low: the ground
// behind 20 Ohm); its 9 outputs read the control lines back and the status
// lines (pulled up to 5 V behind 500 Ohm), 1 above 2.5 V across 500 Ohm.
// All pins are bits.
//
// The computer makes the block itself ("LPT1", "LPT2" ...) and writes the
// index of its first connector pin.
#pragma once

#include "blocks/engine/block.h"

const int kLptInputs = 12;
const int kLptOutputs = 9;
// The connector pins of the inputs and outputs, in pin order.
extern const int kLptInputConnectorPin[kLptInputs];
extern const int kLptOutputConnectorPin[kLptOutputs];

class CBELPT : public CBEBlock {
public:
  // A device block, 150 x 250, fill 0xCCCCCC, the 12 inputs and 9 outputs
  // with their names and descriptions.
  CBELPT();
  static CBEBlock* Create();

  void Step(float dt) override;
  // The first pin (2 bytes), a zero byte, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record; the zero byte is
  // skipped whatever it holds.
  bool Load(CStream* stream) override;

  int firstPin = 0;
};
