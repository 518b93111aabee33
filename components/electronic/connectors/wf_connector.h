// The WF wire-to-board connector (HU on the cable), 2.54 mm pitch.
#pragma once

#include "scheme/parts/connector.h"

class CWFConnector : public CSCHConnector {
public:
  CWFConnector();
  // Sets the footprint size for the pin count, then the connector layout.
  void LayoutPins() override;
  void PaintFootprint(PcbPainter* painter) override;
};

// Registry creator ("WF").
CSCHBlock* CreateCWFConnector();
