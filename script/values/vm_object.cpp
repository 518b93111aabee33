#include "script/values/vm_object.h"

#include <new>

#include "script/machine/vm_engine.h"
#include "script/machine/vm_live_counts.h"
#include "script/values/vm_variable.h"

VmObject::VmObject(VmEngine* e) : engine(e) {
  ++g_vmLiveCounts.objects;
  engine->LinkObject(this);
}

VmObject::~VmObject() {
  DeleteProperties();
  engine->UnlinkObject(this);
  --g_vmLiveCounts.objects;
}

void VmObject::DeleteProperties() {
  // Unlinked one by one first, so a release that reaches back into this
  // object finds only the properties that still live.
  while (properties) {
    VmVariable* p = properties;
    properties = p->next;
    delete p;
  }
}

VmVariable* VmObject::FindProperty(const wchar_t* name) const { return FindVariable(properties, name); }

VmVariable* VmObject::FindProperty(const wchar_t* name, uint32_t hash) const {
  return FindVariable(properties, name, hash);
}

VmVariable* VmObject::AddProperty(const wchar_t* name) {
  VmVariable* p = new (std::nothrow) VmVariable();
  if (!p) return nullptr;
  if (!p->SetName(name)) {
    delete p;
    return nullptr;
  }
  p->next = properties;
  properties = p;
  return p;
}

void VmObject::Release() {
  if (--refs <= 0) engine->DropObject(this);
}
