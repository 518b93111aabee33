#include "scheme/model/junction.h"

#include "scheme/model/live_counts.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"

SchJunction::SchJunction(SchScheme* owner) : scheme(owner) {
  g_schLiveCounts.junctions++;
  if (scheme) {
    next = scheme->junctions;
    if (next) next->prev = this;
    scheme->junctions = this;
  }
}

SchJunction::~SchJunction() {
  if (scheme) {
    if (prev) prev->next = next;
    else scheme->junctions = next;
    if (next) next->prev = prev;
    scheme = nullptr;
  }
  if (!(flags & kSchLoaded)) {
    for (int s = 0; s < 4; s++) {
      SchWire* w = wires[s];
      if (!w) continue;
      wires[s] = nullptr;
      int e = wireEnds[s] & 1;
      if (w->endKind[e] == kSchWireEndJunction && w->ends[e].target == this && w->ends[e].index == s)
        w->SetEnd(e, kSchWireEndFree, nullptr, 0, 0);
    }
  }
  g_schLiveCounts.junctions--;
}

bool SchJunction::RemoveWire(SchWire* wire) {
  for (int s = 0; s < 4; s++)
    if (wires[s] == wire) wires[s] = nullptr;
  if (wire) {
    for (int e = 0; e < 2; e++)
      if (wire->endKind[e] == kSchWireEndJunction && wire->ends[e].target == this)
        wire->SetEnd(e, kSchWireEndFree, nullptr, 0, 0);
  }
  int used = 0, first = -1, second = -1;
  for (int s = 0; s < 4; s++) {
    if (!wires[s]) continue;
    used++;
    if (first < 0) first = s;
    else if (second < 0) second = s;
  }
  if (used > 2) return true;
  // Two slots holding one wire (a loop through the junction) are not merged
  // with themselves: the junction goes and frees both ends of that wire.
  if (used == 2 && wires[first] != wires[second]) Merge(first, second);
  delete this;
  return false;
}

void SchJunction::Merge(int sr, int sq) {
  SchWire* r = wires[sr];
  SchWire* q = wires[sq];
  if ((wireEnds[sr] & 1) == 0) r->Reverse();
  if ((wireEnds[sq] & 1) == 1) q->Reverse();
  int joint[2];
  int n;
  if ((sr & 1) != (sq & 1)) {
    n = 2;
    if (sr & 1) { joint[0] = x; joint[1] = y; }
    else { joint[0] = y; joint[1] = x; }
  } else {
    n = 1;
    joint[0] = (sr & 1) ? x : y;
  }
  r->AppendCoords(joint, n);
  r->AppendCoords(q->coords, q->coordCount);
  wires[sr] = wires[sq] = nullptr;
  r->TakeOverEnd1(q);
  q->SetEnd(0, kSchWireEndFree, nullptr, 0, 0);
  r->Normalize();
  delete q;
}

bool SchJunction::NormalizeWires() {
  bool changed = false;
  for (int s = 0; s < 4; s++)
    if (wires[s] && wires[s]->Normalize()) changed = true;
  return changed;
}
