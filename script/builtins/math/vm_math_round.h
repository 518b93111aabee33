// Math.round(x): an integer; halves round away from zero.
#pragma once

#include "script/machine/vm_function.h"

class CVMMathRound : public CVMFunction {
public:
  explicit CVMMathRound(VmEngine* engine) : CVMFunction(engine, L"Math.round") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
