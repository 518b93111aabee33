// Math.abs(x): a number's absolute value; for any other argument the
// absolute value of its integer, as an integer.
#pragma once

#include "script/machine/vm_function.h"

class CVMMathAbs : public CVMFunction {
public:
  explicit CVMMathAbs(VmEngine* engine) : CVMFunction(engine, L"Math.abs") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
