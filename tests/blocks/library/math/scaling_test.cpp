// The proportional element and the divider of a constant: their two
// realisations side by side, the saturation edges, the costs, the switch to
// the table when placed into a ROM-limited scheme, their records and texts.
#include <climits>
#include <cmath>
#include <limits>

#include "block_kit.h"
#include "blocks/library/math/const_divider.h"
#include "blocks/library/math/proportional.h"
#include "blocks/library/math/scaling.h"
#include "blocks/library/typed_block.h"

namespace {

using blocktest::Bench;
using blocktest::Costs;
using blocktest::CostsOf;

// Input and output types as the dialog sets them, then the costs.
template <class T>
void SetTypes(T* block, BeSignalType in, BeSignalType out, unsigned char mode) {
  ChangeInputType(block->Input(0), in);
  ChangeOutputType(block->Output(0), out);
  block->tableMode = mode;
  block->UpdateCosts();
}

TEST(ScalingBlocks, DefaultsAndPlacementOutsideAROMLimitedScheme) {
  Bench bench;
  auto* k = bench.Create<CBEProportional>(kBeProportionalClassId);
  ASSERT_NE(nullptr, k);
  EXPECT_STREQ(L"Пропорциональное звено", k->GetCaption());
  EXPECT_EQ(100, k->Width());
  EXPECT_EQ(22, k->Height());
  EXPECT_EQ(static_cast<COLORREF>(0x99FFFF), k->fillColor);
  EXPECT_EQ(2.0f, k->coefficient);
  EXPECT_EQ(0, k->tableMode);
  EXPECT_EQ(127, k->amplitude);
  EXPECT_EQ(kBeSignalChar, k->GetInputType());
  EXPECT_EQ(kBeSignalChar, k->GetOutputType());
  EXPECT_EQ(Costs(140, 12, 0, true), CostsOf(k));

  auto* d = bench.Create<CBEConstDivider>(kBeConstDividerClassId);
  ASSERT_NE(nullptr, d);
  EXPECT_STREQ(L"Деление константы на число", d->GetCaption());
  EXPECT_EQ(120, d->Width());
  EXPECT_EQ(22, d->Height());
  EXPECT_EQ(static_cast<COLORREF>(0x99FFFF), d->fillColor);
  EXPECT_EQ(127.0f, d->dividend);
  EXPECT_EQ(0, d->tableMode);
  EXPECT_EQ(0, d->from);
  EXPECT_EQ(127, d->to);
  EXPECT_EQ(Costs(940, 12, 0, true), CostsOf(d));

  // Both have one unnamed input and output.
  for (CBEBlock* block : {static_cast<CBEBlock*>(k), static_cast<CBEBlock*>(d)}) {
    ASSERT_EQ(1, block->inputCount);
    ASSERT_EQ(1, block->outputCount);
    EXPECT_EQ(nullptr, block->Input(0)->name);
    EXPECT_EQ(nullptr, block->Output(0)->name);
  }
  // A ROM limit of 0 is no limit either.
  bench.scheme.romLimit = 0;
  EXPECT_EQ(0, bench.Create<CBEProportional>(kBeProportionalClassId)->tableMode);
  EXPECT_EQ(0, bench.Create<CBEConstDivider>(kBeConstDividerClassId)->tableMode);
}

TEST(ScalingBlocks, PlacedIntoAROMLimitedSchemeTheyTakeTheTable) {
  Bench bench;
  bench.scheme.romLimit = 8192;
  auto* k = bench.Create<CBEProportional>(kBeProportionalClassId);
  EXPECT_EQ(1, k->tableMode);
  // k = 1, s = 1, r = 127: 1 + 2 + 1 cycles, 1 x 1 x 255 bytes.
  EXPECT_EQ(Costs(4, 255), CostsOf(k));
  auto* d = bench.Create<CBEConstDivider>(kBeConstDividerClassId);
  EXPECT_EQ(1, d->tableMode);
  // 2 + 8 + 1 cycles, 1 x 1 x (127 - 0) bytes.
  EXPECT_EQ(Costs(11, 127), CostsOf(d));
  // Attaching never switches the table off.
  BeScheme free;
  k->AttachToScheme(&free);
  EXPECT_EQ(1, k->tableMode);
  k->AttachToScheme(&bench.scheme);
  // A block loaded into such a scheme keeps the mode it was saved with.
  bench.scheme.romLimit = -1;
  auto* floating = bench.Create<CBEProportional>(kBeProportionalClassId);
  floating->coefficient = 0.5f;
  bench.scheme.romLimit = 8192;
  std::unique_ptr<BeScheme> copy = bench.ReadBack();
  ASSERT_NE(nullptr, copy);
  auto ks = blocktest::BlocksOf<CBEProportional>(copy.get());
  ASSERT_EQ(2u, ks.size());
  EXPECT_EQ(0.5f, ks[0]->coefficient);
  EXPECT_EQ(0, ks[0]->tableMode);
  EXPECT_EQ(Costs(140, 12, 0, true), CostsOf(ks[0]));
  EXPECT_EQ(1, ks[1]->tableMode);
}

TEST(ScalingBlocks, CostsOfTheTwoRealisations) {
  auto k = blocktest::NewDetached<CBEProportional>(kBeProportionalClassId);
  auto d = blocktest::NewDetached<CBEConstDivider>(kBeConstDividerClassId);
  struct Row {
    BeSignalType in, out;
    Costs proportional;  // table, r = 127
    Costs divider;       // table, 0..127
  } rows[] = {
      {kBeSignalChar, kBeSignalChar, Costs(4, 255), Costs(11, 127)},
      // k = 2 adds a cycle: 2 + 2 + 1 + 1, 2 x 1 x 255.
      {kBeSignalShort, kBeSignalChar, Costs(6, 510), Costs(20, 254)},
      {kBeSignalChar, kBeSignalShort, Costs(6, 510), Costs(13, 254)},
      {kBeSignalInt, kBeSignalDouble, Costs(20, 4080), Costs(34, 2032)},
      {kBeSignalChar, kBeSignalFloat, Costs(10, 1020), Costs(17, 508)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.in << " to " << row.out);
    SetTypes(k.get(), row.in, row.out, kTableMode);
    SetTypes(d.get(), row.in, row.out, kTableMode);
    EXPECT_EQ(row.proportional, CostsOf(k.get()));
    EXPECT_EQ(row.divider, CostsOf(d.get()));
    SetTypes(k.get(), row.in, row.out, kFloatingPointMode);
    SetTypes(d.get(), row.in, row.out, kFloatingPointMode);
    EXPECT_EQ(Costs(140, 12, 0, true), CostsOf(k.get()));
    EXPECT_EQ(Costs(940, 12, 0, true), CostsOf(d.get()));
  }
  // The range sizes the table: 2r + 1 entries, to - from for the divider.
  SetTypes(k.get(), kBeSignalChar, kBeSignalChar, kTableMode);
  k->amplitude = 10;
  k->UpdateCosts();
  EXPECT_EQ(Costs(4, 21), CostsOf(k.get()));
  SetTypes(d.get(), kBeSignalChar, kBeSignalChar, kTableMode);
  d->from = 1;
  d->to = 10;
  d->UpdateCosts();
  EXPECT_EQ(Costs(11, 9), CostsOf(d.get()));
}

void SetConstant(CBEProportional* k, float c) { k->coefficient = c; }
void SetConstant(CBEConstDivider* d, float c) { d->dividend = c; }

// One input through both realisations on the same block types.
struct Pair {
  BeSignalType in, out;
  float constant;
  double input;
  double floating;  // the floating-point realisation's output
  double table;     // the table realisation's output
};

template <class T>
void RunPairs(unsigned int classId, const Pair* pairs, size_t count, void (*configure)(T*) = nullptr) {
  for (size_t i = 0; i < count; ++i) {
    const Pair& p = pairs[i];
    SCOPED_TRACE(testing::Message() << "case " << i << ": " << p.in << " to " << p.out << ", constant "
                                    << p.constant << ", input " << p.input);
    Bench bench;
    T* floating = bench.Create<T>(classId);
    T* table = bench.Create<T>(classId);
    SetTypes(floating, p.in, p.out, kFloatingPointMode);
    SetTypes(table, p.in, p.out, kTableMode);
    SetConstant(floating, p.constant);
    SetConstant(table, p.constant);
    if (configure) {
      configure(floating);
      configure(table);
    }
    auto* x = bench.Source(p.in);
    x->Set(p.input);
    bench.Link(x, floating);
    bench.Link(x, table);
    bench.Pass();
    if (p.out == kBeSignalFloat) {
      EXPECT_EQ(static_cast<float>(p.floating), blocktest::ReadFloat(floating));
      EXPECT_EQ(static_cast<float>(p.table), blocktest::ReadFloat(table));
    } else {
      EXPECT_EQ(p.floating, blocktest::ReadValue(floating));
      EXPECT_EQ(p.table, blocktest::ReadValue(table));
    }
  }
}

TEST(ScalingBlocks, ProportionalRealisationsSideBySide) {
  const Pair pairs[] = {
      // char to char, coefficient 2: the floating point wraps, the table
      // saturates.
      {kBeSignalChar, kBeSignalChar, 2, 100, -56, 127},
      {kBeSignalChar, kBeSignalChar, 2, 63, 126, 126},
      {kBeSignalChar, kBeSignalChar, 2, 64, -128, 127},
      {kBeSignalChar, kBeSignalChar, 2, -64, -128, -128},
      {kBeSignalChar, kBeSignalChar, 2, -65, 126, -128},
      // -128 lies beyond the table's -127..127: its end stands for it.
      {kBeSignalChar, kBeSignalChar, 2, -128, 0, -128},
      {kBeSignalChar, kBeSignalChar, 1, -128, -128, -127},
      // Truncated toward zero.
      {kBeSignalShort, kBeSignalShort, 0.5f, -3, -1, -1},
      {kBeSignalShort, kBeSignalShort, 0.5f, 3, 1, 1},
      {kBeSignalShort, kBeSignalShort, 1000, 40, -25536, 32767},
      {kBeSignalShort, kBeSignalShort, 1000, -40, 25536, -32768},
      {kBeSignalChar, kBeSignalShort, 400, 100, -25536, 32767},  // 40000
      // int is never saturated by the table, but its input is held within
      // -127..127; beyond the 32-bit range the range's end.
      {kBeSignalInt, kBeSignalInt, 3, 100000, 300000, 381},
      {kBeSignalInt, kBeSignalInt, 3, -100, -300, -300},
      {kBeSignalInt, kBeSignalInt, 1e10f, 1, INT_MAX, INT_MAX},
      {kBeSignalInt, kBeSignalInt, -1e10f, 1, INT_MIN, INT_MIN},
      // Real outputs.
      // 0.1f x 3 = 0.30000000447...: the nearest float is 0.3f.
      {kBeSignalChar, kBeSignalFloat, 0.1f, 3, 0.3, 0.3},
      {kBeSignalChar, kBeSignalDouble, 2.5f, -3, -7.5, -7.5},
      {kBeSignalChar, kBeSignalDouble, 2.5f, -128, -320, -317.5},
      {kBeSignalDouble, kBeSignalDouble, 2, 1e6, 2e6, 254},
  };
  RunPairs<CBEProportional>(kBeProportionalClassId, pairs, sizeof pairs / sizeof pairs[0]);
}

TEST(ScalingBlocks, ProportionalTableCoversMinusRToR) {
  // Amplitude 10: inputs beyond -10..10 read as the ends.
  const Pair pairs[] = {
      {kBeSignalChar, kBeSignalChar, 2, 50, 100, 20},
      {kBeSignalChar, kBeSignalChar, 2, -50, -100, -20},
      {kBeSignalChar, kBeSignalChar, 2, 10, 20, 20},
      {kBeSignalChar, kBeSignalChar, 2, -10, -20, -20},
  };
  RunPairs<CBEProportional>(kBeProportionalClassId, pairs, sizeof pairs / sizeof pairs[0],
                            [](CBEProportional* k) { k->amplitude = 10; });
}

TEST(ScalingBlocks, DividerRealisationsSideBySide) {
  const Pair pairs[] = {
      // A zero divisor counts as 1.
      {kBeSignalChar, kBeSignalChar, 127, 0, 127, 127},
      {kBeSignalChar, kBeSignalChar, 127, 2, 63, 63},
      // The table holds 0..127: -1 is limited to 0, which counts as 1.
      {kBeSignalChar, kBeSignalChar, 127, -1, -127, 127},
      {kBeSignalChar, kBeSignalChar, 127, -128, 0, 127},
      // 1000 / 2 = 500: wraps to -12 in floating point, 127 by the table.
      {kBeSignalChar, kBeSignalChar, 1000, 2, -12, 127},
      {kBeSignalChar, kBeSignalChar, -1000, 2, 12, -128},
      {kBeSignalChar, kBeSignalShort, 100000, 1, -31072, 32767},
      // Real inputs: the table truncates them first.
      {kBeSignalFloat, kBeSignalChar, 127, 2.7, 47, 63},
      {kBeSignalFloat, kBeSignalChar, 127, 0.5, 254 - 256, 127},
      {kBeSignalDouble, kBeSignalDouble, 127, -0.0, 127, 127},
      {kBeSignalChar, kBeSignalFloat, 127, 3, 127.0 / 3.0, 127.0 / 3.0},
      {kBeSignalInt, kBeSignalDouble, 1, 1000, 0.001, 1.0 / 127},
  };
  RunPairs<CBEConstDivider>(kBeConstDividerClassId, pairs, sizeof pairs / sizeof pairs[0]);
}

TEST(ScalingBlocks, DividerTableRangeLimitsItsInput) {
  // Range 1..10: 50 reads as 10 (127 / 10 = 12), 0 as 1.
  const Pair pairs[] = {
      {kBeSignalChar, kBeSignalChar, 127, 50, 2, 12},
      {kBeSignalChar, kBeSignalChar, 127, 0, 127, 127},
      {kBeSignalChar, kBeSignalChar, 127, -5, -25, 127},
      {kBeSignalChar, kBeSignalChar, 127, 4, 31, 31},
  };
  RunPairs<CBEConstDivider>(kBeConstDividerClassId, pairs, sizeof pairs / sizeof pairs[0],
                            [](CBEConstDivider* d) {
                              d->from = 1;
                              d->to = 10;
                            });
}

TEST(ScalingBlocks, ResultsThatAreNotNumbersReachNoIntegerConversion) {
  Bench bench;
  auto* k = bench.Create<CBEProportional>(kBeProportionalClassId);
  auto* d = bench.Create<CBEConstDivider>(kBeConstDividerClassId);
  SetTypes(k, kBeSignalFloat, kBeSignalInt, kFloatingPointMode);
  SetTypes(d, kBeSignalFloat, kBeSignalShort, kTableMode);
  auto* x = bench.Source(kBeSignalFloat);
  bench.Link(x, k);
  bench.Link(x, d);
  x->SetFloat(std::numeric_limits<float>::quiet_NaN());
  bench.Pass();
  EXPECT_EQ(0, blocktest::ReadInt(k));
  EXPECT_EQ(127, blocktest::ReadInt(d));  // not a number reads as 0, then 1
  x->SetFloat(std::numeric_limits<float>::infinity());
  bench.Pass();
  EXPECT_EQ(INT_MAX, blocktest::ReadInt(k));
  EXPECT_EQ(1, blocktest::ReadInt(d));  // held at 127
  // A dividend that is not a number.
  d->dividend = std::numeric_limits<float>::quiet_NaN();
  bench.Pass();
  EXPECT_EQ(0, blocktest::ReadInt(d));
  // Unlinked: the outputs stay.
  bench.Unlink(k);
  bench.Unlink(d);
  memset(k->Output(0)->value, 0x11, 8);
  memset(d->Output(0)->value, 0x22, 8);
  bench.Pass();
  EXPECT_EQ(std::vector<uint8_t>(8, 0x11), blocktest::ValueBytes(k));
  EXPECT_EQ(std::vector<uint8_t>(8, 0x22), blocktest::ValueBytes(d));
}

// ------------------------------------------------------------ records

TEST(ScalingRecords, GoldenBytesAndRoundTrip) {
  auto k = blocktest::NewDetached<CBEProportional>(kBeProportionalClassId);
  // 2.0f, char, char, floating point, 127.
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(k.get()), velktest::ParseHex(R"(
      00 00 00 40  02  02  00  7F 00
      00 00 00 00  00 00 00 00  64 00 00 00  16 00 00 00  00 00  00
      00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00
      00 00 00 00  00)")));
  SetTypes(k.get(), kBeSignalShort, kBeSignalDouble, kTableMode);
  k->coefficient = -0.25f;
  k->amplitude = 300;
  std::vector<uint8_t> record = blocktest::RecordBytes(k.get());
  EXPECT_TRUE(velktest::BytesEqual(
      record, blocktest::Golden().F(-0.25f).B(3).B(6).B(1).I16(300)
                  .Base(blocktest::BaseRecord::Unlinked(RECT{0, 0, 100, 22}, 1, 1)).Bytes()));
  auto k2 = blocktest::NewDetached<CBEProportional>(kBeProportionalClassId);
  ASSERT_TRUE(blocktest::LoadBytes(k2.get(), record));
  EXPECT_EQ(-0.25f, k2->coefficient);
  EXPECT_EQ(kBeSignalShort, k2->GetInputType());
  EXPECT_EQ(kBeSignalDouble, k2->GetOutputType());
  EXPECT_EQ(1, k2->tableMode);
  EXPECT_EQ(300, k2->amplitude);
  // k = 2, s = 8: 2 + 16 + 1 + 1 cycles, 2 x 8 x 601 bytes.
  EXPECT_EQ(Costs(20, 9616), CostsOf(k2.get()));

  auto d = blocktest::NewDetached<CBEConstDivider>(kBeConstDividerClassId);
  // 127.0f, char, char, floating point, 0, 127.
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(d.get()), velktest::ParseHex(R"(
      00 00 FE 42  02  02  00  00 00  7F 00
      00 00 00 00  00 00 00 00  78 00 00 00  16 00 00 00  00 00  00
      00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00
      00 00 00 00  00)")));
  SetTypes(d.get(), kBeSignalInt, kBeSignalFloat, kTableMode);
  d->dividend = 1000.0f;
  d->from = -5;
  d->to = 20;
  record = blocktest::RecordBytes(d.get());
  EXPECT_TRUE(velktest::BytesEqual(
      record, blocktest::Golden().F(1000.0f).B(4).B(5).B(1).I16(-5).I16(20)
                  .Base(blocktest::BaseRecord::Unlinked(RECT{0, 0, 120, 22}, 1, 1)).Bytes()));
  auto d2 = blocktest::NewDetached<CBEConstDivider>(kBeConstDividerClassId);
  ASSERT_TRUE(blocktest::LoadBytes(d2.get(), record));
  EXPECT_EQ(1000.0f, d2->dividend);
  EXPECT_EQ(kBeSignalInt, d2->GetInputType());
  EXPECT_EQ(kBeSignalFloat, d2->GetOutputType());
  EXPECT_EQ(1, d2->tableMode);
  EXPECT_EQ(-5, d2->from);
  EXPECT_EQ(20, d2->to);
  // k = 2, s = 4: 8 + 16 + 1 + 1 cycles, 2 x 4 x 25 bytes.
  EXPECT_EQ(Costs(26, 200), CostsOf(d2.get()));
}

TEST(ScalingRecords, EveryTruncationIsRefusedAndChangesNothing) {
  auto k = blocktest::NewDetached<CBEProportional>(kBeProportionalClassId);
  SetTypes(k.get(), kBeSignalInt, kBeSignalShort, kTableMode);
  k->coefficient = 7.5f;
  k->amplitude = 1000;
  blocktest::ExpectTruncationsRefused<CBEProportional>(kBeProportionalClassId, blocktest::RecordBytes(k.get()));
  auto d = blocktest::NewDetached<CBEConstDivider>(kBeConstDividerClassId);
  SetTypes(d.get(), kBeSignalShort, kBeSignalDouble, kTableMode);
  d->dividend = -3.0f;
  d->from = 5;
  d->to = 6;
  blocktest::ExpectTruncationsRefused<CBEConstDivider>(kBeConstDividerClassId, blocktest::RecordBytes(d.get()));
}

TEST(ScalingRecords, ImplausibleFieldsAreRefused) {
  auto base = blocktest::BaseRecord::Unlinked(RECT{0, 0, 100, 22}, 1, 1);
  struct Row {
    int in, out, mode, amplitude;
    bool loads;
  } rows[] = {
      {2, 2, 0, 127, true},  {6, 6, 1, 0, true},     {1, 2, 0, 127, false}, {2, 7, 0, 127, false},
      {2, 2, 2, 127, false}, {2, 2, 255, 127, false}, {2, 2, 1, -1, false},  {2, 2, 1, 32767, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.in << " " << row.out << " " << row.mode << " " << row.amplitude);
    auto k = blocktest::NewDetached<CBEProportional>(kBeProportionalClassId);
    EXPECT_EQ(row.loads, blocktest::LoadBytes(k.get(), blocktest::Golden().F(3).B(row.in).B(row.out)
                                                           .B(row.mode).I16(row.amplitude).Base(base).Bytes()));
    EXPECT_EQ(row.loads ? 3.0f : 2.0f, k->coefficient);
  }
  // The divider's range may not run backwards.
  struct Range {
    int from, to;
    bool loads;
  } ranges[] = {{0, 127, true}, {5, 5, true}, {-128, 127, true}, {6, 5, false}, {127, -128, false}};
  for (const Range& r : ranges) {
    SCOPED_TRACE(testing::Message() << r.from << ".." << r.to);
    auto d = blocktest::NewDetached<CBEConstDivider>(kBeConstDividerClassId);
    EXPECT_EQ(r.loads, blocktest::LoadBytes(d.get(), blocktest::Golden().F(9).B(2).B(2).B(1).I16(r.from)
                                                         .I16(r.to).Base(base).Bytes()));
    EXPECT_EQ(r.loads ? r.from : 0, d->from);
    EXPECT_EQ(r.loads ? r.to : 127, d->to);
  }
}

}  // namespace
