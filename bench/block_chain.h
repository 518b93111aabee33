// A chain of blocks in one block scheme, as the library's benchmarks step
// it: a head block of the benchmark's own (Head, counting the passes on its
// one output) feeds the first block's first input, and each block feeds the
// next one's. The scheme steps its newest block first, so a benchmark makes
// the blocks from the end of the chain back to its start, and one pass
// carries a value along the whole chain.
#pragma once

#include "bench/bench_clock.h"
#include "blocks/engine/block.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "foundation/plain_array.h"

namespace velkbench {

template <class Head>
class BlockChain {
public:
  // An empty scheme with enough cycles a tick for a pass of every block on
  // every tick.
  explicit BlockChain(BeCatalogue* catalogue) {
    scheme.Init(catalogue);
    scheme.frequency = 1.0e12f;
  }
  BlockChain(const BlockChain&) = delete;
  BlockChain& operator=(const BlockChain&) = delete;

  // Links the n blocks, in chain order, behind a new head and starts the
  // scheme. False when memory ran out (nothing is linked then).
  bool Link(CBEBlock* const* blocks, int n) {
    if (n <= 0 || !links.Resize(n)) return false;
    counter = new Head;
    counter->AttachToScheme(&scheme);
    blocks[0]->inputs[0]->source = counter->outputs[0];
    for (int i = 1; i < n; ++i) blocks[i]->inputs[0]->source = blocks[i - 1]->outputs[0];
    for (int i = 0; i < n; ++i) links[i] = blocks[i];
    last = blocks[n - 1];
    scheme.Start();
    return true;
  }

  // Nanoseconds per block step over that many passes of the whole chain.
  double TimePasses(int passes, float dt) {
    double t0 = Now();
    for (int k = 0; k < passes; ++k) scheme.Step(dt);
    return 1e9 * (Now() - t0) / (static_cast<double>(links.Count()) * passes);
  }

  BeScheme scheme;
  Head* counter = nullptr;            // owned by the scheme
  CPlainArray<CBEBlock*> links;       // in chain order
  CBEBlock* last = nullptr;           // null until linked
};

}  // namespace velkbench
