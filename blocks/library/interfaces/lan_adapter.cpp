#include "blocks/library/interfaces/lan_adapter.h"

#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/device_owner.h"
#include "blocks/library/interfaces/com_port.h"
#include "foundation/stream.h"
#include "scheme/model/block.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/packet_set.h"
#include "scheme/simulation/pin_model.h"

namespace {
// The net of an owner pin; null for no owner, a pin out of range or an
// unwired pin.
SchNet* NetOfPin(const CBEBlock* block, int pin) {
  CSCHBlock* owner = GetOwnerComponent(block);
  if (!owner || pin < 0 || pin >= owner->pinCount) return nullptr;
  return owner->pins[pin].net;
}
}  // namespace

CBELAN::CBELAN() : CBEInterfaceDevice(0, 0, true, true) {
  enabled = 1;
  flags = kBeBlockDevice;
  rect.bottom = rect.top + kPortHeight;
  fillColor = kPortFill;
  speed = kLanSpeed;
  bitsPerByte = kLanBitsPerByte;
}

CBELAN::~CBELAN() { LeaveNet(); }

CBEBlock* CBELAN::Create() { return new (std::nothrow) CBELAN; }

int CBELAN::NetKind() const { return kSchSourceEthernet; }

void CBELAN::Step(float dt) {
  SchNet* net = NetOfPin(this, pinIndex);
  const int kind = NetKind();
  incoming = nullptr;
  if (net && net->sourceKind == kind && net->source && net->source->packets) incoming = net->source;
  // The set is read now: the merge below may replace its packets.
  SchPacketSet* theirs = incoming ? incoming->packets : nullptr;
  CBEInterfaceDevice::Step(dt);
  if (theirs && signalSource.packets) signalSource.packets->Merge(theirs);
  if (net) {
    if (sourcePin_ >= 0 && sourcePin_ != pinIndex) LeaveNet();
    net->sourceKind = kind;
    net->source = &signalSource;
    sourcePin_ = pinIndex;
  }
}

void CBELAN::Stop() {
  LeaveNet();
  CBEInterfaceDevice::Stop();
}

void CBELAN::LeaveNet() {
  SchNet* net = NetOfPin(this, sourcePin_);
  if (net && net->source == &signalSource) {
    net->sourceKind = kSchSourceOwnWeight;
    net->source = nullptr;
  }
  sourcePin_ = -1;
}

void CBELAN::Save(CStream* stream) {
  stream->WriteByte(pinIndex & 0xFF);
  CBEInterfaceDevice::Save(stream);
}

bool CBELAN::Load(CStream* stream) {
  unsigned char pin;
  if (!ReadByteChecked(stream, &pin) || !InterfaceRecordReadable(stream)) return false;
  pinIndex = pin;
  return CBEInterfaceDevice::Load(stream);
}

bool CBELAN::ShowProperties() { return ShowBlockDialog(this, kBeLANClassId); }
