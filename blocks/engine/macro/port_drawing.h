// Drawing shared by the two macro port blocks.
#pragma once

#include <windows.h>

// Fills the five-cornered outline with fill, paints a black bar 4 pixels
// wide from barLeft, and writes caption in black at (textX, textY).
void DrawMacroPort(HDC dc, const POINT* corners, COLORREF fill, int barLeft, int top, int bottom,
                   const wchar_t* caption, int textX, int textY);

// A type byte read from a port's record: a code that a pin can carry.
bool IsStoredPortType(int type);
