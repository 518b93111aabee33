// What the shaft-sensor tests share: a sensor with a one-pin part on each of
// its pins (a probe the test may drive to stand for the rest of the net),
// shaft angles of tick values, and the pseudo-random generator seeded for
// one test.
#pragma once

#include <cmath>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"
#include "tests/components/devices/device_kit.h"

namespace sensortest {

const double kPi = 3.1415927f;

// A sensor of the class, named, with a probe wired to each of its pins once
// Wire is called (after its pins are built).
template <class T>
struct ProbedSensor {
  explicit ProbedSensor(const char* className) {
    sensor = bench.Create<T>(className);
    if (sensor) sensor->SetName(L"E1");
  }
  void Wire() {
    for (int i = 0; i < sensor->pinCount; i++) {
      probes.push_back(bench.Part(1));
      bench.Wire(sensor, i, probes.back(), 0);
    }
  }
  // The probe drives U behind R from the next step on (and in Start).
  void Drive(int pin, float U, float R) { probes[pin]->Drive(0, U, R); }
  void Start() {
    bench.Build();
    bench.Start();
  }
  void StepAt(float angle, int steps = 1) {
    sensor->SetShaftAngle(angle);
    bench.Step(steps, 1e-3f);
  }
  // What the probe sees of the sensor's pin: its full state, or U and R.
  SchPinState State(int pin) { return devtest::StateAt(probes[pin], 0); }
  float Read(int pin, float* R = nullptr) { return comptest::Bench::Read(probes[pin], 0, R); }

  devtest::DeviceBench bench;
  T* sensor = nullptr;
  std::vector<circuit::Part*> probes;
};

// The shaft angle at which an encoder of N ticks a revolution stands at the
// tick value t (four edges a tick period: t = angle * 2N / pi).
inline float AngleAt(double t, int N) { return static_cast<float>(t * kPi / (2.0 * N)); }

// While alive, the standard pseudo-random generator runs from the seed; it
// is seeded back to its start-up state (seed 1) when it ends.
class RandomSeed {
public:
  explicit RandomSeed(unsigned seed) : seed_(seed) { srand(seed); }
  ~RandomSeed() { srand(1); }
  // The values the generator will give, from the seed on, without using it.
  std::vector<int> Next(int n) const {
    srand(seed_);
    std::vector<int> values;
    for (int i = 0; i < n; i++) values.push_back(rand());
    srand(seed_);
    return values;
  }

private:
  unsigned seed_;
};

// U and R of a state's first level and, when it has a source, its second.
inline void ExpectLevels(const SchPinState& s, float U, float R, float U2, float R2) {
  EXPECT_NEAR(s.U, U, 1e-4f * std::max(1.0f, std::fabs(U)));
  EXPECT_NEAR(s.R, R, 1e-4f * std::max(1.0f, R));
  EXPECT_NEAR(s.U2, U2, 1e-4f * std::max(1.0f, std::fabs(U2)));
  EXPECT_NEAR(s.R2, R2, 1e-4f * std::max(1.0f, R2));
}

}  // namespace sensortest
