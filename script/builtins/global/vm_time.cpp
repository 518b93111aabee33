#include "script/builtins/global/vm_time.h"

#include "script/builtins/vm_builtin_call.h"

void CVMTime::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  result.SetDouble(engine->SimulatedTime());
  call.Finish(result);
}
