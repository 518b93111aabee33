// Texts that blocks draw at a fixed place in their body.
#pragma once

#include <windows.h>

// The text in black on a transparent background with its top-left corner
// at (x, y), in the DC's font; the DC's colour and mode are put back.
void DrawBlockText(HDC dc, int x, int y, const wchar_t* text);
