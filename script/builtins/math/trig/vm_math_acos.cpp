#include "script/builtins/math/trig/vm_math_acos.h"

#include <cmath>

#include "script/builtins/math/vm_math_call.h"

void CVMMathAcos::Call(int n, VmEngine* engine) {
  CallMathUnary(n, engine, [](double x) { return acos(x); });
}
