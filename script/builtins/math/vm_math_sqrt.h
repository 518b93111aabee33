// Math.sqrt(x): the square root of x, a number.
#pragma once

#include "script/machine/vm_function.h"

class CVMMathSqrt : public CVMFunction {
public:
  explicit CVMMathSqrt(VmEngine* engine) : CVMFunction(engine, L"Math.sqrt") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
