// Array.splice, a method of arrays, works on the machine's current receiver
// array; without one it only removes its arguments and returns undefined.
// splice(start, deleteCount, items...): removes deleteCount items at start
// (a negative start counts from the end; both are held inside the array),
// inserts the items there and returns the removed ones as a new array. A
// negative deleteCount stops the program.
#pragma once

#include "script/machine/vm_function.h"

class CVMArraySplice : public CVMFunction {
public:
  explicit CVMArraySplice(VmEngine* engine) : CVMFunction(engine, L"Array.splice") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
