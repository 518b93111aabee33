// The 32-bit constant cell of the blocks that add or subtract a constant,
// read in the block's type: for char, short and int its low 8, 16 or 32 bits
// as a signed integer; for float and double the cell is a 32-bit float.
#pragma once

#include <cstddef>
#include <cstdint>

#include "blocks/engine/signal_type.h"

int32_t ConstantCellInt(uint32_t cell, BeSignalType type);
float ConstantCellFloat(uint32_t cell);
uint32_t FloatConstantCell(float value);

// result = input op constant, both read in the type, written into the
// output value in the type (integers wrap; float rounded to float; a double
// block widens the float constant). op is +1 or -1. Nothing for types
// outside char..double.
void ApplyConstantCell(const unsigned char* input, unsigned char* output, BeSignalType type,
                       uint32_t cell, int op);

// "<prefix> %d" with the integer constant (char, short, int) or
// "<prefix> %0.2f" with the float one (float, double) into text.
void FormatConstantCaption(const wchar_t* prefix, uint32_t cell, BeSignalType type,
                           wchar_t* text, size_t chars);
