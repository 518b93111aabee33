// Scheme pieces the scheme view tests build by hand: a component with four
// pins, junctions, wires between two new junctions and a bus of two slots.
#pragma once

#include <windows.h>

#include <vector>

#include <gtest/gtest.h>

#include "scheme/model/block.h"
#include "scheme/model/bus.h"
#include "scheme/model/junction.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"

namespace viewtest {

// A component with a given body and four electric pins numbered 1 to 4:
// pin 0 left at offset 20 (anchor (left - 7, top + 20)), pin 1 right at
// offset 30 (anchor (right + 6, top + 70) for a body 80 wide), pin 2 top at
// offset 10 (anchor (right - 10, top - 7)), pin 3 bottom at offset 10
// (anchor (left + 10, bottom + 6)).
class FourPinPart : public CSCHBlock {
public:
  FourPinPart(SchScheme* scheme, const char* name, const wchar_t* type, RECT body) {
    className = name;
    typeText = type;
    SetPinCount(4);
    const int sides[4] = {kSchSideLeft, kSchSideRight, kSchSideTop, kSchSideBottom};
    const int offsets[4] = {20, 30, 10, 10};
    for (int i = 0; i < 4; i++) {
      pins[i].side = sides[i];
      pins[i].offset = offsets[i];
      pins[i].number = i + 1;
    }
    Attach(scheme);
    rect = body;
  }
};

inline SchJunction* MakeJunction(SchScheme* s, int x, int y) {
  SchJunction* j = new SchJunction(s);
  j->x = x;
  j->y = y;
  return j;
}

// A wire between two new junctions at a and b: first direction and
// coordinates as given, then the kind (junctions join electric wires only,
// so other kinds are given afterwards).
inline SchWire* WireBetween(SchScheme* s, POINT a, POINT b, int firstDir, std::vector<int> coords,
                            int kind = 0) {
  SchWire* w = new SchWire(s);
  w->firstDir = static_cast<unsigned char>(firstDir);
  w->SetCoordinateCount(static_cast<int>(coords.size()));
  for (size_t i = 0; i < coords.size(); i++) w->coords[i] = coords[i];
  EXPECT_TRUE(w->AttachToJunction(0, MakeJunction(s, a.x, a.y)));
  EXPECT_TRUE(w->AttachToJunction(1, MakeJunction(s, b.x, b.y)));
  w->kind = static_cast<unsigned char>(kind);
  return w;
}

// A bus of 2 slots from (500, 400) to (600, 500), end 0 facing left, one
// coordinate 550: vertices (500,400) (550,400) (550,500) (600,500); slot
// points of end 0 (484, 406) and (484, 394).
inline SchBus* MakeTwoSlotBus(SchScheme* s) {
  SchBus* bus = new SchBus(s);
  bus->SetSlotCount(2);
  bus->x0 = 500;
  bus->y0 = 400;
  bus->x1 = 600;
  bus->y1 = 500;
  bus->endDir = 0;
  bus->SetCoordinateCount(1);
  bus->coords[0] = 550;
  return bus;
}

}  // namespace viewtest
