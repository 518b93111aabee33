// CBEInertial ("Апериодическое звено"): the first-order lag K / (T s + 1),
// one explicit Euler step a pass.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBEInertial : public CBEBlock {
public:
  // 100 x 40, one unnamed float input and output, K 1, T 1 s; 430 cycles,
  // 40 ROM bytes, shared routine, whatever the type.
  CBEInertial();
  static CBEBlock* Create();

  // y = 0.
  void Start() override;
  // Without a source, or for an input type outside char..double, nothing.
  // u = K x; when dt / 4 > T (a pass longer than four time constants) y = u,
  // otherwise y = y + dt (u - y) / T, unless T is 0 or not finite (the
  // output then stays). The output receives y in its type.
  void Step(float dt) override;
  // Base record, K, T (doubles), output type.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record or a type outside
  // char..double; the input takes the output's type.
  bool Load(CStream* stream) override;
  // K over "T·s+1".
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  BeSignalType GetOutputType() const;

  // Fields, in this order.
  double gain = 1.0;
  double timeConstant = 1.0;  // seconds
  double y = 0;               // the output state
};
