// Steps block schemes of N blocks of the "Тригонометрия" group linked in one
// float chain (the reduction to -pi..pi, sine, arc tangent, radians to
// degrees, degrees to radians, cosine, vector length, normalisation, two-
// argument arc tangent, plane rotation, distance, tangent, in turn; a
// vector block takes the chain on its first input and gives it on its
// first output) 1,000 passes at a time, and reports the time per block step
// at N = 1,000 and N = 10,000. A pass costs a constant per block, so the
// figure for 10,000 may exceed the one for 1,000 by at most 1.5 times.
//
// It also times the reduction to -pi..pi alone on inputs whose written
// loop would take one round (7), millions of rounds (1e9) or about 10^15
// (2^55 + 8), or never end (1e30), in float and double: each must stay
// below 20 microseconds, a small part of a simulation tick.
//
// Exit code 1 when a goal is missed. The machine running it is usually
// shared, so the measurements take turns in rounds and the best round of
// each counts.
#include <windows.h>

#include <cmath>
#include <cstdio>
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
#include "blocks/library/math/trig/angle_reduction.h"
#include "blocks/library/math/trig/math_func.h"

namespace {

const int kPasses = 1000;
const int kRounds = 7;
const double kReductionLimitNs = 20000;

const unsigned int kChainClass[] = {kBePItoPIClassId, kBeSinClassId,     kBeArctanClassId,  kBeRadToDegClassId,
                                    kBeDegToRadClassId, kBeCosClassId,   kBeLengthClassId,  kBeNormClassId,
                                    kBeArctan2ClassId, kBeRotClassId,    kBeDistanceClassId, kBeTanClassId};
const int kChainClassCount = sizeof kChainClass / sizeof kChainClass[0];

// The head of the chain: a float output that moves every pass.
class Counter : public CBEBlock {
public:
  Counter() {
    SetOutputCount(1);
    outputs[0]->type = kBeSignalFloat;
  }
  void Step(float) override { outputs[0]->SetFloat(0.001f * static_cast<float>(++count)); }
  int count = 0;
};

using velkbench::Now;
using Chain = velkbench::BlockChain<Counter>;

Chain* BuildChain(BeCatalogue* catalogue, int n) {
  Chain* chain = new Chain(catalogue);
  std::vector<CBEBlock*> blocks(n);
  for (int i = n - 1; i >= 0; --i) {
    blocks[i] = chain->scheme.CreateBlock(kChainClass[i % kChainClassCount]);
    if (!blocks[i]) {
      printf("cannot create block %d\n", i);
      return chain;
    }
  }
  chain->Link(blocks.data(), n);
  return chain;
}

// Nanoseconds per reduction of x, the best of the rounds.
double TimeReduction(double x, bool single, double* result) {
  const int calls = 2000;
  double best = 0;
  for (int round = 0; round < kRounds; ++round) {
    double t0 = Now();
    double sum = 0;
    for (int k = 0; k < calls; ++k)
      sum += single ? ReduceAngleToPi(x, kFloatPi, kFloatTwoPi, kFloatMantissaBits)
                    : ReduceAngleToPi(x, kDoublePi, kDoubleTwoPi, kDoubleMantissaBits);
    double ns = 1e9 * (Now() - t0) / calls;
    *result = sum / calls;
    if (round == 0 || ns < best) best = ns;
  }
  return best;
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
  bool finite = true;
  for (int i = 0; i < 2; ++i) {
    float last = chains[i]->last->outputs[0]->GetFloat();
    finite = finite && std::isfinite(last);
    printf("N = %5d: %d passes, best of %d rounds: %.2f ns per block step (last value %g)\n", sizes[i], kPasses,
           kRounds, best[i], static_cast<double>(last));
    chains[i]->scheme.Stop();
    delete chains[i];
  }
  double ratio = best[1] / best[0];
  printf("ratio N = 10000 / N = 1000: %.2f (limit 1.50) %s\n", ratio, ratio <= 1.5 ? "ok" : "OVER");
  if (!finite) printf("the chain's value is not finite\n");

  struct Input {
    const char* name;
    double x;
  } inputs[] = {{"7", 7}, {"1e9", 1e9}, {"2^55 + 8", std::ldexp(1.0, 55) + 8}, {"1e30", 1e30}};
  double worst = 0;
  for (const Input& in : inputs) {
    double yf = 0, yd = 0;
    double nsFloat = TimeReduction(static_cast<float>(in.x), true, &yf);
    double nsDouble = TimeReduction(in.x, false, &yd);
    printf("reduction of %-9s: float %8.1f ns (%.7g), double %8.1f ns (%.17g)\n", in.name, nsFloat, yf, nsDouble, yd);
    if (nsFloat > worst) worst = nsFloat;
    if (nsDouble > worst) worst = nsDouble;
  }
  printf("slowest reduction: %.1f ns (limit %.0f) %s\n", worst, kReductionLimitNs,
         worst <= kReductionLimitNs ? "ok" : "OVER");
  return ratio <= 1.5 && finite && worst <= kReductionLimitNs ? 0 : 1;
}
