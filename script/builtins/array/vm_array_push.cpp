#include "script/builtins/array/vm_array_push.h"

#include "script/builtins/vm_builtin_call.h"
#include "script/compiler/vm_messages.h"
#include "script/values/vm_array.h"

void CVMArrayPush::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmArray* a = engine->ReceiverArray();
  if (!a) return call.FinishUndefined();
  for (int k = 0; k < n; ++k) {
    if (!a->PushBack(*call.Arg(k))) return call.Fail(kVmErrorArrayTooLarge);
  }
  VmValue result;
  result.SetInt(a->count);
  call.Finish(result);
}
