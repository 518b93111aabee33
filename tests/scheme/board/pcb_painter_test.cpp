// The footprint painter: placement and mapping, primitives, rotated text
// and the package drawers, checked on the pixels of its bitmap.
#include "scheme/board/pcb_painter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBodyGrey = 0x666666;

void FillWhite(PcbPainter& p) {
  RECT all = {0, 0, p.width, p.height};
  FillRect(p.dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

// The points a drawing call put into a path of the painter's DC.
template <class Draw>
std::vector<POINT> PathOf(PcbPainter& p, Draw draw) {
  BeginPath(p.dc);
  draw();
  EndPath(p.dc);
  std::vector<POINT> points;
  int n = GetPath(p.dc, nullptr, nullptr, 0);
  if (n > 0) {
    points.resize(n);
    std::vector<BYTE> types(n);
    GetPath(p.dc, points.data(), types.data(), n);
  }
  AbortPath(p.dc);
  return points;
}

std::string Str(const std::vector<POINT>& v) {
  std::string s;
  for (const POINT& q : v) s += "(" + std::to_string(q.x) + "," + std::to_string(q.y) + ")";
  return s;
}

struct Screen {
  Screen() : dc(GetDC(nullptr)) {}
  ~Screen() { ReleaseDC(nullptr, dc); }
  HDC dc;
};

TEST(PcbPainter, NewPainterHoldsABitmapOfItsSize) {
  Screen screen;
  PcbPainter p(screen.dc, 7, -3, 4.0f, 200, 100);
  ASSERT_TRUE(p.IsReady());
  BITMAP info = {};
  ASSERT_TRUE(GetObjectW(p.bitmap, sizeof info, &info));
  EXPECT_EQ(info.bmWidth, 200);
  EXPECT_EQ(info.bmHeight, 100);
  EXPECT_GT(info.bmBitsPixel, 8);
  EXPECT_EQ(GetCurrentObject(p.dc, OBJ_BITMAP), p.bitmap);
  EXPECT_EQ(GetStretchBltMode(p.dc), HALFTONE);
  EXPECT_EQ(GetTextColor(p.dc), RGB(0, 0, 0));
  EXPECT_EQ(GetBkMode(p.dc), TRANSPARENT);
  EXPECT_EQ(p.scale, 4.0f);
  EXPECT_EQ(p.scrollX, 7);
  EXPECT_EQ(p.scrollY, -3);
  EXPECT_EQ(p.placement, 0);
  EXPECT_EQ(p.originX, 0.0f);
  EXPECT_EQ(p.originY, 0.0f);
  EXPECT_EQ(p.m11, 4.0f);
  EXPECT_EQ(p.m21, 0.0f);
  EXPECT_EQ(p.m12, 0.0f);
  EXPECT_EQ(p.m22, 4.0f);

  // Without a window DC the bitmap still has the screen's colours.
  PcbPainter q(nullptr, 0, 0, 1.0f, 10, 10);
  ASSERT_TRUE(q.IsReady());
  ASSERT_TRUE(GetObjectW(q.bitmap, sizeof info, &info));
  EXPECT_GT(info.bmBitsPixel, 8);
}

TEST(PcbPainter, AnotherContextLentToThePainterOutlivesIt) {
  // A picture export draws through the painter into its own context.
  Screen screen;
  HDC export_ = CreateCompatibleDC(screen.dc);
  HBITMAP picture = CreateCompatibleBitmap(screen.dc, 50, 50);
  HGDIOBJ old = SelectObject(export_, picture);
  RECT all = {0, 0, 50, 50};
  FillRect(export_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  {
    PcbPainter p(screen.dc, 0, 0, 2.0f, 50, 50);
    p.dc = export_;  // left lent: the painter deletes its own DC, not this one
    p.SetPlacement(0, 0, 0);
    p.DrawNarrowSoPackage(8);  // body rows 25 +- 5.38 px
    EXPECT_EQ(GetPixel(export_, 25, 25), kBodyGrey);
  }
  EXPECT_EQ(GetObjectType(export_), static_cast<DWORD>(OBJ_MEMDC));
  EXPECT_EQ(GetPixel(export_, 25, 25), kBodyGrey);
  SelectObject(export_, old);
  DeleteObject(picture);
  DeleteDC(export_);
}

TEST(PcbPainter, PlacementTurnsAndMovesThePartFrame) {
  // Scale 4, bitmap 201 x 101 (halves 100 and 50), scroll (10, -6); the part
  // at (2.5, -1.25) mm: origin (2.5 x 4 - 10 + 100, -1.25 x 4 + 6 + 50) =
  // (100, 51). Part point A = (1.5, 0.5), B = (-0.3, 0.3).
  struct Case {
    int t;
    float m11, m21, m12, m22;
    POINT a, b;
  };
  const Case cases[] = {
      {0, 4, 0, 0, 4, {106, 53}, {98, 52}},    // B: 98.8, 52.2
      {1, 0, 4, 4 * -1, 0, {98, 57}, {98, 49}},  // B: 98.8, 49.8 (a quarter turn clockwise)
      {2, -4, 0, 0, -4, {94, 49}, {101, 49}},  // B: 101.2, 49.8
      {3, 0, -4, 4, 0, {102, 45}, {101, 52}},  // B: 101.2, 52.2
  };
  Screen screen;
  PcbPainter p(screen.dc, 10, -6, 4.0f, 201, 101);
  for (const Case& c : cases) {
    p.SetPlacement(2.5f, -1.25f, c.t);
    EXPECT_EQ(p.placement, c.t);
    EXPECT_EQ(p.originX, 100.0f);
    EXPECT_EQ(p.originY, 51.0f);
    EXPECT_EQ(p.m11, c.m11) << c.t;
    EXPECT_EQ(p.m21, c.m21) << c.t;
    EXPECT_EQ(p.m12, c.m12) << c.t;
    EXPECT_EQ(p.m22, c.m22) << c.t;
    POINT a = p.MapPoint(1.5f, 0.5f), b = p.MapPoint(-0.3f, 0.3f);
    EXPECT_EQ(a.x, c.a.x) << c.t;
    EXPECT_EQ(a.y, c.a.y) << c.t;
    EXPECT_EQ(b.x, c.b.x) << c.t;
    EXPECT_EQ(b.y, c.b.y) << c.t;
  }
  // Pixels are truncated toward zero, not down: a part far to the upper
  // left at (-30, -20) mm has its origin at (-30, -24); (0.3, 0.3) maps to
  // (-28.8, -22.8).
  p.SetPlacement(-30.0f, -20.0f, 0);
  POINT q = p.MapPoint(0.3f, 0.3f);
  EXPECT_EQ(q.x, -28);
  EXPECT_EQ(q.y, -22);
}

TEST(PcbPainter, PlacementOutsideTheFourTurnsKeepsThePreviousTurn) {
  Screen screen;
  PcbPainter p(screen.dc, 0, 0, 2.0f, 100, 100);
  p.SetPlacement(0, 0, 1);
  p.SetPlacement(5.0f, 0, 7);
  EXPECT_EQ(p.placement, 7);
  EXPECT_EQ(p.originX, 60.0f);
  EXPECT_EQ(p.m11, 0.0f);
  EXPECT_EQ(p.m21, 2.0f);
  EXPECT_EQ(p.m12, -2.0f);
  p.SetPlacement(0, 0, -1);
  EXPECT_EQ(p.m21, 2.0f);
}

TEST(PcbPainter, PartAtTheBoardCentreSitsInTheMiddleOfTheBitmap) {
  Screen screen;
  for (int w : {200, 201}) {
    PcbPainter p(screen.dc, 0, 0, 3.0f, w, 100);
    for (int t = 0; t < 4; t++) {
      p.SetPlacement(0, 0, t);
      POINT c = p.MapPoint(0, 0);
      EXPECT_EQ(c.x, 100) << w << " " << t;
      EXPECT_EQ(c.y, 50) << w << " " << t;
    }
  }
}

TEST(PcbPainter, RectangleTurnsAroundTheReferencePoint) {
  // Rectangle (0, 0)-(3, 1) mm at scale 4 on a part at the centre (100, 50)
  // of a 200 x 100 bitmap: the corners in drawing order, by turn.
  const std::vector<POINT> expected[4] = {
      {{100, 50}, {112, 50}, {112, 54}, {100, 54}},
      {{100, 50}, {100, 62}, {96, 62}, {96, 50}},
      {{100, 50}, {88, 50}, {88, 46}, {100, 46}},
      {{100, 50}, {100, 38}, {104, 38}, {104, 50}},
  };
  Screen screen;
  PcbPainter p(screen.dc, 0, 0, 4.0f, 200, 100);
  for (int t = 0; t < 4; t++) {
    p.SetPlacement(0, 0, t);
    std::vector<POINT> got = PathOf(p, [&] { p.DrawRectangle(0, 0, 3, 1); });
    EXPECT_EQ(Str(got), Str(expected[t])) << t;
  }
  // In placement 1 the filled rectangle hangs down to the left of the point.
  FillWhite(p);
  HGDIOBJ oldBrush = SelectObject(p.dc, GetStockObject(BLACK_BRUSH));
  p.SetPlacement(0, 0, 1);
  p.DrawRectangle(0, 0, 3, 1);
  SelectObject(p.dc, oldBrush);
  EXPECT_EQ(GetPixel(p.dc, 98, 56), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(p.dc, 102, 56), kWhite);
  EXPECT_EQ(GetPixel(p.dc, 98, 46), kWhite);
}

TEST(PcbPainter, CircleScalesItsRadius) {
  Screen screen;
  PcbPainter p(screen.dc, 0, 0, 4.0f, 100, 100);
  FillWhite(p);
  HGDIOBJ oldBrush = SelectObject(p.dc, GetStockObject(BLACK_BRUSH));
  p.SetPlacement(0, 0, 0);
  std::vector<POINT> got = PathOf(p, [&] { p.DrawCircle(2.5f, 0, 1.5f); });  // centre (60, 50), R 6
  ASSERT_FALSE(got.empty());
  LONG minX = got[0].x, maxX = got[0].x, minY = got[0].y, maxY = got[0].y;
  for (const POINT& q : got) {
    minX = q.x < minX ? q.x : minX;
    maxX = q.x > maxX ? q.x : maxX;
    minY = q.y < minY ? q.y : minY;
    maxY = q.y > maxY ? q.y : maxY;
  }
  EXPECT_NEAR(minX, 54, 1);
  EXPECT_NEAR(maxX, 66, 1);
  EXPECT_NEAR(minY, 44, 1);
  EXPECT_NEAR(maxY, 56, 1);
  p.DrawCircle(2.5f, 0, 1.5f);
  EXPECT_EQ(GetPixel(p.dc, 60, 50), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(p.dc, 68, 50), kWhite);
  // A radius under a quarter of a millimetre is under a pixel: a degenerate
  // ellipse at the centre, nothing around it.
  p.DrawCircle(-5.0f, 0, 0.2f);  // centre (30, 50)
  SelectObject(p.dc, oldBrush);
  for (int dx = -2; dx <= 2; dx++)
    for (int dy = -2; dy <= 2; dy++)
      if (dx || dy) {
        EXPECT_EQ(GetPixel(p.dc, 30 + dx, 50 + dy), kWhite) << dx << "," << dy;
      }
}

TEST(PcbPainter, RoundedRectangleAndCapsuleHaveTheirCornerPoints) {
  // Scale 10, part at the centre (300, 300). cos 18 deg = 0.95106, sin
  // 18 deg = 0.30902.
  Screen screen;
  PcbPainter p(screen.dc, 0, 0, 10.0f, 600, 600);
  p.SetPlacement(0, 0, 0);
  std::vector<POINT> r = PathOf(p, [&] { p.DrawRoundedRectangle(-3, -2, 3, 2, 1); });
  ASSERT_EQ(r.size(), 24u) << Str(r);
  struct Corner {
    size_t i;
    POINT at;
  };
  const Corner corners[] = {
      {0, {270, 290}},   // top left from (-3, -1)
      {1, {270, 286}},   // (-2.951, -1.309)
      {5, {280, 280}},   // to (-2, -2)
      {6, {320, 280}},   // top right from (2, -2)
      {11, {330, 290}},  // to (3, -1)
      {12, {330, 310}},  // bottom right from (3, 1)
      {13, {329, 313}},  // (2.951, 1.309)
      {17, {320, 320}},  // to (2, 2)
      {18, {280, 320}},  // bottom left from (-2, 2)
      {23, {270, 310}},  // to (-3, 1)
  };
  for (const Corner& c : corners) {
    EXPECT_EQ(r[c.i].x, c.at.x) << c.i;
    EXPECT_EQ(r[c.i].y, c.at.y) << c.i;
  }

  // Lying capsule (-2, -1)-(2, 1): ends of radius 1 around (+-1, 0).
  std::vector<POINT> lying = PathOf(p, [&] { p.DrawCapsuleOutline(-2, -1, 2, 1); });
  ASSERT_EQ(lying.size(), 26u) << Str(lying);
  const Corner lyingPoints[] = {{0, {310, 310}},  {6, {320, 300}},  {12, {310, 290}},
                                {13, {290, 290}}, {19, {280, 300}}, {25, {290, 310}}};
  for (const Corner& c : lyingPoints) {
    EXPECT_EQ(lying[c.i].x, c.at.x) << c.i;
    EXPECT_EQ(lying[c.i].y, c.at.y) << c.i;
  }
  // Upright capsule (1, -2)-(-1, 2), corners in any order: ends around
  // (0, +-1).
  std::vector<POINT> upright = PathOf(p, [&] { p.DrawCapsuleOutline(1, -2, -1, 2); });
  ASSERT_EQ(upright.size(), 26u) << Str(upright);
  const Corner uprightPoints[] = {{0, {310, 310}},  {6, {300, 320}},  {12, {290, 310}},
                                  {13, {290, 290}}, {19, {300, 280}}, {25, {310, 290}}};
  for (const Corner& c : uprightPoints) {
    EXPECT_EQ(upright[c.i].x, c.at.x) << c.i;
    EXPECT_EQ(upright[c.i].y, c.at.y) << c.i;
  }
}

// The ink of everything not white in the bitmap.
struct Ink {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  double sumX = 0, sumY = 0;
  int count = 0;
  double CentreX() const { return (left + right) / 2.0; }
  double CentreY() const { return (top + bottom) / 2.0; }
  double MassX() const { return sumX / count; }
  double MassY() const { return sumY / count; }
};

Ink InkOf(PcbPainter& p) {
  Ink ink;
  for (int y = 0; y < p.height; y++)
    for (int x = 0; x < p.width; x++) {
      if (GetPixel(p.dc, x, y) == kWhite) continue;
      ink.left = x < ink.left ? x : ink.left;
      ink.right = x > ink.right ? x : ink.right;
      ink.top = y < ink.top ? y : ink.top;
      ink.bottom = y > ink.bottom ? y : ink.bottom;
      ink.sumX += x;
      ink.sumY += y;
      ink.count++;
    }
  return ink;
}

TEST(PcbPainter, TextTurnsWithThePlacementAndItsDirection) {
  // "MM" then dots: the ink is heaviest where the text begins. Height 5 mm at
  // scale 4 is 20 pixels; the point (1, -1) mm of a part at the centre.
  struct Case {
    int placement, direction;
    int dx, dy;  // where the text begins, seen from the point
  };
  const Case cases[] = {
      {0, 0, -1, 0},  // left to right
      {1, 0, 0, -1},  // top to bottom
      {2, 0, 1, 0},   // upside down, right to left
      {3, 0, 0, 1},   // bottom to top
      {0, 1, 0, -1},  // a direction adds to the placement
      {3, 2, 0, -1},  // (3 + 2) and 3 = 1
      {2, 3, 0, -1},
  };
  Screen screen;
  PcbPainter p(screen.dc, 0, 0, 4.0f, 200, 200);
  for (const Case& c : cases) {
    FillWhite(p);
    p.SetPlacement(0, 0, c.placement);
    POINT at = p.MapPoint(1, -1);
    p.DrawText(1, -1, 5.0f, L"MMM.......", c.direction);
    Ink ink = InkOf(p);
    ASSERT_GT(ink.count, 50) << c.placement << "/" << c.direction;
    int along = c.dx ? ink.right - ink.left : ink.bottom - ink.top;
    int across = c.dx ? ink.bottom - ink.top : ink.right - ink.left;
    EXPECT_GT(along, 2 * across) << c.placement << "/" << c.direction;
    EXPECT_LE(across, 22) << c.placement << "/" << c.direction;
    // Centred on the point, within what the glyphs leave blank in their cells.
    EXPECT_NEAR(ink.CentreX(), at.x, c.dx ? 3 : 6) << c.placement << "/" << c.direction;
    EXPECT_NEAR(ink.CentreY(), at.y, c.dy ? 3 : 6) << c.placement << "/" << c.direction;
    if (c.dx) {
      EXPECT_EQ(ink.MassX() < ink.CentreX(), c.dx < 0) << c.placement << "/" << c.direction;
    } else {
      EXPECT_EQ(ink.MassY() < ink.CentreY(), c.dy < 0) << c.placement << "/" << c.direction;
    }
  }
  // The painter's own font went away with the call.
  HGDIOBJ font = GetCurrentObject(p.dc, OBJ_FONT);
  EXPECT_EQ(font, GetStockObject(SYSTEM_FONT));
}

// One probe of a package drawing: a point of the part frame (mm) and the
// colour expected there.
struct Probe {
  float x, y;
  COLORREF color;
};

struct PackageCase {
  const char* name;
  void (PcbPainter::*draw)(int);
  int pins;
  float scale;
  int placement;
  std::vector<Probe> probes;
};

const COLORREF kPad = 0xFFE0CC;
const COLORREF kBody = 0x666666;

void DrawFlat14(PcbPainter* p, int) { p->DrawFlatPack14Package(); }

// Pixel of a part-frame point for a part at the centre (300, 300) of the
// test bitmap: placement 0 as it is, placement 1 turned a quarter clockwise.
POINT PixelOf(float x, float y, float s, int placement) {
  float px = placement == 1 ? -y * s : x * s;
  float py = placement == 1 ? x * s : y * s;
  return POINT{static_cast<LONG>(300 + px), static_cast<LONG>(300 + py)};
}

void CheckProbes(PcbPainter& p, const char* name, float scale, int placement,
                 const std::vector<Probe>& probes) {
  for (const Probe& q : probes) {
    POINT at = PixelOf(q.x, q.y, scale, placement);
    EXPECT_EQ(GetPixel(p.dc, at.x, at.y), q.color)
        << name << " at (" << q.x << ", " << q.y << ") mm = pixel " << at.x << "," << at.y;
  }
}

TEST(PcbPainter, PackagesHaveTheirPadsWhereTheSizesPutThem) {
  // Pad centres worked from each drawer's sizes; W marks a place that stays
  // blank (between pads, past the last pad, beyond the lead ends).
  const COLORREF W = kWhite;
  const std::vector<PackageCase> cases = {
      // Narrow SO-8: L = (3 x 1.27 + 1.57) / 2 = 2.69, rows at -1.905 + 1.27 i,
      // pads from 1.95 to 3.1 (centre 2.525), 0.4 high.
      {"narrow SO-8", &PcbPainter::DrawNarrowSoPackage, 8, 10, 0,
       {{-2.525f, -1.905f, kPad}, {-2.525f, 1.905f, kPad}, {2.525f, -0.635f, kPad}, {2.525f, 0.635f, kPad},
        {0, 0.5f, kBody}, {-2.525f, -1.27f, W}, {-2.525f, 2.8f, W}, {-3.3f, -1.905f, W}}},
      // An odd count: three pads a side, L = 2.055, rows at -1.27, 0, 1.27.
      {"narrow SO-7", &PcbPainter::DrawNarrowSoPackage, 7, 10, 0,
       {{-2.525f, -1.27f, kPad}, {-2.525f, 0, kPad}, {2.525f, 1.27f, kPad}, {2.525f, 2.54f, W},
        {-2.525f, -1.905f, W}}},
      // Wide SO-16: L = (7 x 1.27 + 1.57) / 2 = 5.23, rows from -4.445, pads
      // from 3.75 to 5.1 (centre 4.425).
      {"wide SO-16", &PcbPainter::DrawWideSoPackage, 16, 10, 0,
       {{-4.425f, -4.445f, kPad}, {4.425f, 4.445f, kPad}, {-4.425f, -0.635f, kPad}, {0, 0, kBody},
        {0, 5.5f, W}, {-5.3f, -4.445f, W}}},
      // SSOP-28: L = (13 x 0.65 + 1.75) / 2 = 5.1, rows at -4.225 + 0.65 i,
      // pads from 2.65 to 3.9 (centre 3.275), 0.3 high.
      {"SSOP-28", &PcbPainter::DrawSsopPackage, 28, 20, 0,
       {{-3.275f, -4.225f, kPad}, {3.275f, 4.225f, kPad}, {-3.275f, -3.9f, W}, {0, 0, kBody},
        {0, -5.3f, W}}},
      // DIP-8 turned a quarter: L = 3 x 1.27 + 0.889 = 4.699, rows at
      // -3.81 + 2.54 i, left pads from 3.5 to 3.986 (centre 3.743), right
      // ones to 3.96 (centre 3.73); notch arc through (0, -3.429).
      {"DIP-8", &PcbPainter::DrawDipPackage, 8, 10, 1,
       {{-3.743f, -3.81f, kPad}, {-3.743f, 3.81f, kPad}, {3.73f, 1.27f, kPad}, {3.73f, -3.81f, kPad},
        {0, 1, kBody}, {0, -3.429f, RGB(0, 0, 0)}, {-4.3f, -3.81f, W}, {-3.743f, -2.54f, W}}},
      // Wide DIP-40: L = 19 x 1.27 + 0.889 = 25.019, rows from -24.13, pads
      // from 6.75 to 7.62 (centre 7.185).
      {"wide DIP-40", &PcbPainter::DrawWideDipPackage, 40, 10, 0,
       {{-7.185f, -24.13f, kPad}, {7.185f, 24.13f, kPad}, {0, 0, kBody}, {0, -25.5f, W},
        {-7.185f, -22.86f, W}}},
      // QFP-32: S = 5.6, H = 3.5, T = 4.6; pads 0.4 wide centred at
      // -2.8 + 0.8 i, 4.05 from the centre.
      {"QFP-32", &PcbPainter::DrawQuadFlatPackage, 32, 10, 0,
       {{-4.05f, -2.8f, kPad}, {-2.8f, 4.05f, kPad}, {4.05f, 2.8f, kPad}, {2.8f, -4.05f, kPad},
        {0.5f, 0.5f, kBody}, {-4.05f, -2.4f, W}, {-4.05f, -4.05f, W}}},
      // Staggered 15 leads: A = (14 x 1.7 + 3.2) / 2 = 13.5; leads 0, 2, ..
      // 14 at -11.8 + 1.7 i, 0.9 wide, from 0 to 5.08; tab -4.55 to -2.95 with
      // its one-pixel lines at +-11.2 (pixel columns 188 and 412; the probe on
      // the right is nudged so that rounding cannot put it in column 411).
      {"staggered 15", &PcbPainter::DrawStaggeredLeadPackage, 15, 10, 0,
       {{-11.8f, 3, kPad}, {12.0f, 3, kPad}, {-8.4f, 4.5f, kPad}, {-10.1f, 3, W}, {0, -1.5f, kBody},
        {0, -3.75f, kPad}, {-11.2f, -3.75f, 0x993300}, {11.21f, -3.75f, 0x993300}, {0, -5, W}}},
      // Flat pack 14: leads at -3.75 + 1.25 i from 3.25 to 7; outer body to
      // +-5, inner ones to +-4.75 and +-3.5.
      {"flat pack 14", nullptr, 14, 20, 0,
       {{-6, -3.75f, 0x99FFFF}, {6, 3.75f, 0x99FFFF}, {-6, -3.125f, W}, {-4, -4.2f, 0x99FFFF},
        {0, -4.875f, 0xAACCBB}, {0, 0, 0x999999}, {-2.4f, 0, 0x999999}, {0, -5.3f, W}}},
  };
  Screen screen;
  PcbPainter p(screen.dc, 0, 0, 10.0f, 600, 600);
  for (const PackageCase& c : cases) {
    p.scale = c.scale;
    FillWhite(p);
    p.SetPlacement(0, 0, c.placement);
    HGDIOBJ pen = GetCurrentObject(p.dc, OBJ_PEN), brush = GetCurrentObject(p.dc, OBJ_BRUSH);
    if (c.draw) (p.*c.draw)(c.pins);
    else DrawFlat14(&p, c.pins);
    EXPECT_EQ(GetCurrentObject(p.dc, OBJ_PEN), pen) << c.name;
    EXPECT_EQ(GetCurrentObject(p.dc, OBJ_BRUSH), brush) << c.name;
    CheckProbes(p, c.name, c.scale, c.placement, c.probes);
  }
}

TEST(PcbPainter, DrawersWithoutPinsDrawNoPads) {
  Screen screen;
  PcbPainter p(screen.dc, 0, 0, 10.0f, 200, 200);
  void (PcbPainter::*drawers[])(int) = {
      &PcbPainter::DrawWideSoPackage, &PcbPainter::DrawSsopPackage,    &PcbPainter::DrawNarrowSoPackage,
      &PcbPainter::DrawDipPackage,    &PcbPainter::DrawWideDipPackage, &PcbPainter::DrawQuadFlatPackage,
  };
  for (auto draw : drawers) {
    for (int n : {0, 1, -3}) {
      FillWhite(p);
      p.SetPlacement(0, 0, n & 3);
      (p.*draw)(n);
      int pads = 0, body = 0;
      for (int y = 0; y < p.height; y++)
        for (int x = 0; x < p.width; x++) {
          COLORREF c = GetPixel(p.dc, x, y);
          pads += c == kPad;
          body += c == kBody || c == RGB(0, 0, 0);
        }
      EXPECT_EQ(pads, 0) << n;
      EXPECT_GT(body, 0) << n;
    }
  }
}

// A window that shows a painter's bitmap, for the screenshot.
PcbPainter* g_shown = nullptr;

LRESULT CALLBACK ShowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    if (g_shown) BitBlt(dc, 0, 0, g_shown->width, g_shown->height, g_shown->dc, 0, 0, SRCCOPY);
    EndPaint(w, &ps);
    return 0;
  }
  return DefWindowProcW(w, m, wp, lp);
}

std::wstring ScreenshotFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring exe(path, n);
  std::wstring bin = exe.substr(0, exe.find_last_of(L"\\/"));
  std::wstring folder = bin.substr(0, bin.find_last_of(L"\\/") + 1) + L"screenshots\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

TEST(PcbPainter, ScreenshotOfABoardWithSeveralFootprints) {
  Screen screen;
  PcbPainter p(screen.dc, 0, 0, 6.0f, 640, 480);
  ASSERT_TRUE(p.IsReady());
  FillWhite(p);
  // A 100 x 75 mm board with its four holes, drawn as the board view does.
  HPEN grey = CreatePen(PS_SOLID, 1, RGB(153, 153, 153));
  HBRUSH green = CreateSolidBrush(RGB(0, 102, 0));
  HGDIOBJ oldPen = SelectObject(p.dc, grey);
  HGDIOBJ oldBrush = SelectObject(p.dc, green);
  p.SetPlacement(0, 0, 0);
  p.DrawRectangle(-50, -37.5f, 50, 37.5f);
  SelectObject(p.dc, GetStockObject(WHITE_BRUSH));
  for (float sx : {-1.0f, 1.0f})
    for (float sy : {-1.0f, 1.0f}) p.DrawCircle(sx * (50 - 2.54f), sy * (37.5f - 2.54f), 1.5f);
  SelectObject(p.dc, oldPen);
  SelectObject(p.dc, oldBrush);
  DeleteObject(grey);
  DeleteObject(green);
  SetTextColor(p.dc, RGB(255, 255, 255));
  struct Placed {
    float x, y;
    int t;
    const wchar_t* name;
    void (*draw)(PcbPainter*);
  };
  const Placed parts[] = {
      {-34.29f, -19.05f, 0, L"DD1", [](PcbPainter* q) { q->DrawDipPackage(14); }},
      {-12.7f, -19.05f, 1, L"DD2", [](PcbPainter* q) { q->DrawNarrowSoPackage(14); }},
      {8.89f, -19.05f, 0, L"DA1", [](PcbPainter* q) { q->DrawWideSoPackage(16); }},
      {31.75f, -17.78f, 0, L"DD3", [](PcbPainter* q) { q->DrawQuadFlatPackage(32); }},
      {-33.02f, 19.05f, 2, L"DA2", [](PcbPainter* q) { q->DrawStaggeredLeadPackage(15); }},
      {-10.16f, 19.05f, 3, L"DD4", [](PcbPainter* q) { q->DrawSsopPackage(28); }},
      {3.81f, 19.05f, 0, L"DD5", [](PcbPainter* q) { q->DrawFlatPack14Package(); }},
      {30.48f, 21.59f, 1, L"DD6", [](PcbPainter* q) { q->DrawWideDipPackage(28); }},
  };
  for (const Placed& part : parts) {
    p.SetPlacement(part.x, part.y, part.t);
    part.draw(&p);
    p.DrawText(0, 0, 1.6f, part.name, 0);
  }

  WNDCLASSW wc = {};
  wc.lpfnWndProc = ShowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PcbPainterShot";
  RegisterClassW(&wc);
  g_shown = &p;
  HWND w = CreateWindowExW(WS_EX_TOPMOST, L"PcbPainterShot", L"", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                           nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(w, nullptr);
  UpdateWindow(w);
  velktest::FlushEvents();
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  std::wstring file = ScreenshotFolder() + L"pcb_painter.bmp";
  EXPECT_TRUE(velktest::SaveWindowBitmap(w, file));
  DestroyWindow(w);
  g_shown = nullptr;
  UnregisterClassW(L"PcbPainterShot", wc.hInstance);
  std::vector<uint8_t> saved = velktest::ReadWholeFile(file);
  EXPECT_EQ(saved.size(), 54u + 640u * 3u * 480u);
}

}  // namespace
