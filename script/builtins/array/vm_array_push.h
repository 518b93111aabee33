// Array.push, a method of arrays, works on the machine's current receiver
// array; without one it only removes its arguments and returns undefined.
// Appends its arguments; the new count.
#pragma once

#include "script/machine/vm_function.h"

class CVMArrayPush : public CVMFunction {
public:
  explicit CVMArrayPush(VmEngine* engine) : CVMFunction(engine, L"Array.push") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
