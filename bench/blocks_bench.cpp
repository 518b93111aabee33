// Steps block schemes of N pass-through blocks linked in a chain, 1,000 ticks
// at a time, and reports the time per block step. A pass costs a constant per
// block, so the figure for N = 10,000 may exceed the one for N = 1,000 by at
// most 1.5 times. Exit code 1 when it does.
//
// The machine running it is usually shared, so both schemes are stepped in
// alternating rounds (each sees the same load) and the best round of each is
// its figure.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "bench/bench_clock.h"
#include "blocks/engine/block.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"

namespace {

const int kTicks = 1000;
const int kRounds = 7;

// Copies the value of its source to its output.
class PassThrough : public CBEBlock {
public:
  PassThrough() {
    SetInputCount(1);
    SetOutputCount(1);
    cycles = 1;
  }
  void Step(float) override {
    const BeOutputPin* from = inputs[0]->source;
    if (from) memcpy(outputs[0]->value, from->value, sizeof outputs[0]->value);
  }
};

using velkbench::Now;

BeScheme* BuildChain(int n) {
  BeScheme* scheme = new BeScheme;
  // Enough cycles a tick for a pass of every block on every tick.
  scheme->frequency = 1.0e9f;
  CBEBlock* previous = nullptr;
  for (int i = 0; i < n; ++i) {
    PassThrough* block = new PassThrough;
    block->AttachToScheme(scheme);
    if (previous) block->inputs[0]->source = previous->outputs[0];
    previous = block;
  }
  scheme->Start();
  return scheme;
}

// Nanoseconds per block step over kTicks ticks.
double TimeTicks(BeScheme* scheme, int n) {
  double t0 = Now();
  for (int k = 0; k < kTicks; ++k) scheme->Step(1e-3f);
  double t1 = Now();
  return 1e9 * (t1 - t0) / (static_cast<double>(n) * kTicks);
}

}  // namespace

int main() {
  const int sizes[2] = {1000, 10000};
  BeScheme* schemes[2];
  double buildMs[2];
  double best[2] = {0, 0};
  for (int i = 0; i < 2; ++i) {
    double t0 = Now();
    schemes[i] = BuildChain(sizes[i]);
    buildMs[i] = 1e3 * (Now() - t0);
  }
  for (int round = 0; round < kRounds; ++round) {
    for (int i = 0; i < 2; ++i) {
      double ns = TimeTicks(schemes[i], sizes[i]);
      if (round == 0 || ns < best[i]) best[i] = ns;
    }
  }
  for (int i = 0; i < 2; ++i) {
    printf("N = %5d: build and start %7.1f ms; %d ticks, best of %d rounds: %.2f ns per block step\n",
           sizes[i], buildMs[i], kTicks, kRounds, best[i]);
    schemes[i]->Stop();
    delete schemes[i];
  }
  double ratio = best[1] / best[0];
  printf("ratio N = 10000 / N = 1000: %.2f (limit 1.50) %s\n", ratio, ratio <= 1.5 ? "ok" : "OVER");
  return ratio <= 1.5 ? 0 : 1;
}
