// The steps the multi-input AND and OR elements share.
//
// In bit mode the inputs are scanned in order, those without a link
// skipped. A bit input decides the output when its byte is 0 (AND) or not 0
// (OR). An input of any other type (a PWM signal, for instance) is passed
// through: the first such input gives the output its type and a copy of its
// eight-byte value and the scan goes on; a second one decides the output.
// Deciding writes type bit with value 0 (AND) or 1 (OR) and ends the scan.
// A scan that ends without a decision leaves a passed-through signal, or,
// when there was none, writes type bit with value 1 (AND) or 0 (OR).
//
// The output's type and value always change together, and a bit written
// clears the other seven bytes: a reader that looks at the output's type
// reads the bytes of that type, never those of a signal passed before. The
// readers' links stay as they are.
#pragma once

#include <cstdint>

class BeOutputPin;
class CBEBlock;

void StepGateBits(CBEBlock* block, bool orGate);

// Integer mode: the output's first 32 bits start at all ones (AND) or 0
// (OR), and every input whose linked output is of type char, short or int
// is combined into them, read sign-extended in its own width; other inputs
// are skipped. The four bytes are written.
void StepGateIntegers(CBEBlock* block, bool orGate);

// The output as type bit with value 0 or 1, the other bytes cleared.
void WriteBitOutput(BeOutputPin* output, int bit);

// When the output carries a type other than the block's (a signal passed
// through by the last run), it returns to the block's type with a value of
// zero bytes, so the editor links it, and the next run reads it, by that
// type.
void RestoreGateOutput(CBEBlock* block);

// Height per input and the limits of the input count.
const int kGateInputPitch = 20;
const int kGateMinInputs = 2;
const int kGateMaxInputs = 127;

// Body height for n inputs, then the pins spread again; every input takes
// the type of the first.
void SizeGatePins(CBEBlock* block);
