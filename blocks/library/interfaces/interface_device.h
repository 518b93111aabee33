// CBEInterfaceDevice: the base of the data-link blocks that model a
// communication port of a programmable unit (the computers' serial ports and
// network adapters, the microcontroller's serial interfaces). The unit's
// program exchanges data with the rest of the robot through them.
//
// The block's sent data fields are inputs: every period it packs their
// values into packets, one SchPacket per channel, and once the transmission
// time that the line speed gives has passed it puts them into its outgoing
// SchPacketSet. Its received data fields are outputs: every pass it copies
// into them the payloads of the packets of an incoming set whose id is the
// field's channel and whose format word the block accepts.
//
// Where the outgoing set goes and where the incoming set comes from is the
// derived class's business (a net's signal source, a linked output, a radio
// link). A derived class:
//   - passes its fixed line pins to the constructor (they come before the
//     fields: inputs 0 .. fixedInputs - 1, outputs 0 .. fixedOutputs - 1);
//   - sets `incoming` (and, when it changes, `enabled`) before calling
//     CBEInterfaceDevice::Step from its own Step;
//   - hands nets or output values the address of `signalSource`, which
//     stays valid for the life of the block (its set is null outside a run);
//   - calls CBEInterfaceDevice::Start and Stop from its own overrides;
//   - writes its own fields before CBEInterfaceDevice::Save and, in Load,
//     reads and checks its own fields, asks InterfaceRecordReadable before
//     it changes anything, then stores them and calls
//     CBEInterfaceDevice::Load, which cannot fail after that answer.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"
#include "scheme/simulation/signal_source.h"

class SchPacket;
class SchPacketSet;

// The robot's number, put in place of channel 255 at Start. Nothing
// changes it.
const unsigned char BeRobotNumber = 1;
// The channel that stands for the robot's number.
const unsigned char kRobotChannel = 255;

// Field pins are 20 pixels apart.
const int kInterfaceFieldPitch = 20;
const int kInterfaceDeviceWidth = 200;
// Records with more fields in a list than this are refused as damaged: a
// port of a unit's program never carries that many.
const int kMaxInterfaceFields = 4096;

class CBEInterfaceDevice : public CBEBlock {
public:
  // Width 200, speed 115200, 10 bits per byte, period 0.027 s, disabled,
  // no fields; the fixed pins made (bit-typed, unnamed).
  CBEInterfaceDevice(int fixedInputs, int fixedOutputs, bool canReceive, bool canSend);
  // Drops the fields (and their names); what a run still holds is
  // released as Stop releases it.
  ~CBEInterfaceDevice() override;

  // Start: channel 255 becomes BeRobotNumber in both channel arrays (for
  // good), the clock 0, the channel list rebuilt from the sent fields in
  // order of first appearance, one empty packet slot per channel, the
  // transfer bytes summed over the sent fields' types, a new empty outgoing
  // set, no incoming source. Sequence and sending keep their values.
  void Start() override;
  // Nothing while disabled. Transmission (when the block can send and has
  // its outgoing set, and its speed is above 0): the clock runs; a new
  // transmission starts when none started in the last pass and the clock is
  // 0 or more (sequence + 1, one new packet per channel with the sent
  // fields' current values, transmit time = transfer bytes x bits per byte
  // / speed); its packets are delivered into the outgoing set when the
  // clock has reached the transmit time, and the clock goes back to
  // - period. Reception (when the block can receive and the incoming source
  // holds a set): each packet of an accepted format fills the received
  // fields of its channel, in field order, from the start of its payload.
  void Step(float dt) override;
  // Releases the packet slots, the channel list and the outgoing set.
  void Stop() override;
  // The field lists, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut or implausible record (a
  // count below 0 or above kMaxInterfaceFields, a type that is no concrete
  // signal type) or when memory ran out for the pins.
  bool Load(CStream* stream) override;

  // The sent fields become n (below 0: 0): the names of the inputs that go
  // away are freed, new fields get channel 0; the body becomes
  // 20 x max(1, fixed inputs + n, output count) high and the pins are
  // spread over it. False, with nothing changed, when memory ran out.
  bool SetSendFieldCount(int n);
  // The same for the received fields (height 20 x max(1, fixed outputs +
  // m, input count)).
  bool SetReceiveFieldCount(int m);
  int SendFieldCount() const { return inputCount - fixedInputs; }
  int ReceiveFieldCount() const { return outputCount - fixedOutputs; }
  // The pins of field i (null out of range).
  BeInputPin* SendField(int i) const;
  BeOutputPin* ReceiveField(int i) const;
  // A field as the data-channel dialog writes it: a type change unlinks the
  // field's input (or disconnects its output); then the type, the channel
  // and a copy of the name (null or empty: none). False for a field out of
  // range, or when the name could not be copied (the field then has none).
  bool SetSendField(int i, const wchar_t* name, BeSignalType type, unsigned char channel);
  bool SetReceiveField(int i, const wchar_t* name, BeSignalType type, unsigned char channel);
  // Rearranges one list of fields: it becomes n fields (below 0: 0), field
  // i being the old field from[i] with its own pin (and so its links), name,
  // type and channel. An entry outside the old fields, or naming one that
  // an earlier entry took, gives a new field (bit, unconnected, unnamed,
  // channel 0); a null from gives n new fields. Old fields that no entry
  // names go: an input with its link, an output disconnected from every
  // input that read it. The body and pins follow as with SetSendFieldCount.
  // False, with nothing changed, when memory ran out.
  bool ArrangeSendFields(const int* from, int n);
  bool ArrangeReceiveFields(const int* from, int n);

  // Whether the bytes from the stream's position hold a whole record of this
  // class's interface part (the field lists and the base record), with
  // every count and type plausible. The position is the same afterwards.
  bool InterfaceRecordReadable(CStream* stream) const;

  // Fields, in this order.
  unsigned char fixedInputs;
  unsigned char fixedOutputs;
  unsigned char canReceive;
  unsigned char canSend;
  unsigned char enabled = 0;
  unsigned char sending = 0;
  unsigned char sequence = 0;
  unsigned char* sendChannels = nullptr;     // owned, one per sent field
  unsigned char* receiveChannels = nullptr;  // owned, one per received field
  int speed = 115200;                        // bits per second
  int bitsPerByte = 10;                      // line bits per byte
  unsigned int receiveFormat = 0;            // 0 accepts every packet
  unsigned int sendFormat = 0;
  double clock = 0;         // seconds since the last delivery; negative in the pause
  double period = 0.027;    // seconds between deliveries
  double transmitTime = 0;  // seconds the current transmission takes
  int transferBytes = 0;
  int channelCount = 0;
  unsigned char* channels = nullptr;    // owned: the distinct send channels
  SchPacket** packetSlots = nullptr;    // owned: one per channel, each holding a reference
  SchSignalSource signalSource = {nullptr, 0.0f};  // the outgoing set (owned) and 0
  SchSignalSource* incoming = nullptr;  // not owned; set before every pass

private:
  // Changes one list of fields; see SetSendFieldCount.
  bool SetFieldCount(bool send, int n);
  bool SetField(bool send, int i, const wchar_t* name, BeSignalType type, unsigned char channel);
  bool ArrangeFields(bool send, const int* from, int n);
  // Releases the slots' packets, the slots, the channel list and the set.
  void ReleaseRun();
  void Transmit(float dt);
  void StartTransmission();
  void Deliver();
  void Receive(const SchPacketSet* set);
};
