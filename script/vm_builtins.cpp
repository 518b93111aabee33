// The globals every script starts with.
#include <new>

#include "script/vm_engine.h"
#include "script/vm_variable.h"

namespace {

VmVariable* NewGlobal(VmEngine* engine, const wchar_t* name) {
  VmVariable* v = new (std::nothrow) VmVariable();
  if (!v) return nullptr;
  if (!v->SetName(name)) {
    delete v;
    return nullptr;
  }
  engine->AddGlobal(v);
  return v;
}

}  // namespace

void VmEngine::RegisterBuiltins() {
  Reset();
  if (VmVariable* v = NewGlobal(this, L"true")) v->value.SetBool(true);
  if (VmVariable* v = NewGlobal(this, L"false")) v->value.SetBool(false);
  NewGlobal(this, L"null");  // holds undefined
}
