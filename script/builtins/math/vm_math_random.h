// Math.random(): the C library's rand() divided by 32767, a number from 0
// to 1 (both included); arguments are ignored.
#pragma once

#include "script/machine/vm_function.h"

class CVMMathRandom : public CVMFunction {
public:
  explicit CVMMathRandom(VmEngine* engine) : CVMFunction(engine, L"Math.random") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
