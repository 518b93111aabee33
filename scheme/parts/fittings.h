// Hydraulic fittings: a T and a five-way block joining hydraulic lines.
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

// 40 by 17 pixels; hydraulic pins left 12, right 5, top 7, 20, 32.
class CSCH_5_Gidro : public CSCHBlock {
public:
  CSCH_5_Gidro();
  // The class picture "5.png" at the left-top corner.
  void Paint(HDC dc) override;
  void JoinInternalNets() override;
};

// Merges the nets of all the block's pins into the net of the first pin
// that has one; pins without a net are skipped.
void JoinAllPinNets(CSCHBlock* block);

// Registry creators.
CSCHBlock* CreateCSCH_T_Gidro();
CSCHBlock* CreateCSCH_5_Gidro();
