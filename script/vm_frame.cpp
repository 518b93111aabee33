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

namespace {

struct FreeBlock {
  FreeBlock* next;
};
FreeBlock* g_freeFrames = nullptr;
int g_freeFrameCount = 0;
const int kMaxFreeFrames = 256;

}  // namespace

void* VmFrame::operator new(size_t size, const std::nothrow_t&) noexcept {
  if (g_freeFrames && size == sizeof(VmFrame)) {
    FreeBlock* b = g_freeFrames;
    g_freeFrames = b->next;
    --g_freeFrameCount;
    return b;
  }
  return AllocBuffer(size);
}

void VmFrame::operator delete(void* block) {
  if (!block) return;
  if (g_freeFrameCount < kMaxFreeFrames) {
    FreeBlock* b = static_cast<FreeBlock*>(block);
    b->next = g_freeFrames;
    g_freeFrames = b;
    ++g_freeFrameCount;
    return;
  }
  FreeBuffer(block);
}

VmVariable* VmFrame::FindLocal(const wchar_t* name) const { return FindVariable(locals, name); }

VmVariable* VmFrame::FindLocal(const wchar_t* name, uint32_t hash) const { return FindVariable(locals, name, hash); }

void VmFrame::AddLocal(VmVariable* variable) {
  variable->next = locals;
  locals = variable;
}

void VmFrame::SetReceiver(VmObject* object) {
  if (object) object->AddRef();
  if (receiver) receiver->Release();
  receiver = object;
}
