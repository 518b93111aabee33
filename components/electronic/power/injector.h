// The RF power injector: feeds an active antenna over its RF cable.
#pragma once

#include <windows.h>

#include "components/electronic/power/power_injector.h"

class CSCHInjector : public CSCHBlock {
public:
  // A 60 x 30 px block with the four pins (RF in and out).
  CSCHInjector();
  // A cream hexagon (the bottom corners cut) with "Инж." at the top.
  void Paint(HDC dc) override;
  void Step(float dt) override;
};

// Registry creator ("Injector").
CSCHBlock* CreateCSCHInjector();
