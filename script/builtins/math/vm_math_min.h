// Math.min(a, b): the smaller of two truths, integers or numbers, by their
// arithmetic type.
#pragma once

#include "script/machine/vm_function.h"

class CVMMathMin : public CVMFunction {
public:
  explicit CVMMathMin(VmEngine* engine) : CVMFunction(engine, L"Math.min") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
