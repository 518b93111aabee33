#include "script/builtins/string/vm_string_concat.h"

#include <cstring>

#include "foundation/plain_array.h"
#include "script/builtins/vm_builtin_call.h"
#include "script/compiler/vm_messages.h"
#include "script/values/vm_text.h"

void CVMStringConcat::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  CPlainArray<wchar_t> joined(256);
  for (int k = -1; k < n; ++k) {
    VmTextOf text(k < 0 ? engine->ReceiverString() : *call.Arg(k));
    int at = joined.Count();
    if (text.length > VmText::kMaxLength - at || !joined.Resize(at + text.length))
      return call.Fail(kVmErrorTextTooLong);
    if (text.length) memcpy(joined.Data() + at, text.chars, text.length * sizeof(wchar_t));
  }
  VmValue result;
  result.SetString(joined.Data(), joined.Count());
  call.Finish(result);
}
