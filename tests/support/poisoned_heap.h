// A heap that shows a use after free. While a PoisonedHeapScope lives, every
// block given back through operator delete (the test programs replace it) is
// overwritten with kPoisonByte and kept, never reused; the scope's end frees
// them. A read through a freed pointer meets the poison (a pointer or a
// virtual call read from it faults, which fails the test program), and a
// second delete of a kept block is reported and fails the program at once.
#pragma once

#include <cstddef>

namespace velktest {

class PoisonedHeapScope {
public:
  static const unsigned char kPoisonByte = 0xDD;

  PoisonedHeapScope();
  ~PoisonedHeapScope();
  PoisonedHeapScope(const PoisonedHeapScope&) = delete;
  PoisonedHeapScope& operator=(const PoisonedHeapScope&) = delete;

  // Whether a scope lives, and how many freed blocks it keeps.
  static bool Active();
  static size_t KeptCount();
  // Whether p is a block kept by the scope (freed while it lived).
  static bool IsKept(const void* p);
};

}  // namespace velktest
