#include "scheme/simulation/packet_set.h"

#include <cstring>

#include "foundation/buffers.h"
#include "foundation/plain_array.h"
#include "scheme/simulation/packet.h"

SchPacketSet::~SchPacketSet() {
  for (int i = 0; i < count; ++i) packets[i]->Release();
  FreeBuffer(packets);
}

int SchPacketSet::FindId(int id) const {
  for (int i = 0; i < count; ++i)
    if (packets[i]->id == id) return i;
  return -1;
}

bool SchPacketSet::Append(SchPacket* packet) {
  // The list grows in steps of 4 entries.
  if (!ResizeSteppedArray(&packets, count, count + 1, 4)) return false;
  packet->AddRef();
  packets[count++] = packet;
  return true;
}

bool SchPacketSet::Put(SchPacket* packet) {
  int i = FindId(packet->id);
  if (i < 0) return Append(packet);
  if (packets[i] != packet) {
    packet->AddRef();
    packets[i]->Release();
    packets[i] = packet;
  }
  return true;
}

void SchPacketSet::RemoveAt(int index) {
  if (index < 0 || index >= count) return;
  packets[index]->Release();
  memmove(packets + index, packets + index + 1, sizeof(SchPacket*) * (count - index - 1));
  --count;
}

SchPacketSet* SchPacketSet::Clone(const SchPacketSet* set) {
  if (!set) return nullptr;
  SchPacketSet* copy = new SchPacketSet;
  for (int i = 0; i < set->count; ++i) {
    if (!copy->Append(set->packets[i])) {
      delete copy;
      return nullptr;
    }
  }
  return copy;
}

bool SchPacketSet::Equals(const SchPacketSet* other) const {
  if (other == this) return true;
  if (!other || other->count != count) return false;
  for (int i = 0; i < count; ++i)
    if (packets[i] != other->packets[i]) return false;
  return true;
}

namespace {
// Takes every packet of from that to lacks or holds in an older version.
void TakeNewer(SchPacketSet* to, const SchPacketSet* from) {
  for (int i = 0; i < from->count; ++i) {
    SchPacket* p = from->packets[i];
    int j = to->FindId(p->id);
    if (j < 0) {
      to->Append(p);
    } else if (static_cast<signed char>(p->sequence - to->packets[j]->sequence) > 0) {
      to->Put(p);
    }
  }
}
}  // namespace

void SchPacketSet::Merge(SchPacketSet* other) {
  if (!other || other == this) return;
  TakeNewer(this, other);
  TakeNewer(other, this);
}
