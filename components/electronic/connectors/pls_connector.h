// The pin header: a plain row of pins facing one side (no mirroring onto a
// board's outer block). Also lays out the programming headers of the
// microcontrollers.
#pragma once

#include <windows.h>

#include "scheme/model/block.h"

class CPLSConnector : public CSCHBlock {
public:
  // Designator prefix "X"; no pins until ApplyDbRecord or Load.
  CPLSConnector();

  // The base fields, the pin count from column "n", LayoutPins.
  void ApplyDbRecord(CompDbRecord* record) override;
  // An arrow per pin towards the facing side and two bars along the row.
  void Paint(HDC dc) override;
  // A black square with a lead per pin, the name above.
  void PaintFootprint(PcbPainter* painter) override;
  // Side (byte), pin count (u16), then the base record.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;

  // Pins on the side opposite the facing side at 16 px spacing, numbered
  // from 1; a footprint of 2.54 x 2.54 n mm; a symbol 16 px deep.
  void LayoutPins();

  // Fields, in this order.
  int side = 0;  // the side the header faces, 0-3
};

// Registry creator ("PLS").
CSCHBlock* CreateCPLSConnector();
