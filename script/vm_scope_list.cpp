#include "script/vm_scope_list.h"

#include <cstring>

#include "foundation/buffers.h"

bool VmScopeList::Push(const VmValue& value) {
  if (count_ >= kMaxEntries) return false;
  if (count_ == capacity_) {
    int grown = capacity_ ? capacity_ * 2 : 4;
    void* block = ReallocBuffer(items_, static_cast<size_t>(grown) * sizeof(VmValue));
    if (!block) return false;
    items_ = static_cast<VmValue*>(block);
    capacity_ = grown;
  }
  memset(static_cast<void*>(items_ + count_), 0, sizeof(VmValue));
  items_[count_++].Assign(value);
  return true;
}

void VmScopeList::Pop() {
  if (count_ > 0) items_[--count_].Release();
}

void VmScopeList::ClearAll() {
  while (count_ > 0) Pop();
  FreeBuffer(items_);
  items_ = nullptr;
  capacity_ = 0;
}
