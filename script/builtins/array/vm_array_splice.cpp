#include "script/builtins/array/vm_array_splice.h"

#include "script/builtins/array/vm_array_edit.h"
#include "script/builtins/vm_builtin_call.h"
#include "script/compiler/vm_messages.h"
#include "script/values/vm_array.h"

void CVMArraySplice::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmArray* a = engine->ReceiverArray();
  if (!a) return call.FinishUndefined();
  int32_t deleteCount = call.IntArg(1, 0);
  if (deleteCount < 0) return call.Fail(kVmErrorNegativeDeleteCount);
  int start = ClampArrayPosition(call.IntArg(0, 0), a->count);
  if (deleteCount > a->count - start) deleteCount = a->count - start;
  int inserted = n > 2 ? n - 2 : 0;
  VmArray* removed = NewResultArray(engine);
  if (!removed) return call.FinishUndefined();
  VmValue result;
  result.SetArray(removed);
  if (!removed->Resize(deleteCount)) return call.Fail(kVmErrorNoMemory);
  if (inserted > deleteCount && !OpenArrayGap(a, start + deleteCount, inserted - deleteCount))
    return call.Fail(kVmErrorArrayTooLarge);
  for (int k = 0; k < deleteCount; ++k) removed->items[k].MoveFrom(a->items[start + k]);
  if (inserted < deleteCount) CloseArrayGap(a, start + inserted, deleteCount - inserted);
  for (int k = 0; k < inserted; ++k) a->items[start + k].MoveFrom(*call.Arg(2 + k));
  call.Finish(result);
}
