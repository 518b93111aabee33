// The functions of the global Math object ("Math.abs" ...). Each reads its
// arguments as numbers; called with fewer arguments than it reads it returns
// undefined (random reads none).
#pragma once

#include "script/vm_function.h"

class CVMMathAbs : public CVMFunction {
public:
  explicit CVMMathAbs(VmEngine* engine) : CVMFunction(engine, L"Math.abs") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

class CVMMathAcos : public CVMFunction {
public:
  explicit CVMMathAcos(VmEngine* engine) : CVMFunction(engine, L"Math.acos") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

class CVMMathAsin : public CVMFunction {
public:
  explicit CVMMathAsin(VmEngine* engine) : CVMFunction(engine, L"Math.asin") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

class CVMMathAtan : public CVMFunction {
public:
  explicit CVMMathAtan(VmEngine* engine) : CVMFunction(engine, L"Math.atan") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

class CVMMathAtan2 : public CVMFunction {
public:
  explicit CVMMathAtan2(VmEngine* engine) : CVMFunction(engine, L"Math.atan2") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

class CVMMathCeil : public CVMFunction {
public:
  explicit CVMMathCeil(VmEngine* engine) : CVMFunction(engine, L"Math.ceil") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

class CVMMathCos : public CVMFunction {
public:
  explicit CVMMathCos(VmEngine* engine) : CVMFunction(engine, L"Math.cos") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

class CVMMathSin : public CVMFunction {
public:
  explicit CVMMathSin(VmEngine* engine) : CVMFunction(engine, L"Math.sin") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

class CVMMathSqrt : public CVMFunction {
public:
  explicit CVMMathSqrt(VmEngine* engine) : CVMFunction(engine, L"Math.sqrt") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

class CVMMathTan : public CVMFunction {
public:
  explicit CVMMathTan(VmEngine* engine) : CVMFunction(engine, L"Math.tan") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

class CVMMathExp : public CVMFunction {
public:
  explicit CVMMathExp(VmEngine* engine) : CVMFunction(engine, L"Math.exp") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

class CVMMathFloor : public CVMFunction {
public:
  explicit CVMMathFloor(VmEngine* engine) : CVMFunction(engine, L"Math.floor") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

class CVMMathLog : public CVMFunction {
public:
  explicit CVMMathLog(VmEngine* engine) : CVMFunction(engine, L"Math.log") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

class CVMMathMax : public CVMFunction {
public:
  explicit CVMMathMax(VmEngine* engine) : CVMFunction(engine, L"Math.max") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

class CVMMathMin : public CVMFunction {
public:
  explicit CVMMathMin(VmEngine* engine) : CVMFunction(engine, L"Math.min") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

class CVMMathPow : public CVMFunction {
public:
  explicit CVMMathPow(VmEngine* engine) : CVMFunction(engine, L"Math.pow") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

class CVMMathRandom : public CVMFunction {
public:
  explicit CVMMathRandom(VmEngine* engine) : CVMFunction(engine, L"Math.random") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

class CVMMathRound : public CVMFunction {
public:
  explicit CVMMathRound(VmEngine* engine) : CVMFunction(engine, L"Math.round") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
