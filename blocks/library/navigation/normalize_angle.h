// Angles brought into [-pi, pi].
#pragma once

// a brought into [-pi, pi] by whole turns: a value above pi ends in
// (-pi, pi], a value below -pi in [-pi, pi), one within [-pi, pi] stays as it
// is. Computed with remainder, so any finite value takes the same short time;
// infinities and not-a-number come back unchanged.
double NormalizeAngle(double a);
