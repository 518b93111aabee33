// String.fromCharCode: the property fromCharCode of the global String, also a
// method of texts (which ignores its receiver).
// A string of the units given by the integers of the arguments (low 16
// bits); a code 0 ends it there.
#pragma once

#include "script/machine/vm_function.h"

class CVMStringFromCharCode : public CVMFunction {
public:
  explicit CVMStringFromCharCode(VmEngine* engine) : CVMFunction(engine, L"String.fromCharCode") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
