// CBESPI ("SPI"): the microcontroller's SPI in its program. As master it
// clocks its data out on "MOSI" and "SCK" and reads "MISO"; as slave it
// reads "MOSI", "SCK" and the select line "SS" and answers on "MISO", the
// data-out pin block released (mode 5) while it is not selected. The line
// pins are bound to the chip's pin blocks with those names.
#pragma once

#include "blocks/engine/payload_table.h"
#include "blocks/library/interfaces/interface_device.h"

class CBEIOPort;

class CBESPI : public CBEInterfaceDevice {
public:
  // Modes.
  static const unsigned char kOff = 0;
  static const unsigned char kMaster = 1;
  static const unsigned char kSlave = 2;
  static const unsigned char kLastDivider = 6;

  // Off, a device block 120 x 60, fill 0xE0E0E0; inputs "MISO" (15), "SCK"
  // (16), "SS" (15); outputs "MOSI" (15) and "SCK" (16), both hardware.
  CBESPI();
  static CBEBlock* Create();

  // The base placement, then the line format at the new scheme's frequency.
  void AttachToScheme(BeScheme* newScheme) override;
  // The interface device's start; the data-out pin block is looked up.
  void Start() override;
  // Master: clocks and exchanges. Slave: exchanges only while clocked and
  // selected, its data-out pin block driven (mode 4) then and released
  // (mode 5) otherwise. Output 0 carries the block's signal source.
  void Step(float dt) override;
  // Body and "SPI" centred.
  void Draw(HDC dc) override;
  // Mode, the three inversion flags, divider (a byte each), then the
  // interface-device record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut or implausible record (a
  // mode above 2, a divider above 6); then the line format.
  bool Load(CStream* stream) override;
  bool ShowProperties() override;

  // 9 bits per byte; speed = the scheme's processor frequency /
  // 2^(divider + 1), truncated; send format = mode + 0x10 (polarity) +
  // 0x20 (clock edge) + 0x40 (bit order); receive format = send XOR 3.
  void UpdateLineFormat();
  // Releases the pins bound before, then binds those of the mode.
  void BindPins();
  // The first pin block of the port-block list whose first input is linked
  // to output "MOSI"; null when none is.
  CBEIOPort* FindDataOutPort() const;

  // Fields, in this order.
  unsigned char mode = kOff;
  unsigned char inversePolarity = 0;
  unsigned char inverseEdge = 0;
  unsigned char inverseBitOrder = 0;
  unsigned char divider = 0;
  CBEIOPort* dataOut = nullptr;  // looked up at Start and in each slave pass
  BePayloadHandle lineHandle = kNoPayload;
};
