// What the left and right shift blocks share: the shift of a char, short or
// int value by a count in one of three kinds, computed in unsigned 32-bit
// arithmetic (a count of the width or more and a negative value are
// defined), the costs by type, count and kind, and the caption.
#pragma once

#include <cstddef>

#include "blocks/engine/signal_type.h"

class CBEBlock;

// The shift kinds, as stored.
const unsigned char kShiftLogical = 0;
const unsigned char kShiftArithmetic = 1;
const unsigned char kShiftCyclic = 2;
const unsigned char kLastShiftKind = kShiftCyclic;

// The shift count: 1 to 31.
const unsigned char kMinShiftCount = 1;
const unsigned char kMaxShiftCount = 31;

// The input read in the type's width, shifted by count mod 32, written in
// that width into output:
//   logical: left, zeros in from the right; right, the value taken as
//            unsigned of its width, zeros in from the left;
//   arithmetic: left as logical; right, the value taken as signed, copies
//            of the sign bit in from the left;
//   cyclic: rotated (rotate.h) within the width.
// Nothing for types other than char, short, int or another kind.
void ShiftValue(const unsigned char* input, unsigned char* output, BeSignalType type, unsigned char kind,
                unsigned int count, bool right);

// Cycles and ROM with w the type's width in bytes (1 char, 2 short, 4 int,
// 1 otherwise) and n the count: logical and arithmetic, (n mod 8) cycles per
// byte still moved, (n mod 8) x (w - n / 8), never below 0, and 2 (n mod 8)
// ROM bytes; cyclic, 2 n w cycles and as many bytes. The shared-routine flag
// is cleared.
void ApplyShiftCosts(CBEBlock* block, BeSignalType type, unsigned int count, unsigned char kind);

// "<< %d" (left) or ">> %d" (right) with the count into text.
void FormatShiftCaption(bool right, unsigned int count, wchar_t* text, size_t chars);
