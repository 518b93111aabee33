#include "script/builtins/string/vm_string_from_char_code.h"

#include "foundation/plain_array.h"
#include "script/builtins/vm_builtin_call.h"
#include "script/compiler/vm_messages.h"

void CVMStringFromCharCode::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  CPlainArray<wchar_t> units(16);
  if (!units.Resize(n)) return call.Fail(kVmErrorNoMemory);
  int length = 0;
  while (length < n) {
    wchar_t unit = static_cast<wchar_t>(call.Arg(length)->ToInt() & 0xFFFF);
    if (unit == 0) break;
    units[length++] = unit;
  }
  VmValue result;
  result.SetString(units.Data(), length);
  call.Finish(result);
}
