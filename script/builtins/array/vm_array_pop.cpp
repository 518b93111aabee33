#include "script/builtins/array/vm_array_pop.h"

#include "script/builtins/vm_builtin_call.h"
#include "script/values/vm_array.h"

void CVMArrayPop::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  if (VmArray* a = engine->ReceiverArray()) a->PopBack(&result);
  call.Finish(result);
}
