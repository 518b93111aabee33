#include "script/builtins/global/vm_parse_float.h"

#include "script/builtins/vm_builtin_call.h"

void CVMParseFloat::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  if (n >= 1) result.SetDouble(call.Arg(0)->ToDouble());
  call.Finish(result);
}
