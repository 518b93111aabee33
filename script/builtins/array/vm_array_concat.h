// Array.concat, a method of arrays, works on the machine's current receiver
// array; without one it only removes its arguments and returns undefined.
// A new array: the receiver's items, then the items of array arguments (one
// level) and the other arguments themselves.
#pragma once

#include "script/machine/vm_function.h"

class CVMArrayConcat : public CVMFunction {
public:
  explicit CVMArrayConcat(VmEngine* engine) : CVMFunction(engine, L"Array.concat") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
