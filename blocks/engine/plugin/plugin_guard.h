// Calls into plug-in DLLs under a guard: a processor fault inside the call
// (an access violation, a division by zero, ...) ends the call and returns to
// the guard instead of ending the program. Only faults raised while a guarded
// call runs on this thread are taken; any other fault goes on as before.
#pragma once

#include <windows.h>

class BePluginGuard {
public:
  // Runs call(context). True when it returned; false when a processor fault
  // ended it, with the fault's code in *faultCode (when given). Guards nest.
  // The call must leave no object with a destructor between the guard and
  // the fault: such objects are not destroyed when a fault ends the call.
  static bool Run(void (*call)(void* context), void* context, DWORD* faultCode);

  // Is a guarded call running now.
  static bool IsActive();
};
