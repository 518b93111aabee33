#include "script/builtins/array/vm_array_join.h"

#include <cstring>
#include <cwchar>

#include "foundation/plain_array.h"
#include "script/builtins/vm_builtin_call.h"
#include "script/compiler/vm_messages.h"
#include "script/values/vm_array.h"
#include "script/values/vm_text.h"

void CVMArrayJoin::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmArray* a = engine->ReceiverArray();
  if (!a) return call.FinishUndefined();
  wchar_t separatorBuffer[kVmTextBufferChars];
  const wchar_t* separator = n > 0 ? call.Arg(n - 1)->ToText(separatorBuffer) : L",";
  int separatorLength = separator ? static_cast<int>(wcslen(separator)) : 0;
  CPlainArray<wchar_t> text(256);
  for (int k = 0; k < a->count; ++k) {
    wchar_t buffer[kVmTextBufferChars];
    const VmValue& item = a->items[k];
    const wchar_t* t = item.ToText(buffer);
    int length = item.type == VM_STRING ? item.StringLength() : t ? static_cast<int>(wcslen(t)) : 0;
    int at = text.Count();
    int more = length + (k > 0 ? separatorLength : 0);
    if (more > VmText::kMaxLength - at || !text.Resize(at + more)) return call.Fail(kVmErrorTextTooLong);
    if (k > 0 && separatorLength) {
      memcpy(text.Data() + at, separator, separatorLength * sizeof(wchar_t));
      at += separatorLength;
    }
    if (length) memcpy(text.Data() + at, t, length * sizeof(wchar_t));
  }
  VmValue result;
  result.SetString(text.Data(), text.Count());
  call.Finish(result);
}
