// Saves and loads generated block schemes of 2,000 and 8,000 linked blocks as
// "BE5 " streams and reports the time of each. Reading and writing cost a
// constant per block, so each figure at 8,000 may be at most 4.5 times the
// one at 2,000. Exit code 1 when one is not.
//
// The machine running it is usually shared: both sizes are measured in
// alternating rounds and the best round of each is its figure.
#include <windows.h>

#include <cstdio>

#include "blocks/engine/block.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "foundation/stream.h"

namespace {

const int kRounds = 5;
const int kRepeats = 10;
const unsigned int kChainClassId = 0x0BE5BE50;

// Two inputs fed by the two blocks before it, two outputs.
class ChainBlock : public CBEBlock {
public:
  ChainBlock() {
    SetInputCount(2);
    SetOutputCount(2);
  }
};

CBEBlock* NewChainBlock() { return new ChainBlock; }

// Reads and writes a buffer larger than the processor's caches, so that what
// follows starts from main memory.
void EvictCaches() {
  static const size_t kBytes = 64u << 20;
  static volatile unsigned char* buffer = new unsigned char[kBytes];
  for (size_t i = 0; i < kBytes; i += 64) buffer[i] = static_cast<unsigned char>(buffer[i] + 1);
}

double Now() {
  static LARGE_INTEGER f = {};
  if (!f.QuadPart) QueryPerformanceFrequency(&f);
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / f.QuadPart;
}

void Build(BeScheme* scheme, int n) {
  CBEBlock* older = nullptr;
  CBEBlock* previous = nullptr;
  for (int i = 0; i < n; ++i) {
    CBEBlock* block = scheme->CreateBlock(kChainClassId);
    block->SetCaption(i % 10 == 0 ? L"Блок цепочки" : nullptr);
    if (previous) block->inputs[0]->source = previous->outputs[0];
    if (older) block->inputs[1]->source = older->outputs[1];
    block->inputs[0]->routeX1 = i;
    older = previous;
    previous = block;
  }
}

struct Times {
  double saveMs;
  double loadMs;
  int bytes;
};

// One round: kRepeats saves, each into a new memory stream, and kRepeats
// loads, each into a new scheme; the mean of each.
Times Measure(BeCatalogue* catalogue, BeScheme* scheme, bool cold) {
  Times t = {0, 0, 0};
  for (int r = 0; r < kRepeats; ++r) {
    CMemoryStream stream;
    // The stream grows in one step, as in the scheme stream benchmark: the
    // figure is the scheme's own writing, not the memory stream's growth.
    stream.granularity = 1 << 20;
    if (cold) EvictCaches();
    double t0 = Now();
    scheme->Save(&stream, false);
    double t1 = Now();
    t.saveMs += 1e3 * (t1 - t0) / kRepeats;
    t.bytes = stream.size;
    stream.Seek(0, 0);
    BeScheme copy;
    copy.Init(catalogue);
    if (cold) EvictCaches();
    double t2 = Now();
    bool ok = copy.Load(&stream, false);
    double t3 = Now();
    if (!ok) {
      t.loadMs = -1;
      return t;
    }
    t.loadMs += 1e3 * (t3 - t2) / kRepeats;
  }
  return t;
}

// Best of kRounds alternating rounds for both sizes.
bool BestTimes(BeCatalogue* catalogue, BeScheme* schemes, const int* sizes, bool cold, Times* best) {
  for (int round = 0; round < kRounds; ++round) {
    for (int i = 0; i < 2; ++i) {
      Times t = Measure(catalogue, &schemes[i], cold);
      if (t.loadMs < 0) {
        printf("N = %d: the stream did not load\n", sizes[i]);
        return false;
      }
      if (round == 0 || t.saveMs < best[i].saveMs) best[i].saveMs = t.saveMs;
      if (round == 0 || t.loadMs < best[i].loadMs) best[i].loadMs = t.loadMs;
      best[i].bytes = t.bytes;
    }
  }
  return true;
}

}  // namespace

int main() {
  BeCatalogue catalogue;
  catalogue.AddGroup(nullptr);
  catalogue.AddGroup(L"Цепочка")->AddEntry(kChainClassId, NewChainBlock, L"Звено", nullptr);
  const int sizes[2] = {2000, 8000};
  BeScheme schemes[2];
  for (int i = 0; i < 2; ++i) {
    schemes[i].Init(&catalogue);
    Build(&schemes[i], sizes[i]);
  }
  bool ok = true;
  for (int cold = 0; cold <= 1; ++cold) {
    Times best[2] = {};
    if (!BestTimes(&catalogue, schemes, sizes, cold != 0, best)) return 1;
    printf("%s:\n", cold ? "Each call from main memory (caches evicted first)"
                        : "Repeated calls (the smaller scheme stays in the caches)");
    for (int i = 0; i < 2; ++i) {
      printf("  N = %4d: %7d bytes, best of %d rounds of %d: save %6.2f ms, load %6.2f ms\n",
             sizes[i], best[i].bytes, kRounds, kRepeats, best[i].saveMs, best[i].loadMs);
    }
    double saveRatio = best[1].saveMs / best[0].saveMs;
    double loadRatio = best[1].loadMs / best[0].loadMs;
    bool within = saveRatio <= 4.5 && loadRatio <= 4.5;
    printf("  ratio N = 8000 / N = 2000: save %.2f, load %.2f (limit 4.50) %s\n", saveRatio,
           loadRatio, within ? "ok" : "OVER");
    ok = ok && within;
  }
  return ok ? 0 : 1;
}
