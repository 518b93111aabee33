#include "script/builtins/global/vm_sleep.h"

#include "script/builtins/vm_builtin_call.h"

// The duration is read (milliseconds, 1000 by default) but the call does
// nothing with it: the script goes on at once. A script block runs its
// program in slices within the simulation step and has no way to let
// simulated time pass inside a slice, so waiting is left to the script
// (comparing time() in a loop spreads over the slices without blocking).
void CVMSleep::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  int32_t milliseconds = call.IntArg(0, 1000);
  (void)milliseconds;
  call.FinishUndefined();
}
