// CBECOMPort ("COM-порт"): an RS-232 port of the on-board computer in its
// program. It drives and reads three consecutive pins of the computer
// (receive RD, transmit TD, ground GND) with RS-232 levels (-12 V / +12 V
// behind 1 kOhm; a 50 kOhm receiver with thresholds at -3.1 V and +3.1 V),
// and carries the port's data as the packet set of its interface device:
// the sent fields leave through TD, the received fields come from RD.
//
// The computer makes the block itself ("COM1", "COM2" ...), writes the
// index of the port's RD pin into it and gives it the three pin names.
#pragma once

#include "blocks/library/interfaces/interface_device.h"

// Protocols.
const unsigned char kComAsynchronous = 0;
const unsigned char kComMaster = 1;  // exchange on request, as master
const unsigned char kComSlave = 2;   // exchange on request, as slave
// Parities and stop-bit codes (3 stands for one and a half).
const unsigned char kComMaxParity = 2;
const unsigned char kComMaxStopBits = 3;
const COLORREF kPortFill = 0xE0E0E0;
const int kPortHeight = 30;

// The electrical levels of a port's line.
struct SerialLineLevels {
  float receiverOhms;  // the receiver's load on RD and GND
  bool idleHigh;       // the line rests at its high level (TTL)
  float threshold;     // volts across the receiver (RS-232: -threshold and +threshold)
  float idleVolts;     // the transmitter's first pair, above the ground
  float activeVolts;   // its second pair
  float driverOhms;    // behind which it drives (plus the ground's resistance)
};
const SerialLineLevels kRs232Levels = {50000.0f, false, 3.1f, -12.0f, 12.0f, 1000.0f};
const SerialLineLevels kTtlLevels = {500000.0f, true, 2.5f, 5.0f, 0.0f, 250.0f};

class CBECOMPort : public CBEInterfaceDevice {
public:
  // Enabled, a device block, 200 x 30, fill 0xE0E0E0; 115200 bits per
  // second, 10 bits per byte, no parity, one stop bit, asynchronous; pin 0.
  CBECOMPort();
  // Frees the pin names; a port deleted while its TD net carries its data
  // takes the data off the net.
  ~CBECOMPort() override;
  static CBEBlock* Create();

  // Reads the line on RD against GND, takes the line's packet set when its
  // two levels pass the receiver's thresholds and its kind is RS-232 (10),
  // loads RD and GND with the receiver, runs the interface device, then
  // drives TD with its two levels and its packet set as kind 10.
  void Step(float dt) override;
  // Speed (4 bytes), bits per byte, parity, stop bits (a byte each), the
  // pin index (2 bytes), the protocol byte, then the interface-device
  // record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record, a parity above 2,
  // stop bits outside 1..3, a protocol above 2, or an implausible interface
  // part. The format words then follow the loaded settings.
  bool Load(CStream* stream) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Both format words from speed, bits per byte and parity
  // (UartFrameFormatWord); a master marks what it accepts, a slave what it
  // sends, with bit 30.
  void UpdateLineFormat();
  // Heap copies of the three pin names (null: none) as the computer names
  // the port's pins. False when a copy could not be made (that name is then
  // null).
  bool SetPinNames(const wchar_t* rd, const wchar_t* td, const wchar_t* gnd);

  // Fields, in this order.
  unsigned char parity = 0;    // 0 none, 1 even, 2 odd
  unsigned char stopBits = 1;  // 1, 2, or 3 for 1.5
  unsigned char protocol = kComAsynchronous;
  int pinIndex = 0;  // the owner's RD pin; TD and GND follow
  wchar_t* rdName = nullptr;   // owned
  wchar_t* tdName = nullptr;   // owned
  wchar_t* gndName = nullptr;  // owned

protected:
  // The pass of a port with those line levels.
  void StepLine(float dt, const SerialLineLevels& levels);
};
