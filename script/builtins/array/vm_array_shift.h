// Array.shift, a method of arrays, works on the machine's current receiver
// array; without one it only removes its arguments and returns undefined.
// Removes and returns item 0; undefined for an empty array.
#pragma once

#include "script/machine/vm_function.h"

class CVMArrayShift : public CVMFunction {
public:
  explicit CVMArrayShift(VmEngine* engine) : CVMFunction(engine, L"Array.shift") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
