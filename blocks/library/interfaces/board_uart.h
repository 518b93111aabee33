// CBEBoardUART ("UART"): a TTL-level serial port of the on-board computer.
// It is a COM port (CBECOMPort: fields, record, dialog) with TTL levels:
// 5 V / 0 V behind 250 Ohm, a 500 kOhm receiver with its threshold at 2.5 V.
// The line rests at its high level.
#pragma once

#include "blocks/library/interfaces/com_port.h"

class CBEBoardUART : public CBECOMPort {
public:
  static CBEBlock* Create();
  void Step(float dt) override;
  bool ShowProperties() override;
};
