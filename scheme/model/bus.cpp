#include "scheme/model/bus.h"

#include "foundation/buffers.h"
#include "foundation/plain_array.h"
#include "scheme/model/live_counts.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"

SchBus::SchBus(SchScheme* owner) : scheme(owner) {
  g_schLiveCounts.buses++;
  if (scheme) {
    next = scheme->buses;
    if (next) next->prev = this;
    scheme->buses = this;
  }
}

SchBus::~SchBus() {
  if (scheme) {
    if (prev) prev->next = next;
    else scheme->buses = next;
    if (next) next->prev = prev;
    scheme = nullptr;
  }
  if (!(flags & kSchLoaded)) {
    for (int side = 0; side < 2; side++) {
      for (int slot = 0; slot < slotCount; slot++) {
        SchWire* w = wires[side][slot];
        if (!w) continue;
        wires[side][slot] = nullptr;
        delete w;
      }
    }
  }
  for (int side = 0; side < 2; side++) {
    FreeBuffer(wires[side]);
    FreeBuffer(wireEnds[side]);
    wires[side] = nullptr;
    wireEnds[side] = nullptr;
  }
  FreeBuffer(coords);
  coords = nullptr;
  coordCount = 0;
  g_schLiveCounts.buses--;
}

bool SchBus::SetCoordinateCount(int n) { return ResizeCoords(coords, coordCount, n); }

bool SchBus::SetSlotCount(int n) {
  if (n < 0 || n > 0xFFFF) return false;
  if (n == slotCount) return true;
  // New slots come empty; a failed growth leaves the old slots as they were.
  for (int side = 0; side < 2; side++) {
    if (!ResizeSteppedArray(&wires[side], slotCount, n)) return false;
    if (!ResizeSteppedArray(&wireEnds[side], slotCount, n)) return false;
  }
  slotCount = static_cast<unsigned short>(n);
  return true;
}

POINT SchBus::GetPoint(int vertex) const {
  return PolylinePoint(POINT{x0, y0}, POINT{x1, y1}, endDir, coordCount, coords, vertex);
}

int SchBus::GetEndSide(int end) const {
  if ((end & 1) == 0) return endDir & 3;
  return PolylineEnd1Direction(POINT{x0, y0}, POINT{x1, y1}, endDir, coordCount, coords);
}

POINT SchBus::GetSlotPoint(int end, int slot) const {
  int d = GetEndSide(end);
  int across = (d + 1) & 3;
  int a = (12 - 12 * slotCount) / 2 + 12 * slot;
  POINT p = (end & 1) ? POINT{x1, y1} : POINT{x0, y0};
  p.x += 16 * kSchDirDx[d] + a * kSchDirDx[across];
  p.y += 16 * kSchDirDy[d] + a * kSchDirDy[across];
  return p;
}
