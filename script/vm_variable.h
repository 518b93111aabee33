// A named value: a global, a local of a call or a property of an object.
#pragma once

#include "script/vm_value.h"

class VmVariable {
public:
  VmVariable();
  explicit VmVariable(const wchar_t* name);
  ~VmVariable();  // frees the name and releases the value
  VmVariable(const VmVariable&) = delete;
  VmVariable& operator=(const VmVariable&) = delete;

  // Stores a copy of the name; false when memory ran out (the name is then
  // empty).
  bool SetName(const wchar_t* name);
  bool HasName(const wchar_t* name) const;

  wchar_t* name = nullptr;
  VmValue value;
  VmVariable* next = nullptr;
};

// Deletes a list of variables linked by next.
void DeleteVariableList(VmVariable* first);
// The first variable of the list with exactly that name, or null.
VmVariable* FindVariable(VmVariable* first, const wchar_t* name);
