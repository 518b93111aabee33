#include "script/builtins/string/vm_string_index_of.h"

#include <cstring>

#include "script/builtins/vm_builtin_call.h"

void CVMStringIndexOf::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmTextOf text(engine->ReceiverString());
  int32_t start = call.IntArg(1, 0);
  int position = -1;
  if (n > 0 && start >= 0 && start < text.length) {
    VmTextOf wanted(*call.Arg(0));
    for (int at = start; wanted.length > 0 && at <= text.length - wanted.length; ++at) {
      if (memcmp(text.chars + at, wanted.chars, wanted.length * sizeof(wchar_t)) == 0) {
        position = at;
        break;
      }
    }
  }
  VmValue result;
  result.SetInt(position);
  call.Finish(result);
}
