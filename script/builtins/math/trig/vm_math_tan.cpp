#include "script/builtins/math/trig/vm_math_tan.h"

#include <cmath>

#include "script/builtins/math/vm_math_call.h"

void CVMMathTan::Call(int n, VmEngine* engine) {
  CallMathUnary(n, engine, [](double x) { return tan(x); });
}
