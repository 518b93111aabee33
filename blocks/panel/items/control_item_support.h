// What the control items share: their font, reading their records field by
// field without running past the stream, creating and linking their
// user-interface block, and the OpenGL colour and frame helpers of their
// run-time drawing.
#pragma once

#include <windows.h>

#include "blocks/panel/items/item_font.h"  // CreateItemFont

class CStream;
class CVelkUIControl;


// Draws text centred in the rectangle, transparent, in colour and font;
// nothing when the text would lie outside what the DC shows.
void DrawCenteredText(HDC dc, const wchar_t* text, HFONT font, COLORREF colour, int x, int y,
                      int width, int height);

// What drawing on dc can reach: its clip box widened by a margin of a few
// pixels. False when the DC shows nothing. Items whose stored size or place
// lies far outside it (a record may hold any 32-bit size) keep their edge
// arithmetic in 64 bits and their drawing inside this box, so that painting
// costs what can be seen.
bool GetItemDrawBox(HDC dc, RECT* box);
// The coordinate v moved into [low, high]: an edge beyond the box stays
// beyond it, so lines along it stay unseen, and lines across the box keep
// their visible part.
int ClampToDrawBox(long long v, int low, int high);

// Reads exactly size bytes into field; false (the field untouched) when the
// stream holds fewer.
bool ReadField(CStream* stream, void* field, int size);
// Replaces *slot by the next zero-terminated string; false when not even a
// terminator is left.
bool ReadStringField(CStream* stream, wchar_t** slot);

// Creates the user-interface block of classId in the item's panel scheme,
// links it both ways and gives it the item's name; nothing when the item
// already has a block or the scheme cannot make one.
void CreateControlBlock(CVelkUIControl* item, unsigned int classId);

// Is Ctrl held now.
bool ControlKeyHeld();

// OpenGL: the colour with the given alpha as the current colour.
void GlColor(COLORREF colour, float alpha);
// Unless fill is -1, a quad over the rectangle in the fill colour; then the
// lines (x1, y2)-(x1, y1)-(x2, y1) in light and (x2, y1)-(x2, y2)-(x1, y2)
// in dark.
void DrawGLFrame(int x1, int y1, int x2, int y2, COLORREF fill, COLORREF light, COLORREF dark);
