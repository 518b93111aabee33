#include "blocks/engine/macro/port_drawing.h"

#include <cwchar>

#include "blocks/engine/signal_type.h"

namespace {
const int kBarWidth = 4;
}

void DrawMacroPort(HDC dc, const POINT* corners, COLORREF fill, int barLeft, int top, int bottom,
                   const wchar_t* caption, int textX, int textY) {
  HBRUSH brush = CreateSolidBrush(fill);
  HPEN pen = CreatePen(PS_SOLID, 1, fill);
  int saved = SaveDC(dc);
  SelectObject(dc, brush);
  SelectObject(dc, pen);
  Polygon(dc, corners, 5);
  RECT bar = {barLeft, top, barLeft + kBarWidth, bottom};
  FillRect(dc, &bar, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  if (caption) {
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, textX, textY, caption, static_cast<int>(wcslen(caption)));
  }
  RestoreDC(dc, saved);
  DeleteObject(pen);
  DeleteObject(brush);
}

bool IsStoredPortType(int type) {
  return type >= 0 && type < kBeSignalTypeNameCount && GetSignalTypeName(type) != nullptr;
}
