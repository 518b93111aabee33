// CSCHPultComputer: the computer of the control panel, the part every new
// control panel's nested scheme starts with.
#pragma once

#include "scheme/parts/device.h"

class CSCHPultComputer : public CSCHDevice {
public:
  CSCHPultComputer();
};

CSCHBlock* CreateCSCHPultComputer();
