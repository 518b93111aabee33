// The shift blocks of the "Логика" group: the rotations, logical,
// arithmetic and cyclic shifts of char, short and int by counts from 0 to
// beyond the width, negative values, costs by type, count and kind, records
// and captions.
#include <cstdint>
#include <cstring>
#include <vector>

#include "logic_kit.h"
#include "blocks/library/logic/rotate.h"
#include "blocks/library/logic/shift_rule.h"
#include "support/test_support.h"

namespace {

using blocktest::Bench;
using blocktest::Costs;
using blocktest::CostsOf;
using logictest::SetType;

TEST(Rotations, CountsAreTakenModuloTheWidth) {
  EXPECT_EQ(0x03, RotateLeft8(0x81, 1));
  EXPECT_EQ(0x21, RotateLeft8(0x12, 4));
  EXPECT_EQ(0x12, RotateLeft8(0x12, 0));
  EXPECT_EQ(0x12, RotateLeft8(0x12, 8));
  EXPECT_EQ(0x12, RotateLeft8(0x12, 32));
  EXPECT_EQ(0x03, RotateLeft8(0x81, 9));
  EXPECT_EQ(0x80, RotateLeft8(0x01, 0xFFFFFFFFu));  // 7 mod 8
  EXPECT_EQ(0x0003, RotateLeft16(0x8001, 1));
  EXPECT_EQ(0x2341, RotateLeft16(0x1234, 4));
  EXPECT_EQ(0x1234, RotateLeft16(0x1234, 16));
  EXPECT_EQ(0x2341, RotateLeft16(0x1234, 20));
  EXPECT_EQ(0x00000003u, RotateLeft32(0x80000001u, 1));
  EXPECT_EQ(0x34567812u, RotateLeft32(0x12345678u, 8));
  EXPECT_EQ(0x12345678u, RotateLeft32(0x12345678u, 32));
  EXPECT_EQ(0x091A2B3Cu, RotateLeft32(0x12345678u, 31));
  EXPECT_EQ(0x80, RotateRight8(0x01, 1));
  EXPECT_EQ(0x40, RotateRight8(0x80, 1));
  EXPECT_EQ(0x80, RotateRight8(0x01, 9));
  EXPECT_EQ(0x5A, RotateRight8(0x5A, 16));
  EXPECT_EQ(0x8000, RotateRight16(0x0001, 17));
  EXPECT_EQ(0x4123, RotateRight16(0x1234, 4));
  EXPECT_EQ(0x80000000u, RotateRight32(0x00000001u, 33));
  EXPECT_EQ(0x78123456u, RotateRight32(0x12345678u, 8));
  EXPECT_EQ(0xDEADBEEFu, RotateRight32(0xDEADBEEFu, 0));
  EXPECT_EQ(0x00000001u, RotateRight32(0x80000000u, 31));
}

TEST(ShiftBlocks, AreMadeWithTheirSizePinsFieldsAndCosts) {
  Bench bench;
  struct Row {
    unsigned int classId;
    const wchar_t* caption;
  } rows[] = {{kBeShlClassId, L"Левый сдвиг"}, {kBeShrClassId, L"Правый сдвиг"}};
  for (const Row& row : rows) {
    CBEBlock* block = bench.Create<CBEBlock>(row.classId);
    ASSERT_NE(nullptr, block);
    EXPECT_STREQ(row.caption, block->GetCaption());
    EXPECT_EQ(80, block->Width());
    EXPECT_EQ(20, block->Height());
    EXPECT_EQ(static_cast<COLORREF>(0x33FFFF), block->fillColor);
    ASSERT_EQ(1, block->inputCount);
    ASSERT_EQ(1, block->outputCount);
    EXPECT_EQ(kBeSignalChar, block->Input(0)->type);
    EXPECT_EQ(kBeSignalChar, block->Output(0)->type);
    EXPECT_EQ(nullptr, block->Input(0)->name);
    // Count 1, logical: 1 cycle, 2 ROM bytes.
    EXPECT_EQ(Costs(1, 2), CostsOf(block));
  }
  auto* shl = bench.Create<CBEShl>(kBeShlClassId);
  EXPECT_EQ(1, shl->count);
  EXPECT_EQ(kShiftLogical, shl->kind);
  auto* shr = bench.Create<CBEShr>(kBeShrClassId);
  EXPECT_EQ(1, shr->count);
  EXPECT_EQ(kShiftLogical, shr->kind);
}

// One block, one source of its type with the given bytes, one pass; the
// output's bytes (those beyond the type's width keep 0xAA).
struct ShiftCase {
  bool right;
  BeSignalType type;
  unsigned char kind;
  unsigned char count;
  std::vector<uint8_t> input;
  std::vector<uint8_t> expected;  // in the type's width
};

const unsigned char L = kShiftLogical, A = kShiftArithmetic, C = kShiftCyclic;
const BeSignalType kChar = kBeSignalChar, kShort = kBeSignalShort, kInt = kBeSignalInt;

void RunShifts(const ShiftCase* cases, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const ShiftCase& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i << ": " << (c.right ? ">>" : "<<") << " type " << c.type
                                    << ", kind " << int(c.kind) << ", count " << int(c.count));
    Bench bench;
    CBEBlock* block;
    if (c.right) {
      auto* shr = bench.Create<CBEShr>(kBeShrClassId);
      shr->count = c.count;
      shr->kind = c.kind;
      block = shr;
    } else {
      auto* shl = bench.Create<CBEShl>(kBeShlClassId);
      shl->count = c.count;
      shl->kind = c.kind;
      block = shl;
    }
    SetType(block, c.type);
    auto* source = bench.Source(c.type);
    source->SetBytes(c.input);
    bench.Link(source, block);
    memset(block->Output(0)->value, 0xAA, 8);
    bench.Pass();
    std::vector<uint8_t> expected = c.expected;
    expected.resize(8, 0xAA);
    EXPECT_TRUE(velktest::BytesEqual(blocktest::ValueBytes(block), expected));
  }
}

TEST(ShiftBlocks, CharShifts) {
  const ShiftCase cases[] = {
      // Left: zeros in from the right; arithmetic is the same.
      {false, kChar, L, 1, {0x01}, {0x02}},
      {false, kChar, L, 1, {0x81}, {0x02}},  // -127
      {false, kChar, L, 4, {0x0F}, {0xF0}},
      {false, kChar, L, 7, {0xFF}, {0x80}},
      {false, kChar, L, 8, {0xFF}, {0x00}},  // the width
      {false, kChar, L, 31, {0x01}, {0x00}},
      {false, kChar, L, 0, {0x5A}, {0x5A}},
      {false, kChar, L, 33, {0x01}, {0x02}},  // 33 mod 32
      {false, kChar, A, 1, {0x81}, {0x02}},
      {false, kChar, A, 1, {0xC0}, {0x80}},
      {false, kChar, A, 9, {0xFF}, {0x00}},
      // Left rotation.
      {false, kChar, C, 1, {0x81}, {0x03}},
      {false, kChar, C, 1, {0x80}, {0x01}},
      {false, kChar, C, 4, {0x12}, {0x21}},
      {false, kChar, C, 8, {0x12}, {0x12}},
      {false, kChar, C, 12, {0x12}, {0x21}},
      {false, kChar, C, 0, {0x12}, {0x12}},
      // Right, logical: the value as unsigned, zeros in from the left.
      {true, kChar, L, 1, {0x80}, {0x40}},
      {true, kChar, L, 7, {0xFF}, {0x01}},
      {true, kChar, L, 8, {0xFF}, {0x00}},
      {true, kChar, L, 31, {0x80}, {0x00}},
      {true, kChar, L, 0, {0x80}, {0x80}},
      // Right, arithmetic: copies of the sign bit.
      {true, kChar, A, 1, {0x80}, {0xC0}},
      {true, kChar, A, 7, {0x80}, {0xFF}},
      {true, kChar, A, 8, {0x80}, {0xFF}},
      {true, kChar, A, 31, {0x80}, {0xFF}},
      {true, kChar, A, 1, {0x7F}, {0x3F}},
      {true, kChar, A, 8, {0x7F}, {0x00}},
      {true, kChar, A, 1, {0xFE}, {0xFF}},  // -2 >> 1 = -1
      {true, kChar, A, 0, {0x80}, {0x80}},
      // Right rotation.
      {true, kChar, C, 1, {0x80}, {0x40}},
      {true, kChar, C, 1, {0x01}, {0x80}},
      {true, kChar, C, 4, {0x12}, {0x21}},
      {true, kChar, C, 9, {0x01}, {0x80}},
  };
  RunShifts(cases, sizeof cases / sizeof cases[0]);
}

TEST(ShiftBlocks, ShortShifts) {
  const ShiftCase cases[] = {
      {false, kShort, L, 15, {0x01, 0x00}, {0x00, 0x80}},
      {false, kShort, L, 4, {0x34, 0x12}, {0x40, 0x23}},
      {false, kShort, L, 1, {0x01, 0x80}, {0x02, 0x00}},
      {false, kShort, L, 16, {0xFF, 0xFF}, {0x00, 0x00}},
      {false, kShort, A, 4, {0x34, 0x12}, {0x40, 0x23}},
      {false, kShort, C, 1, {0x01, 0x80}, {0x03, 0x00}},
      {false, kShort, C, 4, {0x34, 0x12}, {0x41, 0x23}},
      {false, kShort, C, 16, {0x34, 0x12}, {0x34, 0x12}},
      {true, kShort, L, 4, {0x00, 0x80}, {0x00, 0x08}},
      {true, kShort, L, 15, {0xFF, 0xFF}, {0x01, 0x00}},
      {true, kShort, L, 16, {0xFF, 0xFF}, {0x00, 0x00}},
      {true, kShort, A, 4, {0x00, 0x80}, {0x00, 0xF8}},  // -32768 -> -2048
      {true, kShort, A, 15, {0x00, 0x80}, {0xFF, 0xFF}},
      {true, kShort, A, 20, {0x00, 0x80}, {0xFF, 0xFF}},
      {true, kShort, A, 15, {0xFF, 0x7F}, {0x00, 0x00}},
      {true, kShort, A, 14, {0x00, 0x40}, {0x01, 0x00}},
      {true, kShort, C, 1, {0x01, 0x00}, {0x00, 0x80}},
      {true, kShort, C, 4, {0x34, 0x12}, {0x23, 0x41}},
      {true, kShort, C, 20, {0x34, 0x12}, {0x23, 0x41}},
  };
  RunShifts(cases, sizeof cases / sizeof cases[0]);
}

TEST(ShiftBlocks, IntShifts) {
  const ShiftCase cases[] = {
      {false, kInt, L, 31, {0x01, 0, 0, 0}, {0, 0, 0, 0x80}},
      {false, kInt, L, 8, {0x78, 0x56, 0x34, 0x12}, {0x00, 0x78, 0x56, 0x34}},
      {false, kInt, L, 0, {0x78, 0x56, 0x34, 0x12}, {0x78, 0x56, 0x34, 0x12}},
      {false, kInt, L, 32, {0x78, 0x56, 0x34, 0x12}, {0x78, 0x56, 0x34, 0x12}},  // 32 mod 32
      {false, kInt, A, 1, {0x00, 0x00, 0x00, 0xC0}, {0x00, 0x00, 0x00, 0x80}},
      // The top byte comes round into the bottom one.
      {false, kInt, C, 8, {0x78, 0x56, 0x34, 0x12}, {0x12, 0x78, 0x56, 0x34}},
      {false, kInt, C, 31, {0x78, 0x56, 0x34, 0x12}, {0x3C, 0x2B, 0x1A, 0x09}},
      {true, kInt, L, 31, {0, 0, 0, 0x80}, {0x01, 0, 0, 0}},
      {true, kInt, L, 1, {0xFF, 0xFF, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF, 0x7F}},
      {true, kInt, A, 31, {0, 0, 0, 0x80}, {0xFF, 0xFF, 0xFF, 0xFF}},
      {true, kInt, A, 1, {0, 0, 0, 0x80}, {0x00, 0x00, 0x00, 0xC0}},
      {true, kInt, A, 30, {0xFF, 0xFF, 0xFF, 0x7F}, {0x01, 0, 0, 0}},
      {true, kInt, A, 31, {0xFF, 0xFF, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF, 0xFF}},
      {true, kInt, A, 1, {0xFB, 0xFF, 0xFF, 0xFF}, {0xFD, 0xFF, 0xFF, 0xFF}},  // -5 -> -3
      {true, kInt, C, 1, {0x01, 0, 0, 0}, {0, 0, 0, 0x80}},
      {true, kInt, C, 8, {0x78, 0x56, 0x34, 0x12}, {0x56, 0x34, 0x12, 0x78}},
  };
  RunShifts(cases, sizeof cases / sizeof cases[0]);
}

TEST(ShiftBlocks, WithoutALinkOrWithAnUnknownKindNothingIsWritten) {
  Bench bench;
  auto* shl = bench.Create<CBEShl>(kBeShlClassId);
  auto* shr = bench.Create<CBEShr>(kBeShrClassId);
  memset(shl->Output(0)->value, 0x3C, 8);
  memset(shr->Output(0)->value, 0x3C, 8);
  bench.Pass();
  EXPECT_EQ(std::vector<uint8_t>(8, 0x3C), blocktest::ValueBytes(shl));
  EXPECT_EQ(std::vector<uint8_t>(8, 0x3C), blocktest::ValueBytes(shr));
  auto* x = bench.Source(kBeSignalChar);
  x->SetInt(1);
  bench.Link(x, shl);
  bench.Link(x, shr);
  shl->kind = 3;
  shr->kind = 200;
  bench.Pass();
  EXPECT_EQ(std::vector<uint8_t>(8, 0x3C), blocktest::ValueBytes(shl));
  EXPECT_EQ(std::vector<uint8_t>(8, 0x3C), blocktest::ValueBytes(shr));
}

TEST(ShiftBlocks, CostsByTypeCountAndKind) {
  struct Row {
    BeSignalType type;
    unsigned char count, kind;
    Costs costs;
  } rows[] = {
      {kChar, 1, L, Costs(1, 2)},   {kChar, 7, L, Costs(7, 14)},  {kChar, 7, A, Costs(7, 14)},
      {kChar, 7, C, Costs(14, 14)}, {kShort, 8, L, Costs(0, 0)},  {kShort, 9, L, Costs(1, 2)},
      {kShort, 15, A, Costs(7, 14)}, {kShort, 15, C, Costs(60, 60)}, {kShort, 3, C, Costs(12, 12)},
      {kInt, 8, L, Costs(0, 0)},    {kInt, 9, L, Costs(3, 2)},    {kInt, 8, C, Costs(64, 64)},
      {kInt, 31, L, Costs(7, 14)},  {kInt, 16, A, Costs(0, 0)},   {kInt, 17, A, Costs(2, 2)},
      {kInt, 1, C, Costs(8, 8)},
      // Counts beyond the dialog's limits move no byte more: never fewer
      // than 0 cycles.
      {kChar, 12, L, Costs(0, 8)},  {kChar, 17, L, Costs(0, 2)},  {kShort, 31, A, Costs(0, 14)},
  };
  Bench bench;
  auto* shl = bench.Create<CBEShl>(kBeShlClassId);
  auto* shr = bench.Create<CBEShr>(kBeShrClassId);
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "type " << row.type << ", count " << int(row.count) << ", kind "
                                    << int(row.kind));
    shl->count = shr->count = row.count;
    shl->kind = shr->kind = row.kind;
    shl->sharedRoutine = shr->sharedRoutine = 1;
    SetType(shl, row.type);
    SetType(shr, row.type);
    EXPECT_EQ(row.costs, CostsOf(shl));
    EXPECT_EQ(row.costs, CostsOf(shr));
  }
}

TEST(ShiftBlocks, CaptionsShowTheCount) {
  Bench bench;
  auto* shl = bench.Create<CBEShl>(kBeShlClassId);
  auto* shr = bench.Create<CBEShr>(kBeShrClassId);
  EXPECT_TRUE(blocktest::DrawsCaption(shl, L"<< 1"));
  EXPECT_TRUE(blocktest::DrawsCaption(shr, L">> 1"));
  shl->count = 12;
  shr->count = 31;
  EXPECT_TRUE(blocktest::DrawsCaption(shl, L"<< 12"));
  EXPECT_TRUE(blocktest::DrawsCaption(shr, L">> 31"));
  EXPECT_FALSE(blocktest::DrawsCaption(shr, L"<< 31"));
}

TEST(ShiftRecords, GoldenBytesAndLoad) {
  using blocktest::BaseRecord;
  using blocktest::Golden;
  auto shl = blocktest::NewDetached<CBEShl>(kBeShlClassId);
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(shl.get()), velktest::ParseHex(R"(
      02 01 00
      00 00 00 00  00 00 00 00  50 00 00 00  14 00 00 00
      00 00
      00
      00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00
      00 00 00 00  00)")));
  auto shr = blocktest::NewDetached<CBEShr>(kBeShrClassId);
  shr->count = 9;
  shr->kind = kShiftCyclic;
  SetType(shr.get(), kBeSignalInt);
  std::vector<uint8_t> record = Golden().B(4).B(9).B(2).Base(BaseRecord::Unlinked(RECT{0, 0, 80, 20}, 1, 1)).Bytes();
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(shr.get()), record));

  // Load: the type on both pins, count and kind, then the costs.
  auto loaded = blocktest::NewDetached<CBEShl>(kBeShlClassId);
  record = Golden().B(4).B(9).B(0).Base(BaseRecord::Unlinked(RECT{30, 40, 110, 60}, 1, 1)).Bytes();
  ASSERT_TRUE(blocktest::LoadBytes(loaded.get(), record));
  EXPECT_EQ(kBeSignalInt, loaded->Input(0)->type);
  EXPECT_EQ(kBeSignalInt, loaded->Output(0)->type);
  EXPECT_EQ(9, loaded->count);
  EXPECT_EQ(kShiftLogical, loaded->kind);
  EXPECT_EQ(Costs(3, 2), CostsOf(loaded.get()));
  EXPECT_EQ(30, loaded->rect.left);
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(loaded.get()), record));

  blocktest::ExpectTruncationsRefused<CBEShr>(kBeShrClassId, blocktest::RecordBytes(shr.get()));
  blocktest::ExpectTruncationsRefused<CBEShl>(kBeShlClassId, record);
}

TEST(ShiftRecords, ImplausibleFieldsAreRefused) {
  using blocktest::BaseRecord;
  using blocktest::Golden;
  auto base = BaseRecord::Unlinked(RECT{0, 0, 80, 20}, 1, 1);
  struct Row {
    int type, count, kind;
    bool loads;
  } rows[] = {
      {2, 1, 0, true},   {3, 15, 1, true},  {4, 31, 2, true},  {1, 1, 0, false}, {5, 1, 0, false},
      {0, 1, 0, false},  {2, 0, 0, false},  {2, 32, 0, false}, {4, 255, 0, false}, {2, 1, 3, false},
      {2, 1, 255, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.type << " " << row.count << " " << row.kind);
    auto shr = blocktest::NewDetached<CBEShr>(kBeShrClassId);
    EXPECT_EQ(row.loads, blocktest::LoadBytes(shr.get(), Golden().B(row.type).B(row.count).B(row.kind).Base(base).Bytes()));
    if (!row.loads) {
      EXPECT_EQ(kBeSignalChar, shr->GetType());
      EXPECT_EQ(1, shr->count);
      EXPECT_EQ(kShiftLogical, shr->kind);
    }
  }
}

}  // namespace
