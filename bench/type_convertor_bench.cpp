// Steps block schemes of N type converters linked in one chain (int to
// float, float to double, double to short, short to int, in turn, each
// converting by its source's type) 1,000 passes at a time, and reports the
// time per block step at N = 1,000 and N = 10,000. A pass costs a constant
// per block, so the figure for 10,000 may exceed the one for 1,000 by at
// most 1.5 times: exit code 1 when it does, or when the chain's last value
// is not the counter's (every conversion of the chain keeps small
// integers).
//
// The machine running it is usually shared, so the measurements take turns
// in rounds and the best round of each counts.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "bench/block_chain.h"
#include "bench/library_catalogue.h"
#include "blocks/engine/block.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/converters/type_convertor.h"
#include "blocks/library/library_classes.h"

namespace {

const int kPasses = 1000;
const int kRounds = 7;

// Output types along the chain; the input of each is the previous output.
const BeSignalType kOutputs[] = {kBeSignalFloat, kBeSignalDouble, kBeSignalShort, kBeSignalInt};
const int kOutputCount = sizeof kOutputs / sizeof kOutputs[0];

// The head: an int output counting the passes (modulo 10000, so a short
// holds it).
class Counter : public CBEBlock {
public:
  Counter() {
    SetOutputCount(1);
    outputs[0]->type = kBeSignalInt;
  }
  void Step(float) override { outputs[0]->SetInt(++count % 10000); }
  int count = 0;
};

using Chain = velkbench::BlockChain<Counter>;

Chain* BuildChain(BeCatalogue* catalogue, int n) {
  Chain* chain = new Chain(catalogue);
  std::vector<CBEBlock*> blocks(n);
  for (int i = n - 1; i >= 0; --i) {
    auto* block = dynamic_cast<CBETypeConvertor*>(chain->scheme.CreateBlock(kBeTypeConvertorClassId));
    if (!block) {
      printf("cannot create block %d\n", i);
      return chain;
    }
    block->inputs[0]->type = i == 0 ? kBeSignalInt : kOutputs[(i - 1) % kOutputCount];
    block->outputs[0]->type = kOutputs[i % kOutputCount];
    block->UpdateCosts();
    blocks[i] = block;
  }
  chain->Link(blocks.data(), n);
  return chain;
}

}  // namespace

int main() {
  velkbench::LibraryCatalogue library;
  BeCatalogue& catalogue = library.catalogue;

  const int sizes[2] = {1000, 10000};
  Chain* chains[2];
  double best[2] = {0, 0};
  for (int i = 0; i < 2; ++i) {
    chains[i] = BuildChain(&catalogue, sizes[i]);
    if (!chains[i]->last) return 1;
  }
  for (int round = 0; round < kRounds; ++round)
    for (int i = 0; i < 2; ++i) {
      double ns = chains[i]->TimePasses(kPasses, 1e-3f);
      if (round == 0 || ns < best[i]) best[i] = ns;
    }
  bool same = true;
  for (int i = 0; i < 2; ++i) {
    // Both sizes end on an int output (a multiple of four blocks).
    int last = chains[i]->last->outputs[0]->GetInt();
    int expected = chains[i]->counter->count % 10000;
    same = same && last == expected;
    printf("N = %5d: %d passes, best of %d rounds: %.2f ns per block step (last value %d, counter %d)\n",
           sizes[i], kPasses, kRounds, best[i], last, expected);
    chains[i]->scheme.Stop();
    delete chains[i];
  }
  double ratio = best[1] / best[0];
  printf("ratio N = 10000 / N = 1000: %.2f (limit 1.50) %s\n", ratio, ratio <= 1.5 ? "ok" : "OVER");
  if (!same) printf("the chain lost the counter's value\n");
  return ratio <= 1.5 && same ? 0 : 1;
}
