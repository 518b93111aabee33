// The live payloads that message values name. Several signal types carry an
// object in the eight-byte value of a pin (a camera frame, a scan sector, a
// local map, a navigation fix, inertial data, a sound clip; device packets
// likewise): bytes 4-7 of such a value hold a 32-bit handle into this table
// instead of an address, so the value has the same bytes and meaning at both
// widths, and a handle whose payload has gone resolves to nothing instead of
// to freed memory. The rest of the value (counter, tag, other bytes) is the
// producer's, as its signal type lays it out.
//
// A handle names a slot (low 16 bits, 1-based) and the slot's generation
// (high 16 bits, never 0), so 0 is never a live handle. Releasing a slot
// advances its generation: every handle issued for it before goes stale.
//
// Payloads are released by their producer (Release), when their owner goes
// (CBEBlock's destructor releases what a block owns; a component that owns
// payloads calls ReleaseOwner from its own destructor), and when the block
// scheme whose block owns them stops (BeScheme::Stop).
//
//   BePayloadHandle h = BePayloadTable::Program().Add(&frame, this);
//   BePutPayloadHandle(Output(0)->value, h);           // producer
//   auto* f = static_cast<Frame*>(BeResolvePayload(source->value));  // consumer
//   if (!f) ...                                        // no data
#pragma once

#include <cstdint>

typedef uint32_t BePayloadHandle;
const BePayloadHandle kNoPayload = 0;

// Called with the payload when its slot is released, for payloads whose
// producer hands their ownership to the table; may be null.
typedef void (*BePayloadRelease)(void* payload);

class BePayloadTable {
public:
  // Slots a table can hold at once.
  static const int kMaxSlots = 0xFFFF;

  BePayloadTable() {}
  // Releases every live payload.
  ~BePayloadTable();
  BePayloadTable(const BePayloadTable&) = delete;
  BePayloadTable& operator=(const BePayloadTable&) = delete;

  // Registers a payload for owner (any object whose going ends the payload:
  // a block, a component; null for none). Answers its handle, or
  // kNoPayload for a null payload, a full table or refused memory; the
  // table then takes nothing (release is not called).
  BePayloadHandle Add(void* payload, const void* owner, BePayloadRelease release = nullptr);
  // The payload a handle names; null for kNoPayload and for a handle whose
  // slot was released since, or was never issued.
  void* Resolve(BePayloadHandle handle) const;
  // The owner of a live handle's payload (null when the handle is stale).
  const void* OwnerOf(BePayloadHandle handle) const;
  // Releases the handle's slot (its release function runs); false for a
  // stale handle, which changes nothing.
  bool Release(BePayloadHandle handle);
  // Releases every payload of owner; answers how many. Cheap when the
  // table holds nothing.
  int ReleaseOwner(const void* owner);
  // Releases every payload. The slots stay, with their generations
  // advanced, so no handle issued before resolves again.
  void ReleaseAll();

  int LiveCount() const { return live_; }
  int SlotCount() const { return count_; }

  // The program's own table, which pin values name.
  static BePayloadTable& Program();

private:
  struct Slot {
    void* payload;  // null while free
    const void* owner;
    BePayloadRelease release;
    uint32_t generation;  // 1..0xFFFF
    int nextFree;         // the next free slot, -1 at the end
  };
  int IndexOf(BePayloadHandle handle) const;
  void FreeSlot(int index);

  Slot* slots_ = nullptr;
  int count_ = 0;
  int capacity_ = 0;
  int freeHead_ = -1;
  int live_ = 0;
};

// Bytes 4-7 of an eight-byte pin value, little-endian.
void BePutPayloadHandle(unsigned char* value, BePayloadHandle handle);
BePayloadHandle BeGetPayloadHandle(const unsigned char* value);
// The payload that bytes 4-7 of the value name in the program's table; null
// when the handle is 0 or stale.
void* BeResolvePayload(const unsigned char* value);
