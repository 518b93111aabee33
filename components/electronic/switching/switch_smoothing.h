// The smoothing of the relay's and the button's burn-out values.
#pragma once

// One explicit Euler step x + (target - x) * dt / tau toward the target.
// A step longer than the time constant lands on the target instead of
// overshooting it: an overshoot would show a relay coil at its rated
// voltage above its limit, and steps of more than twice the constant would
// swing without end. The target itself when tau is not positive.
inline float SmoothSwitchValue(float x, float target, float dt, float tau) {
  if (!(tau > 0)) return target;
  float factor = dt / tau;
  if (factor > 1) factor = 1;
  return x + (target - x) * factor;
}
