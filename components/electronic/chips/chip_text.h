// Texts the chips draw: model names read from the database (code page 1251)
// turned into wide text for the symbol and the footprint.
#pragma once

#include <windows.h>

// Longest model text a footprint prints; longer texts are cut there.
const int kElecChipFootprintTextChars = 31;

// The 8-bit text converted from code page 1251 into text (at most chars - 1
// characters and a terminator; a longer text is cut). An empty text for null.
void ChipTextToWide(const char* text, wchar_t* out, int chars);

// Where the first run of digits of the text ends (its length when it has
// none).
int ChipTextDigitsEnd(const wchar_t* text);

// The short chip name of a model: everything up to the end of its first run
// of digits, and one letter "A" directly after it ("MAX485ACPA" -> "MAX485A",
// "MAX485CPA" -> "MAX485").
void ChipShortModel(const char* model, wchar_t* out, int chars);

// Draws the model's short name centred below the horizontal middle of the
// symbol, and the instance name centred with its bottom on that line.
class CSCHBlock;
void PaintChipLabels(CSCHBlock* block, HDC dc);

// Draws a text of the footprint in a colour (the painter draws black).
class PcbPainter;
void DrawFootprintText(PcbPainter* painter, float x, float y, float height, const wchar_t* text,
                       int direction, COLORREF color);
// The instance name in white, 3 mm high, 2 mm above the footprint's end.
void DrawFootprintName(PcbPainter* painter, CSCHBlock* block);
