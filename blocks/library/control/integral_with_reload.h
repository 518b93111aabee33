// CBEIntegralWithReload ("Интегральное звено с перезагрузкой"): the
// integrating link K / s without a limit, whose state can be loaded from
// the input "D" while the input "W" is on.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBEIntegralWithReload : public CBEBlock {
public:
  // 70 x 40; inputs "x" and "D" (float) and "W" (bit), a float output; K 1;
  // 731 cycles, 42 ROM bytes, shared routine, whatever the type.
  CBEIntegralWithReload();
  static CBEBlock* Create();

  // The state starts at the initial output.
  void Start() override;
  // With "D" and "W" linked and W's first byte on: state = D read in its
  // type (char..double; other types leave the state). Otherwise, with "x"
  // linked: state = state + x K dt (x of another type: nothing). The output
  // receives the state in its type every pass.
  void Step(float dt) override;
  // K, initial output (doubles), output type, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record or a type outside
  // char..double; "x", "D" and the output take the type.
  bool Load(CStream* stream) override;
  // K over s.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  BeSignalType GetOutputType() const;
  // The data type on "x", "D" and the output ("W" stays bit), keeping links.
  void SetDataType(BeSignalType type);

  // Fields, in this order.
  double gain = 1.0;
  double state = 0;  // run-time
  double initialOutput = 0;
};
