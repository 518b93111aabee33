// Array.pop, a method of arrays, works on the machine's current receiver
// array; without one it only removes its arguments and returns undefined.
// Removes and returns the last item; undefined for an empty array.
#pragma once

#include "script/machine/vm_function.h"

class CVMArrayPop : public CVMFunction {
public:
  explicit CVMArrayPop(VmEngine* engine) : CVMFunction(engine, L"Array.pop") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
