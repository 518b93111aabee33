#include "script/vm_variable.h"

#include <cwchar>

#include "foundation/buffers.h"
#include "script/vm_live_counts.h"

VmVariable::VmVariable() { ++g_vmLiveCounts.variables; }

VmVariable::VmVariable(const wchar_t* n) : VmVariable() { SetName(n); }

VmVariable::~VmVariable() {
  FreeBuffer(name);
  --g_vmLiveCounts.variables;
}

bool VmVariable::SetName(const wchar_t* n) {
  ReplaceString(&name, n ? n : L"");
  return name != nullptr;
}

bool VmVariable::HasName(const wchar_t* n) const { return name && wcscmp(name, n) == 0; }

void DeleteVariableList(VmVariable* first) {
  while (first) {
    VmVariable* next = first->next;
    delete first;
    first = next;
  }
}

VmVariable* FindVariable(VmVariable* first, const wchar_t* n) {
  for (VmVariable* v = first; v; v = v->next)
    if (v->HasName(n)) return v;
  return nullptr;
}
