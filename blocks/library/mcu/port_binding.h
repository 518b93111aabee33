// How the microcontroller's peripherals take the chip's pin blocks over for
// their alternate functions and give them back. Offsets are relative to the
// position of the peripheral's pin (its x and y); a pin block is moved by
// its top-left corner.
#pragma once

#include "blocks/engine/signal_type.h"

class BeInputPin;
class BeOutputPin;
class BeScheme;
class CBEIOPort;

// What a binding does to the pin block and the link.
struct McuPinBinding {
  int dx, dy;        // the pin block's top-left corner at (x + dx, y + dy)
  int mode;          // the pin block's mode (its pins rebuilt)
  int routeDx;       // the link's route x1 = x + routeDx
  BeSignalType type; // the type of the pin block's bound pin
  int value;         // for an input binding: the pin block output's value
                     // becomes 0 with this first byte; -1 keeps it
  bool disconnect;   // for an input binding: the pin block's output is
                     // first disconnected from every input
};

// The peripheral reads the pin: port moved and re-moded, input linked to
// its output, which is marked hardware and typed. Nothing without a port
// or when the rebuilt port has no output.
void BindPortToInput(CBEIOPort* port, BeInputPin* input, const McuPinBinding& binding);
// The peripheral drives the pin: port moved and re-moded, its input (typed)
// linked to output. Nothing without a port or when the rebuilt port has no
// input.
void BindPortToOutput(CBEIOPort* port, BeOutputPin* output, const McuPinBinding& binding);

// Gives back the pin block the input reads, when it reads one: the input
// is unlinked, the output loses its hardware mark (with resetType it gets
// type 1), and its block returns to mode 0 with rebuilt pins (rebuild) or
// only the mode set, moved by (moveX, moveY).
void ReleaseInputPort(BeInputPin* input, bool resetType, bool rebuild, int moveX = 0, int moveY = 0);
// The first pin block of the scheme's port-block list whose first input
// is linked to output: it returns to mode 0 with rebuilt pins, which drops
// the input and its link. Answers the block, or null.
CBEIOPort* ReleaseOutputPort(BeScheme* scheme, const BeOutputPin* output);
