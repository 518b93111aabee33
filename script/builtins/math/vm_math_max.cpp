#include "script/builtins/math/vm_math_max.h"

#include "script/builtins/math/vm_math_call.h"

void CVMMathMax::Call(int n, VmEngine* engine) { CallMathExtreme(n, engine, true); }
