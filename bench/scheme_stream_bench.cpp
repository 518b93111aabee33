// Writes and reads back generated schemes of n blocks and 2n wires and
// prints the times; reading has to grow linearly with the scheme.
//
//   scheme_stream_bench.exe [blocks...]      (default 2500 5000 10000)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "foundation/stream.h"
#include "scheme/block.h"
#include "scheme/class_registry.h"
#include "scheme/scheme.h"
#include "scheme/wire.h"

namespace {

// Four pins: two in on the left, two out on the right.
class BenchPart : public CSCHBlock {
public:
  BenchPart() {
    SetPinCount(4);
    for (int i = 0; i < 4; i++) pins[i].side = i < 2 ? kSideLeft : kSideRight;
  }
};

CSCHBlock* NewBenchPart() { return new BenchPart; }

double Now() {
  static LARGE_INTEGER frequency = {};
  if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Link(SchWire* w, int end, CSCHBlock* b, int pin) {
  w->endKind[end] = kWireEndPin;
  w->ends[end].target = b;
  w->ends[end].index = pin;
  b->pins[pin].wire = w;
  b->pins[pin].wireEnd = static_cast<unsigned char>(end);
}

// n blocks in a ring, each output pin wired to an input of the next block.
void Generate(SchScheme* s, int n) {
  std::vector<CSCHBlock*> blocks(n);
  for (int i = 0; i < n; i++) {
    CSCHBlock* b = new BenchPart;
    b->className = "Bench";
    // Linked directly: Attach would look at every block placed before.
    b->scheme = s;
    b->next = s->blocks;
    if (b->next) b->next->prev = b;
    else s->lastBlock = b;
    s->blocks = b;
    b->rect = RECT{100 + (i % 100) * 120, 50 + (i / 100) * 160, 180 + (i % 100) * 120, 150 + (i / 100) * 160};
    wchar_t name[16];
    swprintf(name, 16, L"B%d", i + 1);
    b->SetName(name);
    b->SetModel("BENCH-1");
    blocks[i] = b;
  }
  for (int i = 0; i < n; i++) {
    for (int k = 0; k < 2; k++) {
      SchWire* w = new SchWire(s);
      w->firstDir = 2;
      w->SetCoordinateCount(1);
      w->coords[0] = blocks[i]->rect.right + 20;
      Link(w, 0, blocks[i], 2 + k);
      Link(w, 1, blocks[(i + 1) % n], k);
    }
  }
}

struct Result {
  int blocks;
  int bytes;
  double write;
  double read;
};

Result Measure(int n, int repeats) {
  SchScheme source;
  Generate(&source, n);
  Result r = {n, 0, 1e9, 1e9};
  for (int k = 0; k < repeats; k++) {
    CMemoryStream m;
    m.granularity = 1 << 20;
    double t0 = Now();
    source.Write(&m, 0);
    double t1 = Now();
    r.write = std::min(r.write, t1 - t0);
    r.bytes = m.size;

    SchScheme* copy = new SchScheme;
    m.Seek(0, 0);
    double t2 = Now();
    bool ok = copy->Read(&m, 0);
    double t3 = Now();
    r.read = std::min(r.read, t3 - t2);
    if (!ok || copy->BlockCount() != n || copy->WireCount() != 2 * n) {
      printf("read back failed for %d blocks\n", n);
      exit(1);
    }
    // The whole ring must come back joined.
    for (CSCHBlock* b = copy->blocks; b; b = b->next)
      for (int p = 0; p < b->pinCount; p++)
        if (!b->pins[p].wire) {
          printf("pin without wire after reading %d blocks\n", n);
          exit(1);
        }
    // Not timed: emptying is the model's business.
    while (copy->wires) delete copy->wires;
    while (copy->blocks) delete copy->blocks;
    delete copy;
  }
  while (source.wires) delete source.wires;
  while (source.blocks) delete source.blocks;
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  g_schClassRegistry.Add("Bench", NewBenchPart);
  std::vector<int> sizes;
  for (int i = 1; i < argc; i++) sizes.push_back(atoi(argv[i]));
  if (sizes.empty()) sizes = {2500, 5000, 10000};
  std::vector<Result> results;
  printf("%8s %8s %10s %10s %10s\n", "blocks", "wires", "bytes", "write ms", "read ms");
  for (int n : sizes) {
    if (n <= 0) continue;
    Result r = Measure(n, 5);
    results.push_back(r);
    printf("%8d %8d %10d %10.2f %10.2f\n", r.blocks, 2 * r.blocks, r.bytes, r.write * 1000, r.read * 1000);
  }
  if (results.size() >= 2) {
    const Result& a = results.front();
    const Result& b = results.back();
    double ratio = b.read / a.read;
    double scale = static_cast<double>(b.blocks) / a.blocks;
    printf("read %d / %d blocks: %.2f times the time (%.1f times the size; limit %.2f)\n", b.blocks, a.blocks,
           ratio, scale, scale * 4.5 / 4.0);
    if (ratio > scale * 4.5 / 4.0) {
      printf("reading does not scale linearly\n");
      return 2;
    }
  }
  return 0;
}
