#include "script/machine/vm_engine.h"

#include <cstring>
#include <cwchar>
#include <new>

#include "foundation/buffers.h"
#include "foundation/plain_array.h"
#include "scheme/simulation/sim_log.h"
#include "script/compiler/vm_code.h"
#include "script/compiler/vm_messages.h"
#include "script/machine/vm_frame.h"
#include "script/machine/vm_function.h"
#include "script/values/vm_array.h"
#include "script/values/vm_object.h"
#include "script/values/vm_text.h"
#include "script/values/vm_variable.h"

VmEngine::VmEngine() : log_(&SimMessageLog::Global()) {}

VmEngine::~VmEngine() {
  Reset();
  ClearSites();
  FreeBuffer(code_);
}

VmEngine::Site* VmEngine::NewSite(int at) {
  if (!siteIndex_) {
    if (codeSize_ <= 0) return nullptr;
    siteIndex_ = static_cast<Site**>(AllocBuffer(static_cast<size_t>(codeSize_) * sizeof(Site*)));
    if (!siteIndex_) return nullptr;
    memset(static_cast<void*>(siteIndex_), 0, static_cast<size_t>(codeSize_) * sizeof(Site*));
    siteIndexSize_ = codeSize_;
  }
  if (at < 0 || at >= siteIndexSize_) return nullptr;
  if (!siteBlocks_ || siteBlocks_->used == kSitesPerBlock) {
    SiteBlock* block = static_cast<SiteBlock*>(AllocBuffer(sizeof(SiteBlock)));
    if (!block) return nullptr;
    block->next = siteBlocks_;
    block->used = 0;
    siteBlocks_ = block;
  }
  Site* site = &siteBlocks_->sites[siteBlocks_->used++];
  memset(static_cast<void*>(site), 0, sizeof(Site));
  siteIndex_[at] = site;
  return site;
}

void VmEngine::DropNewestSite(int at) {
  siteIndex_[at] = nullptr;
  --siteBlocks_->used;
}

void VmEngine::ClearSites() {
  while (siteBlocks_) {
    SiteBlock* block = siteBlocks_;
    for (int i = 0; i < block->used; ++i) {
      FreeBuffer(block->sites[i].name);
      if (block->sites[i].text) block->sites[i].text->Release();
    }
    siteBlocks_ = block->next;
    FreeBuffer(block);
  }
  FreeBuffer(siteIndex_);
  siteIndex_ = nullptr;
  siteIndexSize_ = 0;
}

void VmEngine::SetLog(SimMessageLog* log) { log_ = log ? log : &SimMessageLog::Global(); }

void VmEngine::Reset() {
  // While resetting, no count that falls to 0 deletes anything: every array
  // and object is deleted below, once, whatever holds it.
  resetting_ = true;
  while (stackTop_ >= 0) stack_[stackTop_--].Release();
  while (frame_) delete frame_;
  DeleteVariableList(globals_);
  globals_ = nullptr;
  scopes_.Clear();
  scratch_.Release();
  SetReceiverObject(nullptr);
  SetReceiverArray(nullptr);
  receiverString_.Release();
  for (VmArray* a = arrays_; a; a = a->next) a->ReleaseItems();
  for (VmObject* o = objects_; o; o = o->next) o->DeleteProperties();
  while (arrays_) delete arrays_;
  while (objects_) delete objects_;
  while (functions_) {
    CVMFunction* f = functions_;
    functions_ = f->next;
    delete f;
  }
  resetting_ = false;
  ClearSites();
  ++globalsVersion_;
  ++functionsVersion_;
  programCounter_ = 0;
  pauseFlag_ = -1;
  simulatedTime_ = 0;
}

bool VmEngine::SetCodeSize(int n) {
  if (n < 0) return false;
  ClearSites();
  // One byte more than the code: an end mark that the run loop meets
  // instead of comparing the program counter with the size each time.
  void* block = ReallocBuffer(code_, static_cast<size_t>(n) + 1);
  if (!block) return false;
  code_ = static_cast<unsigned char*>(block);
  if (n > codeSize_) memset(code_ + codeSize_, 0, n - codeSize_);
  code_[n] = kEndMark;
  codeSize_ = n;
  return true;
}

bool VmEngine::SetCode(const void* bytes, int n) {
  if (!SetCodeSize(n)) return false;
  if (n) memcpy(code_, bytes, n);
  return true;
}

void VmEngine::RaiseError(const wchar_t* message) {
  programCounter_ = -1;
  log_->AppendFormat(L"Ошибка в строке %d: %ls", line_, message ? message : L"");
}

void VmEngine::RaiseIndexError(int32_t index) {
  wchar_t text[64];
  swprintf(text, 64, kVmErrorBadIndex, index);
  RaiseError(text);
}

VmValue* VmEngine::StackOverflow() {
  RaiseError(kVmErrorStackOverflow);
  return nullptr;
}

bool VmEngine::StackDamaged() {
  RaiseError(kVmErrorStackDamaged);
  return false;
}

bool VmEngine::Push(VmValue& value, bool move) {
  VmValue* slot = PushSlot();
  if (!slot) return false;
  if (move) slot->MoveFrom(value);
  else slot->Assign(value);
  return true;
}

VmVariable* VmEngine::FindGlobal(const wchar_t* name) const { return FindVariable(globals_, name); }

void VmEngine::AddGlobal(VmVariable* variable) {
  ++globalsVersion_;
  variable->next = globals_;
  globals_ = variable;
}

CVMFunction* VmEngine::FindFunction(const wchar_t* className, const wchar_t* member) const {
  size_t nc = wcslen(className), nm = wcslen(member);
  if (nc + 1 + nm > static_cast<size_t>(kMaxDisplayNameChars)) return nullptr;
  wchar_t full[kMaxDisplayNameChars + 1];
  memcpy(full, className, nc * sizeof(wchar_t));
  full[nc] = L'.';
  memcpy(full + nc + 1, member, (nm + 1) * sizeof(wchar_t));
  for (CVMFunction* f = functions_; f; f = f->next)
    if (f->displayName && wcscmp(f->displayName, full) == 0) return f;
  return nullptr;
}

void VmEngine::SetReceiverObject(VmObject* o) {
  if (o) o->AddRef();
  if (receiverObject_) receiverObject_->Release();
  receiverObject_ = o;
}

void VmEngine::SetReceiverArray(VmArray* a) {
  if (a) a->AddRef();
  if (receiverArray_) receiverArray_->Release();
  receiverArray_ = a;
}

bool VmEngine::GetMember(const VmValue& value, const wchar_t* name, bool create, VmValue* outRef) {
  bool isLength = wcscmp(name, L"length") == 0 || wcscmp(name, L"count") == 0;
  return GetMemberHashed(value, name, HashVmName(name), isLength, create, outRef, nullptr);
}

CVMFunction* VmEngine::FindMethod(int kind, const wchar_t* name, Site* site) {
  if (site && site->methodKind == kind && site->functionsVersion == functionsVersion_) return site->method;
  CVMFunction* f = FindFunction(kind == VM_ARRAY ? L"Array" : L"String", name);
  if (site) {
    site->methodKind = kind;
    site->method = f;
    site->functionsVersion = functionsVersion_;
  }
  return f;
}

bool VmEngine::GetMemberHashed(const VmValue& value, const wchar_t* name, uint32_t hash, bool isLength, bool create,
                               VmValue* outRef, Site* site) {
  switch (value.type) {
    case VM_UNDEFINED:
    case VM_INTEGER:
    case VM_NUMBER:
    case VM_STRING: {
      int length = value.TextLength();
      receiverString_.Assign(value);
      if (isLength) {
        scratch_.SetInt(length);
      } else {
        CVMFunction* f = FindMethod(VM_STRING, name, site);
        if (!f) return false;
        scratch_.SetFunction(f);
      }
      outRef->SetReference(&scratch_);
      return true;
    }
    case VM_ARRAY: {
      VmArray* a = value.array;
      SetReceiverArray(a);
      if (isLength) {
        scratch_.SetInt(a->count);
      } else {
        CVMFunction* f = FindMethod(VM_ARRAY, name, site);
        if (!f) return false;
        scratch_.SetFunction(f);
      }
      outRef->SetReference(&scratch_);
      return true;
    }
    case VM_OBJECT: {
      VmObject* o = value.object;
      SetReceiverObject(o);
      VmVariable* p = o->FindProperty(name, hash);
      if (!p && create) {
        p = o->AddProperty(name);
        if (!p) {
          RaiseError(kVmErrorNoMemory);
          return false;
        }
      }
      if (!p) return false;
      outRef->SetPropertyReference(o, p);
      return true;
    }
    case VM_BOOLEAN:
      RaiseError(kVmErrorMachine);
      return false;
    default:
      return false;
  }
}

void VmEngine::LinkArray(VmArray* a) {
  a->previous = nullptr;
  a->next = arrays_;
  if (arrays_) arrays_->previous = a;
  arrays_ = a;
}

void VmEngine::UnlinkArray(VmArray* a) {
  if (a->dropped_) return;  // already out of the list
  if (a->previous) a->previous->next = a->next;
  else if (arrays_ == a) arrays_ = a->next;
  if (a->next) a->next->previous = a->previous;
  a->next = a->previous = nullptr;
}

void VmEngine::LinkObject(VmObject* o) {
  o->previous = nullptr;
  o->next = objects_;
  if (objects_) objects_->previous = o;
  objects_ = o;
}

void VmEngine::UnlinkObject(VmObject* o) {
  if (o->dropped_) return;
  if (o->previous) o->previous->next = o->next;
  else if (objects_ == o) objects_ = o->next;
  if (o->next) o->next->previous = o->previous;
  o->next = o->previous = nullptr;
}

void VmEngine::LinkFunction(CVMFunction* f) {
  ++functionsVersion_;
  f->next = functions_;
  functions_ = f;
}

// An array or object whose count fell to 0 leaves its list at once and is
// deleted by the loop below, not by a nested call: releasing a long chain
// of arrays that hold each other takes no deep recursion.
void VmEngine::DropArray(VmArray* a) {
  if (resetting_ || a->dropped_) return;
  UnlinkArray(a);
  a->dropped_ = true;
  a->next = droppedArrays_;
  droppedArrays_ = a;
  DeleteDropped();
}

void VmEngine::DropObject(VmObject* o) {
  if (resetting_ || o->dropped_) return;
  UnlinkObject(o);
  o->dropped_ = true;
  o->next = droppedObjects_;
  droppedObjects_ = o;
  DeleteDropped();
}

void VmEngine::DeleteDropped() {
  if (deleting_) return;
  deleting_ = true;
  while (droppedArrays_ || droppedObjects_) {
    if (droppedArrays_) {
      VmArray* a = droppedArrays_;
      droppedArrays_ = a->next;
      a->next = nullptr;
      delete a;
    } else {
      VmObject* o = droppedObjects_;
      droppedObjects_ = o->next;
      o->next = nullptr;
      delete o;
    }
  }
  deleting_ = false;
}

double VmEngine::ReadDouble() {
  double v;
  if (!DecodeCodeDouble(code_, codeSize_, &programCounter_, &v)) return OperandPastEnd();
  return v;
}

const wchar_t* VmEngine::ReadString() {
  int n = 0;
  if (programCounter_ >= 0) {
    int start = programCounter_;
    ScanCodeString(code_, codeSize_, &programCounter_, &n);
    if (n > kMaxNameChars) n = kMaxNameChars;
    for (int k = 0; k < n; ++k)
      name_[k] = static_cast<wchar_t>(code_[start + 2 * k] | (code_[start + 2 * k + 1] << 8));
  }
  name_[n] = 0;
  return name_;
}
