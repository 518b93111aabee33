#include "script/vm_frame.h"

#include "foundation/buffers.h"
#include "script/vm_engine.h"
#include "script/vm_live_counts.h"
#include "script/vm_object.h"
#include "script/vm_variable.h"

VmBlockPool<256> g_vmFramePool;

VmVariable* VmFrame::FindLocal(const wchar_t* name) const { return FindVariable(locals, name); }
