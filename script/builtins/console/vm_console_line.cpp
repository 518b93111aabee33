#include "script/builtins/console/vm_console_line.h"

#include <cstring>

bool AppendConsoleText(CPlainArray<wchar_t>* line, const wchar_t* text, int length) {
  int room = kVmConsoleLineChars - line->Count();
  if (length > room) length = room;
  if (length <= 0) return true;
  int at = line->Count();
  if (!line->Resize(at + length)) return false;
  memcpy(line->Data() + at, text, length * sizeof(wchar_t));
  return true;
}
