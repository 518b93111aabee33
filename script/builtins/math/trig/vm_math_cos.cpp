#include "script/builtins/math/trig/vm_math_cos.h"

#include <cmath>

#include "script/builtins/math/vm_math_call.h"

void CVMMathCos::Call(int n, VmEngine* engine) {
  CallMathUnary(n, engine, [](double x) { return cos(x); });
}
