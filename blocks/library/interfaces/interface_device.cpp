#include "blocks/library/interfaces/interface_device.h"

#include <cstdint>
#include <cstring>
#include <new>

#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/base_record.h"
#include "blocks/library/record_scan.h"
#include "blocks/library/typed_block.h"
#include "foundation/buffers.h"
#include "foundation/plain_array.h"
#include "foundation/stream.h"
#include "scheme/simulation/packet.h"
#include "scheme/simulation/packet_set.h"

namespace {

// The largest value a field carries (a double, or a message value).
const int kMaxValueBytes = 8;

void FreePinName(const wchar_t** name) {
  FreeBuffer(const_cast<wchar_t*>(*name));
  *name = nullptr;
}

// Reads one list's count and fields without keeping them; false for a cut
// list, a count outside 0..kMaxInterfaceFields or a type that is no
// concrete signal type.
bool ScanFieldList(CStream* stream, int* count) {
  int n;
  if (!ReadInt32Checked(stream, &n) || n < 0 || n > kMaxInterfaceFields) return false;
  for (int i = 0; i < n; ++i) {
    unsigned char type, channel;
    if (!SkipStringW(stream) || !ReadByteChecked(stream, &type) || type > kBeLastConcreteSignalType ||
        !ReadByteChecked(stream, &channel))
      return false;
  }
  *count = n;
  return true;
}

}  // namespace

CBEInterfaceDevice::CBEInterfaceDevice(int fixedIn, int fixedOut, bool receives, bool sends)
    : fixedInputs(static_cast<unsigned char>(fixedIn)),
      fixedOutputs(static_cast<unsigned char>(fixedOut)),
      canReceive(receives ? 1 : 0),
      canSend(sends ? 1 : 0) {
  rect.right = rect.left + kInterfaceDeviceWidth;
  SetInputCount(fixedInputs);
  SetOutputCount(fixedOutputs);
}

CBEInterfaceDevice::~CBEInterfaceDevice() {
  ReleaseRun();
  // Shrinking never needs memory, so both always succeed.
  SetFieldCount(true, 0);
  SetFieldCount(false, 0);
}

BeInputPin* CBEInterfaceDevice::SendField(int i) const {
  return i >= 0 && i < SendFieldCount() ? inputs[fixedInputs + i] : nullptr;
}

BeOutputPin* CBEInterfaceDevice::ReceiveField(int i) const {
  return i >= 0 && i < ReceiveFieldCount() ? outputs[fixedOutputs + i] : nullptr;
}

bool CBEInterfaceDevice::SetSendFieldCount(int n) { return SetFieldCount(true, n); }
bool CBEInterfaceDevice::SetReceiveFieldCount(int m) { return SetFieldCount(false, m); }

bool CBEInterfaceDevice::SetFieldCount(bool send, int n) {
  if (n < 0) n = 0;
  if (n > kMaxInterfaceFields) return false;
  const int fixed = send ? fixedInputs : fixedOutputs;
  const int old = send ? SendFieldCount() : ReceiveFieldCount();
  unsigned char** channelSlot = send ? &sendChannels : &receiveChannels;
  if (!ResizeSteppedArray(channelSlot, old, n)) return false;
  // New entries are zeroed: channel 0.
  if (n < old) {
    for (int i = fixed + n; i < fixed + old; ++i) {
      if (send) FreePinName(&inputs[i]->name);
      else FreePinName(&outputs[i]->name);
    }
  }
  const int other = send ? outputCount : inputCount;
  int rows = fixed + n;
  if (rows < other) rows = other;
  if (rows < 1) rows = 1;
  RECT was = rect;
  rect.bottom = rect.top + kInterfaceFieldPitch * rows;
  bool resized = send ? SetInputCount(fixed + n) : SetOutputCount(fixed + n);
  if (!resized) {
    // Only growing needs memory, so no name was freed.
    rect = was;
    ResizeSteppedArray(channelSlot, n, old);
    SpreadInputs();
    SpreadOutputs();
    return false;
  }
  if (send) SpreadOutputs();
  else SpreadInputs();
  return true;
}

bool CBEInterfaceDevice::SetSendField(int i, const wchar_t* name, BeSignalType type, unsigned char channel) {
  return SetField(true, i, name, type, channel);
}

bool CBEInterfaceDevice::SetReceiveField(int i, const wchar_t* name, BeSignalType type,
                                         unsigned char channel) {
  return SetField(false, i, name, type, channel);
}

bool CBEInterfaceDevice::SetField(bool send, int i, const wchar_t* name, BeSignalType type,
                                  unsigned char channel) {
  BeInputPin* input = send ? SendField(i) : nullptr;
  BeOutputPin* output = send ? nullptr : ReceiveField(i);
  if (!input && !output) return false;
  const wchar_t** nameSlot;
  if (input) {
    ChangeInputType(input, type);
    sendChannels[i] = channel;
    nameSlot = &input->name;
  } else {
    ChangeOutputType(output, type);
    receiveChannels[i] = channel;
    nameSlot = &output->name;
  }
  FreePinName(nameSlot);
  if (!name || !*name) return true;
  *nameSlot = DupString(name);
  return *nameSlot != nullptr;
}

bool CBEInterfaceDevice::ArrangeSendFields(const int* from, int n) { return ArrangeFields(true, from, n); }
bool CBEInterfaceDevice::ArrangeReceiveFields(const int* from, int n) { return ArrangeFields(false, from, n); }

bool CBEInterfaceDevice::ArrangeFields(bool send, const int* from, int n) {
  if (n < 0) n = 0;
  if (n > kMaxInterfaceFields) return false;
  const int fixed = send ? fixedInputs : fixedOutputs;
  const int old = send ? SendFieldCount() : ReceiveFieldCount();
  const int total = n > old ? n : old;
  // Per place: the pin there (after growing), its channel, whether an entry
  // keeps the old field, and which old field each new place takes.
  void** pins = static_cast<void**>(AllocBuffer(sizeof(void*) * (total + 1)));
  void** order = static_cast<void**>(AllocBuffer(sizeof(void*) * (total + 1)));
  int* source = static_cast<int*>(AllocBuffer(sizeof(int) * (total + 1)));
  unsigned char* taken = static_cast<unsigned char*>(AllocBuffer(total + 1));
  unsigned char* kept = static_cast<unsigned char*>(AllocBuffer(total + 1));
  bool ok = pins && order && source && taken && kept;
  if (ok) {
    memset(taken, 0, total + 1);
    for (int i = 0; i < n; ++i) {
      int k = from ? from[i] : -1;
      source[i] = k >= 0 && k < old && !taken[k] ? k : -1;
      if (source[i] >= 0) taken[source[i]] = 1;
    }
    // Growing is the only step that needs memory: it comes first.
    if (n > old) ok = SetFieldCount(send, n);
  }
  if (!ok) {
    FreeBuffer(pins);
    FreeBuffer(order);
    FreeBuffer(source);
    FreeBuffer(taken);
    FreeBuffer(kept);
    return false;
  }
  unsigned char* channelsOf = send ? sendChannels : receiveChannels;
  for (int k = 0; k < total; ++k) {
    pins[k] = send ? static_cast<void*>(inputs[fixed + k]) : static_cast<void*>(outputs[fixed + k]);
    kept[k] = k < old ? channelsOf[k] : 0;
  }
  // Pins no entry keeps serve the new fields, then go at the end.
  int spare = 0;
  auto nextSpare = [&]() {
    while (spare < total && spare < old && taken[spare]) ++spare;
    return spare < total ? spare++ : -1;
  };
  for (int i = 0; i < n; ++i) {
    if (source[i] >= 0) {
      order[i] = pins[source[i]];
      channelsOf[i] = kept[source[i]];
      continue;
    }
    int k = nextSpare();
    order[i] = pins[k];
    channelsOf[i] = 0;
    if (send) {
      auto* input = static_cast<BeInputPin*>(order[i]);
      FreePinName(&input->name);
      input->source = nullptr;
      input->savedSource = 0;
      input->type = kBeSignalBit;
    } else {
      auto* output = static_cast<BeOutputPin*>(order[i]);
      FreePinName(&output->name);
      output->Disconnect();
      output->type = kBeSignalBit;
      memset(output->value, 0, sizeof output->value);
    }
  }
  for (int i = n; i < total; ++i) order[i] = pins[nextSpare()];
  for (int k = 0; k < total; ++k) {
    if (send) inputs[fixed + k] = static_cast<BeInputPin*>(order[k]);
    else outputs[fixed + k] = static_cast<BeOutputPin*>(order[k]);
  }
  FreeBuffer(pins);
  FreeBuffer(order);
  FreeBuffer(source);
  FreeBuffer(taken);
  FreeBuffer(kept);
  // Shrinking frees the surplus pins' names and destroys them (outputs
  // disconnected); it needs no memory. The same count spreads the pins.
  SetFieldCount(send, n);
  SpreadInputs();
  SpreadOutputs();
  return true;
}

// ------------------------------------------------------------ the run

void CBEInterfaceDevice::Start() {
  // A run that was never stopped leaves nothing behind.
  ReleaseRun();
  const int n = SendFieldCount();
  const int m = ReceiveFieldCount();
  for (int i = 0; i < n; ++i)
    if (sendChannels[i] == kRobotChannel) sendChannels[i] = BeRobotNumber;
  for (int i = 0; i < m; ++i)
    if (receiveChannels[i] == kRobotChannel) receiveChannels[i] = BeRobotNumber;
  clock = 0;

  channelCount = 0;
  if (n > 0) {
    channels = static_cast<unsigned char*>(AllocBuffer(n));
    packetSlots = static_cast<SchPacket**>(AllocBuffer(sizeof(SchPacket*) * n));
    if (!channels || !packetSlots) {
      // Without memory for its list the block sends no packet this run.
      FreeBuffer(channels);
      FreeBuffer(packetSlots);
      channels = nullptr;
      packetSlots = nullptr;
    } else {
      bool seen[256] = {};
      for (int i = 0; i < n; ++i) {
        unsigned char c = sendChannels[i];
        if (seen[c]) continue;
        seen[c] = true;
        packetSlots[channelCount] = nullptr;
        channels[channelCount++] = c;
      }
    }
  }

  transferBytes = 0;
  for (int i = 0; i < n; ++i) transferBytes += GetSignalTransferSize(SendField(i)->type);
  signalSource.packets = new (std::nothrow) SchPacketSet;
  signalSource.weight = 0;
  incoming = nullptr;
}

void CBEInterfaceDevice::Stop() { ReleaseRun(); }

void CBEInterfaceDevice::ReleaseRun() {
  for (int i = 0; i < channelCount; ++i) {
    if (packetSlots[i]) packetSlots[i]->Release();
  }
  FreeBuffer(packetSlots);
  FreeBuffer(channels);
  packetSlots = nullptr;
  channels = nullptr;
  channelCount = 0;
  delete signalSource.packets;
  signalSource.packets = nullptr;
  incoming = nullptr;
}

void CBEInterfaceDevice::Step(float dt) {
  if (!enabled) return;
  // A line without speed (a damaged record) carries nothing, and no time is
  // divided by it.
  if (canSend && signalSource.packets && speed > 0) Transmit(dt);
  if (canReceive && incoming && incoming->packets) Receive(incoming->packets);
}

void CBEInterfaceDevice::Transmit(float dt) {
  clock += dt;
  if (!sending && clock >= 0) StartTransmission();
  else sending = 0;
  if (sending && transmitTime <= clock) Deliver();
}

void CBEInterfaceDevice::StartTransmission() {
  ++sequence;
  for (int c = 0; c < channelCount; ++c) {
    if (packetSlots[c]) packetSlots[c]->Release();
    SchPacket* packet = new (std::nothrow) SchPacket;
    // A packet that could not be made is not sent; its fields are skipped.
    if (packet) {
      packet->id = channels[c];
      packet->sequence = sequence;
      packet->format = static_cast<int>(sendFormat);
      packet->AddRef();
    }
    packetSlots[c] = packet;
  }
  static const unsigned char kZeros[kMaxValueBytes] = {};
  const int n = SendFieldCount();
  for (int i = 0; i < n; ++i) {
    const BeInputPin* field = SendField(i);
    int size = GetSignalValueSize(field->type);
    if (size <= 0) continue;
    if (size > kMaxValueBytes) size = kMaxValueBytes;
    SchPacket* packet = nullptr;
    for (int c = 0; c < channelCount; ++c) {
      if (channels[c] == sendChannels[i]) {
        packet = packetSlots[c];
        break;
      }
    }
    if (!packet) continue;
    // A payload that could not grow stays short; a receiver fills its
    // fields partly from a short packet.
    packet->payload.Write(field->source ? field->source->value : kZeros, size);
  }
  sending = 1;
  int64_t lineBits = static_cast<int64_t>(transferBytes) * bitsPerByte;
  transmitTime = static_cast<double>(lineBits) / speed;
}

void CBEInterfaceDevice::Deliver() {
  SchPacketSet* set = signalSource.packets;
  for (int c = 0; c < channelCount; ++c) {
    SchPacket* packet = packetSlots[c];
    if (!packet) continue;
    // Put takes its own reference; a set that cannot grow misses the packet.
    set->Put(packet);
    packet->Release();
    packetSlots[c] = nullptr;
  }
  clock = -period;
}

void CBEInterfaceDevice::Receive(const SchPacketSet* set) {
  const int m = ReceiveFieldCount();
  for (int k = 0; k < set->count; ++k) {
    SchPacket* packet = set->packets[k];
    if (receiveFormat != 0 && receiveFormat != static_cast<unsigned int>(packet->format)) continue;
    // The payload is rewound when a field of its channel is found, so a
    // packet for none of the fields is not read at all.
    bool rewound = false;
    for (int i = 0; i < m; ++i) {
      if (receiveChannels[i] != packet->id) continue;
      if (!rewound) {
        packet->payload.Seek(0, 0);
        rewound = true;
      }
      BeOutputPin* field = ReceiveField(i);
      int size = GetSignalValueSize(field->type);
      if (size <= 0) continue;
      if (size > kMaxValueBytes) size = kMaxValueBytes;
      unsigned char bytes[kMaxValueBytes];
      int got = packet->payload.Read(bytes, size);
      if (got > 0) memcpy(field->value, bytes, got);
    }
  }
}

// ------------------------------------------------------------ the record

void CBEInterfaceDevice::Save(CStream* stream) {
  const int n = SendFieldCount();
  stream->WriteInt32(n);
  for (int i = 0; i < n; ++i) {
    const BeInputPin* field = SendField(i);
    stream->WriteStringW(field->name);
    stream->WriteByte(field->type & 0xFF);
    stream->WriteByte(sendChannels[i]);
  }
  const int m = ReceiveFieldCount();
  stream->WriteInt32(m);
  for (int i = 0; i < m; ++i) {
    const BeOutputPin* field = ReceiveField(i);
    stream->WriteStringW(field->name);
    stream->WriteByte(field->type & 0xFF);
    stream->WriteByte(receiveChannels[i]);
  }
  CBEBlock::Save(stream);
}

bool CBEInterfaceDevice::InterfaceRecordReadable(CStream* stream) const {
  int start = stream->GetPosition();
  int n = 0, m = 0;
  bool ok = ScanFieldList(stream, &n) && ScanFieldList(stream, &m) &&
            BaseRecordFollows(stream, fixedInputs + n, fixedOutputs + m);
  stream->Seek(start, 0);
  return ok;
}

bool CBEInterfaceDevice::Load(CStream* stream) {
  if (!InterfaceRecordReadable(stream)) return false;
  // The record is whole: from here only memory can fail. The block then
  // stays consistent (pins, channels and names agree) and the read fails.
  bool named = true;
  for (int list = 0; list < 2; ++list) {
    const bool send = list == 0;
    int count = 0;
    ReadInt32Checked(stream, &count);
    if (!SetFieldCount(send, count)) return false;
    for (int i = 0; i < count; ++i) {
      wchar_t* name = nullptr;
      unsigned char type = 0, channel = 0;
      if (!ReadStringWChecked(stream, &name)) named = false;
      ReadByteChecked(stream, &type);
      ReadByteChecked(stream, &channel);
      if (send) {
        BeInputPin* field = SendField(i);
        FreePinName(&field->name);
        field->name = name;
        field->type = type;
        sendChannels[i] = channel;
      } else {
        BeOutputPin* field = ReceiveField(i);
        FreePinName(&field->name);
        field->name = name;
        field->type = type;
        receiveChannels[i] = channel;
      }
    }
  }
  return CBEBlock::Load(stream) && named;
}
