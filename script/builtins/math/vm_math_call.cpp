#include "script/builtins/math/vm_math_call.h"

#include "script/builtins/vm_builtin_call.h"

void CallMathUnary(int n, VmEngine* engine, double (*f)(double)) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  if (n >= 1) result.SetDouble(f(call.DoubleArg(0)));
  call.Finish(result);
}

void CallMathBinary(int n, VmEngine* engine, double (*f)(double, double)) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  if (n >= 2) result.SetDouble(f(call.DoubleArg(0), call.DoubleArg(1)));
  call.Finish(result);
}

void CallMathExtreme(int n, VmEngine* engine, bool wantMax) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  if (n >= 2) {
    const VmValue& a = *call.Arg(0);
    const VmValue& b = *call.Arg(1);
    switch (GetArithmeticType(a.type, b.type)) {
      case VM_BOOLEAN:
        result.SetBool(wantMax ? a.ToBool() || b.ToBool() : a.ToBool() && b.ToBool());
        break;
      case VM_INTEGER: {
        int32_t x = a.ToInt(), y = b.ToInt();
        result.SetInt(wantMax ? (x > y ? x : y) : (x < y ? x : y));
        break;
      }
      case VM_NUMBER: {
        double x = a.ToDouble(), y = b.ToDouble();
        result.SetDouble(wantMax ? (x > y ? x : y) : (x < y ? x : y));
        break;
      }
      default:
        break;
    }
  }
  call.Finish(result);
}

int32_t TruncateToInt(double d) {
  if (d > -2147483649.0 && d < 2147483648.0) return static_cast<int32_t>(d);
  return -2147483647 - 1;
}
