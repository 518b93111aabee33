// Math.sin(x): the sine of x, a number.
#pragma once

#include "script/machine/vm_function.h"

class CVMMathSin : public CVMFunction {
public:
  explicit CVMMathSin(VmEngine* engine) : CVMFunction(engine, L"Math.sin") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
