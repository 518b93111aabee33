// What the Load of a typed block with a variable number of pins changes
// before it reads its base record: its pin counts, its type and its
// rectangle. Taken when the load begins, so that a failed load can put the
// block back as it was.
#pragma once

#include <windows.h>

#include "blocks/engine/signal_type.h"

class CBEBlock;

class BeTypedLoadUndo {
public:
  // type: the block's type now, on every one of its pins.
  BeTypedLoadUndo(const CBEBlock* block, BeSignalType type);

  // The rectangle, then the input count (the inputs spread again), the
  // output count when it changed, and the type on every pin. The caller then
  // lays the block out again as after any change of its pins.
  void Restore(CBEBlock* block) const;

private:
  RECT rect_;
  int inputCount_;
  int outputCount_;
  BeSignalType type_;
};
