#include "script/builtins/math/trig/vm_math_sin.h"

#include <cmath>

#include "script/builtins/math/vm_math_call.h"

void CVMMathSin::Call(int n, VmEngine* engine) {
  CallMathUnary(n, engine, [](double x) { return sin(x); });
}
