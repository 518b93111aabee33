// Net building over wires, junctions and buses.
#include <new>

#include "scheme/model/block.h"
#include "scheme/model/bus.h"
#include "scheme/model/junction.h"
#include "scheme/model/live_counts.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"
#include "scheme/simulation/net.h"

namespace {

SchPin* PinAtEnd(const SchWire* w, int end) {
  CSCHBlock* b = static_cast<CSCHBlock*>(w->ends[end].target);
  int i = w->ends[end].index;
  if (!b || i < 0 || i >= b->pinCount) return nullptr;
  return &b->pins[i];
}

}  // namespace

// Net building walks the wiring breadth first through a work list linked by
// the wires' netLink fields; netMark keeps any wire from being entered twice,
// so closed loops end. The walk makes at most one net (at the first pin it
// meets) and hands it to every wire it reached.
SchNet* SchWire::BuildNet(SchNet* given, int arrivingEnd) {
  if (netMark) {
    if (net && given && given != net) net->Merge(given);
    return net ? net : given;
  }
  SchNet* current = given;
  netMark = 1;
  netLink = nullptr;
  SchWire* tail = this;
  // Joins a wire reached from the one being walked.
  auto reach = [&](SchWire* x) {
    if (!x) return;
    if (!x->netMark) {
      x->netMark = 1;
      x->netLink = nullptr;
      tail->netLink = x;
      tail = x;
    } else if (x->net && x->net != current) {
      // Built by an earlier walk: this walk's net joins that one.
      SchNet* built = x->net;
      if (!current || built->Merge(current)) current = built;
    }
  };
  for (SchWire* w = this; w; w = w->netLink) {
    for (int e = 0; e < 2; e++) {
      if (w == this && e == arrivingEnd) continue;
      switch (w->endKind[e]) {
        case kSchWireEndPin: {
          SchPin* p = PinAtEnd(w, e);
          if (!p || (p->net && p->net == current)) break;
          if (p->net) {
            if (!current) current = p->net;
            else current->Merge(p->net);
            break;
          }
          if (!current) current = new (std::nothrow) SchNet(w->scheme);
          if (current) current->AddPin(static_cast<CSCHBlock*>(w->ends[e].target), w->ends[e].index);
          break;
        }
        case kSchWireEndJunction: {
          SchJunction* j = static_cast<SchJunction*>(w->ends[e].target);
          if (!j) break;
          for (int s = 0; s < 4; s++)
            if (s != w->ends[e].index) reach(j->wires[s]);
          break;
        }
        case kSchWireEndBus: {
          SchBus* b = static_cast<SchBus*>(w->ends[e].target);
          int slot = w->ends[e].index, side = w->ends[e].side & 1;
          if (b && slot >= 0 && slot < b->slotCount && b->wires[1 - side])
            reach(b->wires[1 - side][slot]);
          break;
        }
        default:
          break;
      }
    }
  }
  // Hand the net to every wire of the walk and empty the work list.
  SchWire* w = this;
  while (w) {
    SchWire* after = w->netLink;
    w->netLink = nullptr;
    if (current && w->net != current) current->AddWire(w);
    w = after;
  }
  return current;
}

SchNet* SchJunction::PropagateNet(SchNet* net, int slot) {
  for (int s = 0; s < 4; s++)
    if (s != slot && wires[s]) net = wires[s]->BuildNet(net, wireEnds[s] & 1);
  return net;
}

SchNet* SchBus::PropagateNet(SchNet* net, int side, int slot) {
  int other = 1 - (side & 1);
  if (slot < 0 || slot >= slotCount || !wires[other] || !wires[other][slot]) return net;
  return wires[other][slot]->BuildNet(net, wireEnds[other][slot] & 1);
}

void SchScheme::BuildNets() {
  // Nets of an earlier build that never ran are dropped first.
  DeleteNets();
  for (SchWire* w = wires; w; w = w->next) {
    w->net = nullptr;
    w->netMark = 0;
    w->netLink = nullptr;
  }
  for (SchWire* w = wires; w; w = w->next)
    if (!w->netMark) w->BuildNet(nullptr, -1);
  for (CSCHBlock* b = blocks; b; b = b->next) b->JoinInternalNets();
}

void SchScheme::DeleteNets() {
  while (nets) {
    SchNet* n = nets;
    for (int i = 0; i < n->pinCount; i++) {
      CSCHBlock* b = n->pins[i].block;
      SchPin& p = b->pins[n->pins[i].pin];
      if (p.net == n) p.net = nullptr;
      // A pin of another scheme joined through a connector: that scheme may
      // have taken this net as its ground.
      if (b->scheme && b->scheme->groundNet == n) b->scheme->groundNet = nullptr;
    }
    for (int i = 0; i < n->wireCount; i++)
      if (n->wires[i]->net == n) n->wires[i]->net = nullptr;
    delete n;
  }
  groundNet = nullptr;
}
