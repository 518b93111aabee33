#include "script/machine/vm_frame.h"

#include "foundation/buffers.h"
#include "foundation/plain_array.h"
#include "script/machine/vm_engine.h"
#include "script/machine/vm_live_counts.h"
#include "script/values/vm_object.h"
#include "script/values/vm_variable.h"

VmBlockPool<256> g_vmFramePool;

namespace {
// The first room for locals beyond the frame's own; it doubles from there.
const int kFirstExtraLocals = 8;
}  // namespace

VmVariable* VmFrame::FindLocal(const wchar_t* name) const { return FindLocal(name, HashVmName(name)); }

bool VmFrame::GrowExtra() {
  return ResizeGrowingArray(&extra_, &extraCapacity_, localCount_ - kInlineLocals + 1, kFirstExtraLocals);
}

VmVariable* VmFrame::AddLocal(const wchar_t* name) {
  onlyArguments = false;
  void* room = NewLocalRoom();
  if (!room) return nullptr;
  VmVariable* v = ::new (room) VmVariable();
  if (!v->SetName(name)) {
    if (localCount_ < kInlineLocals) v->~VmVariable();
    else delete v;
    return nullptr;
  }
  if (localCount_ >= kInlineLocals) extra_[localCount_ - kInlineLocals] = v;
  ++localCount_;
  return v;
}

// Newest first, as a list of locals would go.
void VmFrame::DeleteLocals() {
  while (localCount_ > 0) {
    VmVariable* v = Local(--localCount_);
    if (localCount_ < kInlineLocals) v->~VmVariable();
    else delete v;
  }
  if (extra_) {
    FreeBuffer(extra_);
    extra_ = nullptr;
    extraCapacity_ = 0;
  }
}
