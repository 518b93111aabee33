#include "script/builtins/math/vm_math_sqrt.h"

#include <cmath>

#include "script/builtins/math/vm_math_call.h"

void CVMMathSqrt::Call(int n, VmEngine* engine) {
  CallMathUnary(n, engine, [](double x) { return sqrt(x); });
}
