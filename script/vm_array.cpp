#include "script/vm_array.h"

#include <cstring>

#include "foundation/buffers.h"
#include "script/vm_engine.h"
#include "script/vm_live_counts.h"

VmArray::VmArray(VmEngine* e) : engine(e) {
  ++g_vmLiveCounts.arrays;
  engine->LinkArray(this);
}

VmArray::~VmArray() {
  ReleaseItems();
  FreeBuffer(items);
  engine->UnlinkArray(this);
  --g_vmLiveCounts.arrays;
}

void VmArray::ReleaseItems() {
  // Items are released from the last, and the count follows, so a release
  // that reaches back into this array sees only live items.
  while (count > 0) {
    --count;
    items[count].Release();
  }
}

bool VmArray::Reserve(int n) {
  if (n <= capacity_) return true;
  if (n > kMaxItems) return false;
  int grown = capacity_ < 8 ? 8 : capacity_ + capacity_ / 2;
  if (grown < n) grown = n;
  if (grown > kMaxItems) grown = kMaxItems;
  void* block = ReallocBuffer(items, static_cast<size_t>(grown) * sizeof(VmValue));
  if (!block) return false;
  items = static_cast<VmValue*>(block);
  capacity_ = grown;
  return true;
}

bool VmArray::Resize(int n) {
  if (n < 0 || n > kMaxItems) return false;
  if (n > count) {
    if (!Reserve(n)) return false;
    memset(static_cast<void*>(items + count), 0, static_cast<size_t>(n - count) * sizeof(VmValue));
    count = n;
    return true;
  }
  while (count > n) {
    --count;
    items[count].Release();
  }
  return true;
}

bool VmArray::PushBack(const VmValue& value) {
  if (!Reserve(count + 1)) return false;
  memset(static_cast<void*>(items + count), 0, sizeof(VmValue));
  ++count;
  items[count - 1].Assign(value);
  return true;
}

bool VmArray::PushBackMove(VmValue& value) {
  if (!Reserve(count + 1)) return false;
  memset(static_cast<void*>(items + count), 0, sizeof(VmValue));
  items[count].MoveFrom(value);
  ++count;
  return true;
}

void VmArray::PopBack(VmValue* out) {
  if (count == 0) {
    out->Release();
    return;
  }
  --count;
  out->MoveFrom(items[count]);
}

void VmArray::Release() {
  if (--refs <= 0) engine->DropArray(this);
}
