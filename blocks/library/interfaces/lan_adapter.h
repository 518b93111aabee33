// CBELAN ("LAN-адаптер"): the Ethernet adapter of a computer in its program.
// It does not model voltages: each pass it reads the packet set that the net
// of its connector pin carries as an Ethernet source (kind 17), merges it
// with its own outgoing set (both then hold the newest packet of every id)
// and makes itself the net's source. Adapters on one net thus pass their
// packets along a chain of merges.
//
// The computer makes the block itself ("LAN" on the on-board computer,
// "Ethernet" on the control-panel computer) and writes its pin index.
#pragma once

#include "blocks/library/interfaces/interface_device.h"

const int kLanSpeed = 8000000;  // bits per second
const int kLanBitsPerByte = 8;

class CBELAN : public CBEInterfaceDevice {
public:
  // Enabled, flags the device flag alone, 200 x 30, fill 0xE0E0E0, 8,000,000
  // bits per second, 8 bits per byte, both format words 0; pin 0.
  CBELAN();
  // A net it is the source of no longer points at it.
  ~CBELAN() override;
  static CBEBlock* Create();

  void Step(float dt) override;
  // Leaves the net it is the source of (kind 0, no source), then stops the
  // interface device.
  void Stop() override;
  // The pin index (its low byte), then the interface-device record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut or implausible record.
  bool Load(CStream* stream) override;
  bool ShowProperties() override;

  int pinIndex = 0;  // the connector pin in the owner's pin array

protected:
  // The net kind the adapter takes part in: 17 Ethernet.
  virtual int NetKind() const;

private:
  // Takes the block off the net of the pin it made itself the source of.
  void LeaveNet();
  // The owner pin whose net the block is the source of; -1 none.
  int sourcePin_ = -1;
};
