// The reduction of an angle to -pi <= y < pi: the block's examples, the
// bounded computation against the loop it stands for, and the inputs the
// loop would never finish (huge values, infinities, not a number).
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "block_kit.h"
#include "blocks/library/math/trig/angle_reduction.h"
#include "blocks/library/math/trig/math_func.h"
#include "blocks/library/math/trig/pi_to_pi.h"
#include "blocks/library/typed_block.h"

namespace {

using blocktest::Bench;

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

// The loop as written for the block, step by step (SSE arithmetic of the
// 64-bit test build: every operation rounded once, to its type).
float LoopFloat(float x) {
  float y = x;
  while (y >= 3.1415927410125732) y = static_cast<float>(static_cast<double>(y) - 6.2831854820251465);
  while (y < -3.1415927410125732) y = static_cast<float>(static_cast<double>(y) + 6.2831854820251465);
  return y;
}
double LoopDouble(double x) {
  double y = x;
  while (y >= 3.141592653589793) y = y - 6.283185307179586;
  while (y < -3.141592653589793) y = y + 6.283185307179586;
  return y;
}

float ReduceFloat(float x) {
  return static_cast<float>(ReduceAngleToPi(x, kFloatPi, kFloatTwoPi, kFloatMantissaBits));
}
double ReduceDouble(double x) { return ReduceAngleToPi(x, kDoublePi, kDoubleTwoPi, kDoubleMantissaBits); }

bool SameBits(double a, double b) { return memcmp(&a, &b, sizeof a) == 0; }
bool SameBits(float a, float b) { return memcmp(&a, &b, sizeof a) == 0; }

// What the block outputs for x in its type.
double BlockOutput(BeSignalType type, double x) {
  Bench bench;
  auto* block = bench.Create<CBEPItoPI>(kBePItoPIClassId);
  ChangeBlockType(block, type);
  auto* source = bench.Source(type);
  if (type == kBeSignalFloat) {
    source->SetFloat(static_cast<float>(x));
  } else {
    source->SetDouble(x);
  }
  bench.Link(source, block);
  bench.Pass();
  return type == kBeSignalFloat ? blocktest::ReadFloat(block) : blocktest::ReadDouble(block);
}

TEST(AngleReduction, TheBlocksExamples) {
  const float fpi = static_cast<float>(kFloatPi);
  // Float: 3pi/2 to -pi/2 (3pi/2 rounded to float, less the float 2pi), pi
  // and -pi to -pi, 7 to 7 - 6.2831854820251465.
  float threeHalves = static_cast<float>(3 * kFloatPi / 2);
  float got = static_cast<float>(BlockOutput(kBeSignalFloat, threeHalves));
  EXPECT_EQ(static_cast<float>(threeHalves - kFloatTwoPi), got);
  EXPECT_NEAR(-kFloatPi / 2, got, 2.5e-7);
  EXPECT_EQ(-fpi, static_cast<float>(BlockOutput(kBeSignalFloat, fpi)));
  EXPECT_EQ(-fpi, static_cast<float>(BlockOutput(kBeSignalFloat, -fpi)));
  EXPECT_EQ(static_cast<float>(7 - 6.2831854820251465), static_cast<float>(BlockOutput(kBeSignalFloat, 7)));
  EXPECT_EQ(0.7168145f, static_cast<float>(BlockOutput(kBeSignalFloat, 7)));
  // Double.
  EXPECT_EQ(-kDoublePi, BlockOutput(kBeSignalDouble, kDoublePi));
  EXPECT_EQ(-kDoublePi, BlockOutput(kBeSignalDouble, -kDoublePi));
  EXPECT_EQ(3 * kDoublePi / 2 - kDoubleTwoPi, BlockOutput(kBeSignalDouble, 3 * kDoublePi / 2));
  EXPECT_EQ(7 - kDoubleTwoPi, BlockOutput(kBeSignalDouble, 7));
  // Inside the range nothing changes, minus zero included.
  EXPECT_EQ(1.0, BlockOutput(kBeSignalDouble, 1.0));
  EXPECT_TRUE(SameBits(-0.0, BlockOutput(kBeSignalDouble, -0.0)));
  EXPECT_EQ(-3.0f, static_cast<float>(BlockOutput(kBeSignalFloat, -3.0)));
  // Just below pi stays, just below -pi goes round.
  double belowPi = std::nextafter(kDoublePi, 0.0);
  EXPECT_EQ(belowPi, BlockOutput(kBeSignalDouble, belowPi));
  double belowMinusPi = std::nextafter(-kDoublePi, -4.0);
  EXPECT_EQ(belowMinusPi + kDoubleTwoPi, BlockOutput(kBeSignalDouble, belowMinusPi));
}

// Where the loop ends in a time a test can wait for, the result has the
// loop's bits: across the binades, and in those where the rounding of
// y - 2pi meets ties (floats from 8 to 16, doubles from 64 to 128).
TEST(AngleReduction, MatchesTheLoopWhereItEnds) {
  const float floats[] = {3.5f,      -3.5f,      9.0f,       12.6f,     14.28f,      15.0f,      15.999999f,
                          -15.0f,    16.0f,      31.4f,      100.25f,   -100.25f,    12345.678f, -12345.678f,
                          65536.5f,  1.0e6f,     -1.0e6f,    4194304.0f, 1.6777215e7f, 1.6777216e7f, 3.3554432e7f,
                          -3.0e7f,   6.7108860e7f, 1.2e8f,   -1.3e8f,   1.3421772e8f};
  for (float x : floats) {
    float expected = LoopFloat(x);
    EXPECT_TRUE(SameBits(expected, ReduceFloat(x))) << x << ": loop " << expected << ", got " << ReduceFloat(x);
    EXPECT_TRUE(expected >= -3.1415927410125732 && expected < 3.1415927410125732) << x;
  }
  const double doubles[] = {3.2,       -3.2,       12.5,          12.6,          13.0,         25.1,
                            64.0,      70.0,       100.0,         127.9,         -77.7,        -127.99,
                            128.5,     1000.001,   12345.6789,    -98765.4321,   1048576.5,    2097151.75,
                            4194304.1, -8388607.3, 1.6777217e7,   3.3554431e7,   -6.7e7,       1.23456789e8};
  for (double x : doubles) {
    double expected = LoopDouble(x);
    EXPECT_TRUE(SameBits(expected, ReduceDouble(x))) << x << ": loop " << expected << ", got " << ReduceDouble(x);
  }
  // Whole binades of floats, sampled densely near their edges.
  for (int e = 2; e <= 20; ++e) {
    for (int k = 0; k < 40; ++k) {
      float low = std::ldexp(1.0f, e);
      float spacing = std::ldexp(1.0f, e - 23);
      float x = k < 20 ? low + k * spacing : 2 * low - (k - 19) * spacing;
      float expected = LoopFloat(x);
      ASSERT_TRUE(SameBits(expected, ReduceFloat(x))) << x;
      ASSERT_TRUE(SameBits(LoopFloat(-x), ReduceFloat(-x))) << -x;
    }
  }
}

// Far beyond what the loop can finish (up to 10^15 rounds), each round
// still takes off one rounded 2pi, so reducing x and reducing what a few
// rounds of the loop leave of x must agree.
TEST(AngleReduction, HugeInputsAgreeWithTheirOwnNextSteps) {
  const double doubles[] = {1.0e9, 3.0e12, -4.5e13, 9.0e15, std::ldexp(1.0, 54) + 8, std::ldexp(1.0, 55) + 8,
                            std::nextafter(std::ldexp(1.0, 56), 0.0), -std::ldexp(1.0, 55) - 16,
                            std::ldexp(1.0, 56), -std::ldexp(1.0, 56)};
  for (double x : doubles) {
    // Stored after each step: the 32-bit build's x87 unit would otherwise
    // keep y in its wider registers.
    volatile double y = x;
    for (int i = 0; i < 1000; ++i) y = y >= 0 ? y - kDoubleTwoPi : y + kDoubleTwoPi;
    ASSERT_NE(x, y) << "the loop moves at " << x;
    double reduced = ReduceDouble(x);
    EXPECT_TRUE(SameBits(reduced, ReduceDouble(y))) << x;
    EXPECT_TRUE(reduced >= -kDoublePi && reduced < kDoublePi) << x << " gives " << reduced;
  }
  const float floats[] = {1.3421771e8f, -1.3421771e8f, 1.0e8f, 134217728.0f, -134217728.0f};
  for (float x : floats) {
    volatile float y = x;
    for (int i = 0; i < 1000; ++i)
      y = static_cast<float>(y >= 0 ? static_cast<double>(y) - kFloatTwoPi : static_cast<double>(y) + kFloatTwoPi);
    EXPECT_TRUE(SameBits(ReduceFloat(x), ReduceFloat(y))) << x;
  }
}

// Where a step no longer changes the value the loop never ends: the exact
// remainder by 2pi instead, in -pi <= y < pi (the values below are x less
// the whole multiple of the block's 2pi that brings it into the range,
// worked out in exact rational arithmetic); infinities and not a number
// pass unchanged. Each ends at once.
TEST(AngleReduction, InputsTheLoopNeverFinishes) {
  struct Row {
    double x;
    double expected;
  };
  const Row doubleRows[] = {
      {1e30, 0.027836527240076236},
      {-1e30, -0.027836527240076236},
      {1e300, -0.7234267005270212},
      // 2^56 + 16: in this binade a step of 2pi rounds back to the value
      // (2^56 itself still steps, into the binade below).
      {72057594037927952.0, 1.7877858213612967},
      {-72057594037927952.0, -1.7877858213612967},
      {1e17, 1.2396830954246951},
      {-1152921504606846976.0, 1.2007557997541483},  // -2^60
      {std::numeric_limits<double>::max(), 0.5806531521201137},
  };
  for (const Row& row : doubleRows) {
    double got = BlockOutput(kBeSignalDouble, row.x);
    EXPECT_TRUE(SameBits(row.expected, got)) << row.x << ": " << got;
  }
  const Row floatRows[] = {
      {1e30f, 0.31446218490600586},
      {-1e30f, -0.31446218490600586},
      {134217744.0, -1.1698851585388184},  // 2^27 + 16, where float steps stop
      {3.0e9, -0.06900787353515625},
      {std::numeric_limits<float>::max(), 1.7319631576538086},
  };
  for (const Row& row : floatRows) {
    float got = static_cast<float>(BlockOutput(kBeSignalFloat, row.x));
    EXPECT_TRUE(SameBits(static_cast<float>(row.expected), got)) << row.x << ": " << got;
  }
  EXPECT_EQ(kInf, BlockOutput(kBeSignalDouble, kInf));
  EXPECT_EQ(-kInf, BlockOutput(kBeSignalDouble, -kInf));
  EXPECT_TRUE(std::isnan(BlockOutput(kBeSignalDouble, kNaN)));
  EXPECT_EQ(std::numeric_limits<float>::infinity(), BlockOutput(kBeSignalFloat, kInf));
  EXPECT_EQ(-std::numeric_limits<float>::infinity(), BlockOutput(kBeSignalFloat, -kInf));
  EXPECT_TRUE(std::isnan(BlockOutput(kBeSignalFloat, kNaN)));
  // The float block keeps the bits of its not-a-number input.
  Bench bench;
  auto* block = bench.Create<CBEPItoPI>(kBePItoPIClassId);
  auto* source = bench.Source(kBeSignalFloat);
  source->SetBytes({0x01, 0x00, 0xC0, 0x7F});  // a quiet NaN with a payload
  bench.Link(source, block);
  bench.Pass();
  EXPECT_EQ(std::vector<uint8_t>({0x01, 0x00, 0xC0, 0x7F}),
            std::vector<uint8_t>(block->Output(0)->value, block->Output(0)->value + 4));
}

}  // namespace
