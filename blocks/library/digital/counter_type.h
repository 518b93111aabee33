// What the two counters share: their output type (char, short or int) and
// the sigma they draw.
#pragma once

#include <windows.h>

#include "blocks/engine/signal_type.h"

class CStream;

bool IsCounterType(int code);
// Reads a type byte of char ... int; false for a cut record or another code.
bool ReadCounterTypeByte(CStream* stream, BeSignalType* type);
// "S" in the "Symbol" font (a sigma), character height 14, at the symbol's
// place of the rectangle.
void DrawCounterSigma(HDC dc, const RECT& rect);
