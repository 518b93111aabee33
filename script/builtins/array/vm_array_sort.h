// Array.sort, a method of arrays, works on the machine's current receiver
// array; without one it only removes its arguments and returns undefined.
// Sorts the items in place in ascending CompareValues order (a merge sort:
// equal items keep their order, and any mix of types is safe); the same
// array.
#pragma once

#include "script/machine/vm_function.h"

class CVMArraySort : public CVMFunction {
public:
  explicit CVMArraySort(VmEngine* engine) : CVMFunction(engine, L"Array.sort") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
