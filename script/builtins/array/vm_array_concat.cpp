#include "script/builtins/array/vm_array_concat.h"

#include "script/builtins/array/vm_array_edit.h"
#include "script/builtins/vm_builtin_call.h"
#include "script/compiler/vm_messages.h"
#include "script/values/vm_array.h"

void CVMArrayConcat::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmArray* a = engine->ReceiverArray();
  if (!a) return call.FinishUndefined();
  VmArray* joined = NewResultArray(engine);
  if (!joined) return call.FinishUndefined();
  VmValue result;
  result.SetArray(joined);  // held from here on, so a failure below frees it
  bool ok = true;
  for (int k = 0; ok && k < a->count; ++k) ok = joined->PushBack(a->items[k]);
  for (int k = 0; ok && k < n; ++k) {
    const VmValue& v = *call.Arg(k);
    if (v.type == VM_ARRAY) {
      // The argument may be the new array's own source: count taken first.
      int items = v.array->count;
      for (int i = 0; ok && i < items; ++i) ok = joined->PushBack(v.array->items[i]);
    } else {
      ok = joined->PushBack(v);
    }
  }
  if (!ok) return call.Fail(kVmErrorArrayTooLarge);
  call.Finish(result);
}
