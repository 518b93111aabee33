// A named value: a global, a local of a call or a property of an object.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

#include "script/vm_value.h"

// The hash by which names are compared before their texts.
uint32_t HashVmName(const wchar_t* name);

class VmVariable {
public:
  VmVariable();
  explicit VmVariable(const wchar_t* name);
  ~VmVariable();  // frees an owned name and releases the value
  VmVariable(const VmVariable&) = delete;
  VmVariable& operator=(const VmVariable&) = delete;

  // Stores a copy of the name; false when memory ran out (the name is then
  // empty).
  bool SetName(const wchar_t* name);
  // Uses a name that outlives the variable (an argument name of the
  // function whose call the variable is a local of), without a copy.
  void SetBorrowedName(const wchar_t* name, uint32_t hash);
  bool HasName(const wchar_t* name) const;

  // Variables come and go with every call: freed blocks are kept for reuse.
  static void* operator new(size_t size);
  static void* operator new(size_t size, const std::nothrow_t&) noexcept;
  static void operator delete(void* block);

  wchar_t* name = nullptr;
  VmValue value;
  VmVariable* next = nullptr;
  uint32_t hash = 0;

private:
  bool ownsName_ = true;
};

// Deletes a list of variables linked by next.
void DeleteVariableList(VmVariable* first);
// The first variable of the list with exactly that name, or null.
VmVariable* FindVariable(VmVariable* first, const wchar_t* name);
VmVariable* FindVariable(VmVariable* first, const wchar_t* name, uint32_t hash);
