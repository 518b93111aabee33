#include "foundation/buffers.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "foundation/buffer_failure_scope.h"

namespace {

// Allocations a failure scope still grants (-1: no scope), and its refusals.
int g_allocationsLeft = -1;
int g_refusals = 0;
// Blocks not had, in the program's whole life.
unsigned g_failures = 0;

}  // namespace

CBufferFailureScope::CBufferFailureScope(int successes)
    : previousLeft_(g_allocationsLeft), previousRefusals_(g_refusals) {
  g_allocationsLeft = successes < 0 ? 0 : successes;
  g_refusals = 0;
}

CBufferFailureScope::~CBufferFailureScope() {
  g_allocationsLeft = previousLeft_;
  g_refusals = previousRefusals_;
}

int CBufferFailureScope::GetRefusals() const { return g_refusals; }

bool BufferAllocationAllowed() {
  if (g_allocationsLeft < 0) return true;
  if (g_allocationsLeft == 0) {
    g_refusals++;
    return false;
  }
  g_allocationsLeft--;
  return true;
}

void* ReallocBuffer(void* block, size_t size) {
  if (size == 0) {
    free(block);
    return nullptr;
  }
  void* grown = size <= kFoundationMaxBlock && BufferAllocationAllowed() ? realloc(block, size) : nullptr;
  if (!grown) g_failures++;
  return grown;
}

void* AllocBuffer(size_t size) {
  if (size == 0) return nullptr;
  void* made = size <= kFoundationMaxBlock && BufferAllocationAllowed() ? malloc(size) : nullptr;
  if (!made) g_failures++;
  return made;
}

unsigned GetBufferFailureCount() { return g_failures; }

void FreeBuffer(void* block) { free(block); }

wchar_t* AllocWideString(size_t n) {
  // 2n + 2 is worked out only below the block limit, where it cannot wrap;
  // above it the size asked for is one past the limit, which is refused.
  size_t bytes = n < kFoundationMaxBlock / 2 ? 2 * n + 2 : kFoundationMaxBlock + 1;
  return static_cast<wchar_t*>(AllocBuffer(bytes));
}

// A null or empty tail leaves text as it is; a null text gives a copy of
// tail; otherwise a new block holds both. When there is no room, the old text
// is freed and null returned. tail may point into text: both are measured and
// copied into the new block before the old one is freed.
wchar_t* AppendString(wchar_t* text, const wchar_t* tail) {
  if (!tail || !*tail) return text;
  if (!text) return DupString(tail);
  size_t a = wcslen(text), b = wcslen(tail);
  wchar_t* joined = AllocWideString(a + b);
  if (!joined) {
    FreeBuffer(text);
    return nullptr;
  }
  memcpy(joined, text, 2 * a);
  memcpy(joined + a, tail, 2 * (b + 1));
  FreeBuffer(text);
  return joined;
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
  char* copy = static_cast<char*>(AllocBuffer(n + 1));
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
