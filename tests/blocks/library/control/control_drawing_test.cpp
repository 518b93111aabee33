// What the control-theory links draw: the transfer functions as fractions
// (numerator, line, denominator), the differentiator's caption, the
// limiter's characteristic, and one picture of the whole group.
#include <climits>

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
using blocktest::Canvas;

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGrey = 0x999999;
const COLORREF kCharacteristic = 0xCC0000;

// The rows inside the block (frame excluded) whose pixels from x0 to x1 are
// all black while the pixels just outside are not: the fraction's line.
std::vector<int> LineRows(const Canvas& canvas, const RECT& r, int x0, int x1) {
  std::vector<int> rows;
  for (int y = r.top + 1; y < r.bottom - 1; ++y)
    if (canvas.Count(x0, y, x1, y, kBlack) == x1 - x0 + 1 && canvas.At(x0 - 2, y) != kBlack &&
        canvas.At(x1 + 2, y) != kBlack)
      rows.push_back(y);
  return rows;
}

// A fraction drawn in the block: one line from left + inset to
// right - inset - 1, below the top + drop, black text above it and text of
// `lower` below it.
void ExpectFraction(CBEBlock* block, int drop, int inset, COLORREF lower) {
  Canvas canvas(block->Width() + 40, block->Height() + 40);
  EXPECT_TRUE(canvas.Draw(block, 20, 20)) << "selections put back";
  EXPECT_EQ(kBlack, GetTextColor(canvas.dc()));
  const RECT& r = block->rect;
  std::vector<int> rows = LineRows(canvas, r, r.left + inset, r.right - inset - 1);
  ASSERT_EQ(1u, rows.size());
  int y = rows[0];
  EXPECT_GT(y, r.top + drop + 5) << "a line of text lies above";
  EXPECT_GT(canvas.Count(r.left + 1, r.top + drop, r.right - 2, y - 1, kBlack), 10);
  EXPECT_EQ(0, canvas.Count(r.left + 1, r.top + 1, r.right - 2, r.top + drop - 1, kBlack));
  EXPECT_GT(canvas.Count(r.left + 1, y + 1, r.right - 2, r.bottom - 2, lower), 3);
  if (lower != kBlack) {
    EXPECT_EQ(0, canvas.Count(r.left + 1, r.top + 1, r.right - 2, y - 1, lower));
  }
}

TEST(ControlDrawing, FractionsOfTheIntegratorsAndTheLags) {
  Bench bench;
  // K over a blue s; the reloadable integrator's line is shorter.
  ExpectFraction(bench.Create<CBEIntegral>(kBeIntegralClassId), 6, 10, kBlue);
  ExpectFraction(bench.Create<CBEIntegralWithReload>(kBeIntegralWithReloadClassId), 6, 20, kBlue);
  // K over "T·s+1" and over "T²s²+2ξTs+1", in black.
  ExpectFraction(bench.Create<CBEInertial>(kBeInertialClassId), 6, 10, kBlack);
  ExpectFraction(bench.Create<CBEVibro>(kBeVibroClassId), 3, 10, kBlack);
}

TEST(ControlDrawing, TheNumbersFollowTheFields) {
  Bench bench;
  auto* diff = bench.Create<CBEDiff>(kBeDiffClassId);
  EXPECT_TRUE(blocktest::DrawsCaption(diff, L"1.000\x00B7s"));
  diff->gain = -2.5;
  EXPECT_TRUE(blocktest::DrawsCaption(diff, L"-2.500\x00B7s"));
  EXPECT_FALSE(blocktest::DrawsCaption(diff, L"-2.5\x00B7s"));
  // Another gain changes the numerator of a fraction, and only it.
  auto* integral = bench.Create<CBEIntegral>(kBeIntegralClassId);
  Canvas one(90, 80), two(90, 80);
  one.Draw(integral, 20, 20);
  integral->gain = 12.125;
  two.Draw(integral, 20, 20);
  EXPECT_FALSE(blocktest::SamePixels(one, two));
  // A huge gain is cut to fit, not written past the text's end.
  integral->gain = 1e300;
  Canvas huge(90, 80);
  EXPECT_TRUE(huge.Draw(integral, 20, 20));
  auto* inertial = bench.Create<CBEInertial>(kBeInertialClassId);
  Canvas t1(140, 80), t2(140, 80);
  t1.Draw(inertial, 20, 20);
  inertial->timeConstant = 0.5;
  t2.Draw(inertial, 20, 20);
  EXPECT_FALSE(blocktest::SamePixels(t1, t2));
}

TEST(ControlDrawing, LimiterDrawsAxesAndItsCharacteristic) {
  Bench bench;
  auto* limiter = bench.Create<CBELimiter>(kBeLimiterClassId);
  Canvas canvas(100, 100);
  EXPECT_TRUE(canvas.Draw(limiter, 20, 20));
  // Centre (50, 50), h = 20; limits 127 and -127 in short: s = T(152.4) =
  // 152, f = 20 x 127 / 152 = 16, g = -16: the corners (66, 34), (34, 66).
  EXPECT_EQ(kGrey, canvas.At(50, 33));  // the vertical axis from top + 10
  EXPECT_EQ(kGrey, canvas.At(35, 50));  // the horizontal axis from left + 10
  EXPECT_EQ(0xFFFFCCu, canvas.At(50, 25));  // above the axis: the body
  EXPECT_GT(canvas.Count(68, 32, 70, 35, kCharacteristic), 0);  // the upper limit's flat part
  EXPECT_GT(canvas.Count(29, 65, 32, 68, kCharacteristic), 0);  // the lower one's
  EXPECT_GT(canvas.Count(49, 49, 51, 51, kCharacteristic), 0);  // the slope through the centre
  EXPECT_EQ(0, canvas.Count(55, 55, 65, 65, kCharacteristic));
  // Float limits 1.5 and -0.5: s = 1.8, f = 16, g = trunc(-5.6) = -5.
  ChangeBlockType(limiter, kBeSignalFloat);
  limiter->SetLimitsFloat(1.5f, -0.5f);
  Canvas f(100, 100);
  f.Draw(limiter, 20, 20);
  EXPECT_GT(f.Count(32, 54, 36, 56, kCharacteristic), 0);
  EXPECT_EQ(0, f.Count(30, 64, 34, 68, kCharacteristic));
  // Limits at the ends of the int range still scale into the body.
  ChangeBlockType(limiter, kBeSignalInt);
  limiter->SetLimitsInt(INT_MAX, INT_MIN);
  Canvas wide(100, 100);
  wide.Draw(limiter, 20, 20);
  int inside = wide.Count(21, 21, 78, 78, kCharacteristic);
  EXPECT_GT(inside, 20);
  EXPECT_EQ(inside, wide.Count(0, 0, 99, 99, kCharacteristic));
}

TEST(ControlDrawing, TheGroupInOnePicture) {
  Bench bench;
  Canvas canvas(560, 90);
  int x = 10;
  for (unsigned int id : {kBeIntegralClassId, kBeIntegralWithReloadClassId, kBeDiffClassId, kBeInertialClassId,
                          kBeVibroClassId, kBeLimiterClassId}) {
    CBEBlock* block = bench.Create<CBEBlock>(id);
    ASSERT_NE(nullptr, block);
    canvas.Paint(block, x, 15);
    x += block->Width() + 20;
  }
  EXPECT_GT(canvas.Ink(10, 15, x, 75), 500);
  canvas.Save(L"library_control_links.bmp");
}

}  // namespace
