#include "components/electronic/connectors/connector_drawing.h"

#include <cmath>

#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "scheme/model/block.h"
#include "scheme/board/pcb_painter.h"

namespace {

const float kDegree = 3.14159265f / 180;
const float kNameHeight = 3.0f;  // mm
const float kNameGap = 2.0f;     // mm above the part

HPEN MakePen(COLORREF pen) {
  if (pen == kElecFootprintNoPen) return nullptr;
  return CreatePen(PS_SOLID, 1, pen);
}

}  // namespace

void FootprintRectangle(PcbPainter* painter, COLORREF fill, COLORREF pen, float x0, float y0, float x1,
                        float y1) {
  CKestOwnedBrush brush(CreateSolidBrush(fill));
  CKestOwnedPen outline(MakePen(pen));
  CKestDcSelection selection(painter->dc);
  selection.Select(brush.Get());
  selection.Select(outline ? static_cast<HGDIOBJ>(outline.Get()) : GetStockObject(NULL_PEN));
  painter->DrawRectangle(x0, y0, x1, y1);
}

void FootprintSquare(PcbPainter* painter, COLORREF fill, COLORREF pen, float x, float y, float side) {
  FootprintRectangle(painter, fill, pen, x - side / 2, y - side / 2, x + side / 2, y + side / 2);
}

void FootprintCircle(PcbPainter* painter, COLORREF fill, COLORREF pen, float x, float y, float r) {
  CKestOwnedBrush brush(CreateSolidBrush(fill));
  CKestOwnedPen outline(MakePen(pen));
  CKestDcSelection selection(painter->dc);
  selection.Select(brush.Get());
  selection.Select(outline ? static_cast<HGDIOBJ>(outline.Get()) : GetStockObject(NULL_PEN));
  painter->DrawCircle(x, y, r);
}

void FootprintCircleOutline(PcbPainter* painter, COLORREF pen, float x, float y, float r) {
  CKestOwnedPen outline(CreatePen(PS_SOLID, 1, pen));
  CKestDcSelection selection(painter->dc);
  selection.Select(GetStockObject(NULL_BRUSH));
  selection.Select(outline.Get());
  painter->DrawCircle(x, y, r);
}

void FootprintLine(PcbPainter* painter, COLORREF pen, float x0, float y0, float x1, float y1) {
  CKestOwnedPen line(CreatePen(PS_SOLID, 1, pen));
  CKestDcSelection selection(painter->dc);
  selection.Select(line.Get());
  painter->MoveTo(x0, y0);
  painter->LineTo(x1, y1);
}

void FootprintName(PcbPainter* painter, const CSCHBlock* block, float length) {
  if (!block->instanceName) return;
  COLORREF old = SetTextColor(painter->dc, RGB(255, 255, 255));
  painter->DrawText(0, -length / 2 - kNameGap, kNameHeight, block->instanceName, 0);
  SetTextColor(painter->dc, old);
}

void AppendArcPoints(float* points, int* count, int capacity, float cx, float cy, float r, float start,
                     float end, int steps, int extra) {
  if (!points || !count || steps <= 0) return;
  for (int k = 0; k < steps + extra; k++) {
    if (*count < 0 || *count >= capacity) return;
    float f = (start + (end - start) * k / steps) * kDegree;
    points[2 * *count] = cx + r * std::sin(f);
    points[2 * *count + 1] = cy - r * std::cos(f);
    (*count)++;
  }
}
