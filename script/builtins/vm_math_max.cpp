#include "script/builtins/vm_math_max.h"

#include "script/builtins/vm_math_call.h"

void CVMMathMax::Call(int n, VmEngine* engine) { CallMathExtreme(n, engine, true); }
