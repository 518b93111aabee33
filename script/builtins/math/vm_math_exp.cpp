#include "script/builtins/math/vm_math_exp.h"

#include <cmath>

#include "script/builtins/math/vm_math_call.h"

void CVMMathExp::Call(int n, VmEngine* engine) {
  CallMathUnary(n, engine, [](double x) { return exp(x); });
}
