// One call of a script function: its locals, its receiver and its with
// scopes, and where the caller goes on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

#include "script/machine/vm_block_pool.h"
#include "script/machine/vm_scope_list.h"
#include "script/values/vm_variable.h"

class VmEngine;
class VmObject;
class VmVariable;

class VmFrame {
public:
  // Links the frame as the machine's current one (the former current frame
  // becomes its previous) and saves the program counter.
  explicit inline VmFrame(VmEngine* engine);
  // Frees the locals and the with scopes, releases the receiver, makes the
  // previous frame current again and restores the saved program counter.
  inline ~VmFrame();
  VmFrame(const VmFrame&) = delete;
  VmFrame& operator=(const VmFrame&) = delete;

  // Frames come and go with every call: freed blocks are kept for reuse.
  static void* operator new(size_t size, const std::nothrow_t&) noexcept { return g_vmFramePool.Take(size); }
  static void operator delete(void* block) { g_vmFramePool.Give(block); }

  VmVariable* FindLocal(const wchar_t* name) const;
  VmVariable* FindLocal(const wchar_t* name, uint32_t hash) const { return FindVariable(locals, name, hash); }
  void AddLocal(VmVariable* variable) {  // at the head
    variable->next = locals;
    locals = variable;
  }
  bool PushScopeObject(const VmValue& value) { return scopes.Push(value); }
  void PopScopeObject() { scopes.Pop(); }
  // Holds one count of the object (null: no receiver).
  inline void SetReceiver(VmObject* object);

  VmEngine* engine;
  int savedCounter;
  VmVariable* locals = nullptr;
  VmFrame* previous;
  VmObject* receiver = nullptr;
  VmScopeList scopes;
  int stackBase;  // stack top when the call began, arguments removed
  int savedLine;  // the caller's line, current again after the return
};

// Calls are frequent: the frame's own operations are inline.
#include "script/machine/vm_engine.h"
#include "script/machine/vm_live_counts.h"
#include "script/values/vm_object.h"

VmFrame::VmFrame(VmEngine* e)
    : engine(e), savedCounter(e->programCounter_), previous(e->frame_), stackBase(e->stackTop_), savedLine(e->line_) {
  e->frame_ = this;
  ++e->frameDepth_;
  ++g_vmLiveCounts.frames;
}

VmFrame::~VmFrame() {
  DeleteVariableList(locals);
  locals = nullptr;
  scopes.Clear();
  SetReceiver(nullptr);
  engine->frame_ = previous;
  --engine->frameDepth_;
  engine->programCounter_ = savedCounter;
  --g_vmLiveCounts.frames;
}

void VmFrame::SetReceiver(VmObject* object) {
  if (object) object->AddRef();
  if (receiver) receiver->Release();
  receiver = object;
}
