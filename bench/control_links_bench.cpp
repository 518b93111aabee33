// Steps block schemes of N control-theory links of the library linked in
// one chain (double: integrator, differentiator, first-order lag,
// oscillating link, limiter and the reloadable integrator with only its x
// linked, in turn) 1,000 passes at a time, and reports the time per block
// step at N = 1,000 and N = 10,000. A pass costs a constant per block, so
// the figure for 10,000 may exceed the one for 1,000 by at most 1.5 times:
// exit code 1 when it does.
//
// As the floor, the same chain is computed by a plain loop over arrays of
// states with the links' formulas, and the ratio of the two times is
// printed. Both give the same output at every link of the chain, which is
// checked: to the last bit where doubles are computed in double precision
// (64 bits), and to a billionth (or, below the smallest normal double, to
// that smallest normal) where they are computed in the x87 unit (32 bits),
// which keeps an intermediate result of the loop or of a link in extended
// precision and range as the compiler's register use decides.
//
// The machine running it is usually shared, so the measurements take turns
// in rounds (each sees the same load) and the best round of each counts.
#include <windows.h>

#include <cfloat>
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
#include "blocks/library/control/diff.h"
#include "blocks/library/control/inertial.h"
#include "blocks/library/control/integral.h"
#include "blocks/library/control/integral_with_reload.h"
#include "blocks/library/control/limiter.h"
#include "blocks/library/control/vibro.h"
#include "blocks/library/library_classes.h"
#include "blocks/library/typed_block.h"

namespace {

const int kPasses = 1000;
const int kRounds = 7;
const float kDt = 0.001f;
const double kIntegralLimit = 1e6;
const double kLimit = 1000;

enum Op { kIntegralOp, kDiffOp, kInertialOp, kVibroOp, kLimiterOp, kReloadOp, kOpCount };
const unsigned int kOpClass[kOpCount] = {kBeIntegralClassId, kBeDiffClassId,    kBeInertialClassId,
                                         kBeVibroClassId,    kBeLimiterClassId, kBeIntegralWithReloadClassId};

// The head of the chain: a double output that counts the passes.
class Counter : public CBEBlock {
public:
  Counter() {
    SetOutputCount(1);
    outputs[0]->type = kBeSignalDouble;
  }
  void Step(float) override { outputs[0]->SetDouble(++count); }
  int count = 0;
};

using velkbench::Now;
using Chain = velkbench::BlockChain<Counter>;

// A chain of n links fed by a counter; one pass carries a value along the
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
    if (auto* reload = dynamic_cast<CBEIntegralWithReload*>(block)) {
      reload->SetDataType(kBeSignalDouble);
    } else {
      ChangeBlockType(block, kBeSignalDouble);
    }
    if (auto* integral = dynamic_cast<CBEIntegral*>(block)) integral->limit = kIntegralLimit;
    if (auto* limiter = dynamic_cast<CBELimiter*>(block)) {
      limiter->SetLimitsDouble(kLimit, -kLimit);
      limiter->UpdateCosts();
    }
    blocks[i] = block;
  }
  chain->Link(blocks.data(), n);
  return chain;
}

// The floor: the same chain in a loop over arrays, with the links'
// formulas at their defaults (K 1, T 1 s, ξ 0.75).
struct Floor {
  std::vector<unsigned char> ops;
  std::vector<double> a, b;  // the states of each link
  std::vector<double> out;
  int count = 0;
};

double TimeFloor(Floor* f, int n) {
  const double dt = kDt;
  const double vb = 1 / (0.75 * 2 * 1.0);
  const double tau = 1.0 * 1.0 * vb;
  double t0 = Now();
  for (int k = 0; k < kPasses; ++k) {
    double x = ++f->count;
    for (int i = 0; i < n; ++i) {
      double& s = f->a[i];
      double& r = f->b[i];
      double y;
      switch (f->ops[i]) {
        case kIntegralOp:
          s = (x * 1.0) * dt + s;
          if (s > kIntegralLimit) {
            s = kIntegralLimit;
          } else if (s < -kIntegralLimit) {
            s = -kIntegralLimit;
          }
          y = s;
          break;
        case kDiffOp:
          y = (x - s) * 1.0 / dt;
          s = x;
          break;
        case kInertialOp:
          s = s + dt * (1.0 * x - s) / 1.0;
          y = s;
          break;
        case kVibroOp: {
          double d = (x - s) * vb;
          r = r + dt * (d - r) / tau;
          s = s + dt * r;
          y = 1.0 * s;
          break;
        }
        case kLimiterOp: y = x > kLimit ? kLimit : x < -kLimit ? -kLimit : x; break;
        default:
          s = s + x * 1.0 * dt;
          y = s;
          break;
      }
      f->out[i] = y;
      x = y;
    }
  }
  double t1 = Now();
  return 1e9 * (t1 - t0) / (static_cast<double>(n) * kPasses);
}

// Whether a link's output and the loop's agree (see the top).
bool SameOutput(double link, double loop) {
  if (FLT_EVAL_METHOD == 0) return link == loop;
  return link == loop || std::fabs(link - loop) <= 1e-9 * std::fmax(std::fabs(link), std::fabs(loop)) + DBL_MIN;
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
    floors[i].a.assign(sizes[i], 0.0);
    floors[i].b.assign(sizes[i], 0.0);
    floors[i].out.assign(sizes[i], 0.0);
    for (int k = 0; k < sizes[i]; ++k) floors[i].ops[k] = static_cast<unsigned char>(k % kOpCount);
  }
  for (int round = 0; round < kRounds; ++round) {
    for (int i = 0; i < 2; ++i) {
      double ns = chains[i]->TimePasses(kPasses, kDt);
      if (round == 0 || ns < best[i]) best[i] = ns;
      double floorNs = TimeFloor(&floors[i], sizes[i]);
      if (round == 0 || floorNs < bestFloor[i]) bestFloor[i] = floorNs;
    }
  }
  bool same = true;
  for (int i = 0; i < 2; ++i) {
    int differ = 0;
    for (int k = 0; k < sizes[i]; ++k)
      differ += !SameOutput(chains[i]->links[k]->outputs[0]->GetDouble(), floors[i].out[k]);
    same = same && differ == 0;
    // The sixth link (a reloadable integrator) holds a value of some size.
    double ours = chains[i]->links[5]->outputs[0]->GetDouble();
    printf("N = %5d: build and start %7.1f ms; %d passes, best of %d rounds: %.2f ns per block step; "
           "plain loop %.2f ns; ours / loop %.1f (links unlike the loop: %d; link 6: %.6g, loop %.6g)\n",
           sizes[i], buildMs[i], kPasses, kRounds, best[i], bestFloor[i], best[i] / bestFloor[i], differ, ours,
           floors[i].out[5]);
    chains[i]->scheme.Stop();
    delete chains[i];
  }
  double ratio = best[1] / best[0];
  printf("ratio N = 10000 / N = 1000: %.2f (limit 1.50) %s\n", ratio, ratio <= 1.5 ? "ok" : "OVER");
  if (!same) printf("the chain and the loop disagree\n");
  return ratio <= 1.5 && same ? 0 : 1;
}
