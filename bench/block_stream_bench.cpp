// Saves and loads generated block schemes of 2,000 and 8,000 linked blocks as
// "BE5 " streams and reports the time of each. Reading and writing cost a
// constant per block, so each figure at 8,000 may be at most 4.5 times the
// one at 2,000. Exit code 1 when one is not.
//
// Saving is measured into a memory stream whose memory is already in place
// (the scheme's own writing) and, for information, into a new stream each
// time (adding the system's first touch of the stream's pages). The machine
// running it is usually shared: both sizes are measured in alternating
// rounds, and the fastest call of each kind is its figure.
#include <windows.h>

#include <cstdio>

#include "bench/bench_clock.h"
#include "blocks/engine/block.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "foundation/memory_stream.h"

namespace {

const int kRounds = 5;
const int kRepeats = 10;
const unsigned int kChainClassId = 0x0BE5BE50;
const unsigned int kWideClassId = 0x0BE5BE51;

// One input fed by the block before it, one output.
class ChainBlock : public CBEBlock {
public:
  ChainBlock() {
    SetInputCount(1);
    SetOutputCount(1);
  }
};

// Two inputs fed by the two blocks before it, two outputs.
class WideBlock : public CBEBlock {
public:
  WideBlock() {
    SetInputCount(2);
    SetOutputCount(2);
  }
};

CBEBlock* NewChainBlock() { return new ChainBlock; }
CBEBlock* NewWideBlock() { return new WideBlock; }

// Reads and writes a buffer larger than the processor's caches, so that what
// follows starts from main memory.
void EvictCaches() {
  static const size_t kBytes = 64u << 20;
  static volatile unsigned char* buffer = new unsigned char[kBytes];
  for (size_t i = 0; i < kBytes; i += 64) buffer[i] = static_cast<unsigned char>(buffer[i] + 1);
}

using velkbench::Now;

void Build(BeScheme* scheme, int n, unsigned int classId) {
  CBEBlock* older = nullptr;
  CBEBlock* previous = nullptr;
  for (int i = 0; i < n; ++i) {
    CBEBlock* block = scheme->CreateBlock(classId);
    block->SetCaption(i % 10 == 0 ? L"Блок цепочки" : nullptr);
    if (previous) block->inputs[0]->source = previous->outputs[0];
    if (older && block->inputCount > 1) block->inputs[1]->source = older->outputs[1];
    block->inputs[0]->routeX1 = i;
    older = previous;
    previous = block;
  }
}

struct Times {
  double saveMs;     // into a stream whose memory is in place
  double newSaveMs;  // into a new stream
  double loadMs;     // into a new scheme
  int bytes;
};

double Least(double a, double b) { return a < b ? a : b; }

// One round. Warm: kRepeats saves into the kept stream, kRepeats saves into
// new streams, then kRepeats loads, each run back to back, so each finds
// what the same operation left in the caches. Cold: each call starts from
// main memory. The fastest call of each.
bool Measure(BeCatalogue* catalogue, BeScheme* scheme, bool cold, Times* t) {
  *t = Times{1e9, 1e9, 1e9, 0};
  CMemoryStream kept;
  scheme->Save(&kept, false);
  for (int r = 0; r < kRepeats; ++r) {
    // Written over from the start: the memory stays in place (setting the
    // size to 0 would have the first write shrink the stream's memory and
    // every save grow it again).
    kept.Seek(0, 0);
    if (cold) EvictCaches();
    double t0 = Now();
    scheme->Save(&kept, false);
    t->saveMs = Least(t->saveMs, 1e3 * (Now() - t0));
  }
  t->bytes = kept.size;
  for (int r = 0; r < kRepeats; ++r) {
    CMemoryStream fresh;
    if (cold) EvictCaches();
    double t0 = Now();
    scheme->Save(&fresh, false);
    t->newSaveMs = Least(t->newSaveMs, 1e3 * (Now() - t0));
  }
  for (int r = 0; r < kRepeats; ++r) {
    kept.Seek(0, 0);
    BeScheme copy;
    copy.Init(catalogue);
    if (cold) EvictCaches();
    double t0 = Now();
    bool ok = copy.Load(&kept, false);
    double t1 = Now();
    if (!ok) return false;
    t->loadMs = Least(t->loadMs, 1e3 * (t1 - t0));
  }
  return true;
}

void KeepBest(const Times& t, bool first, Times* best) {
  if (first || t.saveMs < best->saveMs) best->saveMs = t.saveMs;
  if (first || t.newSaveMs < best->newSaveMs) best->newSaveMs = t.newSaveMs;
  if (first || t.loadMs < best->loadMs) best->loadMs = t.loadMs;
  best->bytes = t.bytes;
}

}  // namespace

int main() {
  BeCatalogue catalogue;
  catalogue.AddGroup(nullptr);
  BeCatalogueGroup* group = catalogue.AddGroup(L"Цепочка");
  group->AddEntry(kChainClassId, NewChainBlock, L"Звено", nullptr);
  group->AddEntry(kWideClassId, NewWideBlock, L"Широкое звено", nullptr);
  const int sizes[2] = {2000, 8000};
  struct Shape {
    unsigned int classId;
    const char* name;
  } shapes[2] = {{kChainClassId, "one input, one output"}, {kWideClassId, "two inputs, two outputs"}};
  bool ok = true;
  for (const Shape& shape : shapes) {
    BeScheme schemes[2];
    for (int i = 0; i < 2; ++i) {
      schemes[i].Init(&catalogue);
      Build(&schemes[i], sizes[i], shape.classId);
    }
    for (int cold = 0; cold <= 1; ++cold) {
      Times best[2] = {};
      for (int round = 0; round < kRounds; ++round) {
        for (int i = 0; i < 2; ++i) {
          Times t;
          if (!Measure(&catalogue, &schemes[i], cold != 0, &t)) {
            printf("N = %d: the stream did not load\n", sizes[i]);
            return 1;
          }
          KeepBest(t, round == 0, &best[i]);
        }
      }
      printf("Blocks of %s, %s:\n", shape.name,
             cold ? "each call from main memory (caches evicted first)"
                  : "calls back to back (the smaller scheme stays in the caches)");
      for (int i = 0; i < 2; ++i) {
        printf("  N = %4d: %6d bytes, fastest of %d x %d calls: save %5.2f ms (new stream %5.2f ms), "
               "load %5.2f ms\n",
               sizes[i], best[i].bytes, kRounds, kRepeats, best[i].saveMs, best[i].newSaveMs,
               best[i].loadMs);
      }
      double saveRatio = best[1].saveMs / best[0].saveMs;
      double newSaveRatio = best[1].newSaveMs / best[0].newSaveMs;
      double loadRatio = best[1].loadMs / best[0].loadMs;
      bool within = saveRatio <= 4.5 && loadRatio <= 4.5;
      printf("  ratio N = 8000 / N = 2000: save %.2f, load %.2f (limit 4.50) %s; into a new "
             "stream %.2f\n",
             saveRatio, loadRatio, within ? "ok" : "OVER", newSaveRatio);
      ok = ok && within;
    }
  }
  return ok ? 0 : 1;
}
