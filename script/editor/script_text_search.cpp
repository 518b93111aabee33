#include "script/editor/script_text_search.h"

#include <cwchar>

int FindScriptText(const wchar_t* text, int length, int caret, const wchar_t* pattern, bool backward) {
  if (!pattern || !*pattern || length < 0 || caret < 0 || caret > length) return -1;
  if (!text) return -1;
  int n = static_cast<int>(wcslen(pattern));
  auto matchesAt = [&](int p) { return wmemcmp(text + p, pattern, n) == 0; };
  if (backward) {
    for (int p = caret - n; p >= 0; --p)
      if (matchesAt(p)) return p;
    return -1;
  }
  for (int p = caret + 1; p + n <= length; ++p)
    if (matchesAt(p)) return p;
  return -1;
}
