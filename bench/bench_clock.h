// The clock the benchmarks time with: seconds from the performance counter.
#pragma once

#include <windows.h>

namespace velkbench {

inline double Now() {
  static LARGE_INTEGER frequency = {};
  if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace velkbench
