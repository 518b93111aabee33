#include "script/vm_string_methods.h"

#include <cstring>
#include <cwchar>

#include "foundation/plain_array.h"
#include "script/vm_builtin_call.h"
#include "script/vm_messages.h"
#include "script/vm_text.h"

namespace {

// The text of a value with its length; null and 0 for no text.
struct TextOf {
  explicit TextOf(const VmValue& v) {
    chars = v.ToText(buffer);
    length = v.type == VM_STRING ? v.StringLength() : chars ? static_cast<int>(wcslen(chars)) : 0;
  }
  wchar_t buffer[kVmTextBufferChars];
  const wchar_t* chars;
  int length;
};

}  // namespace

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

void CVMStringCharAt::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  TextOf text(engine->ReceiverString());
  int32_t index = call.IntArg(0, 0);
  VmValue result;
  if (index >= 0 && index < text.length) result.SetString(text.chars + index, 1);
  call.Finish(result);
}

void CVMStringCharCodeAt::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  TextOf text(engine->ReceiverString());
  int32_t index = call.IntArg(0, 0);
  VmValue result;
  if (index >= 0 && index < text.length) result.SetInt(static_cast<unsigned short>(text.chars[index]));
  call.Finish(result);
}

void CVMStringConcat::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  CPlainArray<wchar_t> joined(256);
  for (int k = -1; k < n; ++k) {
    TextOf text(k < 0 ? engine->ReceiverString() : *call.Arg(k));
    int at = joined.Count();
    if (text.length > VmText::kMaxLength - at || !joined.Resize(at + text.length))
      return call.Fail(kVmErrorTextTooLong);
    if (text.length) memcpy(joined.Data() + at, text.chars, text.length * sizeof(wchar_t));
  }
  VmValue result;
  result.SetString(joined.Data(), joined.Count());
  call.Finish(result);
}

void CVMStringIndexOf::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  TextOf text(engine->ReceiverString());
  int32_t start = call.IntArg(1, 0);
  int position = -1;
  if (n > 0 && start >= 0 && start < text.length) {
    TextOf wanted(*call.Arg(0));
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
