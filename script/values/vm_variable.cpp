#include "script/values/vm_variable.h"

#include <cwchar>
#include <new>

#include "foundation/buffers.h"
#include "script/machine/vm_live_counts.h"

VmBlockPool<4096> g_vmVariablePool;

uint32_t HashVmName(const wchar_t* name) {
  uint32_t h = 2166136261u;
  for (const wchar_t* p = name; p && *p; ++p) h = (h ^ static_cast<uint16_t>(*p)) * 16777619u;
  return h;
}

VmVariable::VmVariable(const wchar_t* n) : VmVariable() { SetName(n); }

bool VmVariable::SetName(const wchar_t* n) {
  if (!ownsName_) name = nullptr;
  ownsName_ = true;
  ReplaceString(&name, n ? n : L"");
  hash = HashVmName(name);
  return name != nullptr;
}

bool VmVariable::HasName(const wchar_t* n) const { return name && wcscmp(name, n) == 0; }

VmVariable* FindVariable(VmVariable* first, const wchar_t* n) { return FindVariable(first, n, HashVmName(n)); }
