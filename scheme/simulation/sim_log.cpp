#include "scheme/simulation/sim_log.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

#include "foundation/buffers.h"

namespace {

// Cuts text to at most kMaxMessageChars characters without splitting a
// surrogate pair, and returns the length kept.
size_t BoundedLength(const wchar_t* text) {
  size_t n = 0;
  while (n < static_cast<size_t>(SimMessageLog::kMaxMessageChars) && text[n]) ++n;
  if (text[n] && n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
  return n;
}

// The log's formats are wide texts in which "%s" takes a wide string and
// "%c" a wide character, as the messages are written throughout the
// program. The C library's wide printf reads an unmodified "%s" as an 8-bit
// string, so those two conversions get the "l" modifier; conversions that
// name their size ("%ls", "%hs", "%lc") and every other one stay as written.
std::wstring WideConversions(const wchar_t* format) {
  std::wstring out;
  out.reserve(wcslen(format) + 8);
  const wchar_t* p = format;
  while (*p) {
    if (*p != L'%') {
      out += *p++;
      continue;
    }
    out += *p++;  // the percent sign
    if (*p == L'%') {
      out += *p++;
      continue;
    }
    while (*p && wcschr(L"-+ #0'", *p)) out += *p++;        // flags
    while (*p && (iswdigit(*p) || *p == L'*')) out += *p++;  // width
    if (*p == L'.') {                                         // precision
      out += *p++;
      while (*p && (iswdigit(*p) || *p == L'*')) out += *p++;
    }
    bool sized = false;
    while (*p && wcschr(L"hlLqjztwI0123456789", *p)) {  // length, "I64" included
      sized = true;
      out += *p++;
    }
    if (!*p) break;
    if (!sized && (*p == L's' || *p == L'c')) out += L'l';
    out += *p++;
  }
  return out;
}

}  // namespace

SimMessageLog& SimMessageLog::Global() {
  static SimMessageLog log;
  return log;
}

const wchar_t* SimMessageLog::GetItem(int i) const {
  if (i < 0 || i >= count_) return nullptr;
  return items_[i];
}

bool SimMessageLog::Resize(int n) {
  if (n < 0) n = 0;
  if (n > count_) {
    // New slots come zeroed: empty messages.
    if (!ResizeSteppedArray(&items_, count_, n, kCapacityStep)) return false;
  } else {
    for (int i = n; i < count_; ++i) {
      FreeBuffer(items_[i]);
      items_[i] = nullptr;
    }
    // A shrink never fails: a block that cannot move keeps its larger size.
    ResizeSteppedArray(&items_, count_, n, kCapacityStep);
  }
  count_ = n;
  return true;
}

const wchar_t* SimMessageLog::AppendText(const wchar_t* text) {
  if (!text) text = L"";
  size_t n = BoundedLength(text);
  wchar_t* copy = AllocWideString(n);
  if (!copy) return nullptr;
  memcpy(copy, text, n * sizeof(wchar_t));
  copy[n] = 0;
  int index = count_;
  if (!Resize(count_ + 1)) {
    FreeBuffer(copy);
    return nullptr;
  }
  items_[index] = copy;
  return copy;
}

const wchar_t* SimMessageLog::AppendFormatV(const wchar_t* format, va_list args) {
  if (!format) return AppendText(L"");
  std::wstring wide;
  try {
    wide = WideConversions(format);
  } catch (...) {  // out of memory: nothing is appended
    return nullptr;
  }
  format = wide.c_str();
  wchar_t buffer[kMaxMessageChars + 1] = {};
  va_list copy;
  va_copy(copy, args);
  int written = vswprintf(buffer, kMaxMessageChars + 1, format, copy);
  va_end(copy);
  if (written >= 0 && written <= kMaxMessageChars) return AppendText(buffer);

  // The text does not fit: format it into a larger block and keep its head.
  for (size_t size = 4096; size <= (1u << 20); size *= 4) {
    std::vector<wchar_t> large(size);
    va_copy(copy, args);
    written = vswprintf(large.data(), size, format, copy);
    va_end(copy);
    if (written >= 0 && static_cast<size_t>(written) < size) return AppendText(large.data());
  }
  // Not formattable at all (or absurdly long): keep whatever the first
  // attempt left, terminated within the buffer.
  buffer[kMaxMessageChars] = 0;
  return AppendText(buffer);
}

const wchar_t* SimMessageLog::AppendFormat(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  const wchar_t* text = AppendFormatV(format, args);
  va_end(args);
  return text;
}
