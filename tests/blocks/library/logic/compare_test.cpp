// The comparison blocks of the "Логика" group: each relation on each type
// from bit to double with equal, unequal and not-a-number operands, the
// constant read in each type, unlinked operands, costs, records and the
// arrow-shaped body with its caption.
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "logic_kit.h"
#include "blocks/library/logic/relation.h"
#include "support/test_support.h"

namespace {

using blocktest::Bench;
using blocktest::Costs;
using blocktest::CostsOf;
using logictest::SetType;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// The eight bytes of a value of the type (bit as one unsigned byte).
std::vector<uint8_t> ValueOf(BeSignalType type, double v) {
  std::vector<uint8_t> bytes(8, 0);
  switch (type) {
    case kBeSignalBit: bytes[0] = static_cast<uint8_t>(static_cast<int>(v)); break;
    case kBeSignalChar:
    case kBeSignalShort:
    case kBeSignalInt: {
      uint32_t bits = static_cast<uint32_t>(static_cast<int64_t>(v));
      int width = type == kBeSignalChar ? 1 : type == kBeSignalShort ? 2 : 4;
      memcpy(bytes.data(), &bits, width);
      break;
    }
    case kBeSignalFloat: {
      float f = static_cast<float>(v);
      memcpy(bytes.data(), &f, 4);
      break;
    }
    default: memcpy(bytes.data(), &v, 8); break;
  }
  return bytes;
}

// A and B, and whether each of the six relations (=, ≠, <, >, ≤, ≥) holds.
struct Pair {
  BeSignalType type;
  double a, b;
  int holds[6];
};
const int kEq[6] = {1, 0, 0, 0, 1, 1};
const int kLt[6] = {0, 1, 1, 0, 1, 0};
const int kGt[6] = {0, 1, 0, 1, 0, 1};
const int kNan[6] = {0, 1, 0, 0, 0, 0};

std::vector<Pair> Pairs() {
  auto pair = [](BeSignalType type, double a, double b, const int* holds) {
    Pair p = {type, a, b, {}};
    memcpy(p.holds, holds, sizeof p.holds);
    return p;
  };
  return {
      // bit: unsigned bytes.
      pair(kBeSignalBit, 0, 0, kEq),
      pair(kBeSignalBit, 1, 255, kLt),
      pair(kBeSignalBit, 200, 1, kGt),
      pair(kBeSignalChar, -1, -1, kEq),
      pair(kBeSignalChar, -2, -1, kLt),
      pair(kBeSignalChar, 127, -1, kGt),
      pair(kBeSignalChar, -128, 127, kLt),
      pair(kBeSignalShort, 1000, 1000, kEq),
      pair(kBeSignalShort, -32768, 32767, kLt),
      pair(kBeSignalShort, 256, -256, kGt),
      pair(kBeSignalInt, INT_MIN, INT_MIN, kEq),
      pair(kBeSignalInt, INT_MIN, INT_MAX, kLt),
      pair(kBeSignalInt, INT_MAX, -1, kGt),
      pair(kBeSignalFloat, 1.5, 1.5, kEq),
      pair(kBeSignalFloat, -0.0, 0.0, kEq),
      pair(kBeSignalFloat, 1.5, 2.5, kLt),
      pair(kBeSignalFloat, kInf, 3.0e38, kGt),
      pair(kBeSignalFloat, kNaN, 0.0, kNan),
      pair(kBeSignalFloat, 1.0, kNaN, kNan),
      pair(kBeSignalFloat, kNaN, kNaN, kNan),
      pair(kBeSignalDouble, 0.1, 0.1, kEq),
      pair(kBeSignalDouble, 1.0, 1.0 + 2.220446049250313e-16, kLt),
      pair(kBeSignalDouble, -1e-300, -1e-299, kGt),
      pair(kBeSignalDouble, kNaN, kInf, kNan),
      pair(kBeSignalDouble, -kInf, kNaN, kNan),
  };
}

void Feed(blocktest::Source* source, BeSignalType type, double v) {
  source->SetType(type);
  source->SetBytes(ValueOf(type, v));
}

// ------------------------------------------------------------ construction

TEST(CompareBlocks, AreMadeWithTheirSizePinsAndCosts) {
  Bench bench;
  auto* cmp = bench.Create<CBECmp>(kBeCmpClassId);
  ASSERT_NE(nullptr, cmp);
  EXPECT_STREQ(L"Сравнение с константой", cmp->GetCaption());
  EXPECT_EQ(115, cmp->Width());
  EXPECT_EQ(30, cmp->Height());
  ASSERT_EQ(1, cmp->inputCount);
  ASSERT_EQ(1, cmp->outputCount);
  EXPECT_EQ(kBeSignalChar, cmp->Input(0)->type);
  EXPECT_EQ(nullptr, cmp->Input(0)->name);
  EXPECT_EQ(kBeSignalBit, cmp->Output(0)->type);
  EXPECT_EQ(std::vector<uint8_t>(8, 0), std::vector<uint8_t>(cmp->constant, cmp->constant + 8));
  EXPECT_EQ(kRelationEqual, cmp->relation);
  EXPECT_EQ(Costs(2, 4), CostsOf(cmp));
  EXPECT_EQ(static_cast<COLORREF>(0x33FFFF), cmp->fillColor);

  auto* cmp2 = bench.Create<CBECmp2>(kBeCmp2ClassId);
  ASSERT_NE(nullptr, cmp2);
  EXPECT_STREQ(L"Сравнение двух сигналов", cmp2->GetCaption());
  EXPECT_EQ(100, cmp2->Width());
  EXPECT_EQ(40, cmp2->Height());
  ASSERT_EQ(2, cmp2->inputCount);
  EXPECT_STREQ(L"A", cmp2->Input(0)->name);
  EXPECT_STREQ(L"B", cmp2->Input(1)->name);
  EXPECT_EQ(kBeSignalChar, cmp2->Input(0)->type);
  EXPECT_EQ(kBeSignalChar, cmp2->Input(1)->type);
  EXPECT_EQ(kBeSignalBit, cmp2->Output(0)->type);
  EXPECT_EQ(kRelationEqual, cmp2->relation);
  EXPECT_EQ(Costs(2, 4), CostsOf(cmp2));
}

TEST(CompareBlocks, CostsByType) {
  Bench bench;
  auto* cmp = bench.Create<CBECmp>(kBeCmpClassId);
  auto* cmp2 = bench.Create<CBECmp2>(kBeCmp2ClassId);
  // The comparison with a constant has no row for bit: cycles and ROM stay,
  // the flag is cleared.
  struct Row {
    BeSignalType type;
    Costs cmp, cmp2;
  } rows[] = {
      {kBeSignalDouble, Costs(200, 20, 0, true), Costs(200, 20, 0, true)},
      {kBeSignalBit, Costs(200, 20), Costs(6, 6)},
      {kBeSignalChar, Costs(2, 4), Costs(2, 4)},
      {kBeSignalShort, Costs(3, 6), Costs(3, 6)},
      {kBeSignalInt, Costs(5, 10), Costs(5, 10)},
      {kBeSignalFloat, Costs(100, 10, 0, true), Costs(100, 10, 0, true)},
      {kBeSignalBit, Costs(100, 10), Costs(6, 6)},
      {kBeSignalChar, Costs(2, 4), Costs(2, 4)},
  };
  for (const Row& row : rows) {
    SetType(cmp, row.type);
    SetType(cmp2, row.type);
    EXPECT_EQ(row.cmp, CostsOf(cmp)) << row.type;
    EXPECT_EQ(row.cmp2, CostsOf(cmp2)) << row.type;
    // The output stays a bit whatever the type.
    EXPECT_EQ(kBeSignalBit, cmp->Output(0)->type);
    EXPECT_EQ(kBeSignalBit, cmp2->Output(0)->type);
    EXPECT_EQ(row.type, cmp2->Input(1)->type);
  }
}

// ------------------------------------------------------------ relations

TEST(CompareBlocks, EveryRelationOnEveryTypeAgainstAConstant) {
  for (const Pair& p : Pairs()) {
    for (unsigned char relation = 0; relation < 6; ++relation) {
      SCOPED_TRACE(testing::Message() << "type " << p.type << ": " << p.a << " " << int(relation) << " " << p.b);
      Bench bench;
      auto* cmp = bench.Create<CBECmp>(kBeCmpClassId);
      SetType(cmp, p.type);
      std::vector<uint8_t> b = ValueOf(p.type, p.b);
      memcpy(cmp->constant, b.data(), 8);
      cmp->relation = relation;
      auto* a = bench.Source(p.type);
      Feed(a, p.type, p.a);
      bench.Link(a, cmp);
      memset(cmp->Output(0)->value, 0xAA, 8);
      bench.Pass();
      std::vector<uint8_t> expected(8, 0xAA);
      expected[0] = static_cast<uint8_t>(p.holds[relation]);
      EXPECT_TRUE(velktest::BytesEqual(blocktest::ValueBytes(cmp), expected));
    }
  }
}

TEST(CompareBlocks, EveryRelationOnEveryTypeBetweenTwoSignals) {
  for (const Pair& p : Pairs()) {
    for (unsigned char relation = 0; relation < 6; ++relation) {
      SCOPED_TRACE(testing::Message() << "type " << p.type << ": " << p.a << " " << int(relation) << " " << p.b);
      Bench bench;
      auto* cmp2 = bench.Create<CBECmp2>(kBeCmp2ClassId);
      SetType(cmp2, p.type);
      cmp2->relation = relation;
      auto* a = bench.Source(p.type);
      auto* b = bench.Source(p.type);
      Feed(a, p.type, p.a);
      Feed(b, p.type, p.b);
      bench.Link(a, cmp2, 0);
      bench.Link(b, cmp2, 1);
      memset(cmp2->Output(0)->value, 0xAA, 8);
      bench.Pass();
      std::vector<uint8_t> expected(8, 0xAA);
      // Of bits only "=" and "≠" are evaluated.
      if (p.type != kBeSignalBit || relation <= kRelationNotEqual)
        expected[0] = static_cast<uint8_t>(p.holds[relation]);
      EXPECT_TRUE(velktest::BytesEqual(blocktest::ValueBytes(cmp2), expected));
    }
  }
}

TEST(CompareBlocks, TheConstantIsReadInTheBlocksType) {
  // One cell, bytes FF 01 80 3F 00 00 F0 3F: char -1, bit 255, short 0x01FF,
  // int 0x3F8001FF, float 1.0000610 (0x3F8001FF), double 1.0 + ... (the
  // whole cell).
  const uint8_t cell[8] = {0xFF, 0x01, 0x80, 0x3F, 0x00, 0x00, 0xF0, 0x3F};
  float asFloat;
  memcpy(&asFloat, cell, 4);
  double asDouble;
  memcpy(&asDouble, cell, 8);
  struct Row {
    BeSignalType type;
    double equal;  // the input that equals the constant read in the type
  } rows[] = {{kBeSignalBit, 255},  {kBeSignalChar, -1},       {kBeSignalShort, 0x01FF},
              {kBeSignalInt, 0x3F8001FF}, {kBeSignalFloat, asFloat}, {kBeSignalDouble, asDouble}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.type);
    Bench bench;
    auto* cmp = bench.Create<CBECmp>(kBeCmpClassId);
    SetType(cmp, row.type);
    memcpy(cmp->constant, cell, 8);
    auto* a = bench.Source(row.type);
    Feed(a, row.type, row.equal);
    bench.Link(a, cmp);
    bench.Pass();
    EXPECT_EQ(1, cmp->Output(0)->value[0]);
  }
  // The constants the dialog stores: an integer and a float into the first
  // four bytes (the others cleared), a double into all eight.
  Bench bench;
  auto* cmp = bench.Create<CBECmp>(kBeCmpClassId);
  memset(cmp->constant, 0x55, 8);
  cmp->SetConstantInt(-1);
  EXPECT_EQ(std::vector<uint8_t>({0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}),
            std::vector<uint8_t>(cmp->constant, cmp->constant + 8));
  cmp->SetConstantFloat(2.5f);
  EXPECT_EQ(std::vector<uint8_t>({0, 0, 0x20, 0x40, 0, 0, 0, 0}), std::vector<uint8_t>(cmp->constant, cmp->constant + 8));
  cmp->SetConstantDouble(2.5);
  EXPECT_EQ(std::vector<uint8_t>({0, 0, 0, 0, 0, 0, 0x04, 0x40}), std::vector<uint8_t>(cmp->constant, cmp->constant + 8));
}

TEST(CompareBlocks, TheCasesOfTheDefinition) {
  Bench bench;
  // A new comparison: char, "=", constant 0; input 0 gives 1.
  auto* cmp = bench.Create<CBECmp>(kBeCmpClassId);
  auto* x = bench.Source(kBeSignalChar);
  x->SetInt(0);
  bench.Link(x, cmp);
  bench.Pass();
  EXPECT_EQ(1, cmp->Output(0)->value[0]);
  // Constant -1, "<": -2 gives 1, 127 gives 0.
  cmp->SetConstantInt(-1);
  cmp->relation = kRelationLess;
  x->SetInt(-2);
  bench.Pass();
  EXPECT_EQ(1, cmp->Output(0)->value[0]);
  x->SetInt(127);
  bench.Pass();
  EXPECT_EQ(0, cmp->Output(0)->value[0]);
  // Of type bit the same byte is 255: a bit 1 is less.
  SetType(cmp, kBeSignalBit);
  auto* bit = bench.Source(kBeSignalBit);
  bit->SetBit(true);
  bench.Link(bit, cmp);
  bench.Pass();
  EXPECT_EQ(1, cmp->Output(0)->value[0]);

  // Two unlinked int operands: 0 ≥ 0.
  auto* cmp2 = bench.Create<CBECmp2>(kBeCmp2ClassId);
  SetType(cmp2, kBeSignalInt);
  cmp2->relation = kRelationGreaterOrEqual;
  bench.Pass();
  EXPECT_EQ(1, cmp2->Output(0)->value[0]);
  // One linked: 5 against 0.
  auto* five = bench.Source(kBeSignalInt);
  five->SetInt(5);
  bench.Link(five, cmp2, 1);
  bench.Pass();
  EXPECT_EQ(0, cmp2->Output(0)->value[0]);
}

TEST(CompareBlocks, WithoutALinkOrAnUnknownRelationNothingIsWritten) {
  Bench bench;
  auto* cmp = bench.Create<CBECmp>(kBeCmpClassId);
  memset(cmp->Output(0)->value, 0x3C, 8);
  bench.Pass();
  EXPECT_EQ(std::vector<uint8_t>(8, 0x3C), blocktest::ValueBytes(cmp));
  auto* x = bench.Source(kBeSignalChar);
  bench.Link(x, cmp);
  auto* cmp2 = bench.Create<CBECmp2>(kBeCmp2ClassId);
  memset(cmp2->Output(0)->value, 0x3C, 8);
  for (unsigned char relation : {6, 7, 255}) {
    cmp->relation = relation;
    cmp2->relation = relation;
    bench.Pass();
    EXPECT_EQ(std::vector<uint8_t>(8, 0x3C), blocktest::ValueBytes(cmp)) << int(relation);
    EXPECT_EQ(std::vector<uint8_t>(8, 0x3C), blocktest::ValueBytes(cmp2)) << int(relation);
  }
}

// An operand of the two-signal comparison is copied in its source's width
// over zeros, then read in the block's type.
TEST(CompareBlocks, AnOperandIsCopiedInItsSourcesWidth) {
  Bench bench;
  auto* cmp2 = bench.Create<CBECmp2>(kBeCmp2ClassId);
  SetType(cmp2, kBeSignalInt);
  auto* c = bench.Source(kBeSignalChar);
  c->SetBytes({0xFF, 0x12, 0x34, 0x56});  // a char -1 with bytes not its own
  auto* i = bench.Source(kBeSignalInt);
  i->SetInt(255);
  bench.LinkAnyway(c, 0, cmp2, 0);
  bench.Link(i, cmp2, 1);
  bench.Pass();
  EXPECT_EQ(1, cmp2->Output(0)->value[0]) << "FF 00 00 00 is 255";
  // A PWM value (bit inputs take it) has no width: the operand is 0.
  SetType(cmp2, kBeSignalBit);
  auto* p = bench.Source(kBeSignalPwm);
  p->SetPwm(0.5f, 0.5f);
  auto* zero = bench.Source(kBeSignalBit);
  zero->SetBit(false);
  bench.Link(p, cmp2, 0);
  bench.Link(zero, cmp2, 1);
  bench.Pass();
  EXPECT_EQ(1, cmp2->Output(0)->value[0]);
}

// ------------------------------------------------------------ records

TEST(CompareRecords, GoldenBytesAndLoad) {
  using blocktest::BaseRecord;
  using blocktest::Golden;
  auto cmp = blocktest::NewDetached<CBECmp>(kBeCmpClassId);
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(cmp.get()), velktest::ParseHex(R"(
      02
      00 00 00 00 00 00 00 00
      00
      00 00 00 00  00 00 00 00  73 00 00 00  1E 00 00 00
      00 00
      00
      00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00
      00 00 00 00  00)")));
  SetType(cmp.get(), kBeSignalDouble);
  cmp->SetConstantDouble(2.5);
  cmp->relation = kRelationLessOrEqual;
  std::vector<uint8_t> record = Golden().B(6).D(2.5).B(4).Base(BaseRecord::Unlinked(RECT{0, 0, 115, 30}, 1, 1)).Bytes();
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(cmp.get()), record));
  blocktest::ExpectTruncationsRefused<CBECmp>(kBeCmpClassId, record);

  auto cmp2 = blocktest::NewDetached<CBECmp2>(kBeCmp2ClassId);
  SetType(cmp2.get(), kBeSignalFloat);
  cmp2->relation = kRelationNotEqual;
  record = Golden().B(5).B(1).Base(BaseRecord::Unlinked(RECT{0, 0, 100, 40}, 2, 1)).Bytes();
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(cmp2.get()), record));
  blocktest::ExpectTruncationsRefused<CBECmp2>(kBeCmp2ClassId, record);

  // Load: the type to the inputs only, the rest, then the costs.
  auto loaded = blocktest::NewDetached<CBECmp>(kBeCmpClassId);
  record = Golden().B(5).F(-1.25f).U32(0xDEADBEEF).B(3).Base(BaseRecord::Unlinked(RECT{1, 2, 116, 32}, 1, 1)).Bytes();
  ASSERT_TRUE(blocktest::LoadBytes(loaded.get(), record));
  EXPECT_EQ(kBeSignalFloat, loaded->Input(0)->type);
  EXPECT_EQ(kBeSignalBit, loaded->Output(0)->type);
  EXPECT_EQ(kRelationGreater, loaded->relation);
  EXPECT_EQ(Costs(100, 10, 0, true), CostsOf(loaded.get()));
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(loaded.get()), record));
  auto loaded2 = blocktest::NewDetached<CBECmp2>(kBeCmp2ClassId);
  ASSERT_TRUE(blocktest::LoadBytes(loaded2.get(), Golden().B(1).B(0).Base(BaseRecord::Unlinked(RECT{0, 0, 100, 40}, 2, 1)).Bytes()));
  EXPECT_EQ(kBeSignalBit, loaded2->Input(0)->type);
  EXPECT_EQ(kBeSignalBit, loaded2->Input(1)->type);
  EXPECT_EQ(Costs(6, 6), CostsOf(loaded2.get()));
}

TEST(CompareRecords, TypesOutsideBitToDoubleAreRefused) {
  using blocktest::BaseRecord;
  using blocktest::Golden;
  for (int type : {0, 1, 6, 7, 22, 39, 255}) {
    SCOPED_TRACE(type);
    bool loads = type >= 1 && type <= 6;
    auto cmp = blocktest::NewDetached<CBECmp>(kBeCmpClassId);
    EXPECT_EQ(loads, blocktest::LoadBytes(cmp.get(), Golden().B(type).D(1.0).B(2).Base(BaseRecord::Unlinked(RECT{0, 0, 115, 30}, 1, 1)).Bytes()));
    EXPECT_EQ(loads ? type : kBeSignalChar, cmp->GetType());
    EXPECT_EQ(loads ? kRelationLess : kRelationEqual, cmp->relation);
    auto cmp2 = blocktest::NewDetached<CBECmp2>(kBeCmp2ClassId);
    EXPECT_EQ(loads, blocktest::LoadBytes(cmp2.get(), Golden().B(type).B(9).Base(BaseRecord::Unlinked(RECT{0, 0, 100, 40}, 2, 1)).Bytes()));
    // A relation above 5 is kept as stored (the step then writes nothing).
    EXPECT_EQ(loads ? 9 : 0, cmp2->relation);
  }
}

// ------------------------------------------------------------ drawing

// The arrow body of a plain block of the same rectangle and colour, then
// the text centred.
::testing::AssertionResult DrawsArrowCaption(CBEBlock* block, const wchar_t* text) {
  const int margin = 10;
  int w = block->Width() + 2 * margin, h = block->Height() + 2 * margin;
  blocktest::Canvas drawn(w, h), expected(w, h);
  RECT was = block->rect;
  if (!drawn.Draw(block, margin, margin)) return ::testing::AssertionFailure() << "selections not put back";
  block->rect = was;
  CBEBlock reference;
  reference.rect = RECT{margin, margin, margin + block->Width(), margin + block->Height()};
  reference.fillColor = block->fillColor;
  DrawArrowBody(&reference, expected.dc());
  reference.DrawCaptionCentered(expected.dc(), text);
  return blocktest::SamePixels(drawn, expected);
}

TEST(CompareDrawing, ThePentagonBody) {
  Bench bench;
  auto* cmp = bench.Create<CBECmp>(kBeCmpClassId);
  cmp->relation = 200;  // no symbol: the body alone is checked in the middle
  blocktest::Canvas canvas(150, 60);
  ASSERT_TRUE(canvas.Draw(cmp, 10, 10));  // 10..125 x 10..40, the point at (125, 25)
  const COLORREF fill = RGB(255, 255, 51), black = RGB(0, 0, 0), white = RGB(255, 255, 255);
  EXPECT_EQ(black, canvas.At(10, 10));
  EXPECT_EQ(black, canvas.At(60, 10));    // top edge
  EXPECT_EQ(black, canvas.At(10, 30));    // left edge
  EXPECT_EQ(fill, canvas.At(14, 14));
  EXPECT_EQ(fill, canvas.At(118, 25));    // inside the point
  EXPECT_EQ(white, canvas.At(120, 13));   // cut off: above the upper slant
  EXPECT_EQ(white, canvas.At(120, 37));   // below the lower slant
  EXPECT_EQ(white, canvas.At(127, 25));   // beyond the point
  // The slants are outlined: on the line from (110, 10) to (125, 25).
  EXPECT_EQ(black, canvas.At(115, 15));
  EXPECT_EQ(black, canvas.At(115, 35));
}

TEST(CompareDrawing, Captions) {
  Bench bench;
  auto* cmp = bench.Create<CBECmp>(kBeCmpClassId);
  EXPECT_TRUE(DrawsArrowCaption(cmp, L"= 0"));
  EXPECT_FALSE(DrawsArrowCaption(cmp, L"= 1"));
  cmp->SetConstantInt(-1);
  cmp->relation = kRelationLess;
  EXPECT_TRUE(DrawsArrowCaption(cmp, L"< -1"));
  SetType(cmp, kBeSignalBit);  // the first byte, signed
  EXPECT_TRUE(DrawsArrowCaption(cmp, L"< -1"));
  SetType(cmp, kBeSignalShort);
  cmp->SetConstantInt(0x12345);
  cmp->relation = kRelationNotEqual;
  EXPECT_TRUE(DrawsArrowCaption(cmp, L"≠ 9029"));  // 0x2345
  SetType(cmp, kBeSignalInt);
  cmp->relation = kRelationGreater;
  cmp->SetConstantInt(-100000);
  EXPECT_TRUE(DrawsArrowCaption(cmp, L"> -100000"));
  SetType(cmp, kBeSignalFloat);
  cmp->SetConstantFloat(-0.125f);
  cmp->relation = kRelationGreaterOrEqual;
  EXPECT_TRUE(DrawsArrowCaption(cmp, L"≥ -0.13"));
  SetType(cmp, kBeSignalDouble);
  cmp->SetConstantDouble(2.5);
  cmp->relation = kRelationLessOrEqual;
  EXPECT_TRUE(DrawsArrowCaption(cmp, L"≤ 2.50"));

  auto* cmp2 = bench.Create<CBECmp2>(kBeCmp2ClassId);
  const wchar_t* texts[6] = {L"A = B", L"A ≠ B", L"A < B", L"A > B", L"A ≤ B", L"A ≥ B"};
  for (unsigned char relation = 0; relation < 6; ++relation) {
    cmp2->relation = relation;
    EXPECT_TRUE(DrawsArrowCaption(cmp2, texts[relation])) << int(relation);
  }
  EXPECT_STREQ(L"?", RelationSymbol(6));
}

}  // namespace
