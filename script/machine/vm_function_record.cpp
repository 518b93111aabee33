#include "script/machine/vm_function_record.h"

#include "foundation/buffers.h"
#include "foundation/plain_array.h"
#include "script/compiler/vm_compiler.h"

VmFunctionRecord::VmFunctionRecord(VmCompiler* compiler) {
  next = compiler->functions_;
  compiler->functions_ = this;
}

VmFunctionRecord::~VmFunctionRecord() {
  for (int i = 0; i < argumentCount; ++i) FreeBuffer(argumentNames[i]);
  FreeBuffer(argumentNames);
  FreeBuffer(name);
}

bool VmFunctionRecord::SetName(const wchar_t* text) {
  ReplaceString(&name, text);
  return name != nullptr;
}

bool VmFunctionRecord::AddArgument(const wchar_t* text) {
  wchar_t* copy = DupString(text);
  if (!copy) return false;
  if (!ResizeSteppedArray(&argumentNames, argumentCount, argumentCount + 1)) {
    FreeBuffer(copy);
    return false;
  }
  argumentNames[argumentCount++] = copy;
  return true;
}
