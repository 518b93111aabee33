#include "script/vm_math_functions.h"

#include <cmath>
#include <cstdlib>

#include "script/vm_builtin_call.h"

namespace {

// The result of a function of one number x: undefined without an argument.
void Unary(int n, VmEngine* engine, double (*f)(double)) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  if (n >= 1) result.SetDouble(f(call.DoubleArg(0)));
  call.Finish(result);
}

void Binary(int n, VmEngine* engine, double (*f)(double, double)) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  if (n >= 2) result.SetDouble(f(call.DoubleArg(0), call.DoubleArg(1)));
  call.Finish(result);
}

// max (wantMax) or min of the first two arguments by their arithmetic
// type: two truths by or and and, integers as an integer, numbers as a
// number; undefined for any other type.
void Extreme(int n, VmEngine* engine, bool wantMax) {
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

// A double truncated toward zero; what does not fit (NaN included) is the
// smallest integer, as the number conversion of values gives.
int32_t TruncateToInt(double d) {
  if (d > -2147483649.0 && d < 2147483648.0) return static_cast<int32_t>(d);
  return -2147483647 - 1;
}

double Acos(double x) { return acos(x); }
double Asin(double x) { return asin(x); }
double Atan(double x) { return atan(x); }
double Ceil(double x) { return ceil(x); }
double Cos(double x) { return cos(x); }
double Sin(double x) { return sin(x); }
double Sqrt(double x) { return sqrt(x); }
double Tan(double x) { return tan(x); }
double Exp(double x) { return exp(x); }
double Floor(double x) { return floor(x); }
double Log(double x) { return log(x); }
double Atan2(double y, double x) { return atan2(y, x); }
double Pow(double x, double y) { return pow(x, y); }

}  // namespace

void CVMMathAbs::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  if (n >= 1) {
    const VmValue& x = *call.Arg(0);
    if (x.type == VM_NUMBER) {
      result.SetDouble(fabs(x.d));
    } else {
      // The smallest integer has no positive counterpart: it stays itself,
      // as two's complement negation gives.
      uint32_t u = static_cast<uint32_t>(x.ToInt());
      if (u & 0x80000000u) u = 0u - u;
      result.SetInt(static_cast<int32_t>(u));
    }
  }
  call.Finish(result);
}

void CVMMathAcos::Call(int n, VmEngine* engine) { Unary(n, engine, Acos); }
void CVMMathAsin::Call(int n, VmEngine* engine) { Unary(n, engine, Asin); }
void CVMMathAtan::Call(int n, VmEngine* engine) { Unary(n, engine, Atan); }
void CVMMathAtan2::Call(int n, VmEngine* engine) { Binary(n, engine, Atan2); }
void CVMMathCeil::Call(int n, VmEngine* engine) { Unary(n, engine, Ceil); }
void CVMMathCos::Call(int n, VmEngine* engine) { Unary(n, engine, Cos); }
void CVMMathSin::Call(int n, VmEngine* engine) { Unary(n, engine, Sin); }
void CVMMathSqrt::Call(int n, VmEngine* engine) { Unary(n, engine, Sqrt); }
void CVMMathTan::Call(int n, VmEngine* engine) { Unary(n, engine, Tan); }
void CVMMathExp::Call(int n, VmEngine* engine) { Unary(n, engine, Exp); }
void CVMMathFloor::Call(int n, VmEngine* engine) { Unary(n, engine, Floor); }
void CVMMathLog::Call(int n, VmEngine* engine) { Unary(n, engine, Log); }
void CVMMathMax::Call(int n, VmEngine* engine) { Extreme(n, engine, true); }
void CVMMathMin::Call(int n, VmEngine* engine) { Extreme(n, engine, false); }
void CVMMathPow::Call(int n, VmEngine* engine) { Binary(n, engine, Pow); }

// The program-wide generator of the C library, never seeded here.
void CVMMathRandom::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  result.SetDouble(rand() / 32767.0);
  call.Finish(result);
}

// Halves round away from zero.
void CVMMathRound::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  if (n >= 1) {
    double x = call.DoubleArg(0);
    result.SetInt(TruncateToInt(x > 0 ? x + 0.5 : x - 0.5));
  }
  call.Finish(result);
}
