// Steps a circuit of N DC motors with A/B encoders, each motor between the
// poles of its own 12 V battery, its encoder on a 5 V battery and a load
// resistor on each encoder output, for 10,000 steps of 1 ms while the test
// turns every shaft (the mechanical simulation's part), and reports the
// time per motor-step (the motor with its batteries and loads). A device
// step costs a constant, so the figure for N = 1,000 may exceed the one for
// N = 100 by at most 1.5 times. Exit code 1 when it does.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "bench/bench_wires.h"
#include "components/devices/drives/dc_motor.h"
#include "components/electronic/battery.h"
#include "components/electronic/resister.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"

namespace {

using velkbench::Join;

struct Result {
  double buildMs;
  double nsPerMotorStep;
  long long edges;
  int burnt;
};

CSCHBattery* NewBattery(SchScheme* s, float volts) {
  CSCHBattery* b = new CSCHBattery;
  b->nominalVoltage = volts;
  b->dischargeType = 6;  // a steady voltage
  b->capacity = 1e6f;
  b->Attach(s);
  return b;
}

Result Run(int n, int steps) {
  LARGE_INTEGER f, t0, t1, t2;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  SchScheme* s = new SchScheme;
  s->reading = 1;  // attach without placing or naming: a quick build
  std::vector<CSCHDCMotor*> motors;
  for (int i = 0; i < n; i++) {
    CSCHDCMotor* m = new CSCHDCMotor;
    m->sensorType = CSCHDCMotor::kSensorEncoderAB;
    m->sensorOutType = static_cast<unsigned char>(i % 4);  // every output stage
    m->TicksPerRot = 64;
    m->reduction = 30;
    m->Istart = 2;
    m->Widle = 6000;
    m->sensorCurrent = 0.02f;
    m->sensorMinVoltage = 3;
    m->sensorMaxVoltage = 6;
    m->sensorMaxOutCurrent = 0.05f;
    m->BuildPins();
    m->Attach(s);
    motors.push_back(m);
    CSCHBattery* rotor = NewBattery(s, 12);
    Join(s, rotor, kElecBatteryPlus, m, 1);
    Join(s, m, 0, rotor, kElecBatteryMinus);
    CSCHBattery* logic = NewBattery(s, 5);
    Join(s, logic, kElecBatteryPlus, m, 2);
    Join(s, m, 5, logic, kElecBatteryMinus);
    for (int k = 0; k < 2; k++) {
      CSCHResister* load = new CSCHResister;
      load->powerRating = 1e30f;
      load->Attach(s);
      Join(s, m, 3 + k, load, 0);
    }
  }
  s->reading = 0;
  s->BuildNets();
  s->StartSimulation();
  QueryPerformanceCounter(&t1);
  for (int k = 0; k < steps; k++) {
    // Every shaft turns at a third of its no-load speed.
    for (CSCHDCMotor* m : motors) {
      const DevShaft& shaft = m->GetShaft();
      float speed = m->outputIdleSpeed / 3;
      m->SetShaftMotion(speed, shaft.angle + speed * 1e-3f);
    }
    s->StepSimulation(1e-3f);
  }
  QueryPerformanceCounter(&t2);
  Result result;
  result.buildMs = 1e3 * (t1.QuadPart - t0.QuadPart) / f.QuadPart;
  result.nsPerMotorStep = 1e9 * (t2.QuadPart - t1.QuadPart) / f.QuadPart / (static_cast<double>(n) * steps);
  result.edges = 0;
  result.burnt = 0;
  for (CSCHDCMotor* m : motors) result.edges += m->ticks.lastCount;
  for (CSCHBlock* b = s->blocks; b; b = b->next) result.burnt += b->burnt;
  for (CSCHDCMotor* m : motors) result.burnt += m->sensorBurnt;
  s->StopSimulation();
  // Delete newest first: these blocks have no children.
  while (s->wires) delete s->wires;
  while (s->blocks) delete s->blocks;
  delete s;
  return result;
}

}  // namespace

int main() {
  const int kSteps = 10000;
  const int sizes[2] = {100, 1000};
  double perStep[2];
  for (int i = 0; i < 2; i++) {
    Run(sizes[i], 10);  // warm the heap and caches once
    Result r = Run(sizes[i], kSteps);
    perStep[i] = r.nsPerMotorStep;
    printf("N = %4d motors with A/B encoders: build and start %7.1f ms, %d steps, %.1f ns per motor-step "
           "(%lld ticks counted, %d burnt)\n",
           sizes[i], r.buildMs, kSteps, r.nsPerMotorStep, r.edges, r.burnt);
  }
  double ratio = perStep[1] / perStep[0];
  printf("ratio N = 1000 / N = 100: %.2f (limit 1.50) %s\n", ratio, ratio <= 1.5 ? "ok" : "OVER");
  return ratio <= 1.5 ? 0 : 1;
}
