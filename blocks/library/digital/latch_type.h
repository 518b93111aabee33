// The data type of the D flip-flop and the register: the type of their
// output and of their "D" input, chosen from bit to double.
#pragma once

#include "blocks/engine/signal_type.h"

class CBEBlock;
class CStream;

// bit ... double.
bool IsLatchType(int code);
// Cycles and ROM by the type: bit and char 8 / 22, short 9 / 24, int and
// float 11 / 28, double 15 / 36; other types leave them.
void ApplyLatchCosts(CBEBlock* block, BeSignalType type);
// Reads a type byte of bit ... double; false for a cut record or another
// code.
bool ReadLatchTypeByte(CStream* stream, BeSignalType* type);
