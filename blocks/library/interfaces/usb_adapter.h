// CBEUSB ("USB-host"): the USB host port of a computer in its program. It is
// the LAN adapter (CBELAN) on a USB cable: it reads and takes over the net
// of its pin as a USB host source (kind 11).
#pragma once

#include "blocks/library/interfaces/lan_adapter.h"

class CBEUSB : public CBELAN {
public:
  static CBEBlock* Create();
  bool ShowProperties() override;

protected:
  int NetKind() const override;
};
