// CBEUART ("UART"): a UART of the microcontroller in its program. Its line
// pins are the input "RXD" and the output "TXD" (RS-232 lines, type 10),
// bound to the chip's pin blocks whose captions name "RXD" and "TXD" (with
// the UART's number when the chip has several); with RS-485 a second fixed
// output "dir485" says when the UART transmits. The data fields are those
// of its interface device.
#pragma once

#include "blocks/engine/payload_table.h"
#include "blocks/library/interfaces/interface_device.h"

// Line speeds in bits per second, by speed index.
const int kBeUartSpeedCount = 12;
extern const int BeUartSpeedTable[kBeUartSpeedCount];

class CBEUART : public CBEInterfaceDevice {
public:
  static const unsigned char kNotNumbered = 255;
  // Protocols.
  static const unsigned char kAsynchronous = 0;
  static const unsigned char kRequestMaster = 1;
  static const unsigned char kRequestSlave = 2;

  // Disabled, not numbered, no caption, a device block 200 x 20, fill
  // 0xE0E0E0; "RXD" and "TXD" of type 10; 10 cycles, 100 ROM bytes; speed
  // index 0 (115200), no parity, asynchronous.
  CBEUART();
  static CBEBlock* Create();

  // Nothing while disabled. Otherwise the incoming set is the one named by
  // the output "RXD" reads when it has type 10; the interface device runs;
  // "TXD" carries the block's signal source, and with RS-485 "dir485" is 1
  // in a pass that started a transmission, else 0.
  void Step(float dt) override;
  // Flags (bit 0 enabled, bit 1 RS-485), number, speed index, bits per
  // byte, parity, protocol (a byte each), then the interface-device record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut or implausible record (a
  // parity above 2, a protocol above 2). A speed index above 11 becomes 11.
  bool Load(CStream* stream) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // "UART" for a number of 128 or more, else "UART%d".
  void UpdateCaption();
  // Both format words as a COM port packs them.
  void UpdateLineFormat();
  // The speed index (above 11: 11) and the speed it gives.
  void SetSpeedIndex(int index);
  // RS-485 on: every output from the first received field on is
  // disconnected; the fixed outputs become 2, output 1 "dir485" (type 1)
  // taking the place of the first received field. Off: output 1 loses its
  // name and becomes the first received field again. False, with nothing
  // changed, when memory ran out.
  bool SetRs485(bool on);
  // Binds (enabled) or releases (disabled) the RXD and TXD pin blocks.
  void BindPins();

  // The names the UART's pin blocks carry: "RXD"/"TXD", with the number
  // when it is below 128. size counts wide characters.
  void RxName(wchar_t* name, int size) const;
  void TxName(wchar_t* name, int size) const;

  // Fields, in this order.
  unsigned char number = kNotNumbered;
  unsigned char speedIndex = 0;
  unsigned char parity = 0;  // 0 none, 1 even, 2 odd
  unsigned char protocol = kAsynchronous;
  unsigned char rs485 = 0;
  BePayloadHandle lineHandle = kNoPayload;  // names signalSource in "TXD"'s value

private:
  bool ApplyRs485(bool on);
};
