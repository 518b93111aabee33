// The simulated time of the run in seconds, as a number (arguments are
// ignored).
#pragma once

#include "script/machine/vm_function.h"

class CVMTime : public CVMFunction {
public:
  explicit CVMTime(VmEngine* engine) : CVMFunction(engine, L"time") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
