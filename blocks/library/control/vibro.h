// CBEVibro ("Колебательное звено"): the oscillating second-order link
// K / (T² s² + 2 ξ T s + 1), integrated as two first-order stages:
// v' = ((x - y) b - v) / τ and y' = v, with b = 1 / (2 ξ T) and
// τ = T / (2 ξ), which gives T² y'' + 2 ξ T y' + y = x.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBEVibro : public CBEBlock {
public:
  // 100 x 40, one unnamed float input and output, K 1, T 1 s, ξ 0.75; 930
  // cycles, 112 ROM bytes, shared routine, whatever the type.
  CBEVibro();
  static CBEBlock* Create();

  // y = v = 0; b = 1 / (2 ξ T) and τ = T² b (both 0, and the link idle,
  // when 2 ξ T is 0 or not finite).
  void Start() override;
  // Without a source, for an input type outside char..double, or while τ
  // is 0 or not finite, nothing. d = (x - y) b; when dt / 4 > τ, v = d,
  // otherwise v = v + dt (d - v) / τ; y = y + dt v. The output receives K y
  // in its type, held within -127..127, -32767..32767 and
  // -2147483647..2147483647 for the integer types.
  void Step(float dt) override;
  // Base record, K, T, ξ (doubles), output type.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record or a type outside
  // char..double; the input takes the output's type.
  bool Load(CStream* stream) override;
  // K over "T²s²+2ξTs+1" in Arial.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  BeSignalType GetOutputType() const;

  // Fields, in this order.
  double gain = 1.0;
  double timeConstant = 1.0;  // T, seconds
  double damping = 0.75;      // ξ
  double y = 0;               // output state
  double v = 0;               // rate state
  double tau = 0;             // run-time: the inner time constant
  double b = 0;               // run-time: 1 / (2 ξ T)
};
