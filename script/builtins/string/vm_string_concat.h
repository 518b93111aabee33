// String.concat, a method of texts (of values undefined, integer, number and
// string), works on the text of the machine's current receiver string.
// The receiver's text followed by the texts of the arguments.
#pragma once

#include "script/machine/vm_function.h"

class CVMStringConcat : public CVMFunction {
public:
  explicit CVMStringConcat(VmEngine* engine) : CVMFunction(engine, L"String.concat") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
