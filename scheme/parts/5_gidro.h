// The hydraulic five-way block joining five hydraulic lines.
#pragma once

#include "scheme/model/block.h"

// 40 by 17 pixels; hydraulic pins left 12, right 5, top 7, 20, 32.
class CSCH_5_Gidro : public CSCHBlock {
public:
  CSCH_5_Gidro();
  // The class picture "5.png" at the left-top corner.
  void Paint(HDC dc) override;
  void JoinInternalNets() override;
};

// Registry creator.
CSCHBlock* CreateCSCH_5_Gidro();
