#include "script/builtins/global/vm_parse_int.h"

#include "script/builtins/vm_builtin_call.h"

void CVMParseInt::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  if (n >= 1) result.SetInt(call.Arg(0)->ToInt());
  call.Finish(result);
}
