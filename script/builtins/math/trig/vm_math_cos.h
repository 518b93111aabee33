// Math.cos(x): the cosine of x, a number.
#pragma once

#include "script/machine/vm_function.h"

class CVMMathCos : public CVMFunction {
public:
  explicit CVMMathCos(VmEngine* engine) : CVMFunction(engine, L"Math.cos") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
