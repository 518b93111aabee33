#include "script/builtins/math/vm_math_random.h"

#include <cstdlib>

#include "script/builtins/vm_builtin_call.h"

// The program-wide generator of the C library, never seeded here.
void CVMMathRandom::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  result.SetDouble(rand() / 32767.0);
  call.Finish(result);
}
