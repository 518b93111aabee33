#include "script/machine/vm_scope_list.h"

#include <cstring>

#include "script/values/vm_value_storage.h"

bool VmScopeList::Push(const VmValue& value) {
  if (count_ >= kMaxEntries) return false;
  int own = ValueStorageIndex(items_, count_, &value);  // an entry of this list moves
  if (!GrowValueStorage(&items_, &capacity_, count_ + 1, kFirstRoom)) return false;
  memset(static_cast<void*>(items_ + count_), 0, sizeof(VmValue));
  items_[count_++].Assign(own >= 0 ? items_[own] : value);
  return true;
}

void VmScopeList::Pop() {
  if (count_ > 0) items_[--count_].Release();
}

void VmScopeList::ClearAll() {
  while (count_ > 0) Pop();
  FreeValueStorage(&items_, &capacity_);
}
