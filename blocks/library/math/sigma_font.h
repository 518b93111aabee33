// The capital sigma the adder draws: "S" in the "Symbol" font (where that
// letter is a sigma), or, on a system without that font, the letter "Σ" in
// a font that has it.
#pragma once

#include <windows.h>

const int kSigmaHeight = 32;

// Whether the system has a font family named "Symbol" (asked once).
bool HasSymbolFont();
// Draws the sigma in black with its cell's top-left corner at (x, y), with
// a font of that height (CreateFont's sense: below 0 the character height)
// made for the drawing and freed after it; the DC's selections, colour and
// background mode are put back.
void DrawSigma(HDC dc, int x, int y, int height = kSigmaHeight);
