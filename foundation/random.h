// The program's own pseudo-random numbers: one seeded generator for the
// random behaviour of the simulated devices, so that a run can be replayed
// and a test can fix the numbers (and put the seed back afterwards).
#pragma once

// The largest number NextRandom gives.
const int kFoundationRandomMax = 32767;

// The next number, from 0 to kFoundationRandomMax (a linear congruential
// generator: state x 214013 + 2531011, bits 16 to 30 of the new state).
int NextRandom();
// The generator's state; setting it replays the numbers that followed it.
unsigned int GetRandomSeed();
void SetRandomSeed(unsigned int seed);

// Sets the seed for its lifetime and puts the old state back at its end.
class CRandomSeedScope {
public:
  explicit CRandomSeedScope(unsigned int seed) : saved_(GetRandomSeed()) { SetRandomSeed(seed); }
  ~CRandomSeedScope() { SetRandomSeed(saved_); }
  CRandomSeedScope(const CRandomSeedScope&) = delete;
  CRandomSeedScope& operator=(const CRandomSeedScope&) = delete;

private:
  unsigned int saved_;
};
