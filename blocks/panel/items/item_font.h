// The font of the text-bearing panel items: a GDI font of the item's face
// name, style bits (1 bold, 2 italic, 4 underline) and size in points.
#pragma once

#include <windows.h>

// Height -(size x 96) / 72, truncated toward zero.
int ItemFontHeight(int size);
// A new font (the caller deletes it); null when the system refuses.
HFONT CreateItemFont(const wchar_t* faceName, int style, int size);
