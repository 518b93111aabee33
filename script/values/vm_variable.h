// A named value: a global, a local of a call or a property of an object.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

#include "foundation/buffers.h"
#include "script/machine/vm_block_pool.h"
#include "script/machine/vm_live_counts.h"
#include "script/values/vm_value.h"

// The hash by which names are compared before their texts.
uint32_t HashVmName(const wchar_t* name);

class VmVariable {
public:
  VmVariable() { ++g_vmLiveCounts.variables; }
  explicit VmVariable(const wchar_t* name);
  ~VmVariable() {  // frees an owned name and releases the value
    if (ownsName_ && name) FreeBuffer(name);
    --g_vmLiveCounts.variables;
  }
  VmVariable(const VmVariable&) = delete;
  VmVariable& operator=(const VmVariable&) = delete;

  // Stores a copy of the name; false when memory ran out (the name is then
  // empty).
  bool SetName(const wchar_t* name);
  // Uses a name that outlives the variable (an argument name of the
  // function whose call the variable is a local of), without a copy.
  void SetBorrowedName(const wchar_t* borrowed, uint32_t h) {
    if (ownsName_ && name) FreeBuffer(name);
    ownsName_ = false;
    name = const_cast<wchar_t*>(borrowed);
    hash = h;
  }
  bool HasName(const wchar_t* name) const;

  // Variables come and go with every call: freed blocks are kept for reuse.
  static void* operator new(size_t size) {
    void* block = g_vmVariablePool.Take(size);
    if (!block) throw std::bad_alloc();
    return block;
  }
  static void* operator new(size_t size, const std::nothrow_t&) noexcept { return g_vmVariablePool.Take(size); }
  static void operator delete(void* block) { g_vmVariablePool.Give(block); }

  wchar_t* name = nullptr;
  VmValue value;
  VmVariable* next = nullptr;
  uint32_t hash = 0;

private:
  bool ownsName_ = true;
};

// Deletes a list of variables linked by next.
inline void DeleteVariableList(VmVariable* first) {
  while (first) {
    VmVariable* next = first->next;
    delete first;
    first = next;
  }
}
// Whether a variable's name (null: none, which matches nothing) is exactly
// name.
inline bool SameVmName(const wchar_t* own, const wchar_t* name) {
  if (!own) return false;
  while (*own && *own == *name) ++own, ++name;
  return *own == *name;
}
// The first variable of the list with exactly that name, or null.
VmVariable* FindVariable(VmVariable* first, const wchar_t* name);
inline VmVariable* FindVariable(VmVariable* first, const wchar_t* name, uint32_t hash) {
  for (VmVariable* v = first; v; v = v->next) {
    if (v->hash == hash && SameVmName(v->name, name)) return v;
  }
  return nullptr;
}
