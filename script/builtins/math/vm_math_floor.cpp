#include "script/builtins/math/vm_math_floor.h"

#include <cmath>

#include "script/builtins/math/vm_math_call.h"

void CVMMathFloor::Call(int n, VmEngine* engine) {
  CallMathUnary(n, engine, [](double x) { return floor(x); });
}
