// The reduction of an angle to -pi <= y < pi that the "-pi..pi" block makes:
//
//   y = x; while y >= pi: y = y - 2pi; then while y < -pi: y = y + 2pi
//
// with every result rounded to the precision of the block's type (24 or 53
// significant bits). The loop itself would take up to about 10^15 rounds
// for large inputs and never end for some; this computes what it gives in
// a bounded number of operations, exactly, at both widths.
#pragma once

// Significant bits of the two precisions.
const int kFloatMantissaBits = 24;
const int kDoubleMantissaBits = 53;

// x reduced by repeated steps of twoPi (twoPi = 2 pi exactly, both values
// of the precision; x a value of that precision). Where the loop ends, its
// result; where it would not (the steps no longer change the value), the
// exact remainder of x by twoPi, also within -pi <= y < pi. Infinities and
// not-a-number are returned unchanged.
double ReduceAngleToPi(double x, double pi, double twoPi, int mantissaBits);
