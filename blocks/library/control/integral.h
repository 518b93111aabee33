// CBEIntegral ("Интегральное звено"): the integrating link K / s with its
// output held within -L..L. A microcontroller would realise it with
// floating-point code or with a table of the 2 L output values; the choice
// changes only its costs. Placed into the scheme of a unit with limited ROM
// it takes the table realisation by itself.
#pragma once

#include <cstdint>

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBEIntegral : public CBEBlock {
public:
  // 50 x 40, one unnamed char input and output, K 1, L 127, floating point.
  CBEIntegral();
  static CBEBlock* Create();

  // The base placement; into a scheme whose ROM limit is above 0 the link
  // then switches to the table realisation and recomputes its costs.
  void AttachToScheme(BeScheme* newScheme) override;
  // The state starts at the initial output.
  void Start() override;
  // For an input type outside char..double nothing. With a source: state =
  // (x K) dt + state, then held within -L..L. The output receives the state
  // in its type, linked or not.
  void Step(float dt) override;
  // Base record, K, initial output, L (doubles), realisation (its low
  // byte), output type.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record or a type outside
  // char..double; the input takes the output's type, the realisation byte
  // goes into the flag's low byte (over the one the attachment chose), then
  // the costs.
  bool Load(CStream* stream) override;
  // K over s.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Floating point: 731 cycles, 42 ROM bytes, shared routine. Table: 20
  // cycles, 2 T(L) x the output's value size + 40 bytes (held within
  // 0..INT_MAX), no shared routine.
  void UpdateCosts();
  BeSignalType GetOutputType() const;

  // Fields, in this order.
  double gain = 1.0;
  double state = 0;  // run-time
  double limit = 127.0;
  double initialOutput = 0;
  int32_t realisation = 0;  // 0 floating point, otherwise table
};
