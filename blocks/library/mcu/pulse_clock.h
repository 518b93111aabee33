// What the pulse blocks of the microcontroller share: the processor
// frequency of the scheme they run in, and whole counts of it.
#pragma once

#include <cstdint>

class CBEBlock;

// The processor frequency of the block's scheme in Hz; the default one for
// a block in no scheme.
float ProcessorFrequency(const CBEBlock* block);

// v truncated toward zero; 0 for a value that is not a number, the nearest
// end of the 64-bit range beyond it.
int64_t TruncateCount(double v);

// The low 16 bits of v truncated toward zero (TruncateCount), as a short
// value stores them.
uint16_t Low16(double v);
