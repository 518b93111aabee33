#include "units/avr/avr_circuit.h"

#include <initializer_list>
#include <vector>

#include "components/electronic/connectors/pls_connector.h"
#include "components/electronic/discrete/capacitor.h"
#include "components/electronic/discrete/quartz.h"
#include "components/electronic/usb/circuit_parts.h"
#include "scheme/model/junction.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"
#include "units/avr/avr.h"

namespace {

const unsigned char kGroundFlags = 0x0C;

// Package rows: crystal pins, ground pins (1-based, 0 ends the list), how
// far below the chip the grounds stand.
struct PackageRow {
  int pinCount;
  int x1, x2;
  int grounds[4];
  int below;
};
const PackageRow kPackages[] = {
    {28, 9, 10, {8, 22, 0, 0}, 30},  {32, 7, 8, {21, 0, 0, 0}, 50},   {40, 12, 13, {11, 31, 0, 0}, 30},
    {44, 7, 8, {6, 18, 28, 39}, 50}, {64, 23, 24, {22, 53, 63, 0}, 30},
};
// The 32-pin package's grounds 3 and 5 share one symbol through a junction.
const int kShared32[2] = {3, 5};

// A programming header: its chip pins by header pin (1-based; 0 is the
// ground, -1 the ground joined to the wire of pin 53), board offsets,
// orientation, row direction, and the chip pin beside which its symbol
// stands with the gap to it.
struct HeaderRow {
  int pinCount;
  int programmer;
  int pins[6];
  float dx, dy;
  int orientation;
  int side;
  int besidePin;
  int gap;
};
const HeaderRow kHeaders[] = {
    {28, 0, {0, 1, 19, 18, 17}, 7.62f, 6.35f, 0, 2, 21, 50},
    {32, 0, {0, 29, 17, 16, 15}, 0, 12.7f, 1, 2, 17, 50},
    {40, 0, {0, 9, 8, 7, 6}, -12.7f, -6.35f, 0, 0, 6, 50},
    {44, 0, {0, 4, 3, 2, 1}, 0, -15.24f, 3, 0, 1, 50},
    {64, 0, {12, 13, 11, 20, 0}, -15.24f, 0, 0, 0, 11, 50},
    {40, 1, {0, 9, 27, 26, 25, 24}, 12.7f, 10.16f, 0, 2, 29, 80},
    {44, 1, {0, 4, 24, 23, 22, 21}, 0, 12.7f, 1, 2, 22, 50},
    {64, 1, {57, 56, 55, 54, 20, -1}, 0, -15.24f, 3, 1, 57, 50},
};
const int kJtagJoinPin = 53;
const int kJtagJoinAbove = 18;

const PackageRow* PackageOf(int pinCount) {
  for (const PackageRow& row : kPackages)
    if (row.pinCount == pinCount) return &row;
  return nullptr;
}

const HeaderRow* HeaderOf(int pinCount, int programmer) {
  for (const HeaderRow& row : kHeaders)
    if (row.pinCount == pinCount && row.programmer == programmer) return &row;
  return nullptr;
}

// A wire from pin pa of a to pin pb of b: the first routing of the list
// whose ends both join.
SchWire* AddRoutedWire(SchScheme* scheme, CSCHBlock* a, int pa, CSCHBlock* b, int pb,
                       const std::vector<std::vector<int>>& routes) {
  for (const std::vector<int>& coords : routes) {
    SchWire* w = new SchWire(scheme);
    bool joined = w->AttachToPin(0, a, pa);
    if (joined && !coords.empty()) {
      joined = w->SetCoordinateCount(static_cast<int>(coords.size()));
      for (size_t i = 0; joined && i < coords.size(); ++i) w->coords[i] = coords[i];
    }
    if (joined) joined = w->AttachToPin(1, b, pb);
    if (joined) {
      w->flags |= kElecCircuitWireFlags;
      return w;
    }
    delete w;
  }
  return nullptr;
}

// A wire from pin pa of a to the junction, arriving along the coordinates.
SchWire* AddJunctionWireVia(SchScheme* scheme, CSCHBlock* a, int pa, SchJunction* j,
                            std::initializer_list<int> coords) {
  return j ? AddJunctionWire(scheme, a, pa, j, coords) : nullptr;
}

// The point one step out of a pin's side.
POINT Outward(POINT p, int side, int distance) {
  return POINT{p.x + kSchDirDx[side & 3] * distance, p.y + kSchDirDy[side & 3] * distance};
}

// A wire from a chip pin to a header pin, leaving the chip outward and
// reaching the header from its facing side; lane spreads the bends of the
// wires of one header. A header behind the pin's side is reached around
// the nearer end of the chip.
SchWire* AddHeaderWire(CAVR* chip, int chipPin, CSCHBlock* header, int headerPin, int lane) {
  const int s0 = chip->pins[chipPin].side & 3;
  const int s1 = header->pins[headerPin].side & 3;
  const POINT a0 = chip->GetPinAnchor(chipPin);
  const POINT a1 = header->GetPinAnchor(headerPin);
  const RECT& r = chip->rect;
  const int spread = 6 * lane;
  const POINT stub = Outward(a0, s0, 10 + spread);
  const POINT approach = Outward(a1, s1, 10 + spread);
  const bool vertical = (s0 & 1) != 0;
  const int stub0 = vertical ? stub.y : stub.x;
  const bool behind = vertical ? (a1.y - a0.y) * kSchDirDy[s0] < 0 : (a1.x - a0.x) * kSchDirDx[s0] < 0;
  int around;
  if (vertical) around = a0.x - r.left < r.right - a0.x ? r.left - 20 - spread : r.right + 20 + spread;
  else around = a0.y - r.top < r.bottom - a0.y ? r.top - 20 - spread : r.bottom + 20 + spread;
  const std::vector<int> aroundRoute = {stub0, around, vertical ? approach.y : approach.x};
  const std::vector<int> turnRoute = {stub0, vertical ? approach.x : approach.y};
  std::vector<std::vector<int>> routes;
  if (behind) routes.push_back(aroundRoute);
  if ((s0 & 1) != (s1 & 1)) routes.push_back(turnRoute);
  routes.push_back({stub0});
  routes.push_back({});
  routes.push_back(turnRoute);
  routes.push_back(aroundRoute);
  return AddRoutedWire(chip->scheme, chip, chipPin, header, headerPin, routes);
}

// A ground symbol whose top is at top and whose pin stands at x.
CSCHBlock* AddGroundAt(CAVR* chip, int x, int top, unsigned char flags) {
  CSCHBlock* g = AddCircuitPart(chip, "GND", flags);
  if (!g) return nullptr;
  const int half = g->pinCount > 0 ? g->pins[0].offset : 6;
  g->MoveTo(x - half, top);
  return g;
}

// A ground symbol for a chip pin: below the chip beside the pin, or above
// it for a pin on the top side; answers the wire.
SchWire* AddPinGround(CAVR* chip, int pin, int below) {
  const POINT a = chip->GetPinAnchor(pin);
  const int side = chip->pins[pin].side & 3;
  const RECT& r = chip->rect;
  if (side == kSchSideTop) {
    CSCHBlock* g = AddGroundAt(chip, a.x + 10, r.top - 10, kGroundFlags);
    if (!g) return nullptr;
    return AddRoutedWire(chip->scheme, chip, pin, g, 0, {{r.top - 27}, {}});
  }
  int x = a.x;
  if (side == kSchSideLeft) x -= 20;
  if (side == kSchSideRight) x += 20;
  CSCHBlock* g = AddGroundAt(chip, x, r.bottom + below, kGroundFlags);
  if (!g) return nullptr;
  return AddRoutedWire(chip->scheme, chip, pin, g, 0, {{}, {Outward(a, side, 10).x}});
}

void AddCrystal(CAVR* chip, const PackageRow& row) {
  SchScheme* scheme = chip->scheme;
  const int x1 = row.x1 - 1, x2 = row.x2 - 1;
  chip->MoveTo(chip->rect.left + kUnitAvrCrystalShift,
               chip->rect.top < kUnitAvrCrystalTop ? kUnitAvrCrystalTop : chip->rect.top);
  const RECT chipRect = chip->rect;

  float qx = chip->boardX - 5.08f - chip->footprintWidth / 2;
  if (row.pinCount == 44 || row.pinCount == 64) qx -= 2.54f;
  const float qy = chip->boardY + (row.pinCount == 40 ? 7.62f : 0.0f);
  CSCHBlock* quartz = AddCircuitPart(chip, "Quartz", kElecCircuitPartFlags);
  if (!quartz) return;
  if (CQuartz* q = dynamic_cast<CQuartz*>(quartz)) q->frequency = chip->freq;
  quartz->boardX = qx;
  quartz->boardY = qy;
  const int quartzTop = row.pinCount == 64 ? chipRect.bottom + 40 : chip->GetPinAnchor(x1).y - 6;
  quartz->MoveTo(chipRect.left - 120, quartzTop);
  const RECT q = quartz->rect;

  CSCHBlock* caps[2] = {};
  for (int k = 0; k < 2; ++k) {
    CSCHBlock* c = AddCircuitPart(chip, "Capacitor", kElecCircuitPartFlags);
    if (!c) continue;
    if (CCapacitor* cap = dynamic_cast<CCapacitor*>(c)) {
      cap->capacitance = kUnitAvrLoadCapacitance;
      cap->symbolOrientation = 1;
      cap->kind = kElecCapacitorCeramic;
      cap->UpdateBodySize();
    }
    c->boardX = qx - 5.08f;
    c->boardY = k == 0 ? qy - 3.81f : qy + 3.81f;
    c->MoveTo(chipRect.left - 180, k == 0 ? q.top - 24 : q.bottom);
    caps[k] = c;
  }
  if (row.pinCount == 64) {
    for (CSCHBlock* part : {quartz, caps[0], caps[1]})
      for (int turn = 0; part && turn < 3; ++turn) CAVR::RotateChildPart(chip, part);
  }

  SchJunction* upper = AddCircuitJunction(scheme, q.left + 12, q.top - 12, kUnitAvrCrystalGroundFlags);
  SchJunction* lower = AddCircuitJunction(scheme, q.left + 12, q.bottom + 12, kUnitAvrCrystalGroundFlags);
  const int side = chip->pins[x1].side & 3;
  // Each wire takes its own slot of the junction: the quartz's from below
  // or above, the capacitor's from the left, the chip's from the right.
  // The chip's sideways pins turn once halfway; pins on the bottom go
  // straight down to the junction's height.
  const int bend1 = chipRect.left - 60, bend2 = chipRect.left - 50;
  if (upper) {
    AddJunctionWireVia(scheme, quartz, 0, upper, {q.top - 9});
    if (caps[0]) AddJunctionWireVia(scheme, caps[0], 0, upper, {upper->x - 20});
    if (side == kSchSideBottom) AddJunctionWireVia(scheme, chip, x1, upper, {});
    else AddJunctionWireVia(scheme, chip, x1, upper, {bend1});
  }
  if (lower) {
    AddJunctionWireVia(scheme, quartz, 1, lower, {q.bottom + 8});
    if (caps[1]) AddJunctionWireVia(scheme, caps[1], 0, lower, {lower->x - 20});
    if (side == kSchSideBottom) AddJunctionWireVia(scheme, chip, x2, lower, {});
    else AddJunctionWireVia(scheme, chip, x2, lower, {bend2});
  }
  for (CSCHBlock* c : caps) {
    if (!c) continue;
    CSCHBlock* g = AddCircuitPart(chip, "GND", kUnitAvrCrystalGroundFlags);
    if (!g) continue;
    g->MoveTo(c->rect.left - 30, c->rect.top + 24);
    AddRoutedWire(scheme, c, 1, g, 0, {std::vector<int>()});
  }
}

void AddPackageGrounds(CAVR* chip, const PackageRow& row) {
  for (int pin : row.grounds) {
    if (pin <= 0) break;
    AddPinGround(chip, pin - 1, row.below);
  }
  if (row.pinCount != 32) return;
  // Pins 3 and 5 meet in a junction beside the chip above one symbol.
  SchScheme* scheme = chip->scheme;
  const int p3 = kShared32[0] - 1, p5 = kShared32[1] - 1;
  const POINT a3 = chip->GetPinAnchor(p3), a5 = chip->GetPinAnchor(p5);
  SchJunction* j = AddCircuitJunction(scheme, a3.x - 20, a5.y, kGroundFlags);
  if (!j) return;
  AddJunctionWireVia(scheme, chip, p3, j, {});
  AddJunctionWireVia(scheme, chip, p5, j, {a5.x - 10});
  CSCHBlock* g = AddGroundAt(chip, j->x, chip->rect.bottom + row.below, kGroundFlags);
  if (g) AddJunctionWireVia(scheme, g, 0, j, {j->y + 10});
}

// The wire of the chip's pin 53 to its ground gets a junction 18 px above
// the chip, and the header's ground pin a wire to it.
void JoinHeaderGroundToPinWire(CAVR* chip, CSCHBlock* header, int headerPin) {
  SchWire* target = chip->pins[kJtagJoinPin - 1].wire;
  if (!target) return;
  const POINT a = chip->GetPinAnchor(kJtagJoinPin - 1);
  const POINT point = {a.x, chip->rect.top - kJtagJoinAbove};
  for (int k = 0; k < target->GetPointCount() - 1; ++k) {
    const POINT p = target->GetPoint(k), q = target->GetPoint(k + 1);
    const bool inside = p.x == point.x && q.x == point.x &&
                        ((p.y < point.y && point.y < q.y) || (q.y < point.y && point.y < p.y));
    if (!inside) continue;
    SchWire* w = new SchWire(chip->scheme);
    bool joined = w->AttachToPin(0, header, headerPin);
    if (joined) {
      SetFreeEndPoint(point);
      joined = w->AttachToWireSegment(1, target, k, point);
    }
    if (joined) w->flags |= kElecCircuitWireFlags;
    else delete w;
    return;
  }
}

void AddHeader(CAVR* chip, const PackageRow& package) {
  const HeaderRow* row = HeaderOf(chip->pinCount, chip->programmer);
  if (!row) return;
  CSCHBlock* part = AddCircuitPart(chip, "PLS", kElecCircuitPartFlags);
  if (!part) return;
  const bool jtag = row->programmer == 1;
  part->SetModel("PLS/BLS");
  part->SetOptions(jtag ? "1:4" : "1:3");
  part->SetTableName(L"connectors");
  part->typeText = jtag ? L"Разъем под JTAG-программатор" : L"Разъем под SPI-программатор";
  const int pins = jtag ? 6 : 5;
  if (!part->SetPinCount(pins)) return;
  CPLSConnector* header = dynamic_cast<CPLSConnector*>(part);
  if (header) {
    header->side = row->side;
    header->LayoutPins();
  }
  part->boardX = chip->boardX + row->dx;
  part->boardY = chip->boardY + row->dy;
  part->orientation = row->orientation;

  // The symbol beside the chip, its pins facing the pins it serves.
  const POINT beside = chip->GetPinAnchor(row->besidePin - 1);
  const int width = part->rect.right - part->rect.left, height = part->rect.bottom - part->rect.top;
  switch (part->pins[0].side & 3) {
    case kSchSideLeft: part->MoveTo(beside.x + row->gap, beside.y - 8); break;
    case kSchSideRight: part->MoveTo(beside.x - row->gap - width, beside.y - 8); break;
    default: part->MoveTo(beside.x - 24, chip->rect.top - row->gap - height); break;
  }

  int lane = 0;
  for (int k = 0; k < pins; ++k) {
    const int target = row->pins[k];
    if (target > 0) {
      AddHeaderWire(chip, target - 1, part, k, lane++);
    } else if (target < 0) {
      JoinHeaderGroundToPinWire(chip, part, k);
    } else {
      // Its own ground below the chip, under the header's column.
      const POINT a = part->GetPinAnchor(k);
      CSCHBlock* g = AddGroundAt(chip, Outward(a, part->pins[k].side, 20).x, chip->rect.bottom + package.below,
                                 kGroundFlags);
      if (g) AddRoutedWire(chip->scheme, part, k, g, 0, {{}, {Outward(a, part->pins[k].side, 10).x}});
    }
  }
}

}  // namespace

bool GetAvrCrystalPins(int pinCount, int* x1, int* x2) {
  const PackageRow* row = PackageOf(pinCount);
  if (!row) return false;
  if (x1) *x1 = row->x1 - 1;
  if (x2) *x2 = row->x2 - 1;
  return true;
}

void AddAvrApplicationCircuit(CAVR* chip) {
  if (!chip || !chip->scheme) return;
  DeleteCircuit(chip);
  const PackageRow* row = PackageOf(chip->pinCount);
  if (!row) return;
  if (chip->freq > 1.0f) AddCrystal(chip, *row);
  AddPackageGrounds(chip, *row);
  AddHeader(chip, *row);
}
