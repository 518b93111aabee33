#include "script/builtins/math/vm_math_round.h"

#include "script/builtins/math/vm_math_call.h"
#include "script/builtins/vm_builtin_call.h"

// Halves round away from zero.
void CVMMathRound::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  if (n >= 1) {
    double x = call.DoubleArg(0);
    result.SetInt(TruncateToInt(x > 0 ? x + 0.5 : x - 0.5));
  }
  call.Finish(result);
}
