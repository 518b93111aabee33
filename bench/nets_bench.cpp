// Steps a chain of N two-pin components for 1,000 steps and reports the time
// per pin operation. Reading and writing a pin must cost a constant, so the
// figure for N = 100,000 may exceed the one for N = 1,000 by at most 1.5
// times. Exit code 1 when it does.
#include <windows.h>

#include <cstdio>
#include <new>

#include "bench/bench_wires.h"
#include "scheme/model/block.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"
#include "scheme/simulation/pin_model.h"

namespace {

// A resistor-like part: each terminal is driven at the other terminal's net
// voltage behind that side's resistance plus its own. Four pin operations a
// step.
class ChainLink : public CSCHBlock {
public:
  ChainLink() {
    SetPinCount(2);
    pins[1].side = kSchSideRight;
  }
  void Step(float) override {
    float u0, r0, u1, r1;
    GetPinInput(0, &u0, &r0);
    GetPinInput(1, &u1, &r1);
    SetPinSource(0, u1, r1 + 10.0f);
    SetPinSource(1, u0, r0 + 10.0f);
  }
};

// A one-pin source at either end of the chain.
class Source : public CSCHBlock {
public:
  explicit Source(float volts) : U(volts) { SetPinCount(1); }
  void Step(float) override { SetPinSource(0, U, 1.0f); }
  float U;
};

using velkbench::Join;

struct Result {
  double buildMs;
  double stepNsPerPinOp;
};

Result RunChain(int n, int steps) {
  LARGE_INTEGER f, t0, t1, t2;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  SchScheme* s = new SchScheme;
  s->reading = 1;  // attach without placing or naming: a quick build
  Source* first = new Source(5.0f);
  first->Attach(s);
  CSCHBlock* prev = first;
  int prevPin = 0;
  for (int i = 0; i < n; i++) {
    ChainLink* link = new ChainLink;
    link->Attach(s);
    Join(s, prev, prevPin, link, 0);
    prev = link;
    prevPin = 1;
  }
  Source* last = new Source(0.0f);
  last->Attach(s);
  Join(s, prev, prevPin, last, 0);
  s->reading = 0;
  s->BuildNets();
  s->StartSimulation();
  QueryPerformanceCounter(&t1);
  for (int k = 0; k < steps; k++) s->StepSimulation(1e-3f);
  QueryPerformanceCounter(&t2);
  Result r;
  r.buildMs = 1e3 * (t1.QuadPart - t0.QuadPart) / f.QuadPart;
  double ops = 4.0 * n * steps + 2.0 * steps;
  r.stepNsPerPinOp = 1e9 * (t2.QuadPart - t1.QuadPart) / f.QuadPart / ops;
  s->StopSimulation();
  // The scheme deletes its blocks oldest first, looking the tail up each
  // time; these blocks have no children, so delete them newest first here.
  while (s->wires) delete s->wires;
  while (s->blocks) delete s->blocks;
  delete s;
  return r;
}

}  // namespace

int main() {
  const int kSteps = 1000;
  const int sizes[2] = {1000, 100000};
  double perOp[2];
  for (int i = 0; i < 2; i++) {
    RunChain(sizes[i], 10);  // warm the heap and caches once
    Result r = RunChain(sizes[i], kSteps);
    perOp[i] = r.stepNsPerPinOp;
    printf("N = %6d: build and start %8.1f ms, %d steps, %.2f ns per pin operation\n", sizes[i],
           r.buildMs, kSteps, r.stepNsPerPinOp);
  }
  double ratio = perOp[1] / perOp[0];
  printf("ratio N = 100000 / N = 1000: %.2f (limit 1.50) %s\n", ratio, ratio <= 1.5 ? "ok" : "OVER");
  return ratio <= 1.5 ? 0 : 1;
}
