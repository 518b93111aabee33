#include "script/builtins/math/vm_math_pow.h"

#include <cmath>

#include "script/builtins/math/vm_math_call.h"

void CVMMathPow::Call(int n, VmEngine* engine) {
  CallMathBinary(n, engine, [](double x, double y) { return pow(x, y); });
}
