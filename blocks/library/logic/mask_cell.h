// The 32-bit mask cell of the blocks that AND or OR a signal with a
// constant. Of the cell the low 8, 16 or 32 bits are used, by the block's
// type (char, short, int).
#pragma once

#include <cstddef>
#include <cstdint>

#include "blocks/engine/signal_type.h"

// char, short or int.
bool IsIntegerDataType(BeSignalType type);

// The bits of the cell the type uses; the whole cell for other types.
uint32_t MaskInType(uint32_t cell, BeSignalType type);

// output = input AND (orMask: OR) the cell, in the width of the type, the
// input read in that width. Nothing for types other than char, short, int.
void ApplyMask(const unsigned char* input, unsigned char* output, BeSignalType type, uint32_t cell,
               bool orMask);

// "<prefix> 0x%02X", "<prefix> 0x%04X" or "<prefix> 0x%08X" with the mask in
// the width of the type (char, short, int; other types as int) into text.
void FormatMaskCaption(const wchar_t* prefix, uint32_t cell, BeSignalType type, wchar_t* text,
                       size_t chars);
