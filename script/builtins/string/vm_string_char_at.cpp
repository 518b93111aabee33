#include "script/builtins/string/vm_string_char_at.h"

#include "script/builtins/vm_builtin_call.h"

void CVMStringCharAt::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmTextOf text(engine->ReceiverString());
  int32_t index = call.IntArg(0, 0);
  VmValue result;
  if (index >= 0 && index < text.length) result.SetString(text.chars + index, 1);
  call.Finish(result);
}
