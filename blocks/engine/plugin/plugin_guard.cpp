#include "blocks/engine/plugin/plugin_guard.h"

#include <float.h>
#include <malloc.h>
#include <setjmp.h>
#include <stdint.h>

namespace {

// Room on the guard's own stack frame where the recovery runs: the stack of
// the faulting call may be exhausted, so the jump back starts from here.
const int kRecoveryStackBytes = 2048;

struct GuardFrame {
  jmp_buf jump;
  GuardFrame* outer;
  DWORD thread;
  DWORD code;
  char* recoveryStack;  // top of the room above
};

GuardFrame* g_innermost = nullptr;

bool IsProcessorFault(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_UNDERFLOW:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_STACK_OVERFLOW:
      return true;
    default:
      return false;
  }
}

// Entered in place of the faulting instruction, on the guard's room.
__attribute__((noreturn)) void RecoverFromFault() { longjmp(g_innermost->jump, 1); }

LONG CALLBACK FaultHandler(EXCEPTION_POINTERS* info) {
  GuardFrame* frame = g_innermost;
  if (!frame || frame->thread != GetCurrentThreadId() || !info || !info->ExceptionRecord ||
      !info->ContextRecord)
    return EXCEPTION_CONTINUE_SEARCH;
  DWORD code = info->ExceptionRecord->ExceptionCode;
  if (!IsProcessorFault(code)) return EXCEPTION_CONTINUE_SEARCH;
  frame->code = code;
  CONTEXT* context = info->ContextRecord;
  uintptr_t top = reinterpret_cast<uintptr_t>(frame->recoveryStack) & ~static_cast<uintptr_t>(15);
  context->Esp = static_cast<DWORD>(top - sizeof(void*));  // as if called
  context->Eip = static_cast<DWORD>(reinterpret_cast<uintptr_t>(&RecoverFromFault));
  return EXCEPTION_CONTINUE_EXECUTION;
}

// The handler is installed on the first guarded call and stays for the run;
// it passes every fault on while no guarded call runs.
class HandlerInstallation {
public:
  HandlerInstallation() : handle_(AddVectoredExceptionHandler(1, FaultHandler)) {}
  ~HandlerInstallation() {
    if (handle_) RemoveVectoredExceptionHandler(handle_);
  }
  bool Installed() const { return handle_ != nullptr; }

private:
  void* handle_;
};

bool EnsureHandler() {
  static HandlerInstallation installation;
  return installation.Installed();
}

}  // namespace

bool BePluginGuard::Run(void (*call)(void* context), void* context, DWORD* faultCode) {
  if (faultCode) *faultCode = 0;
  if (!call) return false;
  if (!EnsureHandler()) {
    // Without the handler a fault cannot be taken back; the call still runs.
    call(context);
    return true;
  }
  volatile char room[kRecoveryStackBytes];
  room[0] = 0;
  GuardFrame frame;
  frame.outer = g_innermost;
  frame.thread = GetCurrentThreadId();
  frame.code = 0;
  frame.recoveryStack = const_cast<char*>(room) + kRecoveryStackBytes - 64;
  if (setjmp(frame.jump) == 0) {
    g_innermost = &frame;
    call(context);
    g_innermost = frame.outer;
    return true;
  }
  // Back from a fault: the floating-point unit may be left in any state.
  g_innermost = frame.outer;
  _fpreset();
  // The stack's guard page went with the overflow; without it the next
  // overflow could not be told.
  if (frame.code == EXCEPTION_STACK_OVERFLOW) _resetstkoflw();
  if (faultCode) *faultCode = frame.code;
  return false;
}

bool BePluginGuard::IsActive() { return g_innermost != nullptr; }
