// CBETWI ("Двухпроводной последовательный интерфейс (TWI)"): the
// microcontroller's two-wire interface. Its inputs read the bus lines
// "SDA" and "SCL" through pin blocks in bus mode; its packets travel in
// the set that the SDA pin block's value names.
#pragma once

#include "blocks/library/interfaces/interface_device.h"

class CBETWI : public CBEInterfaceDevice {
public:
  static const unsigned char kOff = 0;
  static const unsigned char kMaster = 1;
  static const unsigned char kSlave = 2;
  static const unsigned char kLastPrescaler = 3;

  // Off, 16 bits per byte, TWBR and TWPS 0, a device block 120 x 40, fill
  // 0xE0E0E0; inputs "SDA" (13) and "SCL" (14).
  CBETWI();
  static CBEBlock* Create();

  // The base placement, then the bit rate at the new scheme's frequency.
  void AttachToScheme(BeScheme* newScheme) override;
  // On and with both lines linked: the SDA line gets type 13 and the block
  // is enabled; then the interface device's start.
  void Start() override;
  // On and with both lines linked: a master gives the SCL line type 14, a
  // slave waits for it; the set the SDA line names is received and merged
  // into the outgoing set after the interface device's pass.
  void Step(float dt) override;
  // Body and "TWI" centred.
  void Draw(HDC dc) override;
  // Mode, TWBR, TWPS (a byte each), then the interface-device record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut or implausible record (a
  // mode above 2, a TWPS above 3); then the bit rate.
  bool Load(CStream* stream) override;
  bool ShowProperties() override;

  // speed = processor frequency / (16 + 2 x TWBR x 4^TWPS), truncated.
  void UpdateBitRate();
  // On: the "SDA" and "SCL" pin blocks bound to the inputs; off: released.
  void BindPins();

  // Fields, in this order.
  unsigned char mode = kOff;
  unsigned char twbr = 0;
  unsigned char twps = 0;
};
