// CBESoftwarePWM ("Программный ШИМ"): a PWM output made by a program from a
// set point, with a period and a number of set-point steps; its costs
// follow from the step time the processor can keep.
#pragma once

#include "blocks/engine/block.h"

class CBESoftwarePWM : public CBEBlock {
public:
  // 150 x 40, white; one char input "Уставка на ШИМ", one unnamed PWM
  // output "ШИМ"; period 0.005 s, 16 steps.
  CBESoftwarePWM();
  static CBEBlock* Create();

  // The base placement, then the costs at the new scheme's frequency.
  void AttachToScheme(BeScheme* newScheme) override;
  // With a source: s = its first byte as a signed number, held within
  // 0..steps; the output becomes a PWM value (type 0) of the period with
  // duty s / steps. Without one the output stays.
  void Step(float dt) override;
  // Base record, period (float), steps (a byte).
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record; steps are held
  // within 2..126; then the costs.
  bool Load(CStream* stream) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Step time t = the larger of 100 / F (F the scheme's processor
  // frequency) and period / steps, in single precision; the period becomes
  // steps x t; 84 ROM bytes; cycles = 0.072 / t truncated. Nothing changes
  // for fewer than 1 step or a step time that is not a positive number.
  void UpdateCosts();

  // Fields, in this order.
  float period = 0.005f;  // seconds
  signed char steps = 16;
};

// The steps a record may hold.
const signed char kFewestPwmSteps = 2;
const signed char kMostPwmSteps = 126;
