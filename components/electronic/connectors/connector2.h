// The screw terminal block, 5 mm pitch.
#pragma once

#include "scheme/parts/connector.h"

class CConnector2 : public CSCHConnector {
public:
  CConnector2();
  // Sets the footprint size for the pin count, then the connector layout.
  void LayoutPins() override;
  void PaintFootprint(PcbPainter* painter) override;
};

// Registry creator ("Connector2").
CSCHBlock* CreateCConnector2();
