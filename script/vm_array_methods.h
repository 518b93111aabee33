// The methods of script arrays ("Array.push" ...). They are found by their
// display names in the machine's function list and work on the machine's
// current receiver array; without one they only remove their arguments and
// return undefined.
#pragma once

#include "script/vm_function.h"

// Appends its arguments; the new count.
class CVMArrayPush : public CVMFunction {
public:
  explicit CVMArrayPush(VmEngine* engine) : CVMFunction(engine, L"Array.push") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

// Removes and returns item 0; undefined for an empty array.
class CVMArrayShift : public CVMFunction {
public:
  explicit CVMArrayShift(VmEngine* engine) : CVMFunction(engine, L"Array.shift") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

// The items' texts with the separator (the last argument, "," without one)
// between them.
class CVMArrayJoin : public CVMFunction {
public:
  explicit CVMArrayJoin(VmEngine* engine) : CVMFunction(engine, L"Array.join") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

// A new array: the receiver's items, then the items of array arguments (one
// level) and the other arguments themselves.
class CVMArrayConcat : public CVMFunction {
public:
  explicit CVMArrayConcat(VmEngine* engine) : CVMFunction(engine, L"Array.concat") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

// splice(start, deleteCount, items...): removes deleteCount items at start
// (a negative start counts from the end; both are held inside the array),
// inserts the items there and returns the removed ones as a new array. A
// negative deleteCount stops the program.
class CVMArraySplice : public CVMFunction {
public:
  explicit CVMArraySplice(VmEngine* engine) : CVMFunction(engine, L"Array.splice") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

// Removes and returns the last item; undefined for an empty array.
class CVMArrayPop : public CVMFunction {
public:
  explicit CVMArrayPop(VmEngine* engine) : CVMFunction(engine, L"Array.pop") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

// Inserts its arguments at the front in their order; the new count.
class CVMArrayUnshift : public CVMFunction {
public:
  explicit CVMArrayUnshift(VmEngine* engine) : CVMFunction(engine, L"Array.unshift") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

// slice(begin, end): a new array of copies of the items begin .. end - 1;
// negative positions count from the end, both are held inside the array.
class CVMArraySlice : public CVMFunction {
public:
  explicit CVMArraySlice(VmEngine* engine) : CVMFunction(engine, L"Array.slice") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

// Reverses the items in place; the same array.
class CVMArrayReverse : public CVMFunction {
public:
  explicit CVMArrayReverse(VmEngine* engine) : CVMFunction(engine, L"Array.reverse") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

// Sorts the items in place in ascending CompareValues order (a merge sort:
// equal items keep their order, and any mix of types is safe); the same
// array.
class CVMArraySort : public CVMFunction {
public:
  explicit CVMArraySort(VmEngine* engine) : CVMFunction(engine, L"Array.sort") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
