// Small circuits for the scheme tests: a test component with pins on its
// sides, and a builder that places parts and draws wires, junctions and buses
// in a line or two each.
//
//   SchemeBuilder b;
//   TestPart* r = b.Part(1, 1);             // U1: pin 0 left, pin 1 right
//   TestPart* c = b.Part(1, 1, 300, 50);     // U2 at (300, 50)
//   SchWire* w = b.Connect(r, 1, c, 0);      // r's right pin to c's left pin
//   SchJunction* j = b.Tee(w, b.Part(0, 0, 0, 1), 0);  // a third pin joined to w
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "scheme/model/block.h"
#include "scheme/model/bus.h"
#include "scheme/model/junction.h"
#include "scheme/model/live_counts.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"

namespace schtest {

// A component whose pins are numbered left side first, then right, top and
// bottom, sized by FitToPins. Records its simulation calls.
class TestPart : public CSCHBlock {
public:
  TestPart(int left, int right, int top = 0, int bottom = 0, const wchar_t* prefix = L"U") {
    namePrefix = prefix;
    className = "TestPart";
    int sides[4] = {left, top, right, bottom};
    SetPinCount(left + right + top + bottom);
    int i = 0;
    for (int side : {kSchSideLeft, kSchSideRight, kSchSideTop, kSchSideBottom}) {
      for (int k = 0; k < sides[side]; k++, i++) {
        pins[i].side = side;
        pins[i].number = i + 1;
      }
    }
    FitToPins();
  }
  void Start() override { Note(L"start"); }
  void Step(float) override { Note(L"step"); }
  void Stop() override { Note(L"stop"); }

  // Shared by the parts of one test: "stop U1" and so on, in call order.
  std::vector<std::wstring>* events = nullptr;
  // Scheme block count seen by the last call.
  int blocksSeen = -1;

private:
  void Note(const wchar_t* what) {
    blocksSeen = scheme ? scheme->BlockCount() : -1;
    if (events) events->push_back(std::wstring(what) + L" " + (instanceName ? instanceName : L"?"));
  }
};

// The vertices of a wire, for comparing geometry.
inline std::vector<POINT> Points(const SchWire* w) {
  std::vector<POINT> v;
  for (int i = 0; i < w->GetPointCount(); i++) v.push_back(w->GetPoint(i));
  return v;
}

// The corners a polyline actually passes through: repeated and collinear
// points dropped, so two routings of the same path compare equal.
inline std::vector<POINT> Path(std::vector<POINT> v) {
  std::vector<POINT> out;
  for (const POINT& p : v) {
    if (!out.empty() && out.back().x == p.x && out.back().y == p.y) continue;
    if (out.size() >= 2) {
      const POINT& a = out[out.size() - 2];
      const POINT& b = out.back();
      if ((a.x == b.x && b.x == p.x) || (a.y == b.y && b.y == p.y)) out.pop_back();
    }
    out.push_back(p);
  }
  return out;
}

inline std::string Str(const std::vector<POINT>& v) {
  std::string s;
  for (const POINT& p : v) s += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
  return s;
}

class SchemeBuilder {
public:
  SchemeBuilder() : scheme(new SchScheme), savedFreeEnd_(GetFreeEndPoint()) {}
  // Tests move the free wire end as the editor does; it goes back with the scheme.
  ~SchemeBuilder() {
    delete scheme;
    SetFreeEndPoint(savedFreeEnd_);
  }
  SchemeBuilder(const SchemeBuilder&) = delete;
  SchemeBuilder& operator=(const SchemeBuilder&) = delete;

  // A part attached to the scheme (named by its prefix), then moved to (x, y)
  // unless x is negative.
  TestPart* Part(int left, int right, int x = -1, int y = 0, int top = 0, int bottom = 0,
                 const wchar_t* prefix = L"U") {
    TestPart* p = new TestPart(left, right, top, bottom, prefix);
    p->events = &events;
    p->Attach(scheme);
    if (x >= 0) p->MoveTo(x, y);
    return p;
  }

  // A free wire of the scheme with the given first direction and coordinates.
  SchWire* Wire(int firstDir, std::vector<int> coords = {}, int kind = kSchPinElectric) {
    SchWire* w = new SchWire(scheme);
    w->firstDir = static_cast<unsigned char>(firstDir);
    w->kind = static_cast<unsigned char>(kind);
    w->SetCoordinateCount(static_cast<int>(coords.size()));
    for (size_t i = 0; i < coords.size(); i++) w->coords[i] = coords[i];
    return w;
  }

  // A wire from pin pa of a to pin pb of b; fails the test when refused.
  SchWire* Connect(CSCHBlock* a, int pa, CSCHBlock* b, int pb) {
    SchWire* w = Wire(0, {}, a->pins[pa].kind);
    EXPECT_TRUE(w->AttachToPin(0, a, pa));
    EXPECT_TRUE(w->AttachToPin(1, b, pb));
    return w;
  }

  SchJunction* Junction(int x, int y) {
    SchJunction* j = new SchJunction(scheme);
    j->x = x;
    j->y = y;
    return j;
  }

  // Joins pin p of part to the middle of wire w's longest segment through a
  // new wire and junction (AttachToWireSegment); answers the junction.
  SchJunction* Tee(SchWire* w, CSCHBlock* part, int p) {
    int best = -1, bestLength = 0;
    for (int k = 0; k + 1 < w->GetPointCount(); k++) {
      POINT a = w->GetPoint(k), b = w->GetPoint(k + 1);
      int length = abs(a.x - b.x) + abs(a.y - b.y);
      if (length > bestLength) best = k, bestLength = length;
    }
    if (best < 0) {
      ADD_FAILURE() << "no segment on " << Str(Points(w));
      return nullptr;
    }
    POINT a = w->GetPoint(best), b = w->GetPoint(best + 1);
    POINT mid = {(a.x + b.x) / 2, (a.y + b.y) / 2};
    SchWire* t = Wire(0);
    EXPECT_TRUE(t->AttachToPin(0, part, p));
    // Route so that the last leg meets the segment across it.
    bool needLastVertical = a.y == b.y;
    int fd = t->firstDir & 1;
    int count = needLastVertical ? fd : 1 - fd;
    t->SetCoordinateCount(count);
    POINT anchor = part->GetPinAnchor(p);
    if (count) t->coords[0] = fd ? (anchor.y + mid.y) / 2 : (anchor.x + mid.x) / 2;
    SetFreeEndPoint(mid);
    bool ok = t->AttachToWireSegment(1, w, best, mid);
    EXPECT_TRUE(ok) << Str(Points(t)) << " onto " << Str(Points(w));
    return ok ? t->GetEndJunction(1) : nullptr;
  }

  // A wire leaving junction j in direction slot (its end 0 in that slot) to
  // pin p of part.
  SchWire* FromJunction(SchJunction* j, int slot, CSCHBlock* part, int p) {
    SchWire* w = Wire(slot);
    EXPECT_TRUE(w->AttachToJunction(0, j));
    EXPECT_TRUE(w->AttachToPin(1, part, p)) << Str(Points(w));
    return w;
  }

  // A wire from junction a (leaving in direction firstDir) to junction b,
  // with the given coordinates: a wire with both end points where wanted.
  SchWire* Between(POINT a, POINT b, int firstDir, std::vector<int> coords = {}) {
    SchWire* w = Wire(firstDir, coords);
    EXPECT_TRUE(w->AttachToJunction(0, Junction(a.x, a.y)));
    EXPECT_TRUE(w->AttachToJunction(1, Junction(b.x, b.y)));
    return w;
  }

  // A bus with its ends and outward direction at end 0.
  SchBus* Bus(int slots, POINT e0, POINT e1, int endDir, std::vector<int> coords = {}) {
    SchBus* b = new SchBus(scheme);
    b->SetSlotCount(slots);
    b->x0 = e0.x;
    b->y0 = e0.y;
    b->x1 = e1.x;
    b->y1 = e1.y;
    b->endDir = static_cast<unsigned char>(endDir);
    b->SetCoordinateCount(static_cast<int>(coords.size()));
    for (size_t i = 0; i < coords.size(); i++) b->coords[i] = coords[i];
    return b;
  }

  SchScheme* scheme;
  std::vector<std::wstring> events;

private:
  POINT savedFreeEnd_;
};

}  // namespace schtest

// Live object counts compare as a whole (global, beside the struct).
inline bool operator==(const SchLiveCounts& a, const SchLiveCounts& b) {
  return a.schemes == b.schemes && a.blocks == b.blocks && a.pins == b.pins &&
         a.texts == b.texts && a.wires == b.wires && a.junctions == b.junctions &&
         a.buses == b.buses;
}
inline std::ostream& operator<<(std::ostream& os, const SchLiveCounts& c) {
  return os << "schemes " << c.schemes << " blocks " << c.blocks << " pins " << c.pins
            << " texts " << c.texts << " wires " << c.wires << " junctions " << c.junctions
            << " buses " << c.buses;
}

