// Math.atan(x): the arc tangent of x, a number.
#pragma once

#include "script/machine/vm_function.h"

class CVMMathAtan : public CVMFunction {
public:
  explicit CVMMathAtan(VmEngine* engine) : CVMFunction(engine, L"Math.atan") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
