#include "components/electronic/power/poe.h"

#include <new>

CSCHPoE::CSCHPoE() {
  BuildInjectorPins(this, L"Инжектор питания PoE", 80, kSchPinEthernet, L"Вход Ethernet",
                    L"Выход Ethernet с питанием");
}

void CSCHPoE::Paint(HDC dc) {
  PaintBody(dc, RGB(204, 204, 204));
  PaintCentredText(dc, rect, rect.top + 4, L"PoE");
}

void CSCHPoE::Step(float) { StepPowerInjector(this); }

CSCHBlock* CreateCSCHPoE() { return new (std::nothrow) CSCHPoE; }
