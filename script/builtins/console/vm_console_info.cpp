#include "script/builtins/console/vm_console_info.h"

#include <cstring>
#include <cwchar>

#include "foundation/plain_array.h"
#include "scheme/simulation/sim_log.h"
#include "script/builtins/console/vm_console_line.h"
#include "script/builtins/vm_builtin_call.h"
#include "script/compiler/vm_messages.h"
#include "script/values/vm_number_text.h"

void CVMConsoleInfo::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  if (n == 0) {
    result.SetBool(false);
    return call.Finish(result);
  }
  VmTextOf format(*call.Arg(0));
  int formatLength = format.length;
  if (formatLength == 0) return call.Finish(result);
  CPlainArray<wchar_t> line(64);
  if (!line.Resize(formatLength)) return call.Fail(kVmErrorNoMemory);
  memcpy(line.Data(), format.chars, formatLength * sizeof(wchar_t));
  // From the second-to-last character back to the first; a placeholder
  // takes the text of the next value argument from the last one back. A
  // filled-in text is cut to a line's length: what lies past that never
  // shows, and the characters to the left are not changed by the cut.
  int nextValue = n - 1;
  for (int i = formatLength - 2; i >= 0 && nextValue >= 1; --i) {
    if (i + 1 >= line.Count()) continue;  // an empty text was filled in at the end
    wchar_t kind = line[i + 1];
    if (line[i] != L'%' || (kind != L'd' && kind != L'f' && kind != L's')) continue;
    const VmValue& v = *call.Arg(nextValue--);
    wchar_t buffer[kVmTextBufferChars];
    const wchar_t* text;
    int length;
    if (kind == L'd') {
      text = FormatIntText(v.ToInt(), buffer);
      length = static_cast<int>(wcslen(text));
    } else if (kind == L'f') {
      text = FormatDoubleText(v.ToDouble(), buffer);
      length = static_cast<int>(wcslen(text));
    } else {
      text = v.ToText(buffer);
      length = v.type == VM_STRING ? v.StringLength() : text ? static_cast<int>(wcslen(text)) : 0;
    }
    if (length > kVmConsoleLineChars) length = kVmConsoleLineChars;
    int tail = line.Count() - (i + 2);
    int newCount = i + length + tail;
    if (newCount > line.Count() && !line.Resize(newCount)) return call.Fail(kVmErrorNoMemory);
    memmove(line.Data() + i + length, line.Data() + i + 2, tail * sizeof(wchar_t));
    if (length) memcpy(line.Data() + i, text, length * sizeof(wchar_t));
    if (newCount < line.Count()) line.Resize(newCount);
  }
  if (!line.Append(0)) return call.Fail(kVmErrorNoMemory);
  engine->Log()->AppendText(line.Data());
  result.SetBool(true);
  call.Finish(result);
}
