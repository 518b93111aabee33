// console.log and print: the texts of all arguments joined into one line,
// logged literally; false without arguments (nothing logged), else true.
#pragma once

#include "script/machine/vm_function.h"

class CVMConsoleLog : public CVMFunction {
public:
  explicit CVMConsoleLog(VmEngine* engine) : CVMFunction(engine, L"console.log") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
