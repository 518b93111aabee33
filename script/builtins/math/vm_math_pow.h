// Math.pow(x, y): x to the power y, a number.
#pragma once

#include "script/machine/vm_function.h"

class CVMMathPow : public CVMFunction {
public:
  explicit CVMMathPow(VmEngine* engine) : CVMFunction(engine, L"Math.pow") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
