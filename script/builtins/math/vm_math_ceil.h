// Math.ceil(x): the smallest whole number not below x, as a number.
#pragma once

#include "script/machine/vm_function.h"

class CVMMathCeil : public CVMFunction {
public:
  explicit CVMMathCeil(VmEngine* engine) : CVMFunction(engine, L"Math.ceil") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
