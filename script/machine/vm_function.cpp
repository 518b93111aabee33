#include "script/machine/vm_function.h"

#include "foundation/buffers.h"
#include "foundation/plain_array.h"
#include "script/machine/vm_engine.h"
#include "script/machine/vm_live_counts.h"
#include "script/values/vm_variable.h"

CVMFunction::CVMFunction(VmEngine* engine, const wchar_t* name) {
  ++g_vmLiveCounts.functions;
  displayName = DupString(name ? name : L"");
  engine->LinkFunction(this);
}

CVMFunction::~CVMFunction() {
  for (int i = 0; i < argumentCount; ++i) FreeBuffer(argumentNames[i]);
  FreeBuffer(argumentNames);
  FreeBuffer(argumentHashes);
  FreeBuffer(displayName);
  --g_vmLiveCounts.functions;
}

bool CVMFunction::AddArgument(const wchar_t* name) {
  wchar_t* copy = DupString(name ? name : L"");
  if (!copy) return false;
  if (!ResizeSteppedArray(&argumentHashes, argumentCount, argumentCount + 1) ||
      !ResizeSteppedArray(&argumentNames, argumentCount, argumentCount + 1)) {
    FreeBuffer(copy);
    return false;
  }
  argumentHashes[argumentCount] = HashVmName(copy);
  argumentNames[argumentCount++] = copy;
  return true;
}

void CVMFunction::Call(int argumentCount, VmEngine* engine) { engine->CallScriptFunction(this, argumentCount); }
