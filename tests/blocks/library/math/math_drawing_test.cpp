// What the "Математика" blocks draw: their captions centred in the body, the
// adder's sigma, and one picture of the whole group.
#include <algorithm>

#include "block_kit.h"
#include "blocks/library/math/abs.h"
#include "blocks/library/math/add.h"
#include "blocks/library/math/const_divider.h"
#include "blocks/library/math/div2.h"
#include "blocks/library/math/mul2.h"
#include "blocks/library/math/neg.h"
#include "blocks/library/math/proportional.h"
#include "blocks/library/math/sigma_font.h"
#include "blocks/library/math/sub.h"
#include "blocks/library/math/sub2.h"
#include "blocks/library/math/summator.h"
#include "blocks/library/typed_block.h"

namespace {

using blocktest::Bench;
using blocktest::DrawsCaption;

const COLORREF kBlack = RGB(0, 0, 0);

TEST(MathDrawing, FixedCaptions) {
  Bench bench;
  EXPECT_TRUE(DrawsCaption(bench.Create<CBENeg>(kBeNegClassId), L"-1"));
  EXPECT_TRUE(DrawsCaption(bench.Create<CBESub2>(kBeSub2ClassId), L"A-B"));
  EXPECT_TRUE(DrawsCaption(bench.Create<CBEMul2>(kBeMul2ClassId), L"A x B"));
  EXPECT_TRUE(DrawsCaption(bench.Create<CBEDiv2>(kBeDiv2ClassId), L"A / B"));
  EXPECT_TRUE(DrawsCaption(bench.Create<CBEAbs>(kBeAbsClassId), L"|x|"));
  // The comparison tells texts apart.
  EXPECT_FALSE(DrawsCaption(bench.Create<CBEMul2>(kBeMul2ClassId), L"A / B"));
}

TEST(MathDrawing, ConstantBlocksShowTheConstantReadInTheirType) {
  Bench bench;
  auto* add = bench.Create<CBEAdd>(kBeAddClassId);
  EXPECT_TRUE(DrawsCaption(add, L"ADD 1"));
  add->constant = 0x000001FF;  // char: the low byte, -1
  EXPECT_TRUE(DrawsCaption(add, L"ADD -1"));
  ChangeBlockType(add, kBeSignalShort);
  EXPECT_TRUE(DrawsCaption(add, L"ADD 511"));
  // What the dialog does for float with the text 2.5: the float cell.
  ChangeBlockType(add, kBeSignalFloat);
  add->SetConstantFloat(2.5f);
  add->UpdateCosts();
  EXPECT_TRUE(DrawsCaption(add, L"ADD 2.50"));
  EXPECT_EQ(blocktest::Costs(100, 10, 0, true), blocktest::CostsOf(add));
  ChangeBlockType(add, kBeSignalDouble);
  add->SetConstantFloat(-0.126f);
  EXPECT_TRUE(DrawsCaption(add, L"ADD -0.13"));

  auto* sub = bench.Create<CBESub>(kBeSubClassId);
  EXPECT_TRUE(DrawsCaption(sub, L"SUB 1"));
  ChangeBlockType(sub, kBeSignalInt);
  sub->SetConstantInt(-100000);
  EXPECT_TRUE(DrawsCaption(sub, L"SUB -100000"));
  ChangeBlockType(sub, kBeSignalFloat);
  sub->SetConstantFloat(10.0f);
  EXPECT_TRUE(DrawsCaption(sub, L"SUB 10.00"));
}

TEST(MathDrawing, ScalingConstantsByMagnitude) {
  Bench bench;
  auto* k = bench.Create<CBEProportional>(kBeProportionalClassId);
  auto* d = bench.Create<CBEConstDivider>(kBeConstDividerClassId);
  struct Row {
    float constant;
    const wchar_t* proportional;
    const wchar_t* divider;
  } rows[] = {
      {0.005f, L"0.005", L"0.005 / x"},
      {-0.001f, L"-0.001", L"-0.001 / x"},
      {0.0f, L"  0", L"  0 / x"},
      {0.01f, L"0.010", L"0.010 / x"},
      {2.0f, L"2.000", L"2.000 / x"},
      {-9.5f, L"-9.500", L"-9.500 / x"},
      {10.0f, L"10.0", L"10.0 / x"},
      {25.0f, L"25.0", L"25.0 / x"},
      {127.0f, L"127.0", L"127.0 / x"},
  };
  for (const Row& row : rows) {
    k->coefficient = row.constant;
    d->dividend = row.constant;
    EXPECT_TRUE(DrawsCaption(k, row.proportional)) << row.constant;
    EXPECT_TRUE(DrawsCaption(d, row.divider)) << row.constant;
  }
}

// The adder shows a capital sigma, 32 pixels high, in black, from 30 pixels
// left of its right edge and 5 below its top, and no caption.
TEST(MathDrawing, AdderDrawsASigma) {
  Bench bench;
  auto* sum = bench.Create<CBESummator>(kBeSummatorClassId);
  blocktest::Canvas canvas(90, 80);
  ASSERT_TRUE(canvas.Draw(sum, 20, 20));  // body 20..70 x 20..60
  // The body's frame and fill.
  EXPECT_EQ(kBlack, canvas.At(20, 20));
  EXPECT_EQ(RGB(255, 255, 51), canvas.At(23, 50));
  // Black ink only right of x = 40 (70 - 30) and below y = 25 (20 + 5).
  int inkInside = canvas.Count(41, 26, 68, 58, kBlack);
  EXPECT_GT(inkInside, 40);
  EXPECT_EQ(0, canvas.Count(21, 21, 39, 58, kBlack)) << "nothing left of the sigma";
  EXPECT_EQ(0, canvas.Count(21, 21, 68, 24, kBlack)) << "nothing above the sigma";

  // A sigma, not a Latin S: its top and bottom are straight bars, so the
  // first and last rows of ink are long runs.
  int top = -1, bottom = -1;
  for (int y = 21; y < 59; ++y) {
    if (canvas.Count(41, y, 68, y, kBlack) > 0) {
      if (top < 0) top = y;
      bottom = y;
    }
  }
  ASSERT_GT(top, 0);
  int leftmost = 90, rightmost = -1;
  for (int x = 41; x <= 68; ++x) {
    if (canvas.Count(x, top, x, bottom, kBlack) > 0) {
      leftmost = std::min(leftmost, x);
      rightmost = std::max(rightmost, x);
    }
  }
  int width = rightmost - leftmost + 1;
  EXPECT_GE(width, 8);
  EXPECT_GE(canvas.Count(leftmost, top, rightmost, top + 2, kBlack), width * 2 / 3) << "top bar";
  EXPECT_GE(canvas.Count(leftmost, bottom - 2, rightmost, bottom, kBlack), width * 2 / 3) << "bottom bar";
  // The middle of the glyph's height is a point reaching left, not a bar.
  int middle = (top + bottom) / 2;
  EXPECT_LT(canvas.Count(leftmost, middle, rightmost, middle, kBlack), width / 2);
  canvas.Save(L"library_math_sigma.bmp");

  // A higher adder draws the sigma at the same place from its top.
  ASSERT_TRUE(sum->SetInputCount(4));
  sum->UpdatePinsAndCosts();
  blocktest::Canvas tall(90, 120);
  ASSERT_TRUE(tall.Draw(sum, 20, 20));
  for (int y = 21; y < 59; ++y)
    for (int x = 41; x < 69; ++x) ASSERT_EQ(canvas.At(x, y), tall.At(x, y)) << x << "," << y;
  EXPECT_EQ(0, tall.Count(21, 60, 68, 98, kBlack));
}

// One picture of the group as the view paints it, pins and all.
TEST(MathDrawing, ThePaletteGroupAsTheViewPaintsIt) {
  Bench bench;
  const unsigned int ids[] = {kBeNegClassId,  kBeAddClassId,          kBeSummatorClassId, kBeSubClassId,
                              kBeSub2ClassId, kBeProportionalClassId, kBeMul2ClassId,     kBeDiv2ClassId,
                              kBeConstDividerClassId, kBeAbsClassId};
  blocktest::Canvas canvas(420, 300);
  int x = 15, y = 15, rowHeight = 0;
  for (unsigned int id : ids) {
    CBEBlock* block = bench.Create<CBEBlock>(id);
    if (x + block->Width() > 400) {
      x = 15;
      y += rowHeight + 20;
      rowHeight = 0;
    }
    canvas.Paint(block, x, y);
    EXPECT_GT(canvas.Ink(x, y, x + block->Width() - 1, y + block->Height() - 1), 0);
    x += block->Width() + 30;
    rowHeight = std::max(rowHeight, block->Height());
  }
  canvas.Save(L"library_math.bmp");
}

}  // namespace
