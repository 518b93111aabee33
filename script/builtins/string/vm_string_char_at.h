// String.charAt, a method of texts (of values undefined, integer, number and
// string), works on the text of the machine's current receiver string.
// charAt(index): the one-unit string at index; undefined outside the text.
#pragma once

#include "script/machine/vm_function.h"

class CVMStringCharAt : public CVMFunction {
public:
  explicit CVMStringCharAt(VmEngine* engine) : CVMFunction(engine, L"String.charAt") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
