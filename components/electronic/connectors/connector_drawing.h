// What the connector footprints share: shapes filled with a colour under a
// pen of another, the white instance name above the part, and arc point
// lists for polygons.
#pragma once

#include <windows.h>

class CSCHBlock;
class PcbPainter;

// No outline: the shape is drawn with the null pen.
const COLORREF kElecFootprintNoPen = 0xFFFFFFFF;

// The rectangle (x0, y0)-(x1, y1) in the part frame filled with fill and
// outlined with pen (kElecFootprintNoPen for none).
void FootprintRectangle(PcbPainter* painter, COLORREF fill, COLORREF pen, float x0, float y0, float x1,
                        float y1);
// The square of that side centred at (x, y).
void FootprintSquare(PcbPainter* painter, COLORREF fill, COLORREF pen, float x, float y, float side);
void FootprintCircle(PcbPainter* painter, COLORREF fill, COLORREF pen, float x, float y, float r);
// The circle's outline only.
void FootprintCircleOutline(PcbPainter* painter, COLORREF pen, float x, float y, float r);
void FootprintLine(PcbPainter* painter, COLORREF pen, float x0, float y0, float x1, float y1);
// The block's instance name, when set: white text 3 mm high at
// (0, -length / 2 - 2).
void FootprintName(PcbPainter* painter, const CSCHBlock* block, float length);

// Appends steps + extra points of the arc of radius r centred at (cx, cy):
// point k at (cx + r sin f, cy - r cos f), f = start + (end - start) k /
// steps degrees; count advances by each point. points holds x, y pairs and
// room for capacity points; the points that do not fit are dropped.
void AppendArcPoints(float* points, int* count, int capacity, float cx, float cy, float r, float start,
                     float end, int steps, int extra);
