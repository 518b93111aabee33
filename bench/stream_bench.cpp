// Appending to a CMemoryStream in 4-byte fields and reading it back, at
// 16 MiB and 64 MiB. Appending must be linear: the 64 MiB run may take at most
// about 4.5 times the 16 MiB one.
#include <windows.h>

#include <cstdio>

#include "foundation/memory_stream.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Timing {
  double write = 0, read = 0;
  bool ok = false;
};

Timing Run(int bytes) {
  Timing t;
  const int fields = bytes / 4;
  CMemoryStream s;
  LARGE_INTEGER t0, t1, t2;
  QueryPerformanceCounter(&t0);
  for (int i = 0; i < fields; ++i)
    if (s.WriteInt32(i) != 4) return t;
  QueryPerformanceCounter(&t1);
  s.Seek(0, 0);
  unsigned sum = 0;
  bool same = true;
  for (int i = 0; i < fields; ++i) {
    int v = s.ReadInt32();
    sum += static_cast<unsigned>(v);
    same = same && v == i;
  }
  QueryPerformanceCounter(&t2);
  t.write = Seconds(t0, t1);
  t.read = Seconds(t1, t2);
  t.ok = same && s.size == bytes && s.position == bytes && sum != 1;
  return t;
}

// Keeps the best of several runs, so that one slow moment does not decide.
void KeepBest(Timing& best, const Timing& t) {
  if (!t.ok) {
    best.ok = false;
    return;
  }
  if (best.write == 0 || t.write < best.write) best.write = t.write;
  if (best.read == 0 || t.read < best.read) best.read = t.read;
}

}  // namespace

int main() {
  const int small = 16 << 20, large = 64 << 20;
  Timing a, b;
  a.ok = b.ok = true;
  for (int r = 0; r < 5 && a.ok && b.ok; ++r) {  // alternate, so both see the same machine
    KeepBest(a, Run(small));
    KeepBest(b, Run(large));
  }
  if (!a.ok || !b.ok) {
    printf("stream_bench: a run failed (allocation or content)\n");
    return 2;
  }
  const double writeRatio = b.write / a.write, readRatio = b.read / a.read;
  printf("16 MiB: write %.3f s, read %.3f s\n", a.write, a.read);
  printf("64 MiB: write %.3f s, read %.3f s\n", b.write, b.read);
  printf("ratio 64/16: write %.2f, read %.2f (linear is 4.0, limit 4.5)\n", writeRatio, readRatio);
  const bool linear = writeRatio <= 4.5;
  printf("%s\n", linear ? "writing is linear" : "writing is NOT linear");
  return linear ? 0 : 1;
}
