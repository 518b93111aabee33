#include "script/vm_function.h"

#include "foundation/buffers.h"
#include "script/vm_engine.h"
#include "script/vm_live_counts.h"

CVMFunction::CVMFunction(VmEngine* engine, const wchar_t* name) {
  ++g_vmLiveCounts.functions;
  displayName = DupString(name ? name : L"");
  engine->LinkFunction(this);
}

CVMFunction::~CVMFunction() {
  for (int i = 0; i < argumentCount; ++i) FreeBuffer(argumentNames[i]);
  FreeBuffer(argumentNames);
  FreeBuffer(displayName);
  --g_vmLiveCounts.functions;
}

bool CVMFunction::AddArgument(const wchar_t* name) {
  wchar_t* copy = DupString(name ? name : L"");
  if (!copy) return false;
  void* grown = ReallocBuffer(argumentNames, (argumentCount + 1) * sizeof(wchar_t*));
  if (!grown) {
    FreeBuffer(copy);
    return false;
  }
  argumentNames = static_cast<wchar_t**>(grown);
  argumentNames[argumentCount++] = copy;
  return true;
}

void CVMFunction::Call(int argumentCount, VmEngine* engine) { engine->CallScriptFunction(this, argumentCount); }
