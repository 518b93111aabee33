// Steps circuits of 100 and of 1,000 shaft sensors, in groups of four: an
// A/B encoder with index (push-pull outputs, a load on channel A) and an
// absolute encoder with supply (a pull-up on its first channel), both on one
// 5 V battery, and a potentiometer on a second battery whose wiper feeds a
// limit switch with a load behind it. For 10,000 steps of 1 ms the bench
// turns every shaft (the mechanical simulation's part) and reports the time
// per sensor-step (the sensor with its share of batteries and loads). A
// sensor step costs a constant, so the figure for 1,000 sensors may exceed
// the one for 100 by at most 1.5 times. Exit code 1 when it does, or when a
// sensor burnt out (the circuit would not be the one measured). Two other
// sizes may be given: sensors_bench <small> <large>.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <utility>
#include <vector>

#include "bench/bench_wires.h"
#include "components/devices/sensors/encoder.h"
#include "components/devices/sensors/limit_switcher.h"
#include "components/devices/sensors/potentiometric.h"
#include "components/electronic/battery.h"
#include "components/electronic/resister.h"
#include "scheme/model/junction.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"

namespace {

using velkbench::Join;

struct Result {
  double buildMs;
  double nsPerSensorStep;
  long long edges;
  int burnt;
};

struct Group {
  CSCHEncoder* incremental;
  CSCHEncoder* absolute;
  CSCHPotentiometric* pot;
  CSCHLimitSwitcher* limit;
};

template <class T>
T* Place(SchScheme* s, T* block) {
  block->Attach(s);
  return block;
}

CSCHBattery* NewBattery(SchScheme* s, float volts) {
  CSCHBattery* b = new CSCHBattery;
  b->nominalVoltage = volts;
  b->dischargeType = 6;  // a steady voltage
  b->capacity = 1e6f;
  return Place(s, b);
}

CSCHResister* NewLoad(SchScheme* s) {
  CSCHResister* r = new CSCHResister;
  r->powerRating = 1e30f;
  return Place(s, r);
}

// A junction joining up to four pins.
void Star(SchScheme* s, std::initializer_list<std::pair<CSCHBlock*, int>> pins) {
  SchJunction* j = new SchJunction(s);
  int slot = 0;
  for (const auto& p : pins) {
    SchWire* w = new SchWire(s);
    w->endKind[0] = kSchWireEndPin;
    w->ends[0].target = p.first;
    w->ends[0].index = p.second;
    p.first->pins[p.second].wire = w;
    p.first->pins[p.second].wireEnd = 0;
    w->endKind[1] = kSchWireEndJunction;
    w->ends[1].target = j;
    w->ends[1].index = slot;
    j->wires[slot] = w;
    j->wireEnds[slot] = 1;
    slot++;
  }
}

Group NewGroup(SchScheme* s) {
  Group g;
  g.incremental = new CSCHEncoder;
  g.incremental->Type = CSCHEncoder::kTypeIncremental;
  g.incremental->channels = 3;
  g.incremental->outType = CSCHEncoder::kOutPushPull;
  g.incremental->N = 360;
  g.incremental->U = 5;
  g.incremental->I = 0.05f;
  g.incremental->IoutMax = 1;
  g.incremental->BuildPins();  // ground 0, A 1, supply 2, index 3, B 4
  Place(s, g.incremental);
  g.absolute = new CSCHEncoder;
  g.absolute->Type = CSCHEncoder::kTypeAbsoluteSupplied;
  g.absolute->channels = 4;
  g.absolute->N = 128;
  g.absolute->U = 5;
  g.absolute->I = 0.01f;
  g.absolute->BuildPins();  // common 0, channels 1 to 4, supply 5
  Place(s, g.absolute);
  CSCHBattery* logic = NewBattery(s, 5);
  CSCHResister* load = NewLoad(s);
  CSCHResister* pullUp = NewLoad(s);
  Star(s, {{logic, kElecBatteryPlus}, {g.incremental, 2}, {g.absolute, 5}, {pullUp, 1}});
  Star(s, {{logic, kElecBatteryMinus}, {g.incremental, 0}, {g.absolute, 0}, {load, 1}});
  Join(s, g.incremental, 1, load, 0);
  Join(s, g.absolute, 1, pullUp, 0);

  g.pot = Place(s, new CSCHPotentiometric);
  g.limit = Place(s, new CSCHLimitSwitcher);
  CSCHBattery* bias = NewBattery(s, 5);
  CSCHResister* sense = NewLoad(s);
  Join(s, bias, kElecBatteryMinus, g.pot, 0);
  Join(s, g.pot, 2, bias, kElecBatteryPlus);
  Join(s, g.pot, 1, g.limit, 0);
  Join(s, g.limit, 1, sense, 0);
  return g;
}

Result Run(int sensors, int steps) {
  LARGE_INTEGER f, t0, t1, t2;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  SchScheme* s = new SchScheme;
  s->reading = 1;  // attach without placing or naming: a quick build
  std::vector<Group> groups;
  for (int i = 0; i < sensors / 4; i++) groups.push_back(NewGroup(s));
  s->reading = 0;
  s->BuildNets();
  s->StartSimulation();
  QueryPerformanceCounter(&t1);
  const float dt = 1e-3f;
  for (int k = 0; k < steps; k++) {
    // The encoders turn at 2 rad/s, the potentiometer swings a radian either
    // way, the switch's shaft passes its zero every 2 s.
    const double time = k * static_cast<double>(dt);
    for (size_t i = 0; i < groups.size(); i++) {
      const float phase = static_cast<float>(i % 17) * 0.1f;
      Group& g = groups[i];
      g.incremental->SetShaftAngle(static_cast<float>(2 * time) + phase);
      g.absolute->SetShaftAngle(static_cast<float>(-2 * time) + phase);
      g.pot->SetShaftAngle(static_cast<float>(std::sin(time + phase)));
      g.limit->SetShaftAngle(static_cast<float>(0.2 * std::sin(1.5708 * time + phase)));
    }
    s->StepSimulation(dt);
  }
  QueryPerformanceCounter(&t2);
  Result result;
  result.buildMs = 1e3 * (t1.QuadPart - t0.QuadPart) / f.QuadPart;
  result.nsPerSensorStep = 1e9 * (t2.QuadPart - t1.QuadPart) / f.QuadPart / (static_cast<double>(sensors) * steps);
  result.edges = 0;
  result.burnt = 0;
  for (const Group& g : groups) result.edges += g.incremental->ticks.lastCount;
  for (CSCHBlock* b = s->blocks; b; b = b->next) result.burnt += b->burnt;
  s->StopSimulation();
  // Junctions first, so no wire is merged; blocks newest first: they have
  // no children.
  while (s->junctions) delete s->junctions;
  while (s->wires) delete s->wires;
  while (s->blocks) delete s->blocks;
  delete s;
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  const int kSteps = 10000;
  int sizes[2] = {100, 1000};
  if (argc == 3) sizes[0] = atoi(argv[1]), sizes[1] = atoi(argv[2]);
  double perStep[2];
  int burnt = 0;
  for (int i = 0; i < 2; i++) {
    Run(sizes[i], 10);  // warm the heap and caches once
    Result r = Run(sizes[i], kSteps);
    perStep[i] = r.nsPerSensorStep;
    burnt += r.burnt;
    printf("N = %5d sensors: build and start %7.1f ms, %d steps, %.1f ns per sensor-step "
           "(%lld encoder counts, %d burnt)\n",
           sizes[i], r.buildMs, kSteps, r.nsPerSensorStep, r.edges, r.burnt);
  }
  double ratio = perStep[1] / perStep[0];
  bool ok = ratio <= 1.5 && burnt == 0;
  printf("ratio N = %d / N = %d: %.2f (limit 1.50) %s\n", sizes[1], sizes[0], ratio, ok ? "ok" : "OVER");
  return ok ? 0 : 1;
}
