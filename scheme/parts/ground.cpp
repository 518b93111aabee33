#include "scheme/parts/ground.h"

#include <new>

#include "scheme/model/scheme.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/pin_model.h"

CSCHGnd::CSCHGnd() {
  rect = RECT{0, 0, 12, 8};
  SetPinCount(1);
  if (pinCount == 1) {
    pins[0].side = kSchSideTop;
    pins[0].offset = 6;
  }
}

void CSCHGnd::Paint(HDC dc) {
  HPEN thick = CreatePen(PS_SOLID, 2, RGB(0, 0, 0));
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  MoveToEx(dc, rect.left + 6, rect.top, nullptr);
  LineTo(dc, rect.left + 6, rect.bottom - 1);
  if (thick) SelectObject(dc, thick);
  MoveToEx(dc, rect.left, rect.bottom - 1, nullptr);
  LineTo(dc, rect.right, rect.bottom - 1);
  SelectObject(dc, oldPen);
  if (thick) DeleteObject(thick);
}

void CSCHGnd::JoinInternalNets() {
  if (!scheme || pinCount < 1 || !pins[0].net) return;
  if (!scheme->groundNet) scheme->groundNet = pins[0].net;
  else scheme->groundNet->Merge(pins[0].net);
}

CSCHBlock* CreateCSCHGnd() { return new (std::nothrow) CSCHGnd; }
