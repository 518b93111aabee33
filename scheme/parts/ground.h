// The ground symbol: ties every ground of a scheme into one net.
#pragma once

#include "scheme/model/block.h"

class CSCHGnd : public CSCHBlock {
public:
  // 12 by 8 pixels, one electric pin on top.
  CSCHGnd();
  void Paint(HDC dc) override;
  // The first ground joined becomes the scheme's common ground net; later
  // grounds' nets are merged into it. An unconnected ground joins nothing.
  void JoinInternalNets() override;
};

// Registry creator.
CSCHBlock* CreateCSCHGnd();
