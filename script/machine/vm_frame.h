// One call of a script function: its locals, its receiver and its with
// scopes, and where the caller goes on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

#include "script/machine/vm_block_pool.h"
#include "script/machine/vm_scope_list.h"
#include "script/values/vm_variable.h"

class CVMFunction;
class VmEngine;
class VmObject;

class VmFrame {
public:
  // Locals held in the frame itself; more come from the variable pool.
  static constexpr int kInlineLocals = 8;

  // Links the frame as the machine's current one (the former current frame
  // becomes its previous) and saves the program counter; function is the
  // function called.
  inline VmFrame(VmEngine* engine, CVMFunction* function);
  // Frees the locals and the with scopes, releases the receiver, makes the
  // previous frame current again and restores the saved program counter.
  inline ~VmFrame();
  VmFrame(const VmFrame&) = delete;
  VmFrame& operator=(const VmFrame&) = delete;

  // Frames come and go with every call: freed blocks are kept for reuse.
  static void* operator new(size_t size, const std::nothrow_t&) noexcept { return g_vmFramePool.Take(size); }
  static void operator delete(void* block) { g_vmFramePool.Give(block); }

  // The newest local with exactly that name, or null.
  VmVariable* FindLocal(const wchar_t* name) const;
  VmVariable* FindLocal(const wchar_t* name, uint32_t hash) const {
    for (int k = localCount_ - 1; k >= 0; --k) {
      VmVariable* v = Local(k);
      if (v->hash == hash && SameVmName(v->name, name)) return v;
    }
    return nullptr;
  }
  // A new undefined local, the newest, named by a copy of name; null when
  // memory ran out.
  VmVariable* AddLocal(const wchar_t* name);
  // A new undefined local for an argument, named by the function's own
  // argument name (which outlives the call) with its hash; null when memory
  // ran out.
  inline VmVariable* AddArgument(const wchar_t* name, uint32_t hash);
  // The locals in the order they were made: 0 is the oldest.
  int LocalCount() const { return localCount_; }
  VmVariable* Local(int k) const {
    return k < kInlineLocals ? std::launder(reinterpret_cast<VmVariable*>(const_cast<unsigned char*>(inline_[k])))
                             : extra_[k - kInlineLocals];
  }
  bool PushScopeObject(const VmValue& value) { return scopes.Push(value); }
  void PopScopeObject() { scopes.Pop(); }
  // Holds one count of the object (null: no receiver).
  inline void SetReceiver(VmObject* object);

  VmEngine* engine;
  CVMFunction* function;
  int savedCounter;
  VmFrame* previous;
  VmObject* receiver = nullptr;
  VmScopeList scopes;
  int stackBase;  // stack top when the call began, arguments removed
  int savedLine;  // the caller's line, current again after the return
  // Whether the locals are the function's arguments, all of them, alone.
  bool onlyArguments = false;

private:
  // Room for one more local, not yet constructed; null when memory ran out.
  inline void* NewLocalRoom();
  bool GrowExtra();
  void DeleteLocals();

  int localCount_ = 0;
  int extraCapacity_ = 0;
  VmVariable** extra_ = nullptr;  // locals from kInlineLocals on
  alignas(VmVariable) unsigned char inline_[kInlineLocals][sizeof(VmVariable)];
};

// Calls are frequent: the frame's own operations are inline.
#include "script/machine/vm_engine.h"
#include "script/machine/vm_live_counts.h"
#include "script/values/vm_object.h"

VmFrame::VmFrame(VmEngine* e, CVMFunction* f)
    : engine(e),
      function(f),
      savedCounter(e->programCounter_),
      previous(e->frame_),
      stackBase(e->stackTop_),
      savedLine(e->line_) {
  e->frame_ = this;
  ++e->frameDepth_;
  ++g_vmLiveCounts.frames;
}

VmFrame::~VmFrame() {
  if (localCount_) {
    if (localCount_ <= kInlineLocals) {
      // Newest first, as a list of locals would go.
      while (localCount_ > 0) Local(--localCount_)->~VmVariable();
    } else {
      DeleteLocals();
    }
  }
  scopes.Clear();
  SetReceiver(nullptr);
  engine->frame_ = previous;
  --engine->frameDepth_;
  engine->programCounter_ = savedCounter;
  --g_vmLiveCounts.frames;
}

void* VmFrame::NewLocalRoom() {
  if (localCount_ < kInlineLocals) return inline_[localCount_];
  if (localCount_ - kInlineLocals >= extraCapacity_ && !GrowExtra()) return nullptr;
  return VmVariable::operator new(sizeof(VmVariable), std::nothrow);
}

__attribute__((always_inline)) inline VmVariable* VmFrame::AddArgument(const wchar_t* name, uint32_t hash) {
  void* room = NewLocalRoom();
  if (!room) return nullptr;
  VmVariable* v = ::new (room) VmVariable();
  v->SetBorrowedName(name, hash);
  if (localCount_ >= kInlineLocals) extra_[localCount_ - kInlineLocals] = v;
  ++localCount_;
  return v;
}

void VmFrame::SetReceiver(VmObject* object) {
  if (object) object->AddRef();
  if (receiver) receiver->Release();
  receiver = object;
}
