// The script machine on hand-assembled programs, run to the end in slices of
// 4000 instructions as a script block runs them: an integer loop, fib(25) by
// recursion, pushing and popping array items, and building a text one
// character at a time. Reports instructions per second and the time of one
// slice; the array and text programs run at 10^4 and 10^5 items, and the
// time per item at 10^5 may exceed the one at 10^4 by at most 2 times
// (nothing quadratic). Exit code 1 when it does or a result is wrong.
#include <windows.h>

#include <cstdio>

#include "bench/bench_clock.h"
#include "scheme/simulation/sim_log.h"
#include "script/compiler/vm_code.h"
#include "script/machine/vm_engine.h"
#include "script/values/vm_variable.h"

namespace {

using velkbench::Now;

class Asm {
public:
  Asm& Op(int op) { return B(op); }
  Asm& B(int b) { c.EmitByte(b); return *this; }
  Asm& Int(int v) { c.EmitInt(v); return *this; }
  Asm& PushInt(int v) { return Op(OP_PUSH_CONST).B(2).Int(v); }
  Asm& PushString(const wchar_t* s) { Op(OP_PUSH_CONST).B(4); c.EmitString(s); return *this; }
  Asm& Var(const wchar_t* name, int mode = 0) { Op(OP_VARIABLE); c.EmitString(name); return B(mode); }
  Asm& Field(const wchar_t* name) { Op(OP_FIELD); c.EmitString(name); return B(0); }
  Asm& Load() { return Op(OP_LOAD); }
  Asm& Store() { return Op(OP_STORE).B(1); }
  Asm& Line(int n) { return Op(OP_LINE).Int(n); }
  // i < n, jumping to the answered operand's target when false.
  int While(const wchar_t* i, int n) {
    Line(1).Var(i).Load().PushInt(n).Op(OP_LT).Op(OP_JUMP_IF_FALSE);
    int at = c.Size();
    Int(0);
    return at;
  }
  Asm& Increment(const wchar_t* i) { return Line(2).Var(i).Op(OP_DUP).Load().PushInt(1).Op(OP_ADD).Store(); }
  int Here() const { return c.Size(); }
  VmCode c;
};

// A start as the script block makes it: reset and built-ins.
void Start(VmEngine& vm) {
  vm.RegisterBuiltins();
}

struct Result {
  double seconds = 0;
  long long instructions = 0;
  int slices = 0;
};

// The best of five runs from the start (the machine is shared with other
// work, so the fastest run is the one least disturbed).
Result RunToEnd(VmEngine& vm) {
  Result best;
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (attempt) Start(vm);
    Result r;
    double t0 = Now();
    while (vm.ProgramCounter() >= 0) {
      r.instructions += vm.Run();
      ++r.slices;
    }
    r.seconds = Now() - t0;
    if (attempt == 0 || r.seconds < best.seconds) best = r;
  }
  return best;
}

void Load(VmEngine& vm, const Asm& a) {
  vm.SetCode(a.c.Bytes(), a.c.Size());
  Start(vm);
}

int GlobalInt(VmEngine& vm, const wchar_t* name) {
  VmVariable* v = vm.FindGlobal(name);
  return v ? v->value.ToInt() : -1;
}

void Report(const char* name, const Result& r) {
  printf("%-28s %8.1f ms %11lld instr %7.1f M instr/s %7.1f us/slice\n", name, r.seconds * 1000, r.instructions,
         r.instructions / r.seconds / 1e6, r.seconds * 1e6 / r.slices);
}

Result IntegerLoop(VmEngine& vm, int n, bool* ok) {
  Asm a;
  a.Var(L"i", 1).PushInt(0).Store().Var(L"s", 1).PushInt(0).Store();
  int loop = a.Here();
  int exit = a.While(L"i", n);
  a.Line(3).Var(L"s", 1).Var(L"s").Load().Var(L"i").Load().Op(OP_ADD).Store();
  a.Increment(L"i").Op(OP_JUMP).Int(loop);
  a.c.PatchInt(exit, a.Here());
  a.Op(OP_RETURN);
  Load(vm, a);
  Result r = RunToEnd(vm);
  long long expected = static_cast<long long>(n) * (n - 1) / 2;
  *ok = *ok && GlobalInt(vm, L"s") == static_cast<int>(static_cast<unsigned>(expected));
  return r;
}

Result Fibonacci(VmEngine& vm, int n, bool* ok) {
  Asm a;
  a.Op(OP_DEFINE_FUNCTION);
  a.c.EmitString(L"fib");
  a.B(1);
  a.c.EmitString(L"n");
  int entry = a.Here();
  a.Int(0);
  a.Var(L"r", 1).PushInt(n).Var(L"fib").Load().Op(OP_CALL).B(1).Store().Op(OP_RETURN);
  a.c.PatchInt(entry, a.Here());
  a.Line(1).Var(L"n").Load().PushInt(2).Op(OP_LT).Op(OP_JUMP_IF_FALSE);
  int l1 = a.Here();
  a.Int(0).Line(2).Var(L"n").Load().Op(OP_RETURN);
  a.c.PatchInt(l1, a.Here());
  a.Line(3).Var(L"n").Load().PushInt(1).Op(OP_SUB).Var(L"fib").Load().Op(OP_CALL).B(1);
  a.Var(L"n").Load().PushInt(2).Op(OP_SUB).Var(L"fib").Load().Op(OP_CALL).B(1).Op(OP_ADD).Op(OP_RETURN);
  a.Op(OP_PUSH_CONST).B(0).Op(OP_RETURN);
  Load(vm, a);
  Result r = RunToEnd(vm);
  *ok = *ok && GlobalInt(vm, L"r") == 75025;
  return r;
}

Result PushPop(VmEngine& vm, int n, bool* ok) {
  Asm a;
  a.Var(L"a", 1).Op(OP_NEW_ARRAY).Int(0).Store().Var(L"i", 1).PushInt(0).Store();
  int loop = a.Here();
  int exit = a.While(L"i", n);
  a.Line(3).Var(L"i").Load().Var(L"a").Field(L"push").Load().Op(OP_CALL).B(1).Op(OP_POP);
  a.Increment(L"i").Op(OP_JUMP).Int(loop);
  a.c.PatchInt(exit, a.Here());
  a.Var(L"s", 1).PushInt(0).Store();
  int loop2 = a.Here();
  a.Line(4).Var(L"a").Field(L"length").Load().PushInt(0).Op(OP_GT).Op(OP_JUMP_IF_FALSE);
  int exit2 = a.Here();
  a.Int(0).Line(5).Var(L"s", 1).Var(L"s").Load().Var(L"a").Field(L"pop").Load().Op(OP_CALL).B(0).Op(OP_ADD).Store();
  a.Op(OP_JUMP).Int(loop2);
  a.c.PatchInt(exit2, a.Here());
  a.Op(OP_RETURN);
  Load(vm, a);
  Result r = RunToEnd(vm);
  long long expected = static_cast<long long>(n) * (n - 1) / 2;
  *ok = *ok && GlobalInt(vm, L"s") == static_cast<int>(static_cast<unsigned>(expected));
  return r;
}

Result TextBuilding(VmEngine& vm, int n, bool* ok) {
  Asm a;
  a.Var(L"s", 1).PushString(L"").Store().Var(L"i", 1).PushInt(0).Store();
  int loop = a.Here();
  int exit = a.While(L"i", n);
  a.Line(3).Var(L"s", 1).Var(L"s").Load().PushString(L"x").Op(OP_ADD).Store();
  a.Increment(L"i").Op(OP_JUMP).Int(loop);
  a.c.PatchInt(exit, a.Here());
  a.Op(OP_RETURN);
  Load(vm, a);
  Result r = RunToEnd(vm);
  VmVariable* s = vm.FindGlobal(L"s");
  *ok = *ok && s && s->value.StringLength() == n;
  return r;
}

}  // namespace

int main() {
  SimMessageLog log;
  VmEngine vm;
  vm.SetLog(&log);
  bool ok = true;
  Report("integer loop 10^6", IntegerLoop(vm, 1000000, &ok));
  Report("fib(25)", Fibonacci(vm, 25, &ok));
  bool linear = true;
  for (int kind = 0; kind < 2; ++kind) {
    const char* name = kind ? "text building" : "array push/pop";
    Result small = kind ? TextBuilding(vm, 10000, &ok) : PushPop(vm, 10000, &ok);
    Result large = kind ? TextBuilding(vm, 100000, &ok) : PushPop(vm, 100000, &ok);
    char label[64];
    snprintf(label, sizeof label, "%s 10^4", name);
    Report(label, small);
    snprintf(label, sizeof label, "%s 10^5", name);
    Report(label, large);
    double ratio = (large.seconds / 100000) / (small.seconds / 10000);
    printf("  time per item at 10^5 / at 10^4: %.2f\n", ratio);
    if (ratio > 2.0) linear = false;
  }
  if (log.GetCount()) printf("errors: %ls\n", log.GetItem(0));
  if (!ok) printf("FAILED: a program computed a wrong result\n");
  if (!linear) printf("FAILED: time per item grows with the count\n");
  return ok && linear && log.GetCount() == 0 ? 0 : 1;
}
