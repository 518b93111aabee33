// Array.reverse, a method of arrays, works on the machine's current receiver
// array; without one it only removes its arguments and returns undefined.
// Reverses the items in place; the same array.
#pragma once

#include "script/machine/vm_function.h"

class CVMArrayReverse : public CVMFunction {
public:
  explicit CVMArrayReverse(VmEngine* engine) : CVMFunction(engine, L"Array.reverse") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
