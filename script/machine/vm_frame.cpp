#include "script/machine/vm_frame.h"

#include "foundation/buffers.h"
#include "script/machine/vm_engine.h"
#include "script/machine/vm_live_counts.h"
#include "script/values/vm_object.h"
#include "script/values/vm_variable.h"

VmBlockPool<256> g_vmFramePool;

VmVariable* VmFrame::FindLocal(const wchar_t* name) const { return FindVariable(locals, name); }
