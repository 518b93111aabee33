// Array.slice, a method of arrays, works on the machine's current receiver
// array; without one it only removes its arguments and returns undefined.
// slice(begin, end): a new array of copies of the items begin .. end - 1;
// negative positions count from the end, both are held inside the array.
#pragma once

#include "script/machine/vm_function.h"

class CVMArraySlice : public CVMFunction {
public:
  explicit CVMArraySlice(VmEngine* engine) : CVMFunction(engine, L"Array.slice") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
