// Math.tan(x): the tangent of x, a number.
#pragma once

#include "script/machine/vm_function.h"

class CVMMathTan : public CVMFunction {
public:
  explicit CVMMathTan(VmEngine* engine) : CVMFunction(engine, L"Math.tan") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
