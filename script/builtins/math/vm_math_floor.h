// Math.floor(x): the largest whole number not above x, as a number.
#pragma once

#include "script/machine/vm_function.h"

class CVMMathFloor : public CVMFunction {
public:
  explicit CVMMathFloor(VmEngine* engine) : CVMFunction(engine, L"Math.floor") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
