#include "script/vm_frame.h"

#include "foundation/buffers.h"
#include "script/vm_engine.h"
#include "script/vm_live_counts.h"
#include "script/vm_object.h"
#include "script/vm_variable.h"

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

VmBlockPool<256> g_vmFramePool;

VmVariable* VmFrame::FindLocal(const wchar_t* name) const { return FindVariable(locals, name); }


void VmFrame::SetReceiver(VmObject* object) {
  if (object) object->AddRef();
  if (receiver) receiver->Release();
  receiver = object;
}
