#include "script/vm_global_functions.h"

#include <cstring>
#include <cwchar>

#include "foundation/plain_array.h"
#include "scheme/sim_log.h"
#include "script/vm_builtin_call.h"
#include "script/vm_messages.h"
#include "script/vm_number_text.h"

namespace {

// The log keeps a line's first kMaxMessageChars units (and cuts between the
// halves of no surrogate pair); one unit more is gathered so the log makes
// that cut, and text beyond never shows.
const int kLineChars = SimMessageLog::kMaxMessageChars + 1;

// Appends at most the room left of a line of kLineChars units.
bool AppendCut(CPlainArray<wchar_t>* line, const wchar_t* text, int length) {
  int room = kLineChars - line->Count();
  if (length > room) length = room;
  if (length <= 0) return true;
  int at = line->Count();
  if (!line->Resize(at + length)) return false;
  memcpy(line->Data() + at, text, length * sizeof(wchar_t));
  return true;
}

int LengthOf(const VmValue& v, const wchar_t* text) {
  if (v.type == VM_STRING) return v.StringLength();
  return text ? static_cast<int>(wcslen(text)) : 0;
}

// Ends the line with its terminator; false when memory ran out.
bool Terminate(CPlainArray<wchar_t>* line) { return line->Append(0); }

}  // namespace

void CVMConsoleLog::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  if (n > 0) {
    CPlainArray<wchar_t> line(64);
    for (int k = 0; k < n; ++k) {
      wchar_t buffer[kVmTextBufferChars];
      const wchar_t* t = call.Arg(k)->ToText(buffer);
      if (!AppendCut(&line, t, LengthOf(*call.Arg(k), t))) return call.Fail(kVmErrorNoMemory);
    }
    if (!Terminate(&line)) return call.Fail(kVmErrorNoMemory);
    engine->Log()->AppendText(line.Data());
    result.SetBool(true);
  } else {
    result.SetBool(false);
  }
  call.Finish(result);
}

void CVMConsoleInfo::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  if (n == 0) {
    result.SetBool(false);
    return call.Finish(result);
  }
  wchar_t formatBuffer[kVmTextBufferChars];
  const wchar_t* format = call.Arg(0)->ToText(formatBuffer);
  int formatLength = LengthOf(*call.Arg(0), format);
  if (formatLength == 0) return call.Finish(result);
  CPlainArray<wchar_t> line(64);
  if (!line.Resize(formatLength)) return call.Fail(kVmErrorNoMemory);
  memcpy(line.Data(), format, formatLength * sizeof(wchar_t));
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
      length = LengthOf(v, text);
    }
    if (length > kLineChars) length = kLineChars;
    int tail = line.Count() - (i + 2);
    int newCount = i + length + tail;
    if (newCount > line.Count() && !line.Resize(newCount)) return call.Fail(kVmErrorNoMemory);
    memmove(line.Data() + i + length, line.Data() + i + 2, tail * sizeof(wchar_t));
    if (length) memcpy(line.Data() + i, text, length * sizeof(wchar_t));
    if (newCount < line.Count()) line.Resize(newCount);
  }
  if (!Terminate(&line)) return call.Fail(kVmErrorNoMemory);
  engine->Log()->AppendText(line.Data());
  result.SetBool(true);
  call.Finish(result);
}

void CVMParseInt::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  if (n >= 1) result.SetInt(call.Arg(0)->ToInt());
  call.Finish(result);
}

void CVMParseFloat::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  if (n >= 1) result.SetDouble(call.Arg(0)->ToDouble());
  call.Finish(result);
}

void CVMTime::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  result.SetDouble(engine->SimulatedTime());
  call.Finish(result);
}

// The duration is read (milliseconds, 1000 by default) but the call does
// nothing with it: the script goes on at once. A script block runs its
// program in slices within the simulation step and has no way to let
// simulated time pass inside a slice, so waiting is left to the script
// (comparing time() in a loop spreads over the slices without blocking).
void CVMSleep::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  int32_t milliseconds = call.IntArg(0, 1000);
  (void)milliseconds;
  call.FinishUndefined();
}
