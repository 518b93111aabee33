#include "script/vm_variable.h"

#include <cwchar>
#include <new>

#include "foundation/buffers.h"
#include "script/vm_live_counts.h"

namespace {

// Freed variable blocks, linked through their first word.
struct FreeBlock {
  FreeBlock* next;
};
FreeBlock* g_freeVariables = nullptr;
int g_freeVariableCount = 0;
const int kMaxFreeVariables = 4096;

}  // namespace

uint32_t HashVmName(const wchar_t* name) {
  uint32_t h = 2166136261u;
  for (const wchar_t* p = name; p && *p; ++p) h = (h ^ static_cast<uint16_t>(*p)) * 16777619u;
  return h;
}

void* VmVariable::operator new(size_t size, const std::nothrow_t&) noexcept {
  if (g_freeVariables && size == sizeof(VmVariable)) {
    FreeBlock* b = g_freeVariables;
    g_freeVariables = b->next;
    --g_freeVariableCount;
    return b;
  }
  return AllocBuffer(size);
}

void* VmVariable::operator new(size_t size) {
  void* block = operator new(size, std::nothrow);
  if (!block) throw std::bad_alloc();
  return block;
}

void VmVariable::operator delete(void* block) {
  if (!block) return;
  if (g_freeVariableCount < kMaxFreeVariables) {
    FreeBlock* b = static_cast<FreeBlock*>(block);
    b->next = g_freeVariables;
    g_freeVariables = b;
    ++g_freeVariableCount;
    return;
  }
  FreeBuffer(block);
}

VmVariable::VmVariable() { ++g_vmLiveCounts.variables; }

VmVariable::VmVariable(const wchar_t* n) : VmVariable() { SetName(n); }

VmVariable::~VmVariable() {
  if (ownsName_) FreeBuffer(name);
  --g_vmLiveCounts.variables;
}

bool VmVariable::SetName(const wchar_t* n) {
  if (!ownsName_) name = nullptr;
  ownsName_ = true;
  ReplaceString(&name, n ? n : L"");
  hash = HashVmName(name);
  return name != nullptr;
}

void VmVariable::SetBorrowedName(const wchar_t* n, uint32_t h) {
  if (ownsName_) FreeBuffer(name);
  ownsName_ = false;
  name = const_cast<wchar_t*>(n);
  hash = h;
}

bool VmVariable::HasName(const wchar_t* n) const { return name && wcscmp(name, n) == 0; }

void DeleteVariableList(VmVariable* first) {
  while (first) {
    VmVariable* next = first->next;
    delete first;
    first = next;
  }
}

VmVariable* FindVariable(VmVariable* first, const wchar_t* n, uint32_t h) {
  for (VmVariable* v = first; v; v = v->next)
    if (v->hash == h && v->HasName(n)) return v;
  return nullptr;
}

VmVariable* FindVariable(VmVariable* first, const wchar_t* n) { return FindVariable(first, n, HashVmName(n)); }
