// The integer of the first argument; undefined without one.
#pragma once

#include "script/machine/vm_function.h"

class CVMParseInt : public CVMFunction {
public:
  explicit CVMParseInt(VmEngine* engine) : CVMFunction(engine, L"parseInt") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
