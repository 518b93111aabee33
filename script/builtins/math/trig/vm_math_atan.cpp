#include "script/builtins/math/trig/vm_math_atan.h"

#include <cmath>

#include "script/builtins/math/vm_math_call.h"

void CVMMathAtan::Call(int n, VmEngine* engine) {
  CallMathUnary(n, engine, [](double x) { return atan(x); });
}
