#include "components/electronic/usb/circuit_parts.h"

#include <new>

#include "components/electronic/discrete/capacitor.h"
#include "scheme/model/block.h"
#include "scheme/model/junction.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"

namespace {

void SetCoords(SchWire* w, std::initializer_list<int> coords) {
  if (coords.size() == 0 || !w->SetCoordinateCount(static_cast<int>(coords.size()))) return;
  int i = 0;
  for (int c : coords) w->coords[i++] = c;
}

}  // namespace

CSCHBlock* AddCircuitPart(CSCHBlock* chip, const char* className, unsigned char flags) {
  if (!chip || !chip->scheme) return nullptr;
  CSCHBlock* b = chip->scheme->CreateBlock(className);
  if (!b) return nullptr;
  b->flags |= flags;
  if (!chip->AddChild(b)) {  // out of memory: the part is not left unowned
    delete b;
    return nullptr;
  }
  return b;
}

SchWire* AddCircuitWire(SchScheme* scheme, CSCHBlock* a, int pa, CSCHBlock* b, int pb,
                        std::initializer_list<int> coords) {
  if (!scheme || !a || !b) return nullptr;
  SchWire* w = new (std::nothrow) SchWire(scheme);
  if (!w) return nullptr;
  bool joined = w->AttachToPin(0, a, pa);
  if (joined) SetCoords(w, coords);
  if (joined && !w->AttachToPin(1, b, pb)) joined = w->SetCoordinateCount(0) && w->AttachToPin(1, b, pb);
  if (!joined) {
    delete w;
    return nullptr;
  }
  w->flags |= kElecCircuitWireFlags;
  return w;
}

SchWire* AddJunctionWire(SchScheme* scheme, CSCHBlock* a, int pa, SchJunction* j,
                         std::initializer_list<int> coords) {
  if (!scheme || !a || !j) return nullptr;
  SchWire* w = new (std::nothrow) SchWire(scheme);
  if (!w) return nullptr;
  bool joined = w->AttachToPin(0, a, pa);
  if (joined) SetCoords(w, coords);
  if (joined && !w->AttachToJunction(1, j)) joined = w->SetCoordinateCount(0) && w->AttachToJunction(1, j);
  if (!joined) {
    delete w;
    return nullptr;
  }
  w->flags |= kElecCircuitWireFlags;
  return w;
}

SchJunction* AddCircuitJunction(SchScheme* scheme, int x, int y, unsigned char flags) {
  if (!scheme) return nullptr;
  SchJunction* j = new (std::nothrow) SchJunction(scheme);
  if (!j) return nullptr;
  j->x = x;
  j->y = y;
  j->flags |= flags;
  return j;
}

void DeleteCircuit(CSCHBlock* chip) {
  if (!chip) return;
  // A junction left with two wires joins them into one, which may land on
  // another of the chip's pins: go round until none is left.
  for (int round = 0; round < 4 * chip->pinCount + 4; round++) {
    bool any = false;
    for (int i = 0; i < chip->pinCount; i++) {
      SchWire* w = chip->pins[i].wire;
      if (w && (w->flags & kElecCircuitWireFlags) == kElecCircuitWireFlags) {
        delete w;
        any = true;
      }
    }
    if (!any) break;
  }
  while (chip->childCount > 0) {
    CSCHBlock* child = chip->children[chip->childCount - 1];
    if (!child) {
      chip->childCount--;
      continue;
    }
    delete child;
  }
}

CSCHBlock* AddCircuitCapacitor(CSCHBlock* chip, float farads, int kind, float boardX, float boardY, int x, int y) {
  CSCHBlock* c = AddCircuitPart(chip, "Capacitor", kElecCircuitPartFlags);
  if (!c) return nullptr;
  if (CCapacitor* cap = dynamic_cast<CCapacitor*>(c)) {
    cap->capacitance = farads;
    if (kind >= 0) cap->kind = kind;
    cap->symbolOrientation = 0;
    cap->UpdateBodySize();
  }
  c->orientation = 1;
  c->boardX = boardX;
  c->boardY = boardY;
  c->MoveTo(x, y);
  return c;
}
