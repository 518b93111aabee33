// CBEConstDivider ("Деление константы на число"): a constant dividend
// divided by its input, realised with floating-point numbers or by a table
// over the integer inputs from..to. Placed into the scheme of a unit with
// limited ROM it takes the table realisation by itself.
#pragma once

#include <cstdint>

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

const float kDefaultDividend = 127.0f;
const int16_t kDefaultDividerFrom = 0;
const int16_t kDefaultDividerTo = 127;

class CBEConstDivider : public CBEBlock {
public:
  // 120 x 22, one unnamed input and output, char to char, dividend 127,
  // floating point, range 0..127.
  CBEConstDivider();
  static CBEBlock* Create();

  // As CBEProportional::AttachToScheme.
  void AttachToScheme(BeScheme* newScheme) override;
  // Without a link nothing. x = the source value read in the input type
  // (0 for other types); in the table realisation x is truncated toward
  // zero and held within from..to; a divisor of exactly 0 counts as 1;
  // y = dividend / x in double; the output stage of scaling.h, saturating
  // in the table realisation.
  void Step(float dt) override;
  // Dividend (float), input type, output type, table mode (bytes), from,
  // to (16 bits each), then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record, a type outside
  // char..double, a mode other than 0 and 1 or from above to. The saved
  // mode wins over the one the attachment chose.
  bool Load(CStream* stream) override;
  // The dividend (scaling.h) and " / x" centred in the body.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Floating point: 940 cycles, 12 ROM bytes, shared-routine flag. Table:
  // 2s + 8k + 1 cycles (one more when k = 2), k s (to - from) ROM bytes, no
  // flag (k, s: scaling.h).
  void UpdateCosts();
  BeSignalType GetInputType() const;
  BeSignalType GetOutputType() const;

  // Fields, in this order.
  float dividend = kDefaultDividend;
  unsigned char tableMode = 0;
  int16_t from = kDefaultDividerFrom;
  int16_t to = kDefaultDividerTo;
};
