// Math.max(a, b): the larger of two truths, integers or numbers, by their
// arithmetic type.
#pragma once

#include "script/machine/vm_function.h"

class CVMMathMax : public CVMFunction {
public:
  explicit CVMMathMax(VmEngine* engine) : CVMFunction(engine, L"Math.max") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
