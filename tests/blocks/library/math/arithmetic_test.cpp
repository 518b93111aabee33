// The arithmetic blocks of the "Математика" group: what each is made as, its
// results in every type at the wrap and rounding edges, unlinked inputs, its
// costs by type, its record and its property dialog.
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

#include "block_kit.h"
#include "blocks/library/math/abs.h"
#include "blocks/library/math/add.h"
#include "blocks/library/math/div2.h"
#include "blocks/library/math/mul2.h"
#include "blocks/library/math/neg.h"
#include "blocks/library/math/sub.h"
#include "blocks/library/math/sub2.h"
#include "blocks/library/math/summator.h"
#include "blocks/library/typed_block.h"

namespace {

using blocktest::Bench;
using blocktest::Costs;
using blocktest::CostsOf;

const float kHalfUlpOfOne = 5.9604644775390625e-08f;  // 2^-24
const double kPointOneAsFloat = 0.100000001490116119384765625;  // 0.1f exactly

// The block's type set as its property dialog sets it, then its cost
// operation.
void SetType(CBEBlock* block, BeSignalType type) {
  ChangeBlockType(block, type);
  if (auto* b = dynamic_cast<CBENeg*>(block)) b->UpdateCosts();
  if (auto* b = dynamic_cast<CBEAdd*>(block)) b->UpdateCosts();
  if (auto* b = dynamic_cast<CBESub*>(block)) b->UpdateCosts();
  if (auto* b = dynamic_cast<CBESub2*>(block)) b->UpdateCosts();
  if (auto* b = dynamic_cast<CBEMul2*>(block)) b->UpdateCosts();
  if (auto* b = dynamic_cast<CBEDiv2*>(block)) b->UpdateCosts();
  if (auto* b = dynamic_cast<CBESummator*>(block)) b->UpdatePinsAndCosts();
}

// ------------------------------------------------------------ construction

TEST(ArithmeticBlocks, EachIsMadeWithItsSizePinsTypeAndCosts) {
  Bench bench;
  struct Row {
    unsigned int classId;
    const wchar_t* caption;
    int width, height;
    int inputs;
    const wchar_t* firstInputName;
    BeSignalType type;
    Costs costs;
  } rows[] = {
      {kBeNegClassId, L"Смена знака", 50, 22, 1, nullptr, kBeSignalChar, Costs(1, 2)},
      {kBeAddClassId, L"Сложение с константой", 100, 20, 1, nullptr, kBeSignalChar, Costs(1, 2)},
      {kBeSubClassId, L"Вычитание константы", 100, 20, 1, nullptr, kBeSignalChar, Costs(2, 4)},
      {kBeSummatorClassId, L"Сумматор", 50, 40, 2, nullptr, kBeSignalShort, Costs(2, 4)},
      {kBeSub2ClassId, L"Разность", 50, 40, 2, L"A", kBeSignalChar, Costs(2, 4)},
      {kBeMul2ClassId, L"Умножение", 80, 40, 2, L"A", kBeSignalChar, Costs(2, 4)},
      {kBeDiv2ClassId, L"Деление", 80, 40, 2, L"A", kBeSignalChar, Costs(64, 40)},
      {kBeAbsClassId, L"Модуль", 80, 20, 1, nullptr, kBeSignalChar, Costs(5, 4, 0, true)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << row.classId);
    CBEBlock* block = bench.Create<CBEBlock>(row.classId);
    ASSERT_NE(nullptr, block);
    EXPECT_EQ(row.classId, block->GetClassId());
    EXPECT_STREQ(row.caption, block->GetCaption());
    EXPECT_EQ(nullptr, block->caption);
    EXPECT_EQ(row.width, block->Width());
    EXPECT_EQ(row.height, block->Height());
    EXPECT_EQ(static_cast<COLORREF>(0x33FFFF), block->fillColor);
    ASSERT_EQ(row.inputs, block->inputCount);
    ASSERT_EQ(1, block->outputCount);
    for (int i = 0; i < block->inputCount; ++i) EXPECT_EQ(row.type, block->Input(i)->type) << i;
    EXPECT_EQ(row.type, block->Output(0)->type);
    EXPECT_EQ(nullptr, block->Output(0)->name);
    if (row.firstInputName) {
      EXPECT_STREQ(row.firstInputName, block->Input(0)->name);
      EXPECT_STREQ(L"B", block->Input(1)->name);
    } else {
      EXPECT_EQ(nullptr, block->Input(0)->name);
    }
    EXPECT_EQ(row.costs, CostsOf(block));
  }
  // The adder's inputs sit at 10 and 30 pixels below its top.
  auto* sum = bench.Create<CBESummator>(kBeSummatorClassId);
  EXPECT_EQ(10, sum->Input(0)->yOffset);
  EXPECT_EQ(30, sum->Input(1)->yOffset);
  // The constant blocks start with the integer 1.
  EXPECT_EQ(1u, bench.Create<CBEAdd>(kBeAddClassId)->constant);
  EXPECT_EQ(1u, bench.Create<CBESub>(kBeSubClassId)->constant);
}

// ------------------------------------------------------------ costs

TEST(ArithmeticBlocks, CostsByType) {
  Bench bench;
  // cycles / ROM / shared flag for char, short, int, float, double.
  struct Row {
    unsigned int classId;
    Costs costs[5];
  } rows[] = {
      {kBeNegClassId, {Costs(1, 2), Costs(4, 8), Costs(8, 16), Costs(6, 8), Costs(6, 8)}},
      {kBeAddClassId,
       {Costs(1, 2), Costs(2, 4), Costs(4, 8), Costs(100, 10, 0, true), Costs(200, 20, 0, true)}},
      {kBeSubClassId,
       {Costs(2, 4), Costs(3, 6), Costs(5, 10), Costs(100, 10, 0, true), Costs(200, 20, 0, true)}},
      {kBeSub2ClassId,
       {Costs(2, 4), Costs(3, 6), Costs(5, 10), Costs(100, 10, 0, true), Costs(200, 20, 0, true)}},
      {kBeMul2ClassId,
       {Costs(2, 4), Costs(10, 16), Costs(36, 34), Costs(280, 10, 0, true), Costs(390, 20, 0, true)}},
      {kBeDiv2ClassId,
       {Costs(64, 40), Costs(128, 56), Costs(256, 108), Costs(380, 10, 0, true), Costs(490, 20, 0, true)}},
      // Two inputs: n - 1 = 1.
      {kBeSummatorClassId,
       {Costs(1, 2), Costs(2, 4), Costs(4, 8), Costs(120, 8, 0, true), Costs(220, 16, 0, true)}},
  };
  for (const Row& row : rows) {
    CBEBlock* block = bench.Create<CBEBlock>(row.classId);
    ASSERT_NE(nullptr, block);
    // From double back to char, so the flag is seen cleared again.
    for (BeSignalType type : {kBeSignalDouble, kBeSignalChar, kBeSignalShort, kBeSignalInt, kBeSignalFloat,
                              kBeSignalDouble, kBeSignalChar}) {
      SetType(block, type);
      EXPECT_EQ(row.costs[type - kBeSignalChar], CostsOf(block))
          << std::hex << row.classId << std::dec << " type " << type;
    }
  }
  // The absolute value costs the same in every type.
  auto* abs = bench.Create<CBEAbs>(kBeAbsClassId);
  for (BeSignalType type : {kBeSignalShort, kBeSignalInt, kBeSignalFloat, kBeSignalDouble}) {
    ChangeBlockType(abs, type);
    EXPECT_EQ(Costs(5, 4, 0, true), CostsOf(abs)) << type;
  }
}

TEST(ArithmeticBlocks, AdderCostsAndHeightFollowTheInputCount) {
  Bench bench;
  auto* sum = bench.Create<CBESummator>(kBeSummatorClassId);
  ASSERT_TRUE(sum->SetInputCount(5));
  SetType(sum, kBeSignalInt);
  EXPECT_EQ(Costs(16, 32), CostsOf(sum));
  EXPECT_EQ(100, sum->Height());
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(kBeSignalInt, sum->Input(i)->type) << i;
    EXPECT_EQ(10 + 20 * i, sum->Input(i)->yOffset) << i;
  }
  EXPECT_EQ(50, sum->Output(0)->yOffset);
  // 127 inputs of double: 220 x 126 cycles, 16 x 126 bytes.
  ASSERT_TRUE(sum->SetInputCount(127));
  SetType(sum, kBeSignalDouble);
  EXPECT_EQ(Costs(27720, 2016, 0, true), CostsOf(sum));
  EXPECT_EQ(2540, sum->Height());
}

// A type change as the dialogs make it: links of other types go.
TEST(ArithmeticBlocks, ATypeChangeUnlinksInputsAndDisconnectsTheOutput) {
  Bench bench;
  auto* x = bench.Source(kBeSignalChar);
  auto* mul = bench.Create<CBEMul2>(kBeMul2ClassId);
  auto* after = bench.Create<CBENeg>(kBeNegClassId);
  bench.Link(x, mul, 0);
  bench.Link(mul, after);
  SetType(mul, kBeSignalChar);  // the same type: nothing goes
  EXPECT_EQ(x->Output(0), mul->Input(0)->source);
  EXPECT_EQ(mul->Output(0), after->Input(0)->source);
  SetType(mul, kBeSignalShort);
  EXPECT_EQ(nullptr, mul->Input(0)->source);
  EXPECT_EQ(nullptr, after->Input(0)->source);
  EXPECT_EQ(kBeSignalShort, mul->Input(1)->type);
}

// ------------------------------------------------------------ results

// One block of one type, its inputs fed by sources of that type (or left
// unlinked), one pass, and the output read in the type.
struct Case {
  unsigned int classId;
  BeSignalType type;
  double a;  // first input (NaN: unlinked)
  double b;  // second input (NaN: unlinked); unused by one-input blocks
  double expected;
};

const double kOpen = std::numeric_limits<double>::quiet_NaN();

void RunCases(const Case* cases, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i << ": class " << std::hex << c.classId << std::dec
                                    << ", type " << c.type << ", " << c.a << ", " << c.b);
    Bench bench;
    CBEBlock* block = bench.Create<CBEBlock>(c.classId);
    ASSERT_NE(nullptr, block);
    SetType(block, c.type);
    double in[2] = {c.a, c.b};
    for (int k = 0; k < block->inputCount && k < 2; ++k) {
      if (std::isnan(in[k])) continue;
      auto* source = bench.Source(c.type);
      source->Set(in[k]);
      bench.Link(source, block, k);
    }
    bench.Pass();
    double got = blocktest::ReadValue(block);
    if (std::isnan(c.expected)) {
      EXPECT_TRUE(std::isnan(got)) << got;
    } else if (c.type == kBeSignalFloat) {
      EXPECT_EQ(static_cast<float>(c.expected), blocktest::ReadFloat(block));
    } else {
      EXPECT_EQ(c.expected, got);
    }
  }
}

TEST(ArithmeticBlocks, SignChange) {
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {kBeNegClassId, kBeSignalChar, 5, 0, -5},
      {kBeNegClassId, kBeSignalChar, -128, 0, -128},  // stays itself
      {kBeNegClassId, kBeSignalChar, 127, 0, -127},
      {kBeNegClassId, kBeSignalShort, -32768, 0, -32768},
      {kBeNegClassId, kBeSignalShort, 300, 0, -300},
      {kBeNegClassId, kBeSignalInt, INT_MIN, 0, INT_MIN},
      {kBeNegClassId, kBeSignalInt, -7, 0, 7},
      {kBeNegClassId, kBeSignalFloat, 1.5, 0, -1.5},
      {kBeNegClassId, kBeSignalFloat, inf, 0, -inf},
      {kBeNegClassId, kBeSignalDouble, -2.25, 0, 2.25},
  };
  RunCases(cases, sizeof cases / sizeof cases[0]);
}

TEST(ArithmeticBlocks, SignChangeStoresTheWhole32BitResultForIntegers) {
  Bench bench;
  auto* neg = bench.Create<CBENeg>(kBeNegClassId);
  auto* x = bench.Source(kBeSignalChar);
  bench.Link(x, neg);
  memset(neg->Output(0)->value, 0xAA, 8);
  x->SetInt(-128);
  bench.Pass();
  EXPECT_EQ(std::vector<uint8_t>({0x80, 0, 0, 0, 0xAA, 0xAA, 0xAA, 0xAA}), blocktest::ValueBytes(neg));
  x->SetInt(127);
  bench.Pass();
  EXPECT_EQ(std::vector<uint8_t>({0x81, 0xFF, 0xFF, 0xFF, 0xAA, 0xAA, 0xAA, 0xAA}), blocktest::ValueBytes(neg));
  // Float zero changes sign.
  SetType(neg, kBeSignalFloat);
  auto* f = bench.Source(kBeSignalFloat);
  bench.Link(f, neg);
  f->SetFloat(0.0f);
  bench.Pass();
  EXPECT_TRUE(std::signbit(blocktest::ReadFloat(neg)));
}

TEST(ArithmeticBlocks, SignChangeAndAbsoluteValueFollowTheLinkedOutputsType) {
  Bench bench;
  auto* neg = bench.Create<CBENeg>(kBeNegClassId);  // char pins
  auto* abs = bench.Create<CBEAbs>(kBeAbsClassId);
  auto* f = bench.Source(kBeSignalFloat);
  bench.LinkAnyway(f, 0, neg, 0);
  bench.LinkAnyway(f, 0, abs, 0);
  f->SetFloat(-1.5f);
  bench.Pass();
  EXPECT_EQ(1.5f, blocktest::ReadFloat(neg));
  EXPECT_EQ(1.5f, blocktest::ReadFloat(abs));
  // A type neither computes in writes nothing.
  auto* bit = bench.Source(kBeSignalBit);
  bench.LinkAnyway(bit, 0, neg, 0);
  bench.LinkAnyway(bit, 0, abs, 0);
  bit->SetBit(true);
  memset(neg->Output(0)->value, 0x55, 8);
  memset(abs->Output(0)->value, 0x66, 8);
  bench.Pass();
  EXPECT_EQ(std::vector<uint8_t>(8, 0x55), blocktest::ValueBytes(neg));
  EXPECT_EQ(std::vector<uint8_t>(8, 0x66), blocktest::ValueBytes(abs));
}

TEST(ArithmeticBlocks, ConstantAdditionAndSubtraction) {
  Bench bench;
  struct Row {
    unsigned int classId;
    BeSignalType type;
    uint32_t cell;
    double input;
    double expected;
  } rows[] = {
      {kBeAddClassId, kBeSignalChar, 100, 100, -56},  // wraps in 8 bits
      {kBeAddClassId, kBeSignalChar, 1, 127, -128},
      {kBeAddClassId, kBeSignalChar, 0x000001FF, 0, -1},       // the low byte, signed
      {kBeAddClassId, kBeSignalShort, 0x00012345, 0, 0x2345},  // the low word
      {kBeAddClassId, kBeSignalShort, 1, 32767, -32768},
      {kBeAddClassId, kBeSignalShort, 0xFFFFFFFF, -32768, 32767},
      {kBeAddClassId, kBeSignalInt, 0x00012345, 0, 0x12345},
      {kBeAddClassId, kBeSignalInt, 1, INT_MAX, INT_MIN},
      {kBeSubClassId, kBeSignalChar, 1, -128, 127},
      {kBeSubClassId, kBeSignalChar, 100, -100, 56},
      {kBeSubClassId, kBeSignalShort, 0xFFFF0001, -32768, 32767},  // low word 1
      {kBeSubClassId, kBeSignalInt, 1, INT_MIN, INT_MAX},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << row.classId << " cell " << row.cell << std::dec
                                    << " input " << row.input);
    CBEBlock* block = bench.Create<CBEBlock>(row.classId);
    SetType(block, row.type);
    if (auto* add = dynamic_cast<CBEAdd*>(block)) add->constant = row.cell;
    if (auto* sub = dynamic_cast<CBESub*>(block)) sub->constant = row.cell;
    auto* x = bench.Source(row.type);
    x->Set(row.input);
    bench.Link(x, block);
    bench.Pass();
    EXPECT_EQ(row.expected, blocktest::ReadValue(block));
  }
}

TEST(ArithmeticBlocks, ConstantOfFloatAndDoubleBlocksIsAFloat) {
  Bench bench;
  auto* add = bench.Create<CBEAdd>(kBeAddClassId);
  auto* sub = bench.Create<CBESub>(kBeSubClassId);
  auto* f = bench.Source(kBeSignalFloat);
  auto* d = bench.Source(kBeSignalDouble);

  // Float: the sum is rounded to float (1 + 2^-24 is a tie: to even, 1).
  SetType(add, kBeSignalFloat);
  bench.Link(f, add);
  add->SetConstantFloat(kHalfUlpOfOne);
  f->SetFloat(1.0f);
  bench.Pass();
  EXPECT_EQ(1.0f, blocktest::ReadFloat(add));
  add->SetConstantFloat(1.5f * kHalfUlpOfOne);  // above the tie: up
  bench.Pass();
  EXPECT_EQ(1.0f + 2 * kHalfUlpOfOne, blocktest::ReadFloat(add));
  SetType(sub, kBeSignalFloat);
  bench.Link(f, sub);
  sub->SetConstantFloat(kHalfUlpOfOne);  // 1 - 2^-24 is a float
  bench.Pass();
  EXPECT_EQ(1.0f - kHalfUlpOfOne, blocktest::ReadFloat(sub));

  // Double: the float constant 0.1 is 0.100000001490116...
  SetType(add, kBeSignalDouble);
  SetType(sub, kBeSignalDouble);
  bench.Link(d, add);
  bench.Link(d, sub);
  add->SetConstantFloat(0.1f);
  sub->SetConstantFloat(0.1f);
  d->SetDouble(0);
  bench.Pass();
  EXPECT_EQ(kPointOneAsFloat, blocktest::ReadDouble(add));
  EXPECT_EQ(-kPointOneAsFloat, blocktest::ReadDouble(sub));
  EXPECT_EQ(0.1f, add->GetConstantFloat());
}

TEST(ArithmeticBlocks, AResultWritesOnlyTheBytesOfItsType) {
  Bench bench;
  auto* add = bench.Create<CBEAdd>(kBeAddClassId);
  auto* x = bench.Source(kBeSignalChar);
  bench.Link(x, add);
  x->SetInt(5);
  memset(add->Output(0)->value, 0xAA, 8);
  bench.Pass();
  EXPECT_EQ(std::vector<uint8_t>({6, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}), blocktest::ValueBytes(add));
  SetType(add, kBeSignalShort);
  auto* s = bench.Source(kBeSignalShort);
  bench.Link(s, add);
  s->SetInt(-2);
  bench.Pass();
  EXPECT_EQ(std::vector<uint8_t>({0xFF, 0xFF, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}), blocktest::ValueBytes(add));
}

TEST(ArithmeticBlocks, UnlinkedOneInputBlocksLeaveTheirOutput) {
  Bench bench;
  for (unsigned int id : {kBeNegClassId, kBeAddClassId, kBeSubClassId, kBeAbsClassId}) {
    CBEBlock* block = bench.Create<CBEBlock>(id);
    memset(block->Output(0)->value, 0x3C, 8);
    bench.Pass();
    EXPECT_EQ(std::vector<uint8_t>(8, 0x3C), blocktest::ValueBytes(block)) << std::hex << id;
  }
}

TEST(ArithmeticBlocks, AdderSumsTheLinkedInputs) {
  const double kNoLink = kOpen;
  struct Row {
    BeSignalType type;
    std::vector<double> inputs;  // NaN: unlinked
    double expected;
  } rows[] = {
      {kBeSignalShort, {32767, 1}, -32768},
      {kBeSignalChar, {100, 100, 100}, 44},  // 300 wraps to 44
      {kBeSignalChar, {-128, -1}, 127},
      {kBeSignalInt, {INT_MAX, 1}, INT_MIN},
      {kBeSignalInt, {kNoLink, 20, kNoLink, 22, kNoLink}, 42},  // three unlinked
      {kBeSignalInt, {kNoLink, kNoLink}, 0},
      // Rounded to float after each addition: 1 + 2^-24 is 1 twice; at the
      // end the exact sum 1 + 2^-23 would be a float of its own.
      {kBeSignalFloat, {1.0, kHalfUlpOfOne, kHalfUlpOfOne}, 1.0},
      {kBeSignalFloat, {kHalfUlpOfOne, kHalfUlpOfOne, 1.0}, 1.0 + 2 * kHalfUlpOfOne},
      {kBeSignalDouble, {0.5, 0.25, 0.125, -1e300}, -1e300 + 0.875},
      {kBeSignalDouble, {1.0, static_cast<double>(kHalfUlpOfOne), static_cast<double>(kHalfUlpOfOne)},
       1.0 + 2.0 * kHalfUlpOfOne},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "type " << row.type << ", " << row.inputs.size() << " inputs");
    Bench bench;
    auto* sum = bench.Create<CBESummator>(kBeSummatorClassId);
    ASSERT_TRUE(sum->SetInputCount(static_cast<int>(row.inputs.size())));
    SetType(sum, row.type);
    for (size_t i = 0; i < row.inputs.size(); ++i) {
      if (std::isnan(row.inputs[i])) continue;
      auto* x = bench.Source(row.type);
      x->Set(row.inputs[i]);
      bench.Link(x, sum, static_cast<int>(i));
    }
    bench.Pass();
    if (row.type == kBeSignalFloat) {
      EXPECT_EQ(static_cast<float>(row.expected), blocktest::ReadFloat(sum));
    } else {
      EXPECT_EQ(row.expected, blocktest::ReadValue(sum));
    }
  }
}

TEST(ArithmeticBlocks, TwoInputOperations) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const float a12 = 1.0f + 1.0f / 4096;  // 1 + 2^-12
  const Case cases[] = {
      // Difference; an unlinked operand is 0.
      {kBeSub2ClassId, kBeSignalChar, -128, 1, 127},
      {kBeSub2ClassId, kBeSignalChar, 100, -100, -56},
      {kBeSub2ClassId, kBeSignalShort, -32768, 1, 32767},
      {kBeSub2ClassId, kBeSignalInt, INT_MIN, 1, INT_MAX},
      {kBeSub2ClassId, kBeSignalInt, 7, kOpen, 7},
      {kBeSub2ClassId, kBeSignalInt, kOpen, 7, -7},
      {kBeSub2ClassId, kBeSignalChar, kOpen, kOpen, 0},
      {kBeSub2ClassId, kBeSignalFloat, 1.0, kHalfUlpOfOne, 1.0 - kHalfUlpOfOne},
      {kBeSub2ClassId, kBeSignalDouble, 0.5, 0.25, 0.25},
      // Product; an unlinked operand is 1.
      {kBeMul2ClassId, kBeSignalChar, 16, 16, 0},  // 256 wraps to 0
      {kBeMul2ClassId, kBeSignalChar, -128, -1, -128},
      {kBeMul2ClassId, kBeSignalShort, 300, 300, 24464},  // 90000 - 65536
      {kBeMul2ClassId, kBeSignalInt, 65536, 65536, 0},
      {kBeMul2ClassId, kBeSignalInt, 46341, 46341, -2147479015},  // 2147488281 - 2^32
      {kBeMul2ClassId, kBeSignalInt, INT_MIN, -1, INT_MIN},
      {kBeMul2ClassId, kBeSignalFloat, 3.5, kOpen, 3.5},
      {kBeMul2ClassId, kBeSignalChar, kOpen, kOpen, 1},
      // (1 + 2^-12)^2 = 1 + 2^-11 + 2^-24: the last term is a tie in float.
      {kBeMul2ClassId, kBeSignalFloat, a12, a12, 1.0 + 1.0 / 2048},
      {kBeMul2ClassId, kBeSignalDouble, a12, a12, 1.0 + 1.0 / 2048 + 1.0 / 16777216},
      // Quotient; an unlinked operand is 1.
      {kBeDiv2ClassId, kBeSignalChar, 7, kOpen, 7},
      {kBeDiv2ClassId, kBeSignalChar, -7, 2, -3},  // toward zero
      {kBeDiv2ClassId, kBeSignalChar, 7, -2, -3},
      {kBeDiv2ClassId, kBeSignalChar, -128, -1, -128},  // 128 wraps
      {kBeDiv2ClassId, kBeSignalShort, -32768, -1, -32768},
      {kBeDiv2ClassId, kBeSignalInt, INT_MIN, -1, INT_MIN},
      {kBeDiv2ClassId, kBeSignalInt, INT_MIN, 2, INT_MIN / 2},
      {kBeDiv2ClassId, kBeSignalInt, kOpen, 2, 0},  // 1 / 2
      // A zero divisor gives 0 for integers.
      {kBeDiv2ClassId, kBeSignalChar, 5, 0, 0},
      {kBeDiv2ClassId, kBeSignalShort, -5, 0, 0},
      {kBeDiv2ClassId, kBeSignalInt, INT_MIN, 0, 0},
      // IEEE for float and double.
      {kBeDiv2ClassId, kBeSignalFloat, 1, 3, 1.0f / 3.0f},
      {kBeDiv2ClassId, kBeSignalFloat, 1, 0, inf},
      {kBeDiv2ClassId, kBeSignalFloat, -1, 0, -inf},
      {kBeDiv2ClassId, kBeSignalFloat, 0, 0, nan},
      {kBeDiv2ClassId, kBeSignalDouble, 1, 3, 1.0 / 3.0},
      {kBeDiv2ClassId, kBeSignalDouble, -1, 0, -inf},
      {kBeDiv2ClassId, kBeSignalDouble, 0, 0, nan},
  };
  RunCases(cases, sizeof cases / sizeof cases[0]);
}

// A linked operand is copied in its source's width over the neutral cell.
TEST(ArithmeticBlocks, AnOperandIsCopiedInItsSourcesWidth) {
  Bench bench;
  auto* mul = bench.Create<CBEMul2>(kBeMul2ClassId);
  SetType(mul, kBeSignalInt);
  auto* c = bench.Source(kBeSignalChar);
  c->SetInt(-2);  // FE, over the int 1 (01 00 00 00): FE 00 00 00
  bench.LinkAnyway(c, 0, mul, 0);
  bench.Pass();
  EXPECT_EQ(254, blocktest::ReadInt(mul));
}

TEST(ArithmeticBlocks, AbsoluteValue) {
  const Case cases[] = {
      {kBeAbsClassId, kBeSignalChar, -128, 0, -128},  // stays itself
      {kBeAbsClassId, kBeSignalChar, -5, 0, 5},
      {kBeAbsClassId, kBeSignalChar, 127, 0, 127},
      {kBeAbsClassId, kBeSignalShort, -32768, 0, -32768},
      {kBeAbsClassId, kBeSignalShort, -32767, 0, 32767},
      {kBeAbsClassId, kBeSignalInt, INT_MIN, 0, INT_MIN},
      {kBeAbsClassId, kBeSignalInt, -7, 0, 7},
      {kBeAbsClassId, kBeSignalFloat, -2.5, 0, 2.5},
      {kBeAbsClassId, kBeSignalDouble, -1e-300, 0, 1e-300},
  };
  RunCases(cases, sizeof cases / sizeof cases[0]);
  // In the source's width only; minus zero loses its sign.
  Bench bench;
  auto* abs = bench.Create<CBEAbs>(kBeAbsClassId);
  auto* x = bench.Source(kBeSignalChar);
  bench.Link(x, abs);
  x->SetInt(-1);
  memset(abs->Output(0)->value, 0xAA, 8);
  bench.Pass();
  EXPECT_EQ(std::vector<uint8_t>({1, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}), blocktest::ValueBytes(abs));
  ChangeBlockType(abs, kBeSignalDouble);
  auto* d = bench.Source(kBeSignalDouble);
  bench.Link(d, abs);
  d->SetDouble(-0.0);
  bench.Pass();
  EXPECT_EQ(std::vector<uint8_t>(8, 0), blocktest::ValueBytes(abs));
}

// ------------------------------------------------------------ records

TEST(ArithmeticRecords, GoldenBytes) {
  // A sign change of type char, new: the type byte, then the base record
  // (rectangle 0, 0, 50, 22; no caption; flags 0; one unlinked input; one
  // output of identity 0).
  auto neg = blocktest::NewDetached<CBENeg>(kBeNegClassId);
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(neg.get()), velktest::ParseHex(R"(
      02
      00 00 00 00  00 00 00 00  32 00 00 00  16 00 00 00
      00 00
      00
      00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00
      00 00 00 00  00)")));

  auto add = blocktest::NewDetached<CBEAdd>(kBeAddClassId);
  SetType(add.get(), kBeSignalShort);
  add->SetConstantInt(-2);
  EXPECT_TRUE(velktest::BytesEqual(
      blocktest::RecordBytes(add.get()),
      blocktest::Golden().B(3).B(0xFE).B(0xFF).B(0xFF).B(0xFF)
          .Base(blocktest::BaseRecord::Unlinked(RECT{0, 0, 100, 20}, 1, 1)).Bytes()));

  auto sub = blocktest::NewDetached<CBESub>(kBeSubClassId);
  SetType(sub.get(), kBeSignalFloat);
  sub->SetConstantFloat(2.5f);
  EXPECT_TRUE(velktest::BytesEqual(
      blocktest::RecordBytes(sub.get()),
      blocktest::Golden().B(5).B(0x00).B(0x00).B(0x20).B(0x40)  // 2.5f
          .Base(blocktest::BaseRecord::Unlinked(RECT{0, 0, 100, 20}, 1, 1)).Bytes()));

  auto sum = blocktest::NewDetached<CBESummator>(kBeSummatorClassId);
  ASSERT_TRUE(sum->SetInputCount(3));
  SetType(sum.get(), kBeSignalInt);
  EXPECT_TRUE(velktest::BytesEqual(
      blocktest::RecordBytes(sum.get()),
      blocktest::Golden().B(3).B(4).Base(blocktest::BaseRecord::Unlinked(RECT{0, 0, 50, 60}, 3, 1)).Bytes()));

  struct Row {
    unsigned int classId;
    int width;
    BeSignalType type;
  } rows[] = {{kBeSub2ClassId, 50, kBeSignalDouble}, {kBeMul2ClassId, 80, kBeSignalInt}, {kBeDiv2ClassId, 80, kBeSignalChar}};
  for (const Row& row : rows) {
    auto block = blocktest::NewDetached<CBEBlock>(row.classId);
    SetType(block.get(), row.type);
    EXPECT_TRUE(velktest::BytesEqual(
        blocktest::RecordBytes(block.get()),
        blocktest::Golden().B(row.type).Base(blocktest::BaseRecord::Unlinked(RECT{0, 0, row.width, 40}, 2, 1)).Bytes()))
        << std::hex << row.classId;
  }

  // The absolute value: the base record alone, whatever its type.
  auto abs = blocktest::NewDetached<CBEAbs>(kBeAbsClassId);
  ChangeBlockType(abs.get(), kBeSignalFloat);
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(abs.get()),
                                   blocktest::BaseRecordBytes(abs.get())));
  EXPECT_EQ(40u, blocktest::RecordBytes(abs.get()).size());
}

TEST(ArithmeticRecords, LoadTakesTheFieldsAndRunsTheCostOperation) {
  auto add = blocktest::NewDetached<CBEAdd>(kBeAddClassId);
  std::vector<uint8_t> record = blocktest::Golden().B(6).F(0.5f)
      .Base(blocktest::BaseRecord::Unlinked(RECT{10, 20, 110, 40}, 1, 1)).Bytes();
  ASSERT_TRUE(blocktest::LoadBytes(add.get(), record));
  EXPECT_EQ(kBeSignalDouble, add->Input(0)->type);
  EXPECT_EQ(kBeSignalDouble, add->Output(0)->type);
  EXPECT_EQ(0.5f, add->GetConstantFloat());
  EXPECT_EQ(Costs(200, 20, 0, true), CostsOf(add.get()));
  EXPECT_EQ(10, add->rect.left);
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(add.get()), record));

  // The adder takes its input count first: seven inputs, 140 high.
  auto sum = blocktest::NewDetached<CBESummator>(kBeSummatorClassId);
  record = blocktest::Golden().B(7).B(5).Base(blocktest::BaseRecord::Unlinked(RECT{0, 0, 50, 140}, 7, 1)).Bytes();
  ASSERT_TRUE(blocktest::LoadBytes(sum.get(), record));
  EXPECT_EQ(7, sum->inputCount);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(kBeSignalFloat, sum->Input(i)->type);
  EXPECT_EQ(Costs(720, 48, 0, true), CostsOf(sum.get()));
  EXPECT_EQ(140, sum->Height());
  EXPECT_EQ(130, sum->Input(6)->yOffset);
}

TEST(ArithmeticRecords, EveryTruncationIsRefusedAndChangesNothing) {
  // Records that differ from a new block in every field of their own.
  auto neg = blocktest::NewDetached<CBENeg>(kBeNegClassId);
  SetType(neg.get(), kBeSignalDouble);
  blocktest::ExpectTruncationsRefused<CBENeg>(kBeNegClassId, blocktest::RecordBytes(neg.get()));
  auto add = blocktest::NewDetached<CBEAdd>(kBeAddClassId);
  SetType(add.get(), kBeSignalInt);
  add->SetConstantInt(-77777);
  blocktest::ExpectTruncationsRefused<CBEAdd>(kBeAddClassId, blocktest::RecordBytes(add.get()));
  auto sub = blocktest::NewDetached<CBESub>(kBeSubClassId);
  SetType(sub.get(), kBeSignalFloat);
  sub->SetConstantFloat(-3.25f);
  blocktest::ExpectTruncationsRefused<CBESub>(kBeSubClassId, blocktest::RecordBytes(sub.get()));
  auto sum = blocktest::NewDetached<CBESummator>(kBeSummatorClassId);
  ASSERT_TRUE(sum->SetInputCount(4));
  SetType(sum.get(), kBeSignalDouble);
  blocktest::ExpectTruncationsRefused<CBESummator>(kBeSummatorClassId, blocktest::RecordBytes(sum.get()));
  for (unsigned int id : {kBeSub2ClassId, kBeMul2ClassId, kBeDiv2ClassId}) {
    auto block = blocktest::NewDetached<CBEBlock>(id);
    SetType(block.get(), kBeSignalShort);
    blocktest::ExpectTruncationsRefused<CBEBlock>(id, blocktest::RecordBytes(block.get()));
  }
  // The absolute value's record is the base record: every cut is refused.
  auto abs = blocktest::NewDetached<CBEAbs>(kBeAbsClassId);
  std::vector<uint8_t> record = blocktest::RecordBytes(abs.get());
  blocktest::ForEachTruncation<CBEAbs>(kBeAbsClassId, record, [&](CBEAbs* block, size_t n, bool loaded) {
    EXPECT_EQ(n == record.size(), loaded);
    EXPECT_EQ(kBeSignalChar, block->GetType());
    EXPECT_EQ(Costs(5, 4, 0, true), CostsOf(block));
  });
}

TEST(ArithmeticRecords, ImplausibleFieldsAreRefused) {
  auto base1 = blocktest::BaseRecord::Unlinked(RECT{0, 0, 50, 22}, 1, 1);
  auto base2 = blocktest::BaseRecord::Unlinked(RECT{0, 0, 80, 40}, 2, 1);
  for (int type : {0, 1, 7, 22, 39, 255}) {
    SCOPED_TRACE(type);
    auto neg = blocktest::NewDetached<CBENeg>(kBeNegClassId);
    EXPECT_FALSE(blocktest::LoadBytes(neg.get(), blocktest::Golden().B(type).Base(base1).Bytes()));
    EXPECT_EQ(kBeSignalChar, neg->GetType());
    auto add = blocktest::NewDetached<CBEAdd>(kBeAddClassId);
    EXPECT_FALSE(blocktest::LoadBytes(add.get(), blocktest::Golden().B(type).U32(9).Base(base1).Bytes()));
    EXPECT_EQ(1u, add->constant);
    auto mul = blocktest::NewDetached<CBEMul2>(kBeMul2ClassId);
    EXPECT_FALSE(blocktest::LoadBytes(mul.get(), blocktest::Golden().B(type).Base(base2).Bytes()));
    EXPECT_EQ(kBeSignalChar, mul->GetType());
  }
  // The adder's input count: 2 to 127.
  struct Row {
    int count;
    bool loads;
  } rows[] = {{0, false}, {1, false}, {2, true}, {127, true}, {128, false}, {255, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.count);
    auto sum = blocktest::NewDetached<CBESummator>(kBeSummatorClassId);
    std::vector<uint8_t> record = blocktest::Golden().B(row.count).B(4)
        .Base(blocktest::BaseRecord::Unlinked(RECT{0, 0, 50, 20 * row.count}, row.count, 1)).Bytes();
    EXPECT_EQ(row.loads, blocktest::LoadBytes(sum.get(), record));
    EXPECT_EQ(row.loads ? row.count : 2, sum->inputCount);
    EXPECT_EQ(row.loads ? kBeSignalInt : kBeSignalShort, sum->GetType());
  }
}

// The stream round trip keeps types, constants, links and results; the
// absolute value, which stores no type, takes its source's type back.
TEST(ArithmeticRecords, SchemeRoundTrip) {
  Bench bench;
  auto* f = bench.Source(kBeSignalFloat);
  auto* abs = bench.Create<CBEAbs>(kBeAbsClassId);
  ChangeBlockType(abs, kBeSignalFloat);
  auto* abs2 = bench.Create<CBEAbs>(kBeAbsClassId);
  ChangeBlockType(abs2, kBeSignalFloat);
  auto* neg = bench.Create<CBENeg>(kBeNegClassId);
  SetType(neg, kBeSignalFloat);
  auto* lone = bench.Create<CBEAbs>(kBeAbsClassId);
  ChangeBlockType(lone, kBeSignalDouble);
  auto* s = bench.Source(kBeSignalShort);
  auto* add = bench.Create<CBEAdd>(kBeAddClassId);
  SetType(add, kBeSignalShort);
  add->SetConstantInt(-2);
  auto* sum = bench.Create<CBESummator>(kBeSummatorClassId);
  ASSERT_TRUE(sum->SetInputCount(3));
  sum->UpdatePinsAndCosts();
  bench.Link(f, abs);
  bench.Link(abs, abs2);  // a chain: the second takes the type through the first
  bench.Link(abs2, neg);
  bench.Link(s, add);
  bench.Link(add, sum, 2);
  f->SetFloat(-2.5f);
  s->SetInt(100);
  // Newest first: the value crosses the chain of three in three passes.
  bench.Passes(3);
  ASSERT_EQ(-2.5f, blocktest::ReadFloat(neg));
  ASSERT_EQ(98, blocktest::ReadInt(sum));

  std::unique_ptr<BeScheme> copy = bench.ReadBack();
  ASSERT_NE(nullptr, copy);
  auto abses = blocktest::BlocksOf<CBEAbs>(copy.get());
  ASSERT_EQ(3u, abses.size());  // head first: lone, abs2, abs
  EXPECT_EQ(kBeSignalChar, abses[0]->GetType()) << "an unlinked one comes back char";
  EXPECT_EQ(kBeSignalChar, abses[0]->Input(0)->type);
  for (CBEAbs* linked : {abses[1], abses[2]}) {
    EXPECT_EQ(kBeSignalFloat, linked->GetType());
    EXPECT_EQ(kBeSignalFloat, linked->Input(0)->type);
    ASSERT_NE(nullptr, linked->Input(0)->source);
    EXPECT_TRUE(IsSignalTypeCompatible(linked->Input(0)->source->type, linked->Input(0)->type));
  }
  auto adds = blocktest::BlocksOf<CBEAdd>(copy.get());
  ASSERT_EQ(1u, adds.size());
  EXPECT_EQ(kBeSignalShort, adds[0]->GetType());
  EXPECT_EQ(-2, adds[0]->GetConstantInt());
  EXPECT_EQ(Costs(2, 4), CostsOf(adds[0]));
  auto sums = blocktest::BlocksOf<CBESummator>(copy.get());
  ASSERT_EQ(1u, sums.size());
  EXPECT_EQ(3, sums[0]->inputCount);
  EXPECT_EQ(adds[0]->Output(0), sums[0]->Input(2)->source);
  EXPECT_EQ(nullptr, sums[0]->Input(0)->source);

  // The copy computes the same.
  auto sources = blocktest::BlocksOf<blocktest::Source>(copy.get());
  ASSERT_EQ(2u, sources.size());
  for (int pass = 0; pass < 3; ++pass)
    for (CBEBlock* b = copy->blocks; b; b = b->next) b->Step(0.001f);
  auto negs = blocktest::BlocksOf<CBENeg>(copy.get());
  ASSERT_EQ(1u, negs.size());
  EXPECT_EQ(-2.5f, blocktest::ReadFloat(negs[0]));
  EXPECT_EQ(98, blocktest::ReadInt(sums[0]));
}

// ------------------------------------------------------------ square root entry

// The catalogue's "Корень квадратный" entry makes a multiplier that keeps
// the entry: its caption and class id, and it multiplies.
TEST(ArithmeticBlocks, TheSquareRootEntryMakesAMultiplierThatKeepsTheEntry) {
  Bench bench;
  const BeCatalogueGroup* math = bench.library.Group(L"Математика");
  ASSERT_NE(nullptr, math);
  const BeCatalogueEntry* entry = nullptr;
  for (int i = 0; i < math->entryCount; ++i)
    if (math->Entry(i)->classId == kBeSquareRootClassId) entry = math->Entry(i);
  ASSERT_NE(nullptr, entry);
  EXPECT_EQ(nullptr, entry->bitmap) << "no palette button";

  auto* root = bench.Create<CBEMul2>(kBeSquareRootClassId);
  ASSERT_NE(nullptr, root);
  EXPECT_EQ(kBeSquareRootClassId, root->GetClassId());
  EXPECT_STREQ(L"Корень квадратный", root->GetCaption());
  auto* a = bench.Source(kBeSignalChar);
  auto* b = bench.Source(kBeSignalChar);
  a->SetInt(9);
  b->SetInt(3);
  bench.Link(a, root, 0);
  bench.Link(b, root, 1);
  bench.Pass();
  EXPECT_EQ(27, blocktest::ReadInt(root));
  EXPECT_TRUE(blocktest::DrawsCaption(root, L"A x B"));

  std::vector<uint8_t> stream = bench.SchemeBytes();
  std::unique_ptr<BeScheme> copy = bench.ReadBack();
  ASSERT_NE(nullptr, copy);
  auto muls = blocktest::BlocksOf<CBEMul2>(copy.get());
  ASSERT_EQ(1u, muls.size());
  EXPECT_EQ(kBeSquareRootClassId, muls[0]->GetClassId());
  for (CBEBlock* blk = copy->blocks; blk; blk = blk->next) blk->Step(0.001f);
  EXPECT_EQ(27, blocktest::ReadInt(muls[0]));
}

// ------------------------------------------------------------ dialogs

std::vector<CBEBlock*> g_dialogBlocks;
bool ConfirmingDialog(CBEBlock* block) {
  g_dialogBlocks.push_back(block);
  return true;
}

TEST(ArithmeticBlocks, PropertiesAnswerFalseUntilADialogIsRegistered) {
  blocktest::DialogScope dialogs;
  g_dialogBlocks.clear();
  Bench bench;
  const unsigned int ids[] = {kBeNegClassId, kBeAddClassId, kBeSubClassId, kBeSummatorClassId,
                              kBeSub2ClassId, kBeMul2ClassId, kBeDiv2ClassId, kBeAbsClassId};
  for (unsigned int id : ids) BeBlockDialogTable::Program().Set(id, nullptr);
  for (unsigned int id : ids) {
    CBEBlock* block = bench.Create<CBEBlock>(id);
    std::vector<uint8_t> before = blocktest::RecordBytes(block);
    Costs costs = CostsOf(block);
    EXPECT_FALSE(block->ShowProperties()) << std::hex << id;
    EXPECT_EQ(before, blocktest::RecordBytes(block));
    EXPECT_EQ(costs, CostsOf(block));
    dialogs.Set(id, ConfirmingDialog);
    EXPECT_TRUE(block->ShowProperties()) << std::hex << id;
    ASSERT_FALSE(g_dialogBlocks.empty());
    EXPECT_EQ(block, g_dialogBlocks.back());
  }
  // The multiplier made by the square-root entry shows the multiplier's
  // dialog.
  size_t shown = g_dialogBlocks.size();
  CBEBlock* root = bench.Create<CBEBlock>(kBeSquareRootClassId);
  EXPECT_TRUE(root->ShowProperties());
  EXPECT_EQ(shown + 1, g_dialogBlocks.size());
}

}  // namespace
