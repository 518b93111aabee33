// The hydraulic T fitting joining three hydraulic lines.
#pragma once

#include "scheme/model/block.h"

// 30 by 20 pixels; hydraulic pins left 5, right 15, bottom 15.
class CSCH_T_Gidro : public CSCHBlock {
public:
  CSCH_T_Gidro();
  // The class picture "T.png" at the left-top corner.
  void Paint(HDC dc) override;
  // One net for every pin that has one.
  void JoinInternalNets() override;
};

// Registry creator.
CSCHBlock* CreateCSCH_T_Gidro();
