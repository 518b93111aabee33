#include "components/electronic/power/injector.h"

#include <new>

namespace {

const int kCut = 10;  // the bottom corners are cut by this much

}  // namespace

CSCHInjector::CSCHInjector() {
  BuildInjectorPins(this, L"Инжектор питания ВЧ", 60, kSchPinRf, L"Вход ВЧ", L"Выход ВЧ с наведеном питанием");
}

void CSCHInjector::Paint(HDC dc) {
  const POINT corners[6] = {
      {rect.left, rect.top},           {rect.right, rect.top},
      {rect.right, rect.bottom - kCut}, {rect.right - kCut, rect.bottom},
      {rect.left + kCut, rect.bottom},  {rect.left, rect.bottom - kCut},
  };
  HBRUSH brush = CreateSolidBrush(RGB(255, 238, 204));
  HGDIOBJ oldBrush = SelectObject(dc, brush ? static_cast<HGDIOBJ>(brush) : GetStockObject(WHITE_BRUSH));
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  Polygon(dc, corners, 6);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  if (brush) DeleteObject(brush);
  PaintCentredText(dc, rect, rect.top + 4, L"Инж.");
}

void CSCHInjector::Step(float) { StepPowerInjector(this); }

CSCHBlock* CreateCSCHInjector() { return new (std::nothrow) CSCHInjector; }
