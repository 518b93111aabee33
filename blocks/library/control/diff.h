// CBEDiff ("Дифференциальное звено"): the differentiating link K s, the
// change of its input over the pass divided by the pass time. With the
// table realisation a microcontroller would look the change up in a table
// of 256 entries: the change of an integer input is quantised to 8 bits,
// the shift scaling the expected input amplitude A into -127..127. Placed
// into the scheme of a unit with limited ROM it takes the table
// realisation by itself.
#pragma once

#include <cstdint>

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBEDiff : public CBEBlock {
public:
  // 70 x 20, one unnamed char input and output, K 1, A 127, floating point.
  CBEDiff();
  static CBEBlock* Create();

  // The base placement; into a scheme whose ROM limit is above 0 the link
  // then switches to the table realisation and recomputes its costs.
  void AttachToScheme(BeScheme* newScheme) override;
  // The previous input becomes 0; shift = the smallest k >= 0 with
  // 2^(k+7) - 1 >= A.
  void Start() override;
  // Without a source, or for a pass time of 0 or not finite, nothing. By
  // the input type, d = the source value - the previous one: char (table:
  // d held within -127..127), output d K / dt held within -127..127; short
  // (table: d quantised by the shift), output held within -32767..32767;
  // int (table: the same quantisation), output held within the int range;
  // float and double d K / dt. The results are held in double before they
  // are truncated. The source's eight bytes become the previous input.
  void Step(float dt) override;
  // Base record, K (double), A (int32), realisation (its low byte), output
  // type.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record or a type outside
  // char..double; the input takes the output's type, the realisation byte
  // goes into the flag's low byte, then the costs.
  bool Load(CStream* stream) override;
  // "K·s" (K with three decimals) centred in the body.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Floating point: 530 cycles, 34 ROM bytes, shared routine. Table: 10
  // cycles, 256 x the output's value size + 20 bytes, no shared routine.
  void UpdateCosts();
  BeSignalType GetOutputType() const;
  // The shift Start takes for an amplitude (0 for amplitudes up to 127).
  static int32_t ShiftFor(int32_t amplitude);

  // Fields, in this order.
  double gain = 1.0;
  int32_t realisation = 0;  // 0 floating point, otherwise table
  int32_t amplitude = 127;
  int32_t shift = 0;                       // run-time
  unsigned char previous[8] = {};          // run-time: the source's value at the last pass
};
