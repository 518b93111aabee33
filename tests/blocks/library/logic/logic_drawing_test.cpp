// What the logic and shift blocks draw: their captions centred in the body,
// masks in the width of the type, and one picture of the whole group as the
// view paints it.
#include <algorithm>

#include "logic_kit.h"

namespace {

using blocktest::Bench;
using blocktest::DrawsCaption;
using logictest::SetType;

TEST(LogicDrawing, FixedCaptionsByType) {
  Bench bench;
  auto* not1 = bench.Create<CBENot>(kBeNotClassId);
  EXPECT_TRUE(DrawsCaption(not1, L"NOT"));
  SetType(not1, kBeSignalInt);
  EXPECT_TRUE(DrawsCaption(not1, L"NOT"));
  auto* and2 = bench.Create<CBEAnd2>(kBeAnd2ClassId);
  auto* or2 = bench.Create<CBEOr2>(kBeOr2ClassId);
  EXPECT_TRUE(DrawsCaption(and2, L"A && B"));
  EXPECT_TRUE(DrawsCaption(or2, L"A || B"));
  EXPECT_FALSE(DrawsCaption(or2, L"A | B"));
  for (BeSignalType type : {kBeSignalChar, kBeSignalShort, kBeSignalInt}) {
    SetType(and2, type);
    SetType(or2, type);
    EXPECT_TRUE(DrawsCaption(and2, L"A & B")) << type;
    EXPECT_TRUE(DrawsCaption(or2, L"A | B")) << type;
  }
  auto* bit = bench.Create<CBEGetBit>(kBeGetBitClassId);
  EXPECT_TRUE(DrawsCaption(bit, L"GetBit 7"));
  bit->bitNumber = 31;
  EXPECT_TRUE(DrawsCaption(bit, L"GetBit 31"));
}

TEST(LogicDrawing, MasksArePrintedInTheWidthOfTheType) {
  Bench bench;
  auto* and1 = bench.Create<CBEAnd>(kBeAndClassId);
  auto* or1 = bench.Create<CBEOr>(kBeOrClassId);
  EXPECT_TRUE(DrawsCaption(and1, L"AND 0x7F"));
  EXPECT_TRUE(DrawsCaption(or1, L"OR 0x0F"));
  struct Row {
    BeSignalType type;
    uint32_t mask;
    const wchar_t* andText;
    const wchar_t* orText;
  } rows[] = {
      {kBeSignalChar, 0x1F0, L"AND 0xF0", L"OR 0xF0"},  // the low byte of the cell
      {kBeSignalShort, 0x00FF, L"AND 0x00FF", L"OR 0x00FF"},
      {kBeSignalShort, 0xABCD8000, L"AND 0x8000", L"OR 0x8000"},
      {kBeSignalInt, 0xFF, L"AND 0x000000FF", L"OR 0x000000FF"},
      {kBeSignalInt, 0xDEADBEEF, L"AND 0xDEADBEEF", L"OR 0xDEADBEEF"},
  };
  for (const Row& row : rows) {
    SetType(and1, row.type);
    SetType(or1, row.type);
    and1->mask = row.mask;
    or1->mask = row.mask;
    EXPECT_TRUE(DrawsCaption(and1, row.andText));
    EXPECT_TRUE(DrawsCaption(or1, row.orText));
  }
  // The short mask 0x00FF maps 0x1234 to 0x0034.
  SetType(and1, kBeSignalShort);
  and1->mask = 0x00FF;
  auto* x = bench.Source(kBeSignalShort);
  x->SetInt(0x1234);
  bench.Link(x, and1);
  bench.Pass();
  EXPECT_EQ(0x0034, blocktest::ReadInt(and1));
}

// One picture of the group as the view paints it, pins and all; an AND
// element of four inputs among them.
TEST(LogicDrawing, TheGroupAsTheViewPaintsIt) {
  Bench bench;
  const unsigned int ids[] = {kBeNotClassId,  kBeAndClassId,    kBeAnd2ClassId, kBeOrClassId, kBeOr2ClassId,
                              kBeCmpClassId, kBeCmp2ClassId, kBeGetBitClassId, kBeShlClassId, kBeShrClassId};
  blocktest::Canvas canvas(520, 260);
  int x = 15, y = 15, rowHeight = 0;
  for (unsigned int id : ids) {
    CBEBlock* block = bench.Create<CBEBlock>(id);
    if (id == kBeAnd2ClassId) logictest::SetInputs(block, 4);
    if (x + block->Width() > 500) {
      x = 15;
      y += rowHeight + 20;
      rowHeight = 0;
    }
    canvas.Paint(block, x, y);
    EXPECT_GT(canvas.Ink(x, y, x + block->Width() - 1, y + block->Height() - 1), 0) << std::hex << id;
    x += block->Width() + 30;
    rowHeight = std::max(rowHeight, block->Height());
  }
  canvas.Save(L"library_logic.bmp");
}

}  // namespace
