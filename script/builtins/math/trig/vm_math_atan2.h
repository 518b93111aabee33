// Math.atan2(y, x): the angle, from -pi to pi, of the point whose ordinate
// is the first argument and whose abscissa is the second; a number.
#pragma once

#include "script/machine/vm_function.h"

class CVMMathAtan2 : public CVMFunction {
public:
  explicit CVMMathAtan2(VmEngine* engine) : CVMFunction(engine, L"Math.atan2") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
