// The Mini-USB receptacle on a board: inside, four pins (VCC, D-, D+, GND);
// outside, one USB cable pin on the board's block. It powers the board from
// a connected cable and carries the USB data across.
#pragma once

#include "scheme/parts/connector.h"

// Own pins.
const int kElecMiniUsbVcc = 0;
const int kElecMiniUsbDataMinus = 1;
const int kElecMiniUsbDataPlus = 2;
const int kElecMiniUsbGnd = 3;

class CMiniUSBConnector : public CSCHConnector {
public:
  // Four pins "VCC", "D-", "D+", "GND"; a 9.2 x 9.9 mm footprint.
  CMiniUSBConnector();
  // Takes its USB pin off the board's block.
  ~CMiniUSBConnector() override;

  void PaintFootprint(PcbPainter* painter) override;
  // While the outer pin is on a net: drives VCC and GND, merges the packets
  // of a USB device on the data pins with the cable's, and presents the
  // cable's source on the data pins.
  void Step(float dt) override;
  // Nothing: the inner and the outer pins are not one net.
  void JoinInternalNets() override;
  // Own pins in a row; on the owner one USB pin (none without own pins).
  void LayoutPins() override;
};

// Registry creator ("MiniUSB").
CSCHBlock* CreateCMiniUSBConnector();
