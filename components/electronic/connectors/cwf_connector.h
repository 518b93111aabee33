// The CWF wire-to-board connector (CHU on the cable), 2.5 mm pitch.
#pragma once

#include "scheme/parts/connector.h"

class CCWFConnector : public CSCHConnector {
public:
  CCWFConnector();
  // Sets the footprint size for the pin count, then the connector layout.
  void LayoutPins() override;
  void PaintFootprint(PcbPainter* painter) override;
};

// Registry creator ("CWF").
CSCHBlock* CreateCCWFConnector();
