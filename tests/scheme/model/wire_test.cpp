// Wires, junctions and buses: geometry, attaching, splitting, merging and
// tidying.
#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "scheme/scheme_fixture.h"

using schtest::Path;
using schtest::Points;
using schtest::SchemeBuilder;
using schtest::Str;
using schtest::TestPart;

namespace {

std::vector<int> Coords(const SchWire* w) { return std::vector<int>(w->coords, w->coords + w->coordCount); }

bool SamePoints(const std::vector<POINT>& a, const std::vector<POINT>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); i++)
    if (a[i].x != b[i].x || a[i].y != b[i].y) return false;
  return true;
}

// The path of two wires that meet at a junction, end to end.
std::vector<POINT> Joined(const SchWire* first, const SchWire* second) {
  std::vector<POINT> a = Points(first), b = Points(second);
  a.insert(a.end(), b.begin(), b.end());
  return Path(a);
}

TEST(WireGeometry, NoCoordinatesMakeAnL) {
  SchemeBuilder b;
  SchWire* h = b.Between({0, 0}, {100, 50}, 2);
  ASSERT_EQ(3, h->GetPointCount());
  EXPECT_EQ("(0,0)(100,0)(100,50)", Str(Points(h)));
  EXPECT_EQ(1, h->GetEndDirection(1));  // arrives going down, leaves end 1 upwards
  SchWire* v = b.Between({0, 0}, {100, 50}, 3);
  EXPECT_EQ("(0,0)(0,50)(100,50)", Str(Points(v)));
  EXPECT_EQ(0, v->GetEndDirection(1));
  EXPECT_FALSE(h->Normalize());
  EXPECT_EQ(0, h->coordCount);
}

TEST(WireGeometry, CoordinatesAlternateAxes) {
  SchemeBuilder b;
  SchWire* w = b.Between({0, 0}, {200, 150}, 2, {50, 80, 120});
  EXPECT_EQ("(0,0)(50,0)(50,80)(120,80)(120,150)(200,150)", Str(Points(w)));
  EXPECT_EQ(0, w->GetEndDirection(1));
  SchWire* v = b.Between({0, 0}, {200, 150}, 1, {-40, 90});
  EXPECT_EQ("(0,0)(0,-40)(90,-40)(90,150)(200,150)", Str(Points(v)));
  EXPECT_EQ(0, v->GetEndDirection(1));
}

TEST(WireGeometry, ReverseTwiceRestoresAndRepointsEnds) {
  SchemeBuilder b;
  TestPart* a = b.Part(0, 1, 100, 50);
  TestPart* c = b.Part(1, 0, 400, 200);
  SchWire* w = b.Connect(a, 0, c, 0);
  std::vector<POINT> before = Points(w);
  std::vector<int> coords = Coords(w);
  int firstDir = w->firstDir;
  w->Reverse();
  std::vector<POINT> reversed = Points(w);
  std::reverse(reversed.begin(), reversed.end());
  EXPECT_TRUE(SamePoints(before, reversed)) << Str(Points(w));
  EXPECT_EQ(c, w->GetEndBlock(0));
  EXPECT_EQ(a, w->GetEndBlock(1));
  EXPECT_EQ(0, c->pins[0].wireEnd);
  EXPECT_EQ(1, a->pins[0].wireEnd);
  w->Reverse();
  EXPECT_TRUE(SamePoints(before, Points(w)));
  EXPECT_EQ(coords, Coords(w));
  EXPECT_EQ(firstDir, w->firstDir);
  EXPECT_EQ(0, a->pins[0].wireEnd);
}

// A part with one pin on each side: 0 left, 1 right, 2 top, 3 bottom.
TestPart* Cross(SchemeBuilder& b, int x, int y) { return b.Part(1, 1, x, y, 1, 1); }

TEST(WireAttach, PinEnd0TakesThePinSide) {
  SchemeBuilder b;
  TestPart* p = Cross(b, 100, 100);
  for (int pin = 0; pin < 4; pin++) {
    SchWire* w = b.Wire(pin == 0 ? 2 : 0);
    ASSERT_TRUE(w->AttachToPin(0, p, pin));
    EXPECT_EQ(p->pins[pin].side, w->firstDir);
    EXPECT_EQ(0, w->coordCount);
    EXPECT_EQ(w, p->pins[pin].wire);
    EXPECT_EQ(0, p->pins[pin].wireEnd);
    EXPECT_EQ(kSchWireEndPin, w->endKind[0]);
    EXPECT_EQ(pin, w->ends[0].index);
  }
}

TEST(WireAttach, PinEnd1Cases) {
  // End 0 sits on a junction at (0, 0); the wire leaves it going right and
  // turns at x 50, so it arrives at end 1 going right (leaving it leftwards).
  struct Case {
    int pin;           // of the cross part: 0 left, 1 right, 2 top, 3 bottom
    bool ok;
    std::vector<int> coords;  // after the call
  };
  // The part's body is 120 x 120 at (200, 0): top pin anchor (260, -7),
  // left (193, 60), right (326, 60), bottom (200+60, 126).
  const Case cases[] = {
      {2, true, {50, -17}},   // top side: one coordinate anchor.y - 10
      {3, true, {50, 136}},   // bottom side: anchor.y + 10
      {0, true, {50}},        // left side: already leaves leftwards
      {1, false, {50}},       // right side: opposite directions
  };
  for (const Case& c : cases) {
    SchemeBuilder b;
    TestPart* p = Cross(b, 200, 0);
    SchWire* w = b.Wire(2, {50});
    ASSERT_TRUE(w->AttachToJunction(0, b.Junction(0, 0)));
    SetFreeEndPoint(POINT{1000, 1000});
    EXPECT_EQ(c.ok, w->AttachToPin(1, p, c.pin)) << "pin " << c.pin;
    EXPECT_EQ(c.coords, Coords(w)) << "pin " << c.pin;
    POINT anchor = p->GetPinAnchor(c.pin);
    EXPECT_EQ(anchor.x, GetFreeEndPoint().x);  // set before the checks
    if (c.ok) {
      EXPECT_EQ(p->pins[c.pin].side, w->GetEndDirection(1)) << "leaves the pin straight";
      EXPECT_EQ(w, p->pins[c.pin].wire);
      EXPECT_EQ(1, p->pins[c.pin].wireEnd);
      POINT end = w->GetPoint(w->GetPointCount() - 1);
      EXPECT_EQ(anchor.x, end.x);
      EXPECT_EQ(anchor.y, end.y);
    } else {
      EXPECT_EQ(nullptr, p->pins[c.pin].wire);
      EXPECT_EQ(kSchWireEndFree, w->endKind[1]);
    }
  }
}

TEST(WireAttach, PinRefusals) {
  SchemeBuilder b;
  TestPart* a = Cross(b, 100, 100);
  TestPart* c = Cross(b, 400, 100);
  c->pins[0].kind = kSchPinHydraulic;
  SchWire* w = b.Wire(0);
  EXPECT_FALSE(w->AttachToPin(0, c, 0));  // kinds differ
  SchWire* h = b.Wire(0, {}, kSchPinHydraulic);
  EXPECT_TRUE(h->AttachToPin(0, c, 0));   // hydraulic joins hydraulic
  EXPECT_FALSE(w->AttachToPin(0, c, 0));  // pin taken
  EXPECT_FALSE(w->AttachToPin(0, a, 7));  // no such pin
  EXPECT_FALSE(w->AttachToPin(2, a, 0));  // no such end
  EXPECT_TRUE(w->AttachToPin(0, a, 1));
  EXPECT_FALSE(w->AttachToPin(0, a, 2));  // end already attached
  EXPECT_EQ(w, a->pins[1].wire);
  EXPECT_EQ(nullptr, a->pins[2].wire);
}

TEST(WireAttach, JunctionSlotIsTheLeavingDirection) {
  SchemeBuilder b;
  SchJunction* j = b.Junction(100, 100);
  SchWire* w = b.Wire(3);
  ASSERT_TRUE(w->AttachToJunction(0, j));
  EXPECT_EQ(w, j->wires[3]);
  EXPECT_EQ(0, j->wireEnds[3]);
  EXPECT_EQ(3, w->ends[0].index);

  // End 1 of a wire arriving from the left leaves the junction leftwards.
  SchWire* v = b.Wire(2, {50});
  ASSERT_TRUE(v->AttachToJunction(0, b.Junction(0, 0)));
  ASSERT_TRUE(v->AttachToJunction(1, j));
  EXPECT_EQ(v, j->wires[0]);
  EXPECT_EQ(1, j->wireEnds[0]);
  EXPECT_EQ(100, GetFreeEndPoint().x);

  // That slot is taken now: the end stays free.
  SchWire* u = b.Wire(2, {60});
  ASSERT_TRUE(u->AttachToJunction(0, b.Junction(0, 10)));
  EXPECT_FALSE(u->AttachToJunction(1, j));
  EXPECT_EQ(kSchWireEndFree, u->endKind[1]);
  EXPECT_EQ(nullptr, u->ends[1].target);
  EXPECT_EQ(v, j->wires[0]);
}

TEST(WireAttach, HydraulicWireJoinsOnlyPins) {
  SchemeBuilder b;
  SchWire* other = b.Between({0, 0}, {200, 100}, 2, {100});
  SchWire* h = b.Wire(1, {}, kSchPinHydraulic);
  SchBus* bus = b.Bus(2, {0, 0}, {100, 0}, 1);
  EXPECT_FALSE(h->AttachToJunction(0, b.Junction(50, 50)));
  EXPECT_FALSE(h->AttachToBus(0, bus, 0, 0));
  SetFreeEndPoint(POINT{100, -50});
  EXPECT_FALSE(h->AttachToWireCorner(0, other, 1));
  EXPECT_FALSE(h->AttachToWireSegment(0, other, 0, POINT{50, 0}));
  EXPECT_EQ(kSchWireEndFree, h->endKind[0]);
  EXPECT_EQ(2, b.scheme->WireCount());
}

TEST(BusGeometry, SlotPointsAcrossTheEnd) {
  SchemeBuilder b;
  SchBus* bus = b.Bus(3, {100, 50}, {300, 50}, 0);
  const POINT want[3] = {{84, 62}, {84, 50}, {84, 38}};
  for (int s = 0; s < 3; s++) {
    POINT p = bus->GetSlotPoint(0, s);
    EXPECT_EQ(want[s].x, p.x) << s;
    EXPECT_EQ(want[s].y, p.y) << s;
  }
  // End 1: the polyline's last leg is vertical (zero long here); end 1 is
  // not above the vertex before it, so the outward side is up.
  EXPECT_EQ(1, bus->GetEndSide(1));
  SchBus* two = b.Bus(2, {100, 50}, {300, 150}, 0);
  EXPECT_EQ(1, two->GetEndSide(1));
  POINT p = two->GetSlotPoint(1, 0);  // a = -6 across (direction 2)
  EXPECT_EQ(294, p.x);
  EXPECT_EQ(134, p.y);
  EXPECT_EQ(5, b.Bus(2, {0, 0}, {10, 10}, 2, {5, 5})->GetPointCount());
}

TEST(BusAttach, DirectionAndSlotChecks) {
  SchemeBuilder b;
  SchBus* bus = b.Bus(2, {100, 50}, {300, 50}, 0);
  SchWire* wrong = b.Wire(2);
  EXPECT_FALSE(wrong->AttachToBus(0, bus, 0, 0));  // leaves rightwards, bus side faces left
  SchWire* w = b.Wire(0);
  EXPECT_FALSE(w->AttachToBus(0, bus, 0, 2));  // no such slot
  EXPECT_FALSE(w->AttachToBus(0, bus, 2, 0));  // no such side
  ASSERT_TRUE(w->AttachToBus(0, bus, 0, 1));
  EXPECT_EQ(w, bus->wires[0][1]);
  EXPECT_EQ(0, bus->wireEnds[0][1]);
  EXPECT_EQ(bus, w->GetEndBus(0));
  EXPECT_EQ(1, w->ends[0].index);
  POINT end = w->GetEndPoint(0);
  POINT slot = bus->GetSlotPoint(0, 1);
  EXPECT_EQ(slot.x, end.x);
  EXPECT_EQ(slot.y, end.y);
  SchWire* again = b.Wire(0);
  EXPECT_FALSE(again->AttachToBus(0, bus, 0, 1));  // taken
  EXPECT_TRUE(again->AttachToBus(0, bus, 0, 0));
  // Side 1 faces up: a wire leaving upwards fits.
  SchWire* up = b.Wire(1);
  EXPECT_TRUE(up->AttachToBus(0, bus, 1, 0));
}

TEST(BusLifetime, DeletingABusDeletesItsWires) {
  SchemeBuilder b;
  TestPart* p = Cross(b, 0, 300);
  SchBus* bus = b.Bus(2, {100, 50}, {300, 50}, 1);
  SchWire* w = b.Wire(1);
  ASSERT_TRUE(w->AttachToBus(0, bus, 0, 0));
  ASSERT_TRUE(w->AttachToPin(1, p, 2));  // the part's top pin
  SchWire* free = b.Wire(1);
  ASSERT_TRUE(free->AttachToBus(0, bus, 0, 1));
  EXPECT_EQ(2, b.scheme->WireCount());
  delete bus;
  EXPECT_EQ(0, b.scheme->WireCount());
  EXPECT_EQ(0, b.scheme->BusCount());
  EXPECT_EQ(nullptr, p->pins[2].wire);
}

TEST(BusLifetime, DeletingAWireClearsItsSlot) {
  SchemeBuilder b;
  SchBus* bus = b.Bus(2, {100, 50}, {300, 50}, 1);
  SchWire* w = b.Wire(1);
  ASSERT_TRUE(w->AttachToBus(0, bus, 0, 0));
  delete w;
  EXPECT_EQ(nullptr, bus->wires[0][0]);
  ASSERT_TRUE(bus->SetSlotCount(4));
  EXPECT_EQ(nullptr, bus->wires[1][3]);
}

TEST(WireNormalize, Rules) {
  struct Case {
    const char* what;
    POINT e0, e1;
    int firstDir;
    std::vector<int> before, after;
    bool changed;
  };
  const Case cases[] = {
      {"zero zig after end 0", {0, 0}, {100, 100}, 2, {30, 0, 60}, {60}, true},
      {"zero zag before end 1", {0, 0}, {100, 100}, 2, {40, 60, 100, 80}, {40, 60}, true},
      {"last leg kept off end 1", {0, 0}, {100, 100}, 2, {97}, {94}, true},
      {"last leg kept off end 1, vertical start", {0, 0}, {100, 100}, 3, {40, 98}, {40, 94}, true},
      {"repeated values", {0, 0}, {200, 200}, 2, {50, 80, 50, 120}, {50, 120}, true},
      {"first leg kept off end 0", {0, 0}, {100, 100}, 2, {3, 50}, {6, 50}, true},
      {"first leg kept off end 0 leftwards", {100, 0}, {0, 100}, 0, {98, 50}, {94, 50}, true},
      {"tidy already", {0, 0}, {100, 100}, 2, {50, 60}, {50, 60}, false},
      {"no coordinates", {0, 0}, {100, 100}, 2, {}, {}, false},
  };
  for (const Case& c : cases) {
    SchemeBuilder b;
    SchWire* w = b.Wire(c.firstDir, c.before);
    ASSERT_TRUE(w->AttachToJunction(0, b.Junction(c.e0.x, c.e0.y))) << c.what;
    SetFreeEndPoint(c.e1);
    std::vector<POINT> path = Path(Points(w));
    EXPECT_EQ(c.changed, w->Normalize()) << c.what;
    EXPECT_EQ(c.after, Coords(w)) << c.what;
    if (c.changed && c.after.size() < c.before.size()) {
      EXPECT_EQ(Str(path), Str(Path(Points(w)))) << c.what << ": same path after dropping";
    }
    EXPECT_FALSE(w->Normalize()) << c.what << ": a second pass changes nothing";
  }
}

TEST(WireNormalize, BlockAndJunctionNormalizeTheirWires) {
  SchemeBuilder b;
  TestPart* a = b.Part(0, 1, 100, 50);
  TestPart* c = b.Part(1, 0, 400, 50);
  SchWire* w = b.Connect(a, 0, c, 0);
  EXPECT_FALSE(a->NormalizeWires());
  ASSERT_EQ(std::vector<int>{383}, Coords(w));
  c->MoveTo(393, 50);  // c's pin anchor is now 3 px right of the wire's corner
  EXPECT_TRUE(c->NormalizeWires());
  EXPECT_EQ(std::vector<int>{380}, Coords(w));
  SchJunction* j = b.Junction(0, 0);
  EXPECT_FALSE(j->NormalizeWires());
}

// Three parts: a on the left, c on the right joined by one wire, and d below
// whose top pin is joined to that wire.
struct TeeCircuit {
  SchemeBuilder b;
  TestPart* a;
  TestPart* c;
  TestPart* d;
  SchWire* main;
  TeeCircuit() {
    a = b.Part(0, 1, 100, 50);
    c = b.Part(1, 0, 500, 200);
    d = b.Part(0, 0, 250, 400, 1, 0);
    main = b.Connect(a, 0, c, 0);
  }
};

TEST(WireSplit, AtCornerMakesAJunctionAndMergesBack) {
  TeeCircuit t;
  std::vector<POINT> original = Path(Points(t.main));
  // main: (226,110) -> (483,110) -> (483,140) -> (493,140); corner 1 at (483,110).
  ASSERT_EQ(1, t.main->coordCount);
  POINT corner = t.main->GetPoint(1);
  // A wire from a part above and to the right of the corner comes down and
  // then left to it: it leaves its end 1 rightwards (direction 2).
  TestPart* e = t.b.Part(0, 0, 600, -300, 0, 1);
  SchWire* x = t.b.Wire(3);
  ASSERT_TRUE(x->AttachToPin(0, e, 0));
  SetFreeEndPoint(corner);
  ASSERT_EQ(2, x->GetEndDirection(1));
  // Leaving along either leg (left or down) is refused.
  for (int dir : {0, 3}) {
    SchWire* along = t.b.Wire(dir);
    EXPECT_FALSE(along->AttachToWireCorner(0, t.main, 1)) << dir;
    delete along;
  }
  EXPECT_EQ(0, t.b.scheme->JunctionCount());
  ASSERT_TRUE(x->AttachToWireCorner(1, t.main, 1));

  ASSERT_EQ(1, t.b.scheme->JunctionCount());
  SchJunction* j = t.b.scheme->junctions;
  EXPECT_EQ(corner.x, j->x);
  EXPECT_EQ(corner.y, j->y);
  SchWire* w = j->wires[3];  // the new wire leaves downwards
  ASSERT_NE(nullptr, w);
  EXPECT_EQ(t.main, j->wires[0]);
  EXPECT_EQ(1, j->wireEnds[0]);
  EXPECT_EQ(0, j->wireEnds[3]);
  EXPECT_EQ(x, j->wires[2]);
  EXPECT_EQ(1, j->wireEnds[2]);
  EXPECT_EQ(t.c, w->GetEndBlock(1));
  EXPECT_EQ(w, t.c->pins[0].wire);
  EXPECT_EQ(1, t.c->pins[0].wireEnd);
  EXPECT_EQ(t.main, t.a->pins[0].wire);
  EXPECT_EQ(Str(original), Str(Joined(t.main, w)));

  // Deleting the branch merges the two halves into one wire again.
  delete x;
  EXPECT_EQ(0, t.b.scheme->JunctionCount());
  ASSERT_EQ(1, t.b.scheme->WireCount());
  SchWire* merged = t.b.scheme->wires;
  EXPECT_EQ(t.a, merged->GetEndBlock(0));
  EXPECT_EQ(t.c, merged->GetEndBlock(1));
  EXPECT_EQ(merged, t.c->pins[0].wire);
  EXPECT_EQ(Str(original), Str(Path(Points(merged))));
}

TEST(WireSplit, AtCornerPastTheLastCoordinate) {
  SchemeBuilder b;
  SchWire* other = b.Between({0, 0}, {100, 100}, 2, {50});  // corners (50,0), (50,100)
  std::vector<POINT> original = Path(Points(other));
  SchWire* x = b.Wire(2);
  ASSERT_TRUE(x->AttachToJunction(0, b.Junction(0, 200)));
  SetFreeEndPoint(POINT{50, 100});  // x comes up to the corner: leaves its end 1 downwards
  ASSERT_EQ(3, x->GetEndDirection(1));
  ASSERT_TRUE(x->AttachToWireCorner(1, other, 2));
  SchJunction* j = x->GetEndJunction(1);
  ASSERT_NE(nullptr, j);
  SchWire* w = j->wires[2];
  ASSERT_NE(nullptr, w);
  EXPECT_EQ(std::vector<int>{75}, Coords(w));
  EXPECT_EQ(0, other->coordCount);
  EXPECT_EQ(other, j->wires[1]);
  EXPECT_EQ(Str(original), Str(Joined(other, w)));
}

TEST(WireSplit, OnSegmentMakesAJunctionAndMergesBack) {
  TeeCircuit t;
  std::vector<POINT> original = Path(Points(t.main));
  SchJunction* j = t.b.Tee(t.main, t.d, 0);
  ASSERT_NE(nullptr, j);
  EXPECT_EQ(1, t.b.scheme->JunctionCount());
  EXPECT_EQ(3, t.b.scheme->WireCount());
  // The longest segment runs right from a: the new half leaves rightwards,
  // the old half leftwards and the branch downwards.
  SchWire* w = j->wires[2];
  ASSERT_NE(nullptr, w);
  EXPECT_EQ(t.main, j->wires[0]);
  EXPECT_EQ(t.d->pins[0].wire, j->wires[3]);
  EXPECT_EQ(Str(original), Str(Joined(t.main, w)));
  EXPECT_EQ(w, t.c->pins[0].wire);

  delete j->wires[3];
  EXPECT_EQ(0, t.b.scheme->JunctionCount());
  ASSERT_EQ(1, t.b.scheme->WireCount());
  EXPECT_EQ(Str(original), Str(Path(Points(t.b.scheme->wires))));
  EXPECT_EQ(nullptr, t.d->pins[0].wire);
}

TEST(WireSplit, SegmentCasesKeepThePath) {
  // Every segment of a three-corner wire, split in its middle.
  for (int k = 0; k <= 4; k++) {
    SchemeBuilder b;
    SchWire* other = b.Between({0, 0}, {200, 150}, 2, {50, 80, 120});
    std::vector<POINT> original = Path(Points(other));
    POINT a = other->GetPoint(k), e = other->GetPoint(k + 1);
    POINT mid = {(a.x + e.x) / 2, (a.y + e.y) / 2};
    bool vertical = a.x == e.x;
    // Along the segment is refused.
    SchWire* along = b.Wire(vertical ? 1 : 0);
    EXPECT_FALSE(along->AttachToWireSegment(0, other, k, mid)) << k;
    // So is a point off the segment.
    SchWire* x = b.Wire(vertical ? 0 : 1);
    EXPECT_FALSE(x->AttachToWireSegment(0, other, k, POINT{mid.x + 1, mid.y + 1})) << k;
    ASSERT_TRUE(x->AttachToWireSegment(0, other, k, mid)) << k;
    SchJunction* j = x->GetEndJunction(0);
    ASSERT_NE(nullptr, j) << k;
    int ds = DirectionBetween(a, e);
    SchWire* w = j->wires[ds];
    ASSERT_NE(nullptr, w) << k;
    EXPECT_EQ(other, j->wires[ds ^ 2]) << k;
    EXPECT_EQ(Str(original), Str(Joined(other, w))) << k;
  }
}

TEST(JunctionRemove, ThreeLeftStaysTwoLeftMerge) {
  SchemeBuilder b;
  SchJunction* j = b.Junction(500, 500);
  TestPart* left = b.Part(0, 1, 200, 440);
  TestPart* up = b.Part(0, 0, 440, 200, 0, 1);
  TestPart* right = b.Part(1, 0, 700, 440);
  TestPart* down = b.Part(0, 0, 440, 700, 1, 0);
  SchWire* wl = b.FromJunction(j, 0, left, 0);
  SchWire* wu = b.FromJunction(j, 1, up, 0);
  SchWire* wr = b.FromJunction(j, 2, right, 0);
  b.FromJunction(j, 3, down, 0);
  // The path from the left part through the junction to the right part.
  std::vector<POINT> leftRight = Points(wl);
  std::reverse(leftRight.begin(), leftRight.end());
  for (const POINT& p : Points(wr)) leftRight.push_back(p);
  delete wu;
  EXPECT_EQ(1, b.scheme->JunctionCount());
  EXPECT_EQ(nullptr, j->wires[1]);
  EXPECT_EQ(nullptr, up->pins[0].wire);
  delete down->pins[0].wire;
  EXPECT_EQ(0, b.scheme->JunctionCount());
  ASSERT_EQ(1, b.scheme->WireCount());
  SchWire* merged = b.scheme->wires;
  // Slot 0's wire is kept, turned so that it runs from the left part.
  EXPECT_EQ(wl, merged);
  EXPECT_EQ(left, merged->GetEndBlock(0));
  EXPECT_EQ(right, merged->GetEndBlock(1));
  EXPECT_EQ(0, left->pins[0].wireEnd);
  EXPECT_EQ(1, right->pins[0].wireEnd);
  EXPECT_EQ(Str(Path(leftRight)), Str(Path(Points(merged))));
}

TEST(JunctionRemove, LoopWireIsNeverMergedWithItself) {
  SchemeBuilder b;
  SchJunction* j = b.Junction(500, 500);
  // Out to the left, round, and back into the junction from the right.
  SchWire* loop = b.Wire(0, {450, 400, 550});
  ASSERT_TRUE(loop->AttachToJunction(0, j));
  ASSERT_TRUE(loop->AttachToJunction(1, j));
  EXPECT_EQ(loop, j->wires[0]);
  EXPECT_EQ(loop, j->wires[2]);
  TestPart* down = b.Part(0, 0, 440, 700, 1, 0);
  SchWire* branch = b.FromJunction(j, 3, down, 0);
  delete branch;  // two slots left, one wire: the junction goes, nothing merges
  EXPECT_EQ(0, b.scheme->JunctionCount());
  ASSERT_EQ(1, b.scheme->WireCount());
  EXPECT_EQ(kSchWireEndFree, loop->endKind[0]);
  EXPECT_EQ(kSchWireEndFree, loop->endKind[1]);
  EXPECT_EQ((std::vector<int>{450, 400, 550}), Coords(loop));
}

TEST(JunctionRemove, LastWireFreesItsEnd) {
  SchemeBuilder b;
  SchJunction* j = b.Junction(500, 500);
  TestPart* left = b.Part(0, 1, 200, 440);
  TestPart* right = b.Part(1, 0, 700, 440);
  SchWire* wl = b.FromJunction(j, 0, left, 0);
  SchWire* wr = b.FromJunction(j, 2, right, 0);
  EXPECT_FALSE(j->RemoveWire(wl));  // one wire left: the junction goes
  EXPECT_EQ(0, b.scheme->JunctionCount());
  EXPECT_EQ(2, b.scheme->WireCount());
  EXPECT_EQ(kSchWireEndFree, wl->endKind[0]);
  EXPECT_EQ(kSchWireEndFree, wr->endKind[0]);
  EXPECT_EQ(kSchWireEndPin, wr->endKind[1]);
}

TEST(JunctionDelete, LeavesItsWiresFree) {
  SchemeBuilder b;
  SchJunction* j = b.Junction(500, 500);
  TestPart* left = b.Part(0, 1, 200, 440);
  TestPart* right = b.Part(1, 0, 700, 440);
  TestPart* down = b.Part(0, 0, 440, 700, 1, 0);
  SchWire* wl = b.FromJunction(j, 0, left, 0);
  SchWire* wr = b.FromJunction(j, 2, right, 0);
  SchWire* wd = b.FromJunction(j, 3, down, 0);
  delete j;
  EXPECT_EQ(3, b.scheme->WireCount());
  for (SchWire* w : {wl, wr, wd}) {
    EXPECT_EQ(kSchWireEndFree, w->endKind[0]);
    EXPECT_EQ(nullptr, w->ends[0].target);
    EXPECT_EQ(kSchWireEndPin, w->endKind[1]);
  }
}

}  // namespace
