// Blending a colour into a rectangle of a device context in software, for
// previews drawn without alpha support from the system.
#pragma once

#include <windows.h>

// Mixes colour into the pixels between the corners (given in any order):
// each channel becomes (old * weight + colour * (256 - weight)) >> 8, then a
// frame is drawn around the rectangle with the context's current pen and
// no fill. weight runs from 128 (half the colour) to 256 (the old pixels
// alone); a weight outside that range is brought into it. An empty
// rectangle, or one whose pixels cannot be read, gets its frame only.
void PaintAlphaRect(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, short weight);
