// The PoE injector: an Ethernet cable in, a DC supply, and an Ethernet cable
// out that carries both the data and the supply.
#pragma once

#include <windows.h>

#include "components/electronic/power/power_injector.h"

class CSCHPoE : public CSCHBlock {
public:
  // An 80 x 30 px block with the four pins (Ethernet in and out).
  CSCHPoE();
  // A grey body with "PoE" at the top.
  void Paint(HDC dc) override;
  void Step(float dt) override;
};

// Registry creator ("PoE").
CSCHBlock* CreateCSCHPoE();
