// What the multi-input AND and OR elements share: 2 to 127 unnamed inputs of
// one type and one output, the body growing with the inputs, and a passed
// signal cleared from the output around a run (gate_step.h).
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBEGateBlock : public CBEBlock {
public:
  // 80 x 40, two unnamed inputs and one output, bit. The element's own
  // constructor then runs UpdatePinsAndCosts.
  CBEGateBlock();

  // A signal passed through by the last run leaves the output (gate_step.h),
  // at the start and at the end of a run.
  void Start() override;
  void Stop() override;

  // Costs by type; then the body becomes 20 n high, the pins are spread
  // again over it (inputs at 10, 30, 50 ...) and every input takes the type
  // of the first.
  virtual void UpdatePinsAndCosts() = 0;
  // The type the input pins carry.
  BeSignalType GetType() const;

protected:
  // With count (2..127) and type read from the element's own header: the
  // count and type applied, then the base record. False, with the block as
  // it was, when the base record cannot follow or is refused.
  bool LoadCountTypeAndBase(CStream* stream, int count, BeSignalType type);
};
