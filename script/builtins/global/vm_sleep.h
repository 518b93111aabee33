// sleep(ms): reads its duration and returns undefined at once; see Call.
#pragma once

#include "script/machine/vm_function.h"

class CVMSleep : public CVMFunction {
public:
  explicit CVMSleep(VmEngine* engine) : CVMFunction(engine, L"sleep") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
