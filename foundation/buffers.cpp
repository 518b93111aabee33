#include "foundation/buffers.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

void* ReallocBuffer(void* block, size_t size) {
  if (size == 0) {
    free(block);
    return nullptr;
  }
  return realloc(block, size);
}

void* AllocBuffer(size_t size) {
  if (size == 0) return nullptr;
  return malloc(size);
}

void FreeBuffer(void* block) { free(block); }

wchar_t* AllocWideString(size_t n) {
  return static_cast<wchar_t*>(malloc(2 * n + 2));
}

// A null or empty tail leaves text as it is; a null text gives a copy of
// tail; otherwise text grows to hold both. When it cannot grow, the old text
// is freed and null returned.
wchar_t* AppendString(wchar_t* text, const wchar_t* tail) {
  if (!tail || !*tail) return text;
  if (!text) return DupString(tail);
  size_t a = wcslen(text), b = wcslen(tail);
  wchar_t* grown = static_cast<wchar_t*>(realloc(text, 2 * (a + b) + 2));
  if (!grown) {
    free(text);
    return nullptr;
  }
  memcpy(grown + a, tail, 2 * (b + 1));
  return grown;
}

wchar_t* DupString(const wchar_t* text) {
  if (!text) return nullptr;
  size_t n = wcslen(text);
  wchar_t* copy = AllocWideString(n);
  if (copy) memcpy(copy, text, 2 * (n + 1));
  return copy;
}

char* DupStringA(const char* text) {
  if (!text) return nullptr;
  size_t n = strlen(text);
  char* copy = static_cast<char*>(malloc(n + 1));
  if (copy) memcpy(copy, text, n + 1);
  return copy;
}

void ReplaceString(wchar_t** slot, const wchar_t* text) {
  wchar_t* copy = DupString(text);
  FreeBuffer(*slot);
  *slot = copy;
}

void ReplaceString(char** slot, const char* text) {
  char* copy = DupStringA(text);
  FreeBuffer(*slot);
  *slot = copy;
}
