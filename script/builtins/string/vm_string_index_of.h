// String.indexOf, a method of texts (of values undefined, integer, number and
// string), works on the text of the machine's current receiver string.
// indexOf(text, start): the first position of text at or after start; -1
// when there is none, the start lies outside, or either text is empty.
#pragma once

#include "script/machine/vm_function.h"

class CVMStringIndexOf : public CVMFunction {
public:
  explicit CVMStringIndexOf(VmEngine* engine) : CVMFunction(engine, L"String.indexOf") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
