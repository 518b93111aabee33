// Array.join, a method of arrays, works on the machine's current receiver
// array; without one it only removes its arguments and returns undefined.
// The items' texts with the separator (the last argument, "," without one)
// between them.
#pragma once

#include "script/machine/vm_function.h"

class CVMArrayJoin : public CVMFunction {
public:
  explicit CVMArrayJoin(VmEngine* engine) : CVMFunction(engine, L"Array.join") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
