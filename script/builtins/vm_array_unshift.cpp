#include "script/builtins/vm_array_unshift.h"

#include "script/builtins/vm_array_edit.h"
#include "script/builtins/vm_builtin_call.h"
#include "script/vm_array.h"
#include "script/vm_messages.h"

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
