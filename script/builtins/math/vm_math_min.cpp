#include "script/builtins/math/vm_math_min.h"

#include "script/builtins/math/vm_math_call.h"

void CVMMathMin::Call(int n, VmEngine* engine) { CallMathExtreme(n, engine, false); }
