// The scheme view: hit testing over a fixture scheme, the scroll ranges of
// an empty and a filled scheme, and the pixels of a rendered scheme (wire
// pens by kind and selection, junction dots, pin numbers, inverted names,
// selection marks, buffered painting at the scroll position).
#include <windows.h>

#include <string>
#include <vector>

#include "app/app_fixture.h"
#include "app/views/scheme_view.h"
#include "app/views/view_fixture.h"
#include "kestui/forms/kest_form.h"
#include "scheme/model/block.h"
#include "scheme/model/bus.h"
#include "scheme/model/junction.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"
#include "support/memory_canvas.h"
#include "support/test_support.h"

namespace {

// A component with a known body and pins: body (100, 100, 180, 200); pin 0
// left at offset 20 (anchor (93, 120)), pin 1 right at offset 30 (anchor
// (186, 170)), pin 2 top at offset 10 (anchor (170, 93)), pin 3 bottom at
// offset 10 (anchor (110, 206)).
class ViewPart : public viewtest::FourPinPart {
public:
  explicit ViewPart(SchScheme* scheme, RECT body = RECT{100, 100, 180, 200})
      : FourPinPart(scheme, "ViewPart", nullptr, body) {}
  // A plain white body, so that the pixels around it are the view's own.
  void Paint(HDC) override {}
};

using viewtest::MakeJunction;
using viewtest::MakeTwoSlotBus;
using viewtest::WireBetween;

class SchemeViewTest : public apptest::WindowsTest {
protected:
  void SetUp() override {
    WindowsTest::SetUp();
    freeEnd_ = GetFreeEndPoint();
    host_ = new CKestForm;
    ASSERT_TRUE(host_->Create(nullptr, L"Вид схемы", KestPos(0, 0), 420, 320, nullptr, false, false, true, true));
    view_ = new CSchemeView(host_, KestPos(0, 0), 200, 150, &scheme_);
    ASSERT_NE(nullptr, view_->GetHandle());
  }
  void TearDown() override {
    ClearAll();
    WindowsTest::TearDown();
    // Attaching wires moves the program's free-end point.
    SetFreeEndPoint(freeEnd_);
  }
  POINT freeEnd_ = {0, 0};
  SchScheme scheme_;
  CKestForm* host_ = nullptr;
  CSchemeView* view_ = nullptr;
};

// The fixture of the hit test:
//   part P (see ViewPart); a wire W from P's pin 1 to a junction at (250, 170);
//   wire V from a junction at (300, 100) right to x 350, down to y 200, right
//   to a junction at (400, 200): vertices (300,100) (350,100) (350,200)
//   (400,200);
//   bus B of 2 slots from (500, 400) to (600, 500), end 0 facing left, one
//   coordinate 550: vertices (500,400) (550,400) (550,500) (600,500); slot
//   points end 0 (484, 406) and (484, 394); end 1 faces back along the bus
//   (left): (584, 506) and (584, 494);
//   a junction at (490, 402) beside slot 0 of end 0.
struct HitFixture {
  explicit HitFixture(SchScheme* s) {
    part = new ViewPart(s);
    wired = new SchWire(s);
    EXPECT_TRUE(wired->AttachToPin(0, part, 1));
    EXPECT_TRUE(wired->AttachToJunction(1, MakeJunction(s, 250, 170)));
    v = WireBetween(s, {300, 100}, {400, 200}, 2, {350});
    bus = MakeTwoSlotBus(s);
    beside = MakeJunction(s, 490, 402);
  }
  ViewPart* part;
  SchWire* wired;
  SchWire* v;
  SchBus* bus;
  SchJunction* beside;
};

void ExpectPoint(POINT expected, POINT actual) {
  EXPECT_EQ(expected.x, actual.x);
  EXPECT_EQ(expected.y, actual.y);
}

TEST_F(SchemeViewTest, FixtureGeometryIsAsDrawnByHand) {
  HitFixture f(&scheme_);
  const POINT vertices[] = {{300, 100}, {350, 100}, {350, 200}, {400, 200}};
  ASSERT_EQ(4, f.v->GetPointCount());
  for (int i = 0; i < 4; i++) ExpectPoint(vertices[i], f.v->GetPoint(i));
  const POINT busVertices[] = {{500, 400}, {550, 400}, {550, 500}, {600, 500}};
  ASSERT_EQ(4, f.bus->GetPointCount());
  for (int i = 0; i < 4; i++) ExpectPoint(busVertices[i], f.bus->GetPoint(i));
  const POINT slots[2][2] = {{{484, 406}, {484, 394}}, {{584, 506}, {584, 494}}};
  for (int e = 0; e < 2; e++)
    for (int k = 0; k < 2; k++) ExpectPoint(slots[e][k], f.bus->GetSlotPoint(e, k));
  POINT anchors[4] = {{93, 120}, {186, 170}, {170, 93}, {110, 206}};
  for (int i = 0; i < 4; i++) ExpectPoint(anchors[i], f.part->GetPinAnchor(i));
}

TEST_F(SchemeViewTest, HitTestTable) {
  HitFixture f(&scheme_);
  struct Case {
    const char* what;
    int x, y;
    bool blocksOnly;
    int kind, index, side;
    void* object;
  };
  const Case cases[] = {
      {"body", 140, 150, false, CSchemeView::kHitBlock, 0, 0, f.part},
      {"free left pin", 100, 113, false, CSchemeView::kHitPin, 0, kSchSideLeft, f.part},
      {"free top pin", 164, 87, false, CSchemeView::kHitPin, 2, kSchSideTop, f.part},
      {"free bottom pin", 116, 212, false, CSchemeView::kHitPin, 3, kSchSideBottom, f.part},
      {"wired pin, select mode", 181, 163, false, CSchemeView::kHitNothing, 0, 0, nullptr},
      {"wired pin, blocks only", 181, 163, true, CSchemeView::kHitPin, 1, kSchSideRight, f.part},
      {"pin reach is below 8", 101, 120, false, CSchemeView::kHitBlock, 0, 0, f.part},
      {"horizontal wire segment", 325, 103, false, CSchemeView::kHitWireSegment, 0, 0, f.v},
      {"vertical wire segment", 352, 150, false, CSchemeView::kHitWireSegment, 1, 1, f.v},
      {"segment span excludes its far end", 390, 196, false, CSchemeView::kHitWireSegment, 2, 0, f.v},
      {"corner left and below", 353, 103, false, CSchemeView::kHitWireCorner, 1, 1 | 8, f.v},
      {"corner above and right", 348, 197, false, CSchemeView::kHitWireCorner, 2, 2 | 4, f.v},
      {"junction", 303, 98, false, CSchemeView::kHitJunction, 0, 0, f.v->GetEndJunction(0)},
      {"junction box excludes its right edge", 305, 100, false, CSchemeView::kHitWireSegment, 0, 0, f.v},
      {"bus slot beats the junction beside it", 488, 402, false, CSchemeView::kHitBusSlot, 0, 0, f.bus},
      {"bus slot of end 1", 587, 491, false, CSchemeView::kHitBusSlot, 1, 1, f.bus},
      {"horizontal bus segment", 525, 402, false, CSchemeView::kHitBusSegment, 0, 0, f.bus},
      {"vertical bus segment", 552, 450, false, CSchemeView::kHitBusSegment, 1, 1, f.bus},
      {"junction beside the bus", 493, 399, false, CSchemeView::kHitJunction, 0, 0, f.beside},
      {"wire under blocks only", 352, 150, true, CSchemeView::kHitNothing, 0, 0, nullptr},
      {"nothing", 700, 700, false, CSchemeView::kHitNothing, 0, 0, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int side = -1, index = -1;
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(c.kind, view_->HitTest(c.x, c.y, &side, &index, &object, c.blocksOnly));
    EXPECT_EQ(c.index, index);
    EXPECT_EQ(c.side, side);
    EXPECT_EQ(c.object, object);
  }
  // Null outs are allowed.
  EXPECT_EQ(CSchemeView::kHitBlock, view_->HitTest(140, 150, nullptr, nullptr, nullptr, false));
}

TEST_F(SchemeViewTest, HitTestKeepsWhereASegmentWasMet) {
  HitFixture f(&scheme_);
  view_->HitTest(352, 150, nullptr, nullptr, nullptr, false);
  EXPECT_EQ(350, view_->segmentHit.x);
  EXPECT_EQ(150, view_->segmentHit.y);
  view_->HitTest(325, 103, nullptr, nullptr, nullptr, false);
  EXPECT_EQ(325, view_->segmentHit.x);
  EXPECT_EQ(100, view_->segmentHit.y);
}

TEST_F(SchemeViewTest, ObjectsBeingDrawnAreNotHit) {
  HitFixture f(&scheme_);
  view_->tool = CSchemeView::kToolWire;
  view_->state = 1;
  view_->object = f.v;
  EXPECT_EQ(CSchemeView::kHitNothing, view_->HitTest(352, 150, nullptr, nullptr, nullptr, false));
  EXPECT_EQ(CSchemeView::kHitNothing, view_->HitTest(353, 103, nullptr, nullptr, nullptr, false));
  view_->tool = CSchemeView::kToolBus;
  view_->object = f.bus;
  EXPECT_EQ(CSchemeView::kHitWireSegment, view_->HitTest(352, 150, nullptr, nullptr, nullptr, false));
  EXPECT_EQ(CSchemeView::kHitNothing, view_->HitTest(525, 402, nullptr, nullptr, nullptr, false));
  EXPECT_EQ(CSchemeView::kHitBusSlot, view_->HitTest(488, 402, nullptr, nullptr, nullptr, false));
  // Idle, the same objects are found again.
  view_->state = 0;
  EXPECT_EQ(CSchemeView::kHitBusSegment, view_->HitTest(525, 402, nullptr, nullptr, nullptr, false));
}

TEST_F(SchemeViewTest, NewestComponentIsFoundFirst) {
  ViewPart* older = new ViewPart(&scheme_);
  ViewPart* newer = new ViewPart(&scheme_, RECT{150, 150, 250, 250});
  void* object = nullptr;
  EXPECT_EQ(CSchemeView::kHitBlock, view_->HitTest(160, 160, nullptr, nullptr, &object, false));
  EXPECT_EQ(newer, object);
  EXPECT_EQ(CSchemeView::kHitBlock, view_->HitTest(120, 120, nullptr, nullptr, &object, false));
  EXPECT_EQ(older, object);
}

SCROLLINFO BarInfo(HWND window, int bar) {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(window, bar, &info);
  return info;
}

TEST_F(SchemeViewTest, EmptySchemeScrollsOverTheOriginWithItsMargin) {
  view_->SetScrollOrigin(30, 40);
  view_->UpdateScrollRange();
  RECT e = view_->ComputeExtent();
  EXPECT_EQ(-20, e.left);
  EXPECT_EQ(-20, e.top);
  EXPECT_EQ(30, e.right);
  EXPECT_EQ(30, e.bottom);
  RECT client;
  GetClientRect(view_->GetHandle(), &client);
  SCROLLINFO h = BarInfo(view_->GetHandle(), SB_HORZ);
  SCROLLINFO v = BarInfo(view_->GetHandle(), SB_VERT);
  EXPECT_EQ(-20, h.nMin);
  EXPECT_EQ(30, h.nMax);
  EXPECT_EQ(-20, v.nMin);
  EXPECT_EQ(30, v.nMax);
  // The page is the client size, which the system caps at the range.
  ASSERT_GT(client.right, 51);
  EXPECT_EQ(51u, h.nPage);
  EXPECT_EQ(51u, v.nPage);
  // The extent is smaller than the window: the view goes back to the origin.
  EXPECT_EQ(0, view_->GetScrollX());
  EXPECT_EQ(0, view_->GetScrollY());
  // The bars stay, disabled.
  EXPECT_TRUE(GetWindowLongW(view_->GetHandle(), GWL_STYLE) & WS_VSCROLL);
}

TEST_F(SchemeViewTest, FilledSchemeScrollRangeCoversEverything) {
  // Body (100, 100, 180, 200); a junction at (-50, 400) with its box
  // (-54, 396, -46, 404); a bus with vertices up to (600, 500) and an end-1
  // slot at (584, 506).
  new ViewPart(&scheme_);
  MakeJunction(&scheme_, -50, 400);
  ASSERT_NE(nullptr, MakeTwoSlotBus(&scheme_));  // end 0 faces left, as a new bus's does
  view_->SetScrollOrigin(view_->GetScrollX(), 50);
  view_->UpdateScrollRange();
  RECT e = view_->ComputeExtent();
  EXPECT_EQ(-74, e.left);
  EXPECT_EQ(-20, e.top);
  EXPECT_EQ(620, e.right);
  EXPECT_EQ(526, e.bottom);
  SCROLLINFO h = BarInfo(view_->GetHandle(), SB_HORZ);
  SCROLLINFO v = BarInfo(view_->GetHandle(), SB_VERT);
  RECT client;
  GetClientRect(view_->GetHandle(), &client);
  EXPECT_EQ(static_cast<UINT>(client.right), h.nPage);
  EXPECT_EQ(static_cast<UINT>(client.bottom), v.nPage);
  EXPECT_EQ(-74, h.nMin);
  EXPECT_EQ(620, h.nMax);
  EXPECT_EQ(-20, v.nMin);
  EXPECT_EQ(526, v.nMax);
  EXPECT_EQ(50, v.nPos);
  EXPECT_EQ(50, view_->GetScrollY());
}

TEST_F(SchemeViewTest, ScrollPositionStaysInsideAShrunkenScheme) {
  ViewPart* big = new ViewPart(&scheme_, RECT{0, 0, 2000, 2000});
  view_->UpdateScrollRange();
  view_->SetScrollOrigin(1500, 1500);
  view_->UpdateScrollRange();
  EXPECT_EQ(1500, view_->GetScrollX());
  big->rect = RECT{0, 0, 600, 500};
  view_->UpdateScrollRange();
  RECT client;
  GetClientRect(view_->GetHandle(), &client);
  // The last page: the extent's right edge (620) less the page, plus one.
  EXPECT_EQ(620 - client.right + 1, view_->GetScrollX());
  EXPECT_EQ(520 - client.bottom + 1, view_->GetScrollY());
}

TEST_F(SchemeViewTest, EdgeScrollingMovesTowardsTheEdge) {
  new ViewPart(&scheme_, RECT{0, 0, 2000, 2000});
  view_->UpdateScrollRange();
  RECT client;
  GetClientRect(view_->GetHandle(), &client);
  view_->AutoScrollAtEdge(client.right - 5, client.bottom - 5);
  EXPECT_GT(view_->GetScrollX(), 0);
  EXPECT_GT(view_->GetScrollY(), 0);
  int x = view_->GetScrollX(), y = view_->GetScrollY();
  view_->AutoScrollAtEdge(client.right / 2, client.bottom / 2);
  EXPECT_EQ(x, view_->GetScrollX());
  EXPECT_EQ(y, view_->GetScrollY());
  view_->AutoScrollAtEdge(5, 5);
  EXPECT_LT(view_->GetScrollX(), x);
  EXPECT_LT(view_->GetScrollY(), y);
  EXPECT_EQ(view_->GetScrollX(), BarInfo(view_->GetHandle(), SB_HORZ).nPos);
}

// ---------------------------------------------------------------- pixels

// A white 32-bit memory bitmap the view paints into.
class Canvas : public velktest::MemoryCanvas {
public:
  Canvas(int width, int height) : MemoryCanvas(width, height) {}
  HDC DC() const { return dc(); }
  bool IsDark(int x, int y) const {
    COLORREF c = At(x, y);
    return GetRValue(c) < 128 && GetGValue(c) < 128 && GetBValue(c) < 128;
  }
  // Pixels that are not white inside [x0, x1) x [y0, y1).
  int Inked(int x0, int y0, int x1, int y1) const {
    int n = 0;
    for (int y = y0; y < y1; y++)
      for (int x = x0; x < x1; x++)
        if (At(x, y) != RGB(255, 255, 255)) n++;
    return n;
  }
};

TEST_F(SchemeViewTest, WirePensByKindAndSelection) {
  // Horizontal wires between junctions, one per row.
  struct Row {
    int kind;
    bool selected;
    COLORREF color;
    int width;
  };
  const Row rows[] = {
      {kSchPinElectric, false, RGB(0, 0, 0), 1},
      {kSchPinElectric, true, RGB(102, 102, 255), 1},
      {kSchPinHydraulic, false, RGB(0, 204, 0), 6},
      {kSchPinHydraulic, true, RGB(102, 255, 102), 6},
      {kSchPinUsb, false, RGB(0, 0, 0), 4},
      {kSchPinEthernet, true, RGB(102, 102, 255), 4},
  };
  int y = 20;
  for (const Row& r : rows) {
    SchWire* w = WireBetween(&scheme_, {20, y}, {180, y}, 2, {}, r.kind);
    if (r.selected) w->flags |= kSchSelected;
    y += 30;
  }
  Canvas canvas(220, 220);
  view_->PaintScheme(canvas.DC(), true);
  y = 20;
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "kind " << r.kind << (r.selected ? " selected" : ""));
    EXPECT_EQ(r.color, canvas.At(100, y));
    // The pen's width across the line.
    int thick = 0;
    for (int dy = -6; dy <= 6; dy++)
      if (canvas.At(100, y + dy) == r.color) thick++;
    EXPECT_EQ(r.width, thick);
    y += 30;
  }
}

TEST_F(SchemeViewTest, JunctionDotsAndSelectionMarks) {
  SchJunction* plain = MakeJunction(&scheme_, 40, 40);
  SchJunction* chosen = MakeJunction(&scheme_, 100, 40);
  chosen->flags |= kSchSelected;
  ViewPart* part = new ViewPart(&scheme_, RECT{40, 100, 120, 160});
  part->SetPinCount(0);
  part->flags |= kSchSelected;
  (void)plain;
  Canvas canvas(220, 220);
  view_->PaintScheme(canvas.DC(), true);
  // The dot: Ellipse (x - 2, y - 2, x + 3, y + 3), filled black.
  EXPECT_EQ(RGB(0, 0, 0), canvas.At(40, 40));
  EXPECT_EQ(RGB(0, 0, 0), canvas.At(41, 41));
  EXPECT_EQ(RGB(255, 255, 255), canvas.At(44, 40));
  // The selected junction's mark from (95, 35) to (106, 46): dotted.
  int onTop = 0;
  for (int x = 95; x < 106; x++) onTop += canvas.IsDark(x, 35) ? 1 : 0;
  EXPECT_GE(onTop, 3);
  EXPECT_LE(onTop, 8);
  EXPECT_EQ(0, canvas.Inked(28, 28, 36, 36));  // no mark around the plain one
  // The component's mark: its body grown by 2, dotted.
  int onEdge = 0;
  for (int x = 38; x < 122; x++) onEdge += canvas.IsDark(x, 98) ? 1 : 0;
  EXPECT_GT(onEdge, 20);
  EXPECT_LT(onEdge, 70);
}

TEST_F(SchemeViewTest, PinStubsNumbersAndInvertedNames) {
  // Two parts side by side: the first numbers its left pin and names it
  // "~RST" (drawn "RST", overlined); the second has no number and the plain
  // name "RST".
  ViewPart* a = new ViewPart(&scheme_, RECT{60, 40, 140, 100});
  ViewPart* b = new ViewPart(&scheme_, RECT{60, 160, 140, 220});
  a->SetPinCount(1);
  b->SetPinCount(1);
  a->pins[0].side = b->pins[0].side = kSchSideLeft;
  a->pins[0].offset = b->pins[0].offset = 30;
  a->pins[0].number = 7;
  b->pins[0].number = -1;
  a->pins[0].name = L"~RST";
  b->pins[0].name = L"RST";
  Canvas canvas(220, 260);
  view_->PaintScheme(canvas.DC(), true);
  POINT pa = a->GetPinAnchor(0), pb = b->GetPinAnchor(0);
  ASSERT_EQ(53, pa.x);
  ASSERT_EQ(70, pa.y);
  // The stub: 7 pixels from the anchor towards the body.
  for (int x = 53; x < 60; x++) EXPECT_EQ(RGB(0, 0, 0), canvas.At(x, 70)) << x;
  // The number stands left of and above the anchor: text at
  // (x + 3 - w, y - h - 4), so inside (x - 12 .. x + 3, y - 16 .. y - 4).
  EXPECT_GT(canvas.Inked(pa.x - 12, pa.y - 16, pa.x + 3, pa.y - 4), 0);
  EXPECT_EQ(0, canvas.Inked(pb.x - 12, pb.y - 16, pb.x + 3, pb.y - 4));
  // The names: at (x + 9, y - h / 2) with the "Arial" -10 extent.
  HDC measure = CreateCompatibleDC(canvas.DC());
  HFONT font = CreateFontW(-10, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial");
  HGDIOBJ old = SelectObject(measure, font);
  SIZE extent;
  GetTextExtentPoint32W(measure, L"RST", 3, &extent);
  SelectObject(measure, old);
  DeleteObject(font);
  DeleteDC(measure);
  int tx = pa.x + 9, tyA = pa.y - extent.cy / 2, tyB = pb.y - extent.cy / 2;
  EXPECT_GT(canvas.Inked(tx, tyA, tx + extent.cx, tyA + extent.cy), 0);
  EXPECT_GT(canvas.Inked(tx, tyB, tx + extent.cx, tyB + extent.cy), 0);
  // The overline one pixel above the text, along its whole width.
  int line = 0;
  for (int x = tx; x < tx + extent.cx; x++) line += canvas.IsDark(x, tyA - 1) ? 1 : 0;
  EXPECT_GE(line, extent.cx - 1);
  int none = 0;
  for (int x = tx; x < tx + extent.cx; x++) none += canvas.IsDark(x, tyB - 1) ? 1 : 0;
  EXPECT_EQ(0, none);
  // The same text either way: "~" itself is not drawn.
  EXPECT_EQ(canvas.Inked(tx, tyA, tx + extent.cx, tyA + extent.cy),
            canvas.Inked(tx, tyB, tx + extent.cx, tyB + extent.cy));
}

// A part that writes its caption with whatever font the view gives it.
class CaptionPart : public viewtest::FourPinPart {
public:
  CaptionPart(SchScheme* scheme, RECT body) : FourPinPart(scheme, "CaptionPart", nullptr, body) { SetPinCount(0); }
  void Paint(HDC dc) override { TextOutW(dc, rect.left + 10, rect.top + 10, L"Пульт", 5); }
};

// The box around the dark pixels inside [x0, x1) x [y0, y1); empty when none.
RECT InkBox(const Canvas& canvas, int x0, int y0, int x1, int y1) {
  RECT box = {x1, y1, x0, y0};
  for (int y = y0; y < y1; y++)
    for (int x = x0; x < x1; x++) {
      if (!canvas.IsDark(x, y)) continue;
      if (x < box.left) box.left = x;
      if (y < box.top) box.top = y;
      if (x + 1 > box.right) box.right = x + 1;
      if (y + 1 > box.bottom) box.bottom = y + 1;
    }
  return box;
}

TEST_F(SchemeViewTest, APartPaintedAfterADownwardPinNameWritesUpright) {
  // A view large enough to show both parts.
  ASSERT_TRUE(SetWindowPos(view_->GetHandle(), nullptr, 0, 0, 300, 280, SWP_NOZORDER | SWP_NOMOVE));
  // The caption alone, as the reference.
  SchScheme alone;
  new CaptionPart(&alone, RECT{20, 140, 160, 200});
  view_->SetScheme(&alone);
  Canvas reference(220, 220);
  ASSERT_EQ(0, view_->GetScrollX());
  ASSERT_EQ(0, view_->GetScrollY());
  view_->PaintBuffered(reference.DC());
  RECT upright = InkBox(reference, 20, 140, 160, 200);
  ASSERT_LT(upright.left, upright.right);
  // "Пульт" in a horizontal font is much wider than high.
  EXPECT_GT(upright.right - upright.left, 2 * (upright.bottom - upright.top));

  // The same part painted after one whose top and bottom pins have names
  // (drawn downwards), on screen: the caption is the same.
  view_->SetScheme(&scheme_);
  ViewPart* before = new ViewPart(&scheme_, RECT{20, 30, 100, 120});
  before->SetPinCount(2);
  before->pins[0].side = kSchSideTop;
  before->pins[1].side = kSchSideBottom;
  before->pins[0].offset = before->pins[1].offset = 40;
  before->pins[0].name = L"VCC";
  before->pins[1].name = L"GND";
  new CaptionPart(&scheme_, RECT{20, 140, 160, 200});
  ASSERT_EQ(before, scheme_.blocks->next);  // the older one is painted first
  Canvas screen(220, 220);
  view_->PaintBuffered(screen.DC());
  RECT after = InkBox(screen, 20, 140, 160, 200);
  EXPECT_EQ(upright.left, after.left);
  EXPECT_EQ(upright.top, after.top);
  EXPECT_EQ(upright.right, after.right);
  EXPECT_EQ(upright.bottom, after.bottom);
  for (int y = 140; y < 200; y++)
    for (int x = 20; x < 160; x++) ASSERT_EQ(reference.At(x, y), screen.At(x, y)) << x << ", " << y;
  // The pin names themselves still read downwards: taller than wide.
  RECT vcc = InkBox(screen, 40, 30, 80, 70);
  EXPECT_GT(vcc.bottom - vcc.top, vcc.right - vcc.left);
  screen.Save(L"scheme_view_upright_caption_after_top_pins.bmp");
}

TEST_F(SchemeViewTest, BusesDrawStubsNumbersAndEndBars) {
  // A selected bus of 3 slots from (60, 100) to (160, 100), end 0 facing
  // left: slot points of end 0 at (44, 112), (44, 100), (44, 88).
  SchBus* bus = new SchBus(&scheme_);
  bus->SetSlotCount(3);
  bus->x0 = 60;
  bus->y0 = 100;
  bus->x1 = 160;
  bus->y1 = 100;
  bus->endDir = 0;
  bus->flags |= kSchSelected;
  ASSERT_EQ(44, bus->GetSlotPoint(0, 0).x);
  ASSERT_EQ(112, bus->GetSlotPoint(0, 0).y);
  Canvas canvas(220, 220);
  view_->PaintScheme(canvas.DC(), true);
  // The line in the selection colour.
  EXPECT_EQ(RGB(102, 102, 255), canvas.At(110, 100));
  // Stubs: from each slot point 16 pixels towards the bus, in black.
  for (int x = 46; x < 58; x++) EXPECT_EQ(RGB(0, 0, 0), canvas.At(x, 88)) << x;
  // The end bar across the bus: half length (12 x 3 - 12) / 2 = 12.
  EXPECT_EQ(RGB(102, 102, 255), canvas.At(60, 90));
  EXPECT_EQ(RGB(102, 102, 255), canvas.At(60, 110));
  // Slot numbers right of the slot points (p.x + 6, p.y - h - 2).
  EXPECT_GT(canvas.Inked(50, 76, 60, 86), 0);
}

TEST_F(SchemeViewTest, BufferedPaintShowsTheSchemeAtTheScrollPosition) {
  WireBetween(&scheme_, {100, 120}, {300, 120}, 2, {});
  new ViewPart(&scheme_, RECT{0, 0, 600, 600});
  view_->UpdateScrollRange();
  view_->SetScrollOrigin(50, 100);
  RECT client;
  GetClientRect(view_->GetHandle(), &client);
  Canvas canvas(client.right, client.bottom);
  FillRect(canvas.DC(), &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  view_->PaintBuffered(canvas.DC());
  // The wire at scheme y 120 is at client y 20; the background is white.
  EXPECT_EQ(RGB(0, 0, 0), canvas.At(100, 20));
  EXPECT_EQ(RGB(255, 255, 255), canvas.At(100, 40));
  EXPECT_EQ(RGB(255, 255, 255), canvas.At(client.right - 1, client.bottom - 1));
}

TEST_F(SchemeViewTest, EmptyAndDetachedViewsPaintWhite) {
  Canvas canvas(100, 100);
  view_->SetScheme(nullptr);
  view_->PaintScheme(canvas.DC(), true);
  EXPECT_EQ(0, canvas.Inked(0, 0, 100, 100));
  EXPECT_EQ(CSchemeView::kHitNothing, view_->HitTest(0, 0, nullptr, nullptr, nullptr, false));
  EXPECT_FALSE(view_->HasSelection(true));
}

TEST_F(SchemeViewTest, PopupMenuItems) {
  CKestMenu* menu = view_->GetMenu();
  ASSERT_NE(nullptr, menu);
  HMENU h = menu->GetHandle();
  ASSERT_EQ(4, GetMenuItemCount(h));
  const wchar_t* texts[] = {L"Свойства", nullptr, L"Удалить\tDel", L"Выделить все\tCtrl+A"};
  const int ids[] = {3001, 0, 771, 2137};
  for (int i = 0; i < 4; i++) {
    if (!texts[i]) {
      EXPECT_TRUE(GetMenuState(h, i, MF_BYPOSITION) & MF_SEPARATOR);
      continue;
    }
    wchar_t text[64] = {};
    GetMenuStringW(h, i, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(texts[i], text);
    EXPECT_EQ(static_cast<UINT>(ids[i]), GetMenuItemID(h, i));
  }
  EXPECT_EQ(0u, GetMenuDefaultItem(h, TRUE, 0));
  EXPECT_EQ(771, menu->FindShortcut(VK_DELETE, 0));
  EXPECT_EQ(2137, menu->FindShortcut('A', KEST_MOD_CTRL));
  LONG style = GetWindowLongW(view_->GetHandle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_TABSTOP);
  EXPECT_TRUE(style & WS_VISIBLE);
}

TEST_F(SchemeViewTest, SelectionQueriesAndDeletion) {
  ViewPart* keep = new ViewPart(&scheme_);
  ViewPart* board = new ViewPart(&scheme_, RECT{300, 300, 380, 400});
  board->flags |= kSchBoardPart;
  SchWire* w = WireBetween(&scheme_, {500, 100}, {600, 100}, 2, {});
  EXPECT_FALSE(view_->HasSelection(true));
  board->flags |= kSchSelected;
  EXPECT_TRUE(view_->HasSelection(true));
  EXPECT_FALSE(view_->HasSelection(false));
  view_->SelectAll(true);
  EXPECT_TRUE(keep->flags & kSchSelected);
  EXPECT_TRUE(w->flags & kSchSelected);
  view_->DeleteSelection();
  // The board part stays; the other component and the wire go.
  EXPECT_EQ(1, scheme_.BlockCount());
  EXPECT_EQ(board, scheme_.blocks);
  EXPECT_EQ(0, scheme_.WireCount());
  view_->SelectAll(false);
  EXPECT_FALSE(view_->HasSelection(true));
}

}  // namespace
