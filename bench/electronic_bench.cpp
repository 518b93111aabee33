// Steps a ring of N battery-resistor pairs (each battery's plus pin to its
// resistor, the resistor to the next battery's minus pin) for 1,000 steps
// and reports the time per part-step. A part's step costs a constant, so
// the figure for N = 10,000 may exceed the one for N = 1,000 by at most 1.5
// times. Exit code 1 when it does.
#include <windows.h>

#include <cstdio>

#include "bench/bench_wires.h"
#include "components/electronic/battery.h"
#include "components/electronic/resister.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"
#include "scheme/simulation/pin_model.h"

namespace {

using velkbench::Join;

struct Result {
  double buildMs;
  double nsPerPartStep;
  int burnt;
};

Result RunRing(int n, int steps) {
  LARGE_INTEGER f, t0, t1, t2;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  SchScheme* s = new SchScheme;
  s->reading = 1;  // attach without placing or naming: a quick build
  CSCHBattery* firstBattery = nullptr;
  CSCHResister* previous = nullptr;
  for (int i = 0; i < n; i++) {
    CSCHBattery* b = new CSCHBattery;
    b->dischargeType = static_cast<unsigned char>(i % 7);  // every curve
    b->Attach(s);
    CSCHResister* r = new CSCHResister;
    r->powerRating = 1e30f;  // the ring's voltages add up; nothing burns
    r->Attach(s);
    Join(s, b, kElecBatteryPlus, r, 0);
    if (previous) Join(s, previous, 1, b, kElecBatteryMinus);
    else firstBattery = b;
    previous = r;
  }
  Join(s, previous, 1, firstBattery, kElecBatteryMinus);
  s->reading = 0;
  s->BuildNets();
  s->StartSimulation();
  QueryPerformanceCounter(&t1);
  for (int k = 0; k < steps; k++) s->StepSimulation(1e-3f);
  QueryPerformanceCounter(&t2);
  Result result;
  result.buildMs = 1e3 * (t1.QuadPart - t0.QuadPart) / f.QuadPart;
  result.nsPerPartStep = 1e9 * (t2.QuadPart - t1.QuadPart) / f.QuadPart / (2.0 * n * steps);
  result.burnt = 0;
  for (CSCHBlock* b = s->blocks; b; b = b->next) result.burnt += b->burnt;
  s->StopSimulation();
  // Delete newest first: these blocks have no children.
  while (s->wires) delete s->wires;
  while (s->blocks) delete s->blocks;
  delete s;
  return result;
}

}  // namespace

int main() {
  const int kSteps = 1000;
  const int sizes[2] = {1000, 10000};
  double perStep[2];
  for (int i = 0; i < 2; i++) {
    RunRing(sizes[i], 10);  // warm the heap and caches once
    Result r = RunRing(sizes[i], kSteps);
    perStep[i] = r.nsPerPartStep;
    printf("N = %5d pairs: build and start %7.1f ms, %d steps, %.1f ns per part-step (%d burnt)\n",
           sizes[i], r.buildMs, kSteps, r.nsPerPartStep, r.burnt);
  }
  double ratio = perStep[1] / perStep[0];
  printf("ratio N = 10000 / N = 1000: %.2f (limit 1.50) %s\n", ratio, ratio <= 1.5 ? "ok" : "OVER");
  return ratio <= 1.5 ? 0 : 1;
}
