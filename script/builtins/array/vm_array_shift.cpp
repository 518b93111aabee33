#include "script/builtins/array/vm_array_shift.h"

#include "script/builtins/array/vm_array_edit.h"
#include "script/builtins/vm_builtin_call.h"
#include "script/values/vm_array.h"

void CVMArrayShift::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  VmArray* a = engine->ReceiverArray();
  if (a && a->count > 0) {
    result.MoveFrom(a->items[0]);
    CloseArrayGap(a, 0, 1);
  }
  call.Finish(result);
}
