#include "scheme/model/wire.h"

#include <cstring>

#include "foundation/buffers.h"
#include "foundation/plain_array.h"
#include "scheme/model/block.h"
#include "scheme/model/live_counts.h"
#include "scheme/model/scheme.h"

const int kSchDirDx[4] = {-1, 0, 1, 0};
const int kSchDirDy[4] = {0, -1, 0, 1};

namespace {

POINT g_freeEnd = {0, 0};

}  // namespace

bool ResizeCoords(int*& array, int& count, int n) {
  if (n == count) return n >= 0;
  if (!ResizeSteppedArray(&array, count, n)) return false;
  count = n;
  return true;
}

// Vertex of an orthogonal polyline (see above) from its end points, first
// direction and coordinates.
POINT PolylinePoint(POINT e0, POINT e1, int firstDir, int count, const int* c, int vertex) {
  if (vertex <= 0) return e0;
  if (vertex >= count + 2) return e1;
  POINT p = e0;
  int v = firstDir & 1;
  for (int j = 0; j < vertex; j++) {
    bool horizontal = ((j + v) & 1) == 0;
    int value = j < count ? c[j] : (horizontal ? e1.x : e1.y);
    if (horizontal) p.x = value;
    else p.y = value;
  }
  return p;
}

// Direction in which the polyline leaves end 1.
int PolylineEnd1Direction(POINT e0, POINT e1, int firstDir, int count, const int* c) {
  POINT before = PolylinePoint(e0, e1, firstDir, count, c, count + 1);
  if ((firstDir & 1) == (count & 1)) return e1.y < before.y ? 3 : 1;  // last segment vertical
  return e1.x < before.x ? 2 : 0;
}

int DirectionBetween(POINT a, POINT b) {
  if (a.x == b.x) return b.y > a.y ? 3 : 1;
  return b.x > a.x ? 2 : 0;
}

POINT GetFreeEndPoint() { return g_freeEnd; }
void SetFreeEndPoint(POINT p) { g_freeEnd = p; }

// ---------------------------------------------------------------- SchWire

SchWire::SchWire(SchScheme* owner) : scheme(owner) {
  g_schLiveCounts.wires++;
  if (scheme) {
    next = scheme->wires;
    if (next) next->prev = this;
    scheme->wires = this;
  }
}

SchWire::~SchWire() {
  SchScheme* owner = scheme;
  if (owner) {
    if (prev) prev->next = next;
    else owner->wires = next;
    if (next) next->prev = prev;
    scheme = nullptr;
    prev = next = nullptr;
  }
  if (!(flags & kSchLoaded)) {
    for (int e = 0; e < 2; e++) {
      switch (endKind[e]) {
        case kSchWireEndPin: {
          CSCHBlock* block = static_cast<CSCHBlock*>(ends[e].target);
          int i = ends[e].index;
          if (block && i >= 0 && i < block->pinCount && block->pins[i].wire == this) {
            block->pins[i].wire = nullptr;
            block->pins[i].wireEnd = 0;
          }
          break;
        }
        case kSchWireEndJunction: {
          SchJunction* j = static_cast<SchJunction*>(ends[e].target);
          if (!j) break;
          if (owner && owner->junctions) {
            j->RemoveWire(this);  // may merge the wires left there
          } else {
            for (int s = 0; s < 4; s++)
              if (j->wires[s] == this) j->wires[s] = nullptr;
          }
          break;
        }
        case kSchWireEndBus: {
          SchBus* bus = static_cast<SchBus*>(ends[e].target);
          int side = ends[e].side & 1, slot = ends[e].index;
          if (bus && slot >= 0 && slot < bus->slotCount && bus->wires[side][slot] == this)
            bus->wires[side][slot] = nullptr;
          break;
        }
        default:
          break;
      }
      SetEnd(e, kSchWireEndFree, nullptr, 0, 0);
    }
  }
  FreeBuffer(coords);
  coords = nullptr;
  coordCount = 0;
  g_schLiveCounts.wires--;
}

bool SchWire::SetCoordinateCount(int n) { return ResizeCoords(coords, coordCount, n); }

POINT SchWire::PointFor(int vertex, int count, const int* c) const {
  return PolylinePoint(GetEndPoint(0), GetEndPoint(1), firstDir, count, c, vertex);
}

POINT SchWire::GetPoint(int vertex) const { return PointFor(vertex, coordCount, coords); }

POINT SchWire::GetEndPoint(int end) const {
  end &= 1;
  if (flags & kSchLoaded) return g_freeEnd;  // targets are saved identities
  switch (endKind[end]) {
    case kSchWireEndPin:
      return static_cast<CSCHBlock*>(ends[end].target)->GetPinAnchor(ends[end].index);
    case kSchWireEndJunction:
      return static_cast<SchJunction*>(ends[end].target)->Position();
    case kSchWireEndBus:
      return static_cast<SchBus*>(ends[end].target)->GetSlotPoint(ends[end].side & 1, ends[end].index);
    default:
      return g_freeEnd;
  }
}

int SchWire::EndDirectionFor(int end, int count, const int* c) const {
  if ((end & 1) == 0) return firstDir;
  return PolylineEnd1Direction(GetEndPoint(0), GetEndPoint(1), firstDir, count, c);
}

int SchWire::GetEndDirection(int end) const { return EndDirectionFor(end, coordCount, coords); }

CSCHBlock* SchWire::GetEndBlock(int end) const {
  return endKind[end & 1] == kSchWireEndPin ? static_cast<CSCHBlock*>(ends[end & 1].target) : nullptr;
}

SchJunction* SchWire::GetEndJunction(int end) const {
  return endKind[end & 1] == kSchWireEndJunction ? static_cast<SchJunction*>(ends[end & 1].target)
                                              : nullptr;
}

SchBus* SchWire::GetEndBus(int end) const {
  return endKind[end & 1] == kSchWireEndBus ? static_cast<SchBus*>(ends[end & 1].target) : nullptr;
}

void SchWire::SetEnd(int end, int kind, void* target, int index, int side) {
  endKind[end] = kind;
  ends[end].target = target;
  ends[end].index = index;
  ends[end].side = static_cast<unsigned char>(side);
  memset(ends[end].spare, 0, sizeof(ends[end].spare));
}

// Makes the pin or slot at that end refer to this wire and end.
void SchWire::PointTargetAt(int end) {
  const SchWireEnd& r = ends[end];
  switch (endKind[end]) {
    case kSchWireEndPin: {
      SchPin& pin = static_cast<CSCHBlock*>(r.target)->pins[r.index];
      pin.wire = this;
      pin.wireEnd = static_cast<unsigned char>(end);
      break;
    }
    case kSchWireEndJunction: {
      SchJunction* j = static_cast<SchJunction*>(r.target);
      j->wires[r.index] = this;
      j->wireEnds[r.index] = static_cast<unsigned char>(end);
      break;
    }
    case kSchWireEndBus: {
      SchBus* bus = static_cast<SchBus*>(r.target);
      bus->wires[r.side & 1][r.index] = this;
      bus->wireEnds[r.side & 1][r.index] = static_cast<unsigned char>(end);
      break;
    }
    default:
      break;
  }
}

// This wire's end 1 takes over the other wire's end 1, whose end becomes free.
bool SchWire::TakeOverEnd1(SchWire* from) {
  endKind[1] = from->endKind[1];
  ends[1] = from->ends[1];
  PointTargetAt(1);
  from->SetEnd(1, kSchWireEndFree, nullptr, 0, 0);
  return true;
}

bool SchWire::AppendCoords(const int* values, int n) {
  if (n <= 0) return true;
  int old = coordCount;
  if (!SetCoordinateCount(old + n)) return false;
  memcpy(coords + old, values, n * sizeof(int));
  return true;
}

bool SchWire::AttachToPin(int end, CSCHBlock* block, int pinIndex) {
  if (end != 0 && end != 1) return false;
  if (!block || pinIndex < 0 || pinIndex >= block->pinCount) return false;
  if (endKind[end] != kSchWireEndFree || (flags & kSchLoaded)) return false;
  SchPin& pin = block->pins[pinIndex];
  if (pin.wire || pin.kind != kind) return false;
  POINT anchor = block->GetPinAnchor(pinIndex);
  int side = pin.side & 3;
  if (end == 1) SetFreeEndPoint(anchor);
  else firstDir = static_cast<unsigned char>(side);
  int d = GetEndDirection(end);
  if (d != side) {
    if (((d - side) & 3) == 2) return false;
    int value;
    switch (side) {
      case kSchSideLeft: value = anchor.x - 10; break;
      case kSchSideTop: value = anchor.y - 10; break;
      case kSchSideRight: value = anchor.x + 10; break;
      default: value = anchor.y + 10; break;
    }
    if (!AppendCoords(&value, 1)) return false;
  }
  pin.wire = this;
  pin.wireEnd = static_cast<unsigned char>(end);
  SetEnd(end, kSchWireEndPin, block, pinIndex, 0);
  return true;
}

bool SchWire::AttachToJunction(int end, SchJunction* junction) {
  if (end != 0 && end != 1) return false;
  if (!junction || kind != kSchPinElectric || (flags & kSchLoaded)) return false;
  if (endKind[end] != kSchWireEndFree) return false;
  if (end == 1) SetFreeEndPoint(junction->Position());
  int slot = GetEndDirection(end);
  if (junction->wires[slot]) return false;  // the end stays free
  SetEnd(end, kSchWireEndJunction, junction, slot, 0);
  junction->wires[slot] = this;
  junction->wireEnds[slot] = static_cast<unsigned char>(end);
  return true;
}

bool SchWire::AttachToBus(int end, SchBus* bus, int busSide, int slot) {
  if (end != 0 && end != 1) return false;
  if (!bus || kind != kSchPinElectric || (flags & kSchLoaded)) return false;
  if (busSide != 0 && busSide != 1) return false;
  if (slot < 0 || slot >= bus->slotCount || bus->wires[busSide][slot]) return false;
  if (endKind[end] != kSchWireEndFree) return false;
  if (GetEndDirection(end) != bus->GetEndSide(busSide)) return false;
  bus->wires[busSide][slot] = this;
  bus->wireEnds[busSide][slot] = static_cast<unsigned char>(end);
  SetEnd(end, kSchWireEndBus, bus, slot, busSide);
  return true;
}

bool SchWire::AttachToWireCorner(int end, SchWire* other, int k) {
  if (end != 0 && end != 1) return false;
  if (!other || other == this || kind != kSchPinElectric || other->kind != kSchPinElectric) return false;
  if ((flags | other->flags) & kSchLoaded) return false;
  if (endKind[end] != kSchWireEndFree) return false;
  if (k < 1 || k > other->coordCount + 1) return false;
  POINT p = other->GetPoint(k);
  POINT before = other->GetPoint(k - 1);
  POINT after = other->GetPoint(k + 1);
  int dp = DirectionBetween(p, before);
  int dn = DirectionBetween(p, after);
  int d = GetEndDirection(end);
  if (d == dp || d == dn || dp == dn) return false;

  SchWire* w = new SchWire(other->scheme);
  w->flags = other->flags;
  w->firstDir = static_cast<unsigned char>(dn);
  w->kind = other->kind;
  int n = other->coordCount;
  if (k > n) {
    int mid = (dn & 1) ? (p.y + after.y) / 2 : (p.x + after.x) / 2;
    w->AppendCoords(&mid, 1);
    if (n > 0) other->SetCoordinateCount(n - 1);
  } else {
    w->AppendCoords(other->coords + k, n - k);
    if (k == 1) {
      POINT v0 = other->GetPoint(0);
      int mid = (dp & 1) ? (v0.y + p.y) / 2 : (v0.x + p.x) / 2;
      other->SetCoordinateCount(1);
      other->coords[0] = mid;
    } else {
      other->SetCoordinateCount(k - 2);
    }
  }
  w->TakeOverEnd1(other);

  SchJunction* j = new SchJunction(other->scheme);
  j->flags = other->flags;
  j->x = p.x;
  j->y = p.y;
  other->SetEnd(1, kSchWireEndJunction, j, dp, 0);
  other->PointTargetAt(1);
  w->SetEnd(0, kSchWireEndJunction, j, dn, 0);
  w->PointTargetAt(0);
  SetEnd(end, kSchWireEndJunction, j, d, 0);
  PointTargetAt(end);
  return true;
}

bool SchWire::AttachToWireSegment(int end, SchWire* other, int k, POINT point) {
  if (end != 0 && end != 1) return false;
  if (!other || other == this || kind != kSchPinElectric || other->kind != kSchPinElectric) return false;
  if ((flags | other->flags) & kSchLoaded) return false;
  if (endKind[end] != kSchWireEndFree) return false;
  int n = other->coordCount;
  if (k < 0 || k > n + 1) return false;
  POINT a = other->GetPoint(k);
  POINT b = other->GetPoint(k + 1);
  if (a.x == b.x && a.y == b.y) return false;
  int ds = DirectionBetween(a, b);
  int d = GetEndDirection(end);
  if ((d & 1) == (ds & 1)) return false;
  // The point must lie inside the segment, off its two ends.
  if (ds & 1) {
    int lo = a.y < b.y ? a.y : b.y, hi = a.y < b.y ? b.y : a.y;
    if (point.x != a.x || point.y <= lo || point.y >= hi) return false;
  } else {
    int lo = a.x < b.x ? a.x : b.x, hi = a.x < b.x ? b.x : a.x;
    if (point.y != a.y || point.x <= lo || point.x >= hi) return false;
  }

  SchWire* w = new SchWire(other->scheme);
  w->flags = other->flags;
  w->firstDir = static_cast<unsigned char>(ds);
  w->kind = other->kind;
  if (k == 0) {
    POINT e0 = other->GetPoint(0);
    int mid = (ds & 1) ? (point.y + e0.y) / 2 : (point.x + e0.x) / 2;
    w->AppendCoords(other->coords, n);
    other->SetCoordinateCount(1);
    other->coords[0] = mid;
  } else if (k > n) {
    POINT e1 = other->GetEndPoint(1);
    int d1 = other->GetEndDirection(1);
    int mid = (d1 & 1) ? (point.y + e1.y) / 2 : (point.x + e1.x) / 2;
    w->AppendCoords(&mid, 1);
  } else {
    w->AppendCoords(other->coords + k, n - k);
    other->SetCoordinateCount(k - 1);
  }
  w->TakeOverEnd1(other);

  SchJunction* j = new SchJunction(other->scheme);
  j->flags = other->flags;
  j->x = point.x;
  j->y = point.y;
  other->SetEnd(1, kSchWireEndJunction, j, ds ^ 2, 0);
  other->PointTargetAt(1);
  w->SetEnd(0, kSchWireEndJunction, j, ds, 0);
  w->PointTargetAt(0);
  SetEnd(end, kSchWireEndJunction, j, d, 0);
  PointTargetAt(end);
  return true;
}

void SchWire::Reverse() {
  int newFirst = GetEndDirection(1);
  int kindTmp = endKind[0];
  endKind[0] = endKind[1];
  endKind[1] = kindTmp;
  SchWireEnd endTmp = ends[0];
  ends[0] = ends[1];
  ends[1] = endTmp;
  firstDir = static_cast<unsigned char>(newFirst);
  for (int i = 0, j = coordCount - 1; i < j; i++, j--) {
    int t = coords[i];
    coords[i] = coords[j];
    coords[j] = t;
  }
  if (!(flags & kSchLoaded)) {
    PointTargetAt(0);
    PointTargetAt(1);
  }
}

bool SchWire::Normalize() {
  bool changed = false;
  int n = coordCount;
  int* c = coords;
  POINT e0 = GetEndPoint(0), e1 = GetEndPoint(1);
  // 1. A zero-length zig after end 0.
  if (n > 1) {
    int ref = (firstDir & 1) ? e0.x : e0.y;
    if (c[1] == ref) {
      memmove(c, c + 2, (n - 2) * sizeof(int));
      n -= 2;
      changed = true;
    }
  }
  // 2. A zero-length zag before end 1.
  if (n > 1) {
    int d1 = PolylineEnd1Direction(e0, e1, firstDir, n, c);
    int ref = (d1 & 1) ? e1.x : e1.y;
    if (c[n - 2] == ref) {
      n -= 2;
      changed = true;
    }
  }
  // 3. The last leg leaves end 1 by at least 6 pixels.
  auto keepOffEnd1 = [&]() {
    if (n <= 0) return;
    int d1 = PolylineEnd1Direction(e0, e1, firstDir, n, c);
    int& last = c[n - 1];
    int want = last;
    switch (d1) {
      case 0: if (last > e1.x - 6) want = e1.x - 6; break;
      case 1: if (last > e1.y - 6) want = e1.y - 6; break;
      case 2: if (last < e1.x + 6) want = e1.x + 6; break;
      default: if (last < e1.y + 6) want = e1.y + 6; break;
    }
    if (want != last) {
      last = want;
      changed = true;
    }
  };
  keepOffEnd1();
  // 4. Repeated values.
  for (int i = n - 3; i >= 0; i--) {
    if (i + 2 < n && c[i] == c[i + 2]) {
      memmove(c + i, c + i + 2, (n - i - 2) * sizeof(int));
      n -= 2;
      changed = true;
    }
  }
  // 5. Shrink the array.
  if (n != coordCount) {
    SetCoordinateCount(n);
    c = coords;
  }
  // 6. The first leg leaves end 0 by at least 6 pixels.
  if (n > 0) {
    int want = c[0];
    switch (firstDir & 3) {
      case 0: if (c[0] > e0.x - 6) want = e0.x - 6; break;
      case 1: if (c[0] > e0.y - 6) want = e0.y - 6; break;
      case 2: if (c[0] < e0.x + 6) want = e0.x + 6; break;
      default: if (c[0] < e0.y + 6) want = e0.y + 6; break;
    }
    if (want != c[0]) {
      c[0] = want;
      changed = true;
    }
    keepOffEnd1();
  }
  return changed;
}
