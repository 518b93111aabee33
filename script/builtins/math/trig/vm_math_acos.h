// Math.acos(x): the arc cosine of x, a number.
#pragma once

#include "script/machine/vm_function.h"

class CVMMathAcos : public CVMFunction {
public:
  explicit CVMMathAcos(VmEngine* engine) : CVMFunction(engine, L"Math.acos") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
