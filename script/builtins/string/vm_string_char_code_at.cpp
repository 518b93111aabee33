#include "script/builtins/string/vm_string_char_code_at.h"

#include "script/builtins/vm_builtin_call.h"

void CVMStringCharCodeAt::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmTextOf text(engine->ReceiverString());
  int32_t index = call.IntArg(0, 0);
  VmValue result;
  if (index >= 0 && index < text.length) result.SetInt(static_cast<unsigned short>(text.chars[index]));
  call.Finish(result);
}
