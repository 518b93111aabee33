// The MiniFit power connector: two rows above three pins, one row up to three.
#pragma once

#include "scheme/parts/connector.h"

class CMiniFitConnector : public CSCHConnector {
public:
  CMiniFitConnector();
  // Sets the footprint size for the pin count, then the connector layout.
  void LayoutPins() override;
  void PaintFootprint(PcbPainter* painter) override;
};

// Registry creator ("MiniFit").
CSCHBlock* CreateCMiniFitConnector();
