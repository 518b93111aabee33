#include "foundation/random.h"

namespace {
unsigned int g_randomState = 1;
}

int NextRandom() {
  g_randomState = g_randomState * 214013u + 2531011u;
  return static_cast<int>((g_randomState >> 16) & 0x7FFFu);
}

unsigned int GetRandomSeed() { return g_randomState; }

void SetRandomSeed(unsigned int seed) { g_randomState = seed; }
