#include "script/builtins/console/vm_console_log.h"

#include "foundation/plain_array.h"
#include "scheme/simulation/sim_log.h"
#include "script/builtins/console/vm_console_line.h"
#include "script/builtins/vm_builtin_call.h"
#include "script/compiler/vm_messages.h"

void CVMConsoleLog::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  if (n > 0) {
    CPlainArray<wchar_t> line(64);
    for (int k = 0; k < n; ++k) {
      VmTextOf text(*call.Arg(k));
      if (!AppendConsoleText(&line, text.chars, text.length)) return call.Fail(kVmErrorNoMemory);
    }
    if (!line.Append(0)) return call.Fail(kVmErrorNoMemory);
    engine->Log()->AppendText(line.Data());
    result.SetBool(true);
  } else {
    result.SetBool(false);
  }
  call.Finish(result);
}
