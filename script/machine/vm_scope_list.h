// The values named by the with statements that are open in one call (or at
// the top level), oldest first. Each entry holds its own copy of the value,
// so an object or array named by a with lives as long as the with.
#pragma once

#include "script/values/vm_value.h"

class VmScopeList {
public:
  VmScopeList() {}
  ~VmScopeList() { Clear(); }
  VmScopeList(const VmScopeList&) = delete;
  VmScopeList& operator=(const VmScopeList&) = delete;

  // Appends a copy of the value; false when memory ran out or the list
  // already holds kMaxEntries.
  bool Push(const VmValue& value);
  // Drops the last entry; nothing when the list is empty.
  void Pop();
  void Clear() {
    if (items_) ClearAll();
  }

  int Count() const { return count_; }
  VmValue& At(int i) { return items_[i]; }

  static constexpr int kMaxEntries = 4096;

private:
  static constexpr int kFirstRoom = 4;
  void ClearAll();
  int count_ = 0;
  int capacity_ = 0;
  VmValue* items_ = nullptr;
};
