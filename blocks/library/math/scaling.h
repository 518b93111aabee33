// What the proportional element and the divider of a constant share: the
// output stage that writes a computed number in the output type, their
// realisations, the cost factors and the drawn constant.
#pragma once

#include <cstddef>

#include "blocks/engine/signal_type.h"

// Realisations (the table-mode byte of their records).
const unsigned char kFloatingPointMode = 0;
const unsigned char kTableMode = 1;

// y written in the output type: char, short and int take y truncated toward
// zero as a 32-bit integer (TruncateToInt32: not a number is 0, the range's
// ends beyond it); with saturate (the table realisation) char is held
// within -128..127 and short within -32768..32767, otherwise their low byte
// or word is stored as it is (it wraps); float stores y rounded to float,
// double y. Nothing for other types.
void WriteScaledResult(unsigned char* value, BeSignalType type, double y, bool saturate);

// The cost factors: k is 1 for a char input and 2 otherwise; s the transfer
// size of the output type (1 char, 2 short, 4 int and float, 8 double).
int InputCostFactor(BeSignalType inputType);
int OutputCostFactor(BeSignalType outputType);

// The constant as drawn, by its magnitude (compared in float): below 0.01
// "%3.3g", from 0.01 to below 10 "%0.3f", 10 and above "%0.1f"; suffix
// follows (may be empty).
void FormatScalingConstant(float constant, const wchar_t* suffix, wchar_t* text, size_t chars);
