// The number of the first argument; undefined without one.
#pragma once

#include "script/machine/vm_function.h"

class CVMParseFloat : public CVMFunction {
public:
  explicit CVMParseFloat(VmEngine* engine) : CVMFunction(engine, L"parseFloat") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
