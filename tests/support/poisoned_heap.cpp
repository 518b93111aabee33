#include "support/poisoned_heap.h"

#include <windows.h>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Plain C heap only: this is the heap behind operator delete itself.
int g_depth = 0;
void** g_kept = nullptr;
size_t g_keptCount = 0;
size_t g_keptCapacity = 0;

bool Keep(void* p) {
  if (g_keptCount == g_keptCapacity) {
    size_t capacity = g_keptCapacity ? g_keptCapacity * 2 : 4096;
    void** grown = static_cast<void**>(std::realloc(g_kept, capacity * sizeof(void*)));
    if (!grown) return false;
    g_kept = grown;
    g_keptCapacity = capacity;
  }
  g_kept[g_keptCount++] = p;
  return true;
}

bool LooksPoisoned(const void* p, size_t size) {
  const unsigned char* bytes = static_cast<const unsigned char*>(p);
  size_t n = size < 16 ? size : 16;
  for (size_t i = 0; i < n; i++)
    if (bytes[i] != velktest::PoisonedHeapScope::kPoisonByte) return false;
  return n > 0;
}

void Release(void* p) {
  if (!p) return;
  if (g_depth > 0) {
    size_t size = _msize(p);
    if (size != static_cast<size_t>(-1)) {
      if (LooksPoisoned(p, size) && velktest::PoisonedHeapScope::IsKept(p)) {
        std::fprintf(stderr, "\nFATAL: the block at %p was deleted twice\n", p);
        std::fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 3);
      }
      std::memset(p, velktest::PoisonedHeapScope::kPoisonByte, size);
      if (Keep(p)) return;
    }
  }
  std::free(p);
}

}  // namespace

namespace velktest {

PoisonedHeapScope::PoisonedHeapScope() { g_depth++; }

PoisonedHeapScope::~PoisonedHeapScope() {
  if (--g_depth > 0) return;
  // Taken out of the list before they are freed: free never calls back here.
  void** kept = g_kept;
  size_t count = g_keptCount;
  g_kept = nullptr;
  g_keptCount = g_keptCapacity = 0;
  for (size_t i = 0; i < count; i++) std::free(kept[i]);
  std::free(kept);
}

bool PoisonedHeapScope::Active() { return g_depth > 0; }
size_t PoisonedHeapScope::KeptCount() { return g_keptCount; }

bool PoisonedHeapScope::IsKept(const void* p) {
  for (size_t i = g_keptCount; i > 0; i--)
    if (g_kept[i - 1] == p) return true;
  return false;
}

}  // namespace velktest

// The test programs' operator delete: the default one (operator new takes
// its blocks from malloc), unless a PoisonedHeapScope lives.
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }
