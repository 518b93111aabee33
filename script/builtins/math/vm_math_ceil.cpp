#include "script/builtins/math/vm_math_ceil.h"

#include <cmath>

#include "script/builtins/math/vm_math_call.h"

void CVMMathCeil::Call(int n, VmEngine* engine) {
  CallMathUnary(n, engine, [](double x) { return ceil(x); });
}
