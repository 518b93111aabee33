#include "script/builtins/array/vm_array_slice.h"

#include "script/builtins/array/vm_array_edit.h"
#include "script/builtins/vm_builtin_call.h"
#include "script/compiler/vm_messages.h"
#include "script/values/vm_array.h"

void CVMArraySlice::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmArray* a = engine->ReceiverArray();
  if (!a) return call.FinishUndefined();
  int begin = ClampArrayPosition(call.IntArg(0, 0), a->count);
  int end = ClampArrayPosition(call.IntArg(1, a->count), a->count);
  VmArray* copy = NewResultArray(engine);
  if (!copy) return call.FinishUndefined();
  VmValue result;
  result.SetArray(copy);
  for (int k = begin; k < end; ++k) {
    if (!copy->PushBack(a->items[k])) return call.Fail(kVmErrorNoMemory);
  }
  call.Finish(result);
}
