// CBEProportional ("Пропорциональное звено"): its input times a constant
// coefficient, realised with floating-point numbers or by a table over the
// integer inputs -r..r. Placed into the scheme of a unit with limited ROM
// it takes the table realisation by itself.
#pragma once

#include <cstdint>

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

const float kDefaultCoefficient = 2.0f;
const int16_t kDefaultAmplitude = 127;

class CBEProportional : public CBEBlock {
public:
  // 100 x 22, one unnamed input and output, char to char, coefficient 2,
  // floating point, amplitude 127.
  CBEProportional();
  static CBEBlock* Create();

  // Into a scheme whose ROM limit is above 0 the block switches to the table
  // realisation (and recomputes its costs) before it is placed; it never
  // switches back here.
  void AttachToScheme(BeScheme* newScheme) override;
  // Without a link nothing. x = the source value read in the input type
  // (0 for other types); in the table realisation x is held within -r..r,
  // the inputs the table has; y = coefficient x in double; the output
  // stage of scaling.h, saturating in the table realisation.
  void Step(float dt) override;
  // Coefficient (float), input type, output type, table mode (bytes),
  // amplitude (16 bits), then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record, a type outside
  // char..double, a mode other than 0 and 1 or a negative amplitude. The
  // saved mode wins over the one the attachment chose.
  bool Load(CStream* stream) override;
  // The coefficient (scaling.h) centred in the body.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Floating point: 140 cycles, 12 ROM bytes, shared-routine flag. Table:
  // k + 2s + 1 cycles (one more when k = 2), k s (2r + 1) ROM bytes, no
  // flag (k, s: scaling.h).
  void UpdateCosts();
  BeSignalType GetInputType() const;
  BeSignalType GetOutputType() const;

  // Fields, in this order.
  float coefficient = kDefaultCoefficient;
  unsigned char tableMode = 0;
  int16_t amplitude = kDefaultAmplitude;  // the table covers -amplitude..amplitude
};
