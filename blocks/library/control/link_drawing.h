// The pictures of the control-theory links: a transfer function drawn as
// a fraction in the block's body, and the numbers in it.
#pragma once

#include <windows.h>

#include <cstddef>

// Characters a formatted number of the links needs at most ("%0.3f" of the
// largest double, a suffix and the terminator fit).
const size_t kLinkTextChars = 360;

// "%0.3f" of value followed by suffix into text (chars, terminator
// included); cut to fit.
void FormatLinkNumber(double value, const wchar_t* suffix, wchar_t* text, size_t chars);

// How a fraction is laid out in the block's rectangle.
struct LinkFraction {
  int drop;             // the numerator's top below the block's top
  int inset;            // the line's ends inside the left and right edges
  COLORREF lower;       // colour of the denominator
  const wchar_t* font;  // face of a font made for the drawing; null: the DC's
};

// The numerator centred (DT_CENTER) in the rectangle with its top moved
// down by drop, a black line from left + inset to right - inset at that top
// plus the numerator's height, and the denominator centred one pixel below
// the line; the text colour is black afterwards. The DC's selections and
// background mode are put back.
void DrawLinkFraction(HDC dc, const RECT& rect, const LinkFraction& layout, const wchar_t* numerator,
                      const wchar_t* denominator);
