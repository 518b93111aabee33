// Math.log(x): the natural logarithm of x, a number.
#pragma once

#include "script/machine/vm_function.h"

class CVMMathLog : public CVMFunction {
public:
  explicit CVMMathLog(VmEngine* engine) : CVMFunction(engine, L"Math.log") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
