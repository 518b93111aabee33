#include "blocks/engine/payload_table.h"

#include "foundation/buffers.h"
#include "foundation/plain_array.h"

namespace {
const uint32_t kSlotBits = 16;
const uint32_t kSlotMask = 0xFFFF;
const uint32_t kLastGeneration = 0xFFFF;

BePayloadHandle MakeHandle(int index, uint32_t generation) {
  return (generation << kSlotBits) | static_cast<uint32_t>(index + 1);
}
}  // namespace

BePayloadTable::~BePayloadTable() {
  ReleaseAll();
  FreeBuffer(slots_);
  slots_ = nullptr;
  count_ = 0;
  capacity_ = 0;
  freeHead_ = -1;
}

BePayloadHandle BePayloadTable::Add(void* payload, const void* owner, BePayloadRelease release) {
  if (!payload) return kNoPayload;
  int index = freeHead_;
  if (index < 0) {
    if (count_ >= kMaxSlots) return kNoPayload;
    if (!ResizeGrowingArray(&slots_, &capacity_, count_ + 1)) return kNoPayload;
    index = count_++;
    slots_[index].generation = 1;
    slots_[index].nextFree = -1;
  } else {
    freeHead_ = slots_[index].nextFree;
  }
  Slot& slot = slots_[index];
  slot.payload = payload;
  slot.owner = owner;
  slot.release = release;
  slot.nextFree = -1;
  ++live_;
  return MakeHandle(index, slot.generation);
}

int BePayloadTable::IndexOf(BePayloadHandle handle) const {
  int index = static_cast<int>(handle & kSlotMask) - 1;
  if (index < 0 || index >= count_) return -1;
  const Slot& slot = slots_[index];
  if (!slot.payload || slot.generation != handle >> kSlotBits) return -1;
  return index;
}

void* BePayloadTable::Resolve(BePayloadHandle handle) const {
  int index = IndexOf(handle);
  return index < 0 ? nullptr : slots_[index].payload;
}

const void* BePayloadTable::OwnerOf(BePayloadHandle handle) const {
  int index = IndexOf(handle);
  return index < 0 ? nullptr : slots_[index].owner;
}

void BePayloadTable::FreeSlot(int index) {
  Slot& slot = slots_[index];
  void* payload = slot.payload;
  BePayloadRelease release = slot.release;
  slot.payload = nullptr;
  slot.owner = nullptr;
  slot.release = nullptr;
  slot.generation = slot.generation >= kLastGeneration ? 1 : slot.generation + 1;
  slot.nextFree = freeHead_;
  freeHead_ = index;
  --live_;
  // Last: the release function may use the table again (and move its slots).
  if (release) release(payload);
}

bool BePayloadTable::Release(BePayloadHandle handle) {
  int index = IndexOf(handle);
  if (index < 0) return false;
  FreeSlot(index);
  return true;
}

int BePayloadTable::ReleaseOwner(const void* owner) {
  if (live_ == 0) return 0;
  int released = 0;
  int end = count_;
  for (int i = 0; i < end && i < count_; ++i) {
    if (slots_[i].payload && slots_[i].owner == owner) {
      FreeSlot(i);
      ++released;
    }
  }
  return released;
}

void BePayloadTable::ReleaseAll() {
  int end = count_;
  for (int i = 0; i < end && i < count_ && live_ > 0; ++i) {
    if (slots_[i].payload) FreeSlot(i);
  }
}

BePayloadTable& BePayloadTable::Program() {
  static BePayloadTable table;
  return table;
}

void BePutPayloadHandle(unsigned char* value, BePayloadHandle handle) {
  for (int i = 0; i < 4; ++i) value[4 + i] = static_cast<unsigned char>(handle >> (8 * i));
}

BePayloadHandle BeGetPayloadHandle(const unsigned char* value) {
  BePayloadHandle handle = 0;
  for (int i = 0; i < 4; ++i) handle |= static_cast<BePayloadHandle>(value[4 + i]) << (8 * i);
  return handle;
}

void* BeResolvePayload(const unsigned char* value) {
  return value ? BePayloadTable::Program().Resolve(BeGetPayloadHandle(value)) : nullptr;
}
