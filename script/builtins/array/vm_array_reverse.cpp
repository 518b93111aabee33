#include "script/builtins/array/vm_array_reverse.h"

#include "script/builtins/vm_builtin_call.h"
#include "script/values/vm_array.h"

void CVMArrayReverse::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmArray* a = engine->ReceiverArray();
  if (!a) return call.FinishUndefined();
  for (int i = 0, j = a->count - 1; i < j; ++i, --j) {
    VmValue t;
    t.MoveFrom(a->items[i]);
    a->items[i].MoveFrom(a->items[j]);
    a->items[j].MoveFrom(t);
  }
  VmValue result;
  result.SetArray(a);
  call.Finish(result);
}
