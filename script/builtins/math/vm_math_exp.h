// Math.exp(x): e to the power x, a number.
#pragma once

#include "script/machine/vm_function.h"

class CVMMathExp : public CVMFunction {
public:
  explicit CVMMathExp(VmEngine* engine) : CVMFunction(engine, L"Math.exp") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
