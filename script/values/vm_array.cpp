#include "script/values/vm_array.h"

#include <cstring>

#include "script/machine/vm_engine.h"
#include "script/machine/vm_live_counts.h"
#include "script/values/vm_value_storage.h"

VmArray::VmArray(VmEngine* e) : engine(e) {
  ++g_vmLiveCounts.arrays;
  engine->LinkArray(this);
}

VmArray::~VmArray() {
  ReleaseItems();
  FreeValueStorage(&items, &capacity_);
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
  if (n > kMaxItems) return false;
  // Doubling from 8 stays a power of two, so the room never passes
  // kMaxItems (itself a power of two).
  return GrowValueStorage(&items, &capacity_, n, kFirstRoom);
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
  int own = ValueStorageIndex(items, count, &value);  // an item of this array moves
  if (!Reserve(count + 1)) return false;
  memset(static_cast<void*>(items + count), 0, sizeof(VmValue));
  ++count;
  items[count - 1].Assign(own >= 0 ? items[own] : value);
  return true;
}

bool VmArray::PushBackMove(VmValue& value) {
  int own = ValueStorageIndex(items, count, &value);  // an item of this array moves
  if (!Reserve(count + 1)) return false;
  memset(static_cast<void*>(items + count), 0, sizeof(VmValue));
  items[count].MoveFrom(own >= 0 ? items[own] : value);
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
