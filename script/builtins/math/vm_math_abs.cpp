#include "script/builtins/math/vm_math_abs.h"

#include <cmath>

#include "script/builtins/vm_builtin_call.h"

void CVMMathAbs::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  if (n >= 1) {
    const VmValue& x = *call.Arg(0);
    if (x.type == VM_NUMBER) {
      result.SetDouble(fabs(x.d));
    } else {
      // The smallest integer has no positive counterpart: it stays itself,
      // as two's complement negation gives.
      uint32_t u = static_cast<uint32_t>(x.ToInt());
      if (u & 0x80000000u) u = 0u - u;
      result.SetInt(static_cast<int32_t>(u));
    }
  }
  call.Finish(result);
}
