#include "script/builtins/math/trig/vm_math_asin.h"

#include <cmath>

#include "script/builtins/math/vm_math_call.h"

void CVMMathAsin::Call(int n, VmEngine* engine) {
  CallMathUnary(n, engine, [](double x) { return asin(x); });
}
