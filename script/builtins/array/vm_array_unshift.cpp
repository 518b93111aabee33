#include "script/builtins/array/vm_array_unshift.h"

#include "script/builtins/array/vm_array_edit.h"
#include "script/builtins/vm_builtin_call.h"
#include "script/compiler/vm_messages.h"
#include "script/values/vm_array.h"

void CVMArrayUnshift::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmArray* a = engine->ReceiverArray();
  if (!a) return call.FinishUndefined();
  if (!OpenArrayGap(a, 0, n)) return call.Fail(kVmErrorArrayTooLarge);
  for (int k = 0; k < n; ++k) a->items[k].Assign(*call.Arg(k));
  VmValue result;
  result.SetInt(a->count);
  call.Finish(result);
}
