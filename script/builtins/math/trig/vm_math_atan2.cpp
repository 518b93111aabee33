#include "script/builtins/math/trig/vm_math_atan2.h"

#include <cmath>

#include "script/builtins/math/vm_math_call.h"

void CVMMathAtan2::Call(int n, VmEngine* engine) {
  CallMathBinary(n, engine, [](double x, double y) { return atan2(x, y); });
}
