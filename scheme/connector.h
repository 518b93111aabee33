// A connector of a board's nested scheme: its pins are mirrored onto the
// owner block of the scheme. This header holds the fields the scheme model
// uses (the connector list and the pin offsets); the connector's own
// operations are defined with the connector families.
#pragma once

#include "scheme/block.h"

class CSCHConnector : public CSCHBlock {
public:
  // Lays the own pins out and mirrors them onto the owner block.
  virtual void LayoutPins();

  // Fields, in this order.
  CSCHConnector* nextConnector = nullptr;  // the scheme's connector list, oldest first
  CSCHConnector* prevConnector = nullptr;
  int pinOffset = 0;      // index of its first mirrored pin on the owner
  int mirroredCount = 0;  // pins mirrored onto the owner so far
  unsigned char side = 0; // side of the owner on which its pins appear
};
