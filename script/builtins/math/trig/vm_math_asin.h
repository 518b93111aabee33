// Math.asin(x): the arc sine of x, a number.
#pragma once

#include "script/machine/vm_function.h"

class CVMMathAsin : public CVMFunction {
public:
  explicit CVMMathAsin(VmEngine* engine) : CVMFunction(engine, L"Math.asin") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
