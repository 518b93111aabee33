// The FDD03 family of 24-pin DC-DC modules: a single output, a dual output
// with a centre tap, or two separate outputs.
#pragma once

#include "components/electronic/power/custom_dcdc.h"

class CFDD03 : public CCustomDCDC {
public:
  // Footprint 20.32 x 31.75 mm.
  CFDD03();

  // The module's case with its ratings and the maker's name.
  void PaintFootprint(PcbPainter* painter) override;
  // Joins the doubled input pins.
  void JoinInternalNets() override;
  // 7 pins for a single output, 9 for the other types.
  void BuildPins() override;
};

// Registry creator ("FDD03").
CSCHBlock* CreateCFDD03();
