// Steps block schemes of N arithmetic blocks of the library linked in one
// chain (int: add a constant, sign change, subtract a constant, absolute
// value, product and quotient with their second operand unlinked, in turn)
// 1,000 passes at a time, and reports the time per block step at N = 1,000
// and N = 10,000. A pass costs a constant per block, so the figure for
// 10,000 may exceed the one for 1,000 by at most 1.5 times: exit code 1 when
// it does.
//
// As the floor, the same chain is computed by a plain loop over an array of
// operation codes, and the ratio of the two times is printed. Both give the
// same last value, which is checked.
//
// The machine running it is usually shared, so the measurements take turns
// in rounds (each sees the same load) and the best round of each counts.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/bench_clock.h"
#include "bench/block_chain.h"
#include "bench/library_catalogue.h"
#include "blocks/engine/block.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/library_classes.h"
#include "blocks/library/math/add.h"
#include "blocks/library/math/sub.h"
#include "blocks/library/typed_block.h"

namespace {

const int kPasses = 1000;
const int kRounds = 7;
const int kConstant = 3;

enum Op { kAddOp, kNegOp, kSubOp, kAbsOp, kMulOp, kDivOp, kOpCount };
const unsigned int kOpClass[kOpCount] = {kBeAddClassId, kBeNegClassId, kBeSubClassId,
                                         kBeAbsClassId, kBeMul2ClassId, kBeDiv2ClassId};

// The head of the chain: an int output that counts the passes.
class Counter : public CBEBlock {
public:
  Counter() {
    SetOutputCount(1);
    outputs[0]->type = kBeSignalInt;
  }
  void Step(float) override { outputs[0]->SetInt(++count); }
  int count = 0;
};

using velkbench::Now;
using Chain = velkbench::BlockChain<Counter>;

// A chain of n blocks fed by a counter; one pass carries a value along the
// whole chain, as the loop does.
Chain* BuildChain(BeCatalogue* catalogue, int n) {
  Chain* chain = new Chain(catalogue);
  std::vector<CBEBlock*> blocks(n);
  for (int i = n - 1; i >= 0; --i) {
    CBEBlock* block = chain->scheme.CreateBlock(kOpClass[i % kOpCount]);
    if (!block) {
      printf("cannot create block %d\n", i);
      return chain;
    }
    ChangeBlockType(block, kBeSignalInt);
    if (auto* add = dynamic_cast<CBEAdd*>(block)) add->constant = kConstant;
    if (auto* sub = dynamic_cast<CBESub*>(block)) sub->constant = kConstant;
    blocks[i] = block;
  }
  chain->Link(blocks.data(), n);
  return chain;
}

// The floor: the same chain in a loop over an array, wrapping as int does.
struct Floor {
  std::vector<unsigned char> ops;
  std::vector<int32_t> values;
  int count = 0;
};

double TimeFloor(Floor* f, int n) {
  double t0 = Now();
  for (int k = 0; k < kPasses; ++k) {
    uint32_t v = static_cast<uint32_t>(++f->count);
    for (int i = 0; i < n; ++i) {
      switch (f->ops[i]) {
        case kAddOp: v += kConstant; break;
        case kNegOp: v = 0u - v; break;
        case kSubOp: v -= kConstant; break;
        case kAbsOp: v = static_cast<int32_t>(v) < 0 ? 0u - v : v; break;
        default: break;  // times 1, divided by 1
      }
      memcpy(&f->values[i], &v, 4);
    }
  }
  double t1 = Now();
  return 1e9 * (t1 - t0) / (static_cast<double>(n) * kPasses);
}

}  // namespace

int main() {
  velkbench::LibraryCatalogue library;
  BeCatalogue& catalogue = library.catalogue;

  const int sizes[2] = {1000, 10000};
  Chain* chains[2];
  Floor floors[2];
  double buildMs[2];
  double best[2] = {0, 0}, bestFloor[2] = {0, 0};
  for (int i = 0; i < 2; ++i) {
    double t0 = Now();
    chains[i] = BuildChain(&catalogue, sizes[i]);
    buildMs[i] = 1e3 * (Now() - t0);
    if (!chains[i]->last) return 1;
    floors[i].ops.resize(sizes[i]);
    floors[i].values.resize(sizes[i]);
    for (int k = 0; k < sizes[i]; ++k) floors[i].ops[k] = static_cast<unsigned char>(k % kOpCount);
  }
  for (int round = 0; round < kRounds; ++round) {
    for (int i = 0; i < 2; ++i) {
      double ns = chains[i]->TimePasses(kPasses, 1e-3f);
      if (round == 0 || ns < best[i]) best[i] = ns;
      double floorNs = TimeFloor(&floors[i], sizes[i]);
      if (round == 0 || floorNs < bestFloor[i]) bestFloor[i] = floorNs;
    }
  }
  bool same = true;
  for (int i = 0; i < 2; ++i) {
    int ours = chains[i]->last->outputs[0]->GetInt();
    int floor = floors[i].values[sizes[i] - 1];
    same = same && ours == floor;
    printf("N = %5d: build and start %7.1f ms; %d passes, best of %d rounds: %.2f ns per block step; "
           "plain loop %.2f ns; ours / loop %.1f (last value %d, loop %d)\n",
           sizes[i], buildMs[i], kPasses, kRounds, best[i], bestFloor[i], best[i] / bestFloor[i], ours, floor);
    chains[i]->scheme.Stop();
    delete chains[i];
  }
  double ratio = best[1] / best[0];
  printf("ratio N = 10000 / N = 1000: %.2f (limit 1.50) %s\n", ratio, ratio <= 1.5 ? "ok" : "OVER");
  if (!same) printf("the chain and the loop disagree\n");
  return ratio <= 1.5 && same ? 0 : 1;
}
