// The font of the text-bearing panel items: a GDI font of the item's face
// name, style bits (1 bold, 2 italic, 4 underline) and size in points.
#pragma once

#include <windows.h>

// Height -(size x 96) / 72, truncated toward zero.
int ItemFontHeight(int size);
// The largest size, either sign, that the items draw with: 400 points are
// taller than the panel's canvas. A record may hold any 16-bit size; it is
// kept as stored, and only the drawing is bounded (measuring a text in a
// font tens of thousands of points high takes seconds).
const int kItemFontDrawLimit = 400;
// The size that an item of that stored size draws with.
int ItemFontDrawnSize(int size);
// A new font (the caller deletes it) of the drawn size; null when the
// system refuses.
HFONT CreateItemFont(const wchar_t* faceName, int style, int size);
