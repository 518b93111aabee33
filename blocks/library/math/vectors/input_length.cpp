#include "blocks/library/math/vectors/input_length.h"

#include <cmath>

#include "blocks/engine/block.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/scalar_value.h"
#include "foundation/numbers.h"

float FloatInputLength(const CBEBlock* block) {
  float sum = 0;
  for (int i = 0; i < block->inputCount; ++i) {
    const BeOutputPin* source = block->inputs[i]->source;
    if (!source) continue;
    double v = ReadFloatValue(source->value);
    sum = RoundToFloat(static_cast<double>(sum) + RoundToFloat(v * v));
  }
  return RoundToFloat(std::sqrt(static_cast<double>(sum)));
}

double DoubleInputLength(const CBEBlock* block) {
  double sum = 0;
  for (int i = 0; i < block->inputCount; ++i) {
    const BeOutputPin* source = block->inputs[i]->source;
    if (!source) continue;
    double v = ReadDoubleValue(source->value);
    sum += v * v;
  }
  return std::sqrt(sum);
}
