// String.charCodeAt, a method of texts (of values undefined, integer, number and
// string), works on the text of the machine's current receiver string.
// charCodeAt(index): the unit at index as an integer; undefined outside.
#pragma once

#include "script/machine/vm_function.h"

class CVMStringCharCodeAt : public CVMFunction {
public:
  explicit CVMStringCharCodeAt(VmEngine* engine) : CVMFunction(engine, L"String.charCodeAt") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
