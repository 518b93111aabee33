// console.info and printf: the first argument's text with its "%d", "%f"
// and "%s" filled from the other arguments, scanning back from the end
// with the last argument first; false without arguments, undefined (and
// nothing logged) for an empty format, else true.
#pragma once

#include "script/machine/vm_function.h"

class CVMConsoleInfo : public CVMFunction {
public:
  explicit CVMConsoleInfo(VmEngine* engine) : CVMFunction(engine, L"console.info") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
