// A pin header on a board whose pins the board shows outside.
#pragma once

#include "scheme/parts/connector.h"

class CPLSConnector2 : public CSCHConnector {
public:
  CPLSConnector2();
  // Sets the footprint size for the pin count, then the connector layout.
  void LayoutPins() override;
  void PaintFootprint(PcbPainter* painter) override;
};

// Registry creator ("PLS2").
CSCHBlock* CreateCPLSConnector2();
