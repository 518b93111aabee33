// The MPW wire-to-board connector (MHU on the cable), 5.08 mm pitch.
#pragma once

#include "scheme/parts/connector.h"

class CMPWConnector : public CSCHConnector {
public:
  CMPWConnector();
  // Sets the footprint size for the pin count, then the connector layout.
  void LayoutPins() override;
  void PaintFootprint(PcbPainter* painter) override;
};

// Registry creator ("MPW").
CSCHBlock* CreateCMPWConnector();
