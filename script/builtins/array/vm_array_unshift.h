// Array.unshift, a method of arrays, works on the machine's current receiver
// array; without one it only removes its arguments and returns undefined.
// Inserts its arguments at the front in their order; the new count.
#pragma once

#include "script/machine/vm_function.h"

class CVMArrayUnshift : public CVMFunction {
public:
  explicit CVMArrayUnshift(VmEngine* engine) : CVMFunction(engine, L"Array.unshift") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
