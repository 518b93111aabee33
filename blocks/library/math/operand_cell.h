// The operands of the two-input arithmetic blocks. Each is an eight-byte
// cell holding the operation's neutral element (0 for the difference, 1 for
// the product and the quotient) in the block's type; a linked operand
// replaces it with its source output's value, copied in that output's width
// (char 1 byte, short 2, int and float 4, double 8). The cell is then read
// in the block's type.
#pragma once

#include "blocks/engine/signal_type.h"

class BeInputPin;

void ReadOperandCell(const BeInputPin* input, BeSignalType type, int neutral, unsigned char* cell);
