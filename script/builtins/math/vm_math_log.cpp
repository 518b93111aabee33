#include "script/builtins/math/vm_math_log.h"

#include <cmath>

#include "script/builtins/math/vm_math_call.h"

void CVMMathLog::Call(int n, VmEngine* engine) {
  CallMathUnary(n, engine, [](double x) { return log(x); });
}
