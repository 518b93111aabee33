// Small helpers of the discrete parts (capacitor, quartz crystal, diode,
// transistors): safe number conversions, index clamping and lines.
#pragma once

#include <windows.h>

// The value truncated toward zero; 0 for a value that is no number, the
// nearest int limit for one out of range.
int TruncToInt(double value);

// The index clamped into 0 .. count - 1 (0 for an empty table).
int ClampIndex(int index, int count);

// A line from (x1, y1) to (x2, y2) with the current pen.
void DrawLine(HDC dc, int x1, int y1, int x2, int y2);
