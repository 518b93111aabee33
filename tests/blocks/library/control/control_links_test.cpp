// The control-theory links in a run: each link's answer to steps and ramps
// pass by pass (values worked out from the transfer functions), in both
// realisations where a link has two, its limits, the reload, a time
// constant, damping or pass time of 0, and unlinked inputs.
#include <climits>
#include <cmath>
#include <limits>

#include "block_kit.h"
#include "blocks/library/control/diff.h"
#include "blocks/library/control/inertial.h"
#include "blocks/library/control/integral.h"
#include "blocks/library/control/integral_with_reload.h"
#include "blocks/library/control/limiter.h"
#include "blocks/library/control/vibro.h"
#include "blocks/library/typed_block.h"

namespace {

using blocktest::Bench;
using blocktest::ReadDouble;
using blocktest::ReadFloat;
using blocktest::ReadInt;

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// A link of one type fed by a source of that type.
template <class T>
struct Rig {
  Rig(unsigned int classId, BeSignalType type) {
    link = bench.Create<T>(classId);
    ChangeBlockType(link, type);
    x = bench.Source(type);
    bench.Link(x, link);
  }
  Bench bench;
  T* link = nullptr;
  blocktest::Source* x = nullptr;
};

// ------------------------------------------------------------ integrator

TEST(IntegralLink, ConstantInputRisesToTheLimitInCharBothRealisations) {
  for (int32_t realisation : {0, 1}) {
    SCOPED_TRACE(realisation);
    Rig<CBEIntegral> rig(kBeIntegralClassId, kBeSignalChar);
    rig.link->realisation = realisation;
    rig.x->SetInt(100);
    const int rising[] = {50, 100, 127, 127};
    for (int expected : rising) {
      rig.bench.Pass(0.5f);
      EXPECT_EQ(expected, ReadInt(rig.link));
    }
    EXPECT_EQ(127.0, rig.link->state);
    // The other way it saturates at -127 (from +127: -50 a pass).
    rig.x->SetInt(-100);
    const int falling[] = {77, 27, -23, -73, -123, -127, -127};
    for (int expected : falling) {
      rig.bench.Pass(0.5f);
      EXPECT_EQ(expected, ReadInt(rig.link));
    }
  }
}

TEST(IntegralLink, RampInDoubleAndFloat) {
  // K 2, dt 1/8: each pass adds x / 4.
  Rig<CBEIntegral> d(kBeIntegralClassId, kBeSignalDouble);
  d.link->gain = 2;
  const double sums[] = {0.25, 0.75, 1.5, 2.5};
  for (int i = 0; i < 4; ++i) {
    d.x->SetDouble(i + 1);
    d.bench.Pass(0.125f);
    EXPECT_EQ(sums[i], ReadDouble(d.link)) << i;
  }
  // A float link rounds the state to the nearest float at the pin only.
  Rig<CBEIntegral> f(kBeIntegralClassId, kBeSignalFloat);
  f.link->gain = 1;
  f.link->limit = 1000;
  f.x->SetFloat(0.1f);
  for (int i = 1; i <= 3; ++i) {
    f.bench.Pass(1.0f);
    EXPECT_EQ(static_cast<float>(i * static_cast<double>(0.1f)), ReadFloat(f.link)) << i;
  }
}

TEST(IntegralLink, StartsAtTheInitialOutputAndKeepsWritingWithoutASource) {
  Bench bench;
  auto* link = bench.Create<CBEIntegral>(kBeIntegralClassId);
  link->initialOutput = -5.7;
  bench.Pass();
  EXPECT_EQ(-5, ReadInt(link));  // truncated toward zero
  ChangeBlockType(link, kBeSignalDouble);
  link->Output(0)->SetDouble(99);
  bench.Pass();
  EXPECT_EQ(-5.7, ReadDouble(link));
  // A source: the state grows from the initial output.
  auto* x = bench.Source(kBeSignalDouble);
  x->SetDouble(4);
  bench.Link(x, link);
  bench.Stop();
  bench.Pass(0.5f);
  EXPECT_EQ(-3.7, ReadDouble(link));
}

TEST(IntegralLink, OutputsTheTruncationOfItsStateAndNothingForOtherTypes) {
  // An int state beyond the 32-bit range, or not a number, reads as
  // -2147483648; a char output takes its low byte, 0.
  Rig<CBEIntegral> big(kBeIntegralClassId, kBeSignalInt);
  big.link->limit = 1e12;
  big.x->SetInt(INT_MAX);
  big.bench.Pass(1000.0f);
  EXPECT_EQ(INT_MIN, ReadInt(big.link));
  Rig<CBEIntegral> nan(kBeIntegralClassId, kBeSignalChar);
  nan.link->gain = kNaN;
  nan.x->SetInt(1);
  nan.link->Output(0)->value[0] = 0x55;
  nan.bench.Pass();
  EXPECT_EQ(0, ReadInt(nan.link));
  // An input type outside char..double (a damaged record) does nothing.
  Rig<CBEIntegral> odd(kBeIntegralClassId, kBeSignalChar);
  odd.link->initialOutput = 3;
  odd.link->Input(0)->type = kBeSignalBit;
  odd.link->Output(0)->value[0] = 0x55;
  odd.bench.Pass();
  EXPECT_EQ(0x55, ReadInt(odd.link));
}

// ------------------------------------------------------------ with reload

TEST(IntegralWithReloadLink, IntegratesAndFollowsDWhileWIsOn) {
  Bench bench;
  auto* link = bench.Create<CBEIntegralWithReload>(kBeIntegralWithReloadClassId);
  link->gain = 2;
  auto* x = bench.Source(kBeSignalFloat);
  auto* d = bench.Source(kBeSignalFloat);
  auto* w = bench.Source(kBeSignalBit);
  x->SetFloat(1);
  d->SetFloat(7.5f);
  w->SetBit(false);
  bench.Link(x, link, 0);
  bench.Link(d, link, 1);
  bench.Link(w, link, 2);
  // K 2, x 1, dt 0.1: 0.2 a pass.
  for (int i = 1; i <= 3; ++i) {
    bench.Pass(0.1f);
    EXPECT_NEAR(0.2 * i, ReadFloat(link), 1e-6) << i;
  }
  // While W is on the state is D, exactly, whatever x does.
  w->SetBit(true);
  for (float v : {7.5f, -1.25f, 3.0f}) {
    d->SetFloat(v);
    bench.Pass(0.1f);
    EXPECT_EQ(v, ReadFloat(link));
  }
  // Off again, it integrates from there: 3 + 0.25 a pass at dt 1/8.
  w->SetBit(false);
  bench.Pass(0.125f);
  EXPECT_EQ(3.25f, ReadFloat(link));
  // Any nonzero first byte is on.
  w->SetBytes({0x80});
  bench.Pass(0.125f);
  EXPECT_EQ(3.0f, ReadFloat(link));
}

TEST(IntegralWithReloadLink, NeedsBothDAndWToReloadAndXToIntegrate) {
  Bench bench;
  auto* link = bench.Create<CBEIntegralWithReload>(kBeIntegralWithReloadClassId);
  ChangeInputType(link->Input(0), kBeSignalShort);
  ChangeInputType(link->Input(1), kBeSignalShort);
  ChangeOutputType(link->Output(0), kBeSignalShort);
  link->initialOutput = 10;
  auto* x = bench.Source(kBeSignalShort);
  auto* w = bench.Source(kBeSignalBit);
  x->SetInt(8);
  w->SetBit(true);
  bench.Link(w, link, 2);
  // Only W: no reload, no x: the state stays and is written.
  bench.Pass(0.5f);
  EXPECT_EQ(10, ReadInt(link));
  // x and W without D: it integrates, 8 x 1 x 0.5 a pass.
  bench.Link(x, link, 0);
  bench.Pass(0.5f);
  EXPECT_EQ(14, ReadInt(link));
  // No saturation: a short state passes 32767 and wraps at the pin.
  link->state = 32766;
  bench.Pass(0.5f);
  EXPECT_EQ(-32766, ReadInt(link));  // 32770 in 16 bits
  // D of a type outside char..double leaves the state while W is on.
  auto* d = bench.Source(kBeSignalShort);
  d->SetInt(-3);
  bench.Link(d, link, 1);
  link->Input(1)->type = kBeSignalBit;
  bench.Pass(0.5f);
  EXPECT_EQ(32770.0, link->state);
  link->Input(1)->type = kBeSignalShort;
  bench.Pass(0.5f);
  EXPECT_EQ(-3, ReadInt(link));
}

// ------------------------------------------------------------ differentiator

TEST(DiffLink, CharStepsAreClampedIn127) {
  Rig<CBEDiff> rig(kBeDiffClassId, kBeSignalChar);
  // The first pass differentiates against 0; 20 in 1/8 s is 160: 127.
  const int fed[] = {0, 10, 30, 30, -100};
  const int out[] = {0, 80, 127, 0, -127};
  for (int i = 0; i < 5; ++i) {
    rig.x->SetInt(fed[i]);
    rig.bench.Pass(0.125f);
    EXPECT_EQ(out[i], ReadInt(rig.link)) << i;
  }
}

TEST(DiffLink, LargeDerivativesSaturateInsteadOfWrapping) {
  // 100 in a millisecond is 100000: +127, the type's greatest value, and
  // never the wrapped negative value a truncation before the clamp gives.
  Rig<CBEDiff> c(kBeDiffClassId, kBeSignalChar);
  c.x->SetInt(100);
  c.bench.Pass(0.001f);
  EXPECT_EQ(127, ReadInt(c.link));
  Rig<CBEDiff> s(kBeDiffClassId, kBeSignalShort);
  s.x->SetInt(30000);
  s.bench.Pass(0.5f);
  EXPECT_EQ(32767, ReadInt(s.link));
  s.x->SetInt(-30000);
  s.bench.Pass(0.5f);
  EXPECT_EQ(-32767, ReadInt(s.link));
  Rig<CBEDiff> i(kBeDiffClassId, kBeSignalInt);
  i.x->SetInt(2000000);
  i.bench.Pass(0.0001f);
  EXPECT_EQ(INT_MAX, ReadInt(i.link));
  i.x->SetInt(-2000000);
  i.bench.Pass(0.0001f);
  EXPECT_EQ(INT_MIN, ReadInt(i.link));
  // Not a number still gives what truncation defines: -2147483648.
  Rig<CBEDiff> n(kBeDiffClassId, kBeSignalInt);
  n.link->gain = kNaN;
  n.x->SetInt(1);
  n.bench.Pass(1.0f);
  EXPECT_EQ(INT_MIN, ReadInt(n.link));
}

TEST(DiffLink, IntegerChangesWrapIn32Bits) {
  Rig<CBEDiff> rig(kBeDiffClassId, kBeSignalInt);
  rig.x->SetInt(-2000000000);
  rig.bench.Pass(1.0f);
  EXPECT_EQ(-2000000000, ReadInt(rig.link));
  // 2e9 - (-2e9) wraps to -294967296.
  rig.x->SetInt(2000000000);
  rig.bench.Pass(1.0f);
  EXPECT_EQ(-294967296, ReadInt(rig.link));
}

TEST(DiffLink, TableRealisationQuantisesByTheShift) {
  // A = 1000: shift 3. K 1, dt 1.
  Rig<CBEDiff> rig(kBeDiffClassId, kBeSignalShort);
  rig.link->realisation = 1;
  rig.link->amplitude = 1000;
  const int fed[] = {1000, 2003, 4003, 4003, 3002};
  // 1000 >> 3 = 125 -> 1000; 1003 -> 125 -> 1000; 2000 -> 250 -> 127 ->
  // 1016; 0; -1001 -> -126 (toward minus infinity) -> -1008.
  const int out[] = {1000, 1000, 1016, 0, -1008};
  for (int i = 0; i < 5; ++i) {
    rig.x->SetInt(fed[i]);
    rig.bench.Pass(1.0f);
    EXPECT_EQ(out[i], ReadInt(rig.link)) << i;
  }
  EXPECT_EQ(3, rig.link->shift);
  // The same steps in floating point are taken whole.
  Rig<CBEDiff> exact(kBeDiffClassId, kBeSignalShort);
  exact.link->amplitude = 1000;
  const int whole[] = {1000, 1003, 2000, 0, -1001};
  for (int i = 0; i < 5; ++i) {
    exact.x->SetInt(fed[i]);
    exact.bench.Pass(1.0f);
    EXPECT_EQ(whole[i], ReadInt(exact.link)) << i;
  }
  // int: A = 32767, shift 8: 1000 -> 3 -> 768. char: the change itself is
  // held within -127..127 before it is scaled: 127 - (-128) = 255 -> 127.
  Rig<CBEDiff> wide(kBeDiffClassId, kBeSignalInt);
  wide.link->realisation = 1;
  wide.link->amplitude = 32767;
  wide.x->SetInt(1000);
  wide.bench.Pass(1.0f);
  EXPECT_EQ(768, ReadInt(wide.link));
  Rig<CBEDiff> narrow(kBeDiffClassId, kBeSignalChar);
  narrow.link->realisation = 1;
  narrow.link->gain = 0.5;
  narrow.x->SetInt(-128);  // -128 held at -127, then -63.5 truncated
  narrow.bench.Pass(1.0f);
  EXPECT_EQ(-63, ReadInt(narrow.link));
  narrow.x->SetInt(127);
  narrow.bench.Pass(1.0f);
  EXPECT_EQ(63, ReadInt(narrow.link));  // 127 x 0.5, truncated
}

TEST(DiffLink, ShiftScalesTheAmplitudeInto127) {
  struct Row {
    int32_t amplitude, shift;
  } rows[] = {{127, 0}, {0, 0}, {-5, 0}, {128, 1}, {255, 1}, {256, 2}, {1000, 3}, {32767, 8}, {32768, 9},
              {INT_MAX, 24}};
  for (const Row& row : rows) EXPECT_EQ(row.shift, CBEDiff::ShiftFor(row.amplitude)) << row.amplitude;
}

TEST(DiffLink, FloatAndDoubleRamps) {
  Rig<CBEDiff> f(kBeDiffClassId, kBeSignalFloat);
  f.link->gain = 2;
  const float fed[] = {0.5f, 1.5f, 1.5f, 0.25f};
  const float out[] = {4.0f, 8.0f, 0.0f, -10.0f};
  for (int i = 0; i < 4; ++i) {
    f.x->SetFloat(fed[i]);
    f.bench.Pass(0.25f);
    EXPECT_EQ(out[i], ReadFloat(f.link)) << i;
  }
  Rig<CBEDiff> d(kBeDiffClassId, kBeSignalDouble);
  d.link->gain = 3;
  for (int i = 0; i < 4; ++i) {
    d.x->SetDouble(i);  // a ramp of slope 2 a second
    d.bench.Pass(0.5f);
    EXPECT_EQ(i == 0 ? 0.0 : 6.0, ReadDouble(d.link)) << i;
  }
}

TEST(DiffLink, APassWithoutTimeOrWithoutSourceChangesNothing) {
  Rig<CBEDiff> rig(kBeDiffClassId, kBeSignalChar);
  rig.x->SetInt(10);
  rig.bench.Pass(0.125f);
  EXPECT_EQ(80, ReadInt(rig.link));
  // dt 0: the output stays and the previous value too, so the next pass
  // sees the whole change since the last one with time.
  rig.x->SetInt(20);
  rig.bench.Pass(0.0f);
  EXPECT_EQ(80, ReadInt(rig.link));
  rig.bench.Pass(std::numeric_limits<float>::infinity());
  EXPECT_EQ(80, ReadInt(rig.link));
  rig.bench.Pass(0.25f);
  EXPECT_EQ(40, ReadInt(rig.link));
  // Unlinked: nothing.
  rig.bench.Unlink(rig.link);
  rig.bench.Pass(0.125f);
  EXPECT_EQ(40, ReadInt(rig.link));
  // A restart differentiates against 0 again.
  rig.bench.Link(rig.x, rig.link);
  rig.bench.Stop();
  rig.x->SetInt(4);
  rig.bench.Pass(0.125f);
  EXPECT_EQ(32, ReadInt(rig.link));
}

// ------------------------------------------------------------ first-order lag

TEST(InertialLink, StepResponseIsOneEulerStepAPass) {
  Rig<CBEInertial> rig(kBeInertialClassId, kBeSignalFloat);
  rig.link->gain = 2;
  rig.x->SetFloat(1);
  // y += 0.1 (2 - y) / 1.
  const double expected[] = {0.2, 0.38, 0.542, 0.6878};
  for (double e : expected) {
    rig.bench.Pass(0.1f);
    EXPECT_NEAR(e, ReadFloat(rig.link), 1e-6);
  }
  // A pass longer than four time constants takes the input at once.
  Rig<CBEInertial> fast(kBeInertialClassId, kBeSignalFloat);
  fast.link->gain = 2;
  fast.link->timeConstant = 0.01;
  fast.x->SetFloat(1);
  fast.bench.Pass(0.1f);
  EXPECT_EQ(2.0f, ReadFloat(fast.link));
}

TEST(InertialLink, RampAndIntegerOutput) {
  Rig<CBEInertial> ramp(kBeInertialClassId, kBeSignalDouble);
  const double expected[] = {0.5, 1.25, 2.125};
  for (int i = 0; i < 3; ++i) {
    ramp.x->SetDouble(i + 1);
    ramp.bench.Pass(0.5f);
    EXPECT_EQ(expected[i], ReadDouble(ramp.link)) << i;
  }
  Rig<CBEInertial> c(kBeInertialClassId, kBeSignalChar);
  c.x->SetInt(100);
  const int steps[] = {50, 75, 87, 93};  // 50, 75, 87.5, 93.75 truncated
  for (int e : steps) {
    c.bench.Pass(0.5f);
    EXPECT_EQ(e, ReadInt(c.link));
  }
}

TEST(InertialLink, TimeConstantOrPassTimeOfZeroLeavesTheOutput) {
  Rig<CBEInertial> rig(kBeInertialClassId, kBeSignalFloat);
  rig.x->SetFloat(4);
  rig.link->timeConstant = 0;
  // dt > 0 with T 0: more than four time constants, the input at once.
  rig.bench.Pass(0.1f);
  EXPECT_EQ(4.0f, ReadFloat(rig.link));
  // dt 0 with T 0 would divide by zero: the output stays.
  rig.x->SetFloat(8);
  rig.bench.Pass(0.0f);
  EXPECT_EQ(4.0f, ReadFloat(rig.link));
  rig.link->timeConstant = kNaN;
  rig.bench.Pass(0.1f);
  EXPECT_EQ(4.0f, ReadFloat(rig.link));
  // dt 0 with a time constant: no change, written again.
  rig.link->timeConstant = 1;
  rig.bench.Pass(0.0f);
  EXPECT_EQ(4.0f, ReadFloat(rig.link));
  // Unlinked: nothing.
  rig.bench.Unlink(rig.link);
  rig.link->Output(0)->SetFloat(-1);
  rig.bench.Pass(0.1f);
  EXPECT_EQ(-1.0f, ReadFloat(rig.link));
}

// ------------------------------------------------------------ oscillating link

TEST(VibroLink, FirstPassesOfAStepFollowTheTwoStages) {
  Rig<CBEVibro> rig(kBeVibroClassId, kBeSignalDouble);
  rig.link->damping = 0.2;
  rig.x->SetDouble(1);
  rig.bench.Start();
  EXPECT_EQ(2.5, rig.link->b);    // 1 / (2 x 0.2 x 1)
  EXPECT_EQ(2.5, rig.link->tau);  // 1 x 1 x 2.5
  // d = (1 - y) 2.5; v += 0.1 (d - v) / 2.5; y += 0.1 v.
  const double expected[] = {0.01, 0.0295, 0.057925};
  for (double e : expected) {
    rig.bench.Pass(0.1f);
    EXPECT_NEAR(e, ReadDouble(rig.link), 1e-7);
  }
}

TEST(VibroLink, AStepOvershootsAndSettles) {
  Rig<CBEVibro> rig(kBeVibroClassId, kBeSignalDouble);
  rig.link->damping = 0.2;
  rig.x->SetDouble(1);
  double highest = 0, lowestAfterPeak = 2;
  bool peaked = false;
  for (int i = 0; i < 30000; ++i) {
    rig.bench.Pass(0.001f);
    double y = ReadDouble(rig.link);
    if (y > highest) highest = y;
    if (highest > 1 && y < highest - 0.1) peaked = true;
    if (peaked && y < lowestAfterPeak) lowestAfterPeak = y;
  }
  // exp(-pi 0.2 / sqrt(1 - 0.04)) = 0.527: the first peak near 1.53.
  EXPECT_NEAR(1.527, highest, 0.01);
  EXPECT_LT(lowestAfterPeak, 1.0);  // it swings back below the input
  EXPECT_NEAR(1.0, ReadDouble(rig.link), 0.005);
}

TEST(VibroLink, RampAndLongPasses) {
  // ξ 1, T 1: b 0.5, τ 0.5; dt 0.5; K 2.
  Rig<CBEVibro> ramp(kBeVibroClassId, kBeSignalDouble);
  ramp.link->damping = 1;
  ramp.link->gain = 2;
  const double out[] = {0.25, 0.6875, 1.265625};
  for (int i = 0; i < 3; ++i) {
    ramp.x->SetDouble(0.5 * (i + 1));
    ramp.bench.Pass(0.5f);
    EXPECT_EQ(out[i], ReadDouble(ramp.link)) << i;
  }
  // T 0.1, ξ 1: b 5, τ 0.05. A pass of 1 s is longer than 4 τ: v takes
  // (x - y) b each pass instead of being integrated.
  Rig<CBEVibro> coarse(kBeVibroClassId, kBeSignalDouble);
  coarse.link->timeConstant = 0.1;
  coarse.link->damping = 1;
  coarse.x->SetDouble(1);
  coarse.bench.Pass(1.0f);
  EXPECT_EQ(5.0, coarse.link->v);
  EXPECT_EQ(5.0, ReadDouble(coarse.link));
  coarse.bench.Pass(1.0f);
  EXPECT_EQ(-20.0, coarse.link->v);
  EXPECT_EQ(-15.0, ReadDouble(coarse.link));
}

TEST(VibroLink, IntegerOutputsAreHeldInTheirRange) {
  struct Row {
    BeSignalType type;
    double gain;
    int expected;
  } rows[] = {
      {kBeSignalChar, 1e6, 127},      {kBeSignalChar, -1e6, -127},       {kBeSignalShort, 1e9, 32767},
      {kBeSignalShort, -1e9, -32767}, {kBeSignalInt, 1e12, INT_MAX},     {kBeSignalInt, -1e12, -INT_MAX},
      {kBeSignalChar, 1000, 10},  // y 0.01 after the first pass of a unit step: 10
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.type << " " << row.gain);
    Rig<CBEVibro> rig(kBeVibroClassId, row.type);
    rig.link->damping = 0.2;
    rig.link->gain = row.gain;
    rig.x->SetInt(1);
    rig.bench.Pass(0.1f);
    EXPECT_EQ(row.expected, ReadInt(rig.link));
  }
}

TEST(VibroLink, ZeroTimeConstantOrDampingLeavesTheOutput) {
  for (int which = 0; which < 3; ++which) {
    SCOPED_TRACE(which);
    Rig<CBEVibro> rig(kBeVibroClassId, kBeSignalFloat);
    if (which == 0) rig.link->timeConstant = 0;
    if (which == 1) rig.link->damping = 0;
    if (which == 2) rig.link->damping = kNaN;
    rig.x->SetFloat(1);
    rig.link->Output(0)->SetFloat(-3);
    rig.bench.Pass(0.1f);
    EXPECT_EQ(-3.0f, ReadFloat(rig.link));
    EXPECT_EQ(0.0, rig.link->y);
  }
  // Before the first Start the coefficients are not there yet either.
  Bench bench;
  auto* vibro = bench.Create<CBEVibro>(kBeVibroClassId);
  auto* x = bench.Source(kBeSignalFloat);
  x->SetFloat(1);
  bench.Link(x, vibro);
  vibro->Step(0.1f);
  EXPECT_EQ(0.0f, ReadFloat(vibro));
  // Unlinked after Start: nothing.
  bench.Unlink(vibro);
  bench.Pass(0.1f);
  EXPECT_EQ(0.0, vibro->y);
}

// ------------------------------------------------------------ limiter

TEST(LimiterLink, HoldsItsInputBetweenTheLimitsInEachType) {
  struct Case {
    BeSignalType type;
    double upper, lower, in, out;
  } cases[] = {
      {kBeSignalShort, 100, -50, 300, 100},
      {kBeSignalShort, 100, -50, -200, -50},
      {kBeSignalShort, 100, -50, 20, 20},
      {kBeSignalChar, 127, -127, -128, -127},
      {kBeSignalInt, 1000000, -1000000, INT_MIN, -1000000},
      {kBeSignalFloat, 1.5, -0.5, 2, 1.5},
      {kBeSignalFloat, 1.5, -0.5, -0.25, -0.25},
      {kBeSignalDouble, 1e300, -1e300, -1e308, -1e300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.type << ": " << c.in);
    Rig<CBELimiter> rig(kBeLimiterClassId, c.type);
    if (c.type == kBeSignalFloat) {
      rig.link->SetLimitsFloat(static_cast<float>(c.upper), static_cast<float>(c.lower));
    } else if (c.type == kBeSignalDouble) {
      rig.link->SetLimitsDouble(c.upper, c.lower);
    } else {
      rig.link->SetLimitsInt(static_cast<int32_t>(c.upper), static_cast<int32_t>(c.lower));
    }
    rig.x->Set(c.in);
    rig.bench.Pass();
    EXPECT_EQ(c.out, blocktest::ReadValue(rig.link));
  }
}

TEST(LimiterLink, CharAndShortCompareTheLowBitsOfTheirLimits) {
  // 300 as a char limit is its low byte, 44; -300 as a short stays -300.
  Rig<CBELimiter> rig(kBeLimiterClassId, kBeSignalChar);
  rig.link->SetLimitsInt(300, -300);
  rig.x->SetInt(100);
  rig.bench.Pass();
  EXPECT_EQ(44, ReadInt(rig.link));
  rig.x->SetInt(-100);  // -300 is 0xD4 = -44 in 8 bits
  rig.bench.Pass();
  EXPECT_EQ(-44, ReadInt(rig.link));
  EXPECT_EQ(44.0, rig.link->UpperLimit());
}

TEST(LimiterLink, NotANumberPassesAndTheOutputKeepsItsValueAcrossRuns) {
  Rig<CBELimiter> rig(kBeLimiterClassId, kBeSignalDouble);
  rig.link->SetLimitsDouble(1, -1);
  rig.x->SetDouble(kNaN);
  rig.bench.Pass();
  EXPECT_TRUE(std::isnan(ReadDouble(rig.link)));
  rig.x->SetDouble(5);
  rig.bench.Pass();
  EXPECT_EQ(1.0, ReadDouble(rig.link));
  // No Start of its own: a new run begins with the last value; unlinked it
  // does nothing.
  rig.bench.Stop();
  rig.bench.Unlink(rig.link);
  rig.bench.Pass();
  EXPECT_EQ(1.0, ReadDouble(rig.link));
}

}  // namespace
